// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/HttpModelClient.h"

// Talks to a server over Ollama's own API: /api/tags and /api/show for availability, /api/chat with
// `format` for answers.
class OllamaModelClient final : public HttpModelClient
{
public:
    explicit OllamaModelClient(ModelServer server);

    ModelAvailability availability() override;

private:
    QString chatPath() const override;
    QByteArray chatBody(const ModelRequest &request) const override;
    QJsonValue generatedText(const QJsonObject &answer) const override;
};
