// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <optional>

// Whether the local model can be asked, and whether it can look at images.
struct ModelAvailability
{
    enum class State
    {
        Available,
        NoServer,     // nothing answered at the server address in time
        ModelMissing, // the server answered but does not have the model
        Unavailable   // any other reason (an error status, an answer that makes no sense)
    };

    State state = State::Unavailable;
    bool hasVision = false;

    bool isAvailable() const { return state == State::Available; }

    friend bool operator==(const ModelAvailability &, const ModelAvailability &) = default;
};

// One question to the model. The caller decides what is asked and in which shape the answer comes.
struct ModelRequest
{
    QString instructions; // the system message
    QByteArray schema;    // the answer's JSON schema as JSON text; properties are generated in its order
    QString prompt;
    std::optional<QByteArray> png; // the screenshot, for a model that looks at images
};

// The model's raw answer, before the word rules clean it.
struct ModelAnswer
{
    QStringList keywords; // as generated, at most 5
    QString category;     // as generated; empty when the model gave none

    friend bool operator==(const ModelAnswer &, const ModelAnswer &) = default;
};

// An answer, or why there is none.
struct ModelReply
{
    std::optional<ModelAnswer> answer;
    QString error;             // readable; empty when there is an answer
    bool unresponsive = false; // nothing answered at the address, or not in time

    friend bool operator==(const ModelReply &, const ModelReply &) = default;
};

// Where the local model is served and which of its two chat APIs it is asked through.
struct ModelServer
{
    LocalModelApi api = LocalModelApi::Ollama;
    QUrl baseUrl;
    QString modelName;
    QString apiKey; // sent as a bearer token when set; never logged or shown

    static ModelServer fromSettings(const SettingsStore &settings);
    // Why nothing may be sent to this server, in words for the user: an address that is not http or
    // https, or a key a request header cannot carry whole. Nothing when it may be asked.
    std::optional<QString> problem() const;
    // `text` with the key taken out in every form a message may quote it in.
    QString withoutKey(QString text) const;
};

// Asks the local language model for screenshot keywords and a category. Every call blocks until it
// has an answer or gives up, so call it only on naming worker threads, never on the main thread.
// Each call is one request of its own; nothing carries over between calls or screenshots, and calls
// from several threads may run at once.
class LocalModelClient
{
public:
    virtual ~LocalModelClient() = default;

    // Gives up after about a second when the server does not answer.
    virtual ModelAvailability availability() = 0;

    // Never takes longer than `timeLimit`; a request still running then is cancelled.
    virtual ModelReply respond(const ModelRequest &request, std::chrono::milliseconds timeLimit) = 0;
};
