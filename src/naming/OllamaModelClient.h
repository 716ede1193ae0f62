#pragma once

#include "naming/HttpModelClient.h"

// Talks to a server over Ollama's own API: /api/tags and /api/show for availability, /api/chat with
// `format` for answers.
class OllamaModelClient final : public HttpModelClient
{
public:
    explicit OllamaModelClient(ModelServer server);

    ModelAvailability availability() override;

    // Reads a /api/chat answer body.
    static ModelReply readAnswer(const QByteArray &body);

private:
    QString chatPath() const override;
    QByteArray chatBody(const ModelRequest &request) const override;
    ModelReply readChatAnswer(const QByteArray &body) const override { return readAnswer(body); }
};
