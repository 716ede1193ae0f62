// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/HttpModelClient.h"

// Talks to a server over the OpenAI-compatible chat API: /v1/models for availability,
// /v1/chat/completions with a `response_format` schema for answers, images as data URLs. A base
// address may end in /v1 or not.
class OpenAICompatibleModelClient final : public HttpModelClient
{
public:
    explicit OpenAICompatibleModelClient(ModelServer server);

    // The model sees images when its entry in the list says so; the API has no standard field.
    ModelAvailability availability() override;

private:
    QString chatPath() const override;
    QByteArray chatBody(const ModelRequest &request) const override;
    QJsonValue generatedText(const QJsonObject &answer) const override;
    QString v1(const QString &path) const;
};
