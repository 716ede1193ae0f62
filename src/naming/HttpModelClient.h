// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/HttpExchange.h"
#include "naming/LocalModelClient.h"

#include <QJsonObject>

#include <memory>

// What the clients of the two chat APIs share: the server's address and key, requests bounded in
// time and to 1 MiB of answer, and reading the generated JSON out of an answer. Every call is an
// exchange of its own on the calling thread; safe from several worker threads at once, never on the
// main thread.
class HttpModelClient : public LocalModelClient
{
public:
    // The client for `server`'s API.
    static std::unique_ptr<LocalModelClient> create(const ModelServer &server);

    ModelReply respond(const ModelRequest &request, std::chrono::milliseconds timeLimit) override;

    // The keywords and category in a chat answer's body, as the server sent it.
    ModelReply readAnswer(const QByteArray &body) const;

protected:
    // Its error is empty only for status 200, and never holds the key.
    using Exchange = HttpExchange::Result;
    // The model's entry in the server's list of models, or why there is none (logged).
    struct Listing
    {
        ModelAvailability::State state = ModelAvailability::State::Unavailable;
        QJsonObject entry;
    };

    explicit HttpModelClient(ModelServer server);
    const ModelServer &server() const { return m_server; }

    // `path` is below the base address; a body makes it a POST.
    Exchange exchange(const QString &path, const std::optional<QByteArray> &body,
                      std::chrono::milliseconds timeLimit) const;
    // Asks for the list of models at `path`: an array under `arrayKey` whose entries name the model
    // under one of `nameKeys`.
    Listing findModel(const QString &path, const QString &arrayKey, const QStringList &nameKeys) const;

    virtual QString chatPath() const = 0;
    virtual QByteArray chatBody(const ModelRequest &request) const = 0;
    // Where the generated text sits in the chat answer.
    virtual QJsonValue generatedText(const QJsonObject &answer) const = 0;

    // The prompt followed by the schema: its descriptions guide the words, not just the shape.
    static QString promptWithSchema(const ModelRequest &request);
    // `object` as compact JSON with `rawJson` added as its last member, as written: QJsonObject sorts
    // its keys, which would reorder the schema's properties.
    static QByteArray withRawMember(const QJsonObject &object, const QString &key, const QByteArray &rawJson);

private:
    ModelServer m_server;
};
