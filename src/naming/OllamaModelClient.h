#pragma once

#include "naming/LocalModelClient.h"

#include <QString>
#include <QUrl>

// Talks to an Ollama-compatible server over HTTP: /api/tags and /api/show for availability, /api/chat
// for answers. Each call creates its own network manager on the calling thread and runs a local event
// loop until the reply is in, the time limit passes (the request is aborted) or the body grows past
// 1 MiB (aborted too). Safe to call from several worker threads at once; never call it on the main
// thread.
class OllamaModelClient final : public LocalModelClient
{
public:
    // `baseUrl` such as http://127.0.0.1:11434; `modelName` such as "gemma3:4b" or "llama3".
    OllamaModelClient(QUrl baseUrl, QString modelName);

    ModelAvailability availability() override;
    ModelReply respond(const ModelRequest &request, std::chrono::milliseconds timeLimit) override;

private:
    QUrl endpoint(const QString &path) const;

    QUrl m_baseUrl;
    QString m_modelName;
};
