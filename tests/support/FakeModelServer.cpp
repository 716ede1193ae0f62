// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

FakeModelServer::FakeModelServer(Transport transport, QObject *parent)
    : FakeWebServer(transport, parent)
{
    handle("/api/tags", [this](const Request &) {
        QJsonArray models;
        for (const QString &name : std::as_const(m_models))
            models.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("model"), name}});
        return Response{200, compact({{QStringLiteral("models"), models}})};
    });
    handle("/api/show", [this](const Request &) {
        return Response{
            200, compact({{QStringLiteral("capabilities"), QJsonArray::fromStringList(m_capabilities)}})};
    });
    handle("/api/chat", [this](const Request &request) {
        const QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                                  {QStringLiteral("content"), nextChatContent()}};
        return Response{200,
                        compact({{QStringLiteral("model"), request.json().value(QStringLiteral("model"))},
                                 {QStringLiteral("message"), message},
                                 {QStringLiteral("done"), true}})};
    });
    handle("/v1/models", [this](const Request &) {
        QJsonArray models;
        for (const QString &name : std::as_const(m_models))
            models.append(
                QJsonObject{{QStringLiteral("id"), name},
                            {QStringLiteral("object"), QStringLiteral("model")},
                            {QStringLiteral("capabilities"), QJsonArray::fromStringList(m_capabilities)}});
        return Response{200, compact({{QStringLiteral("object"), QStringLiteral("list")},
                                      {QStringLiteral("data"), models}})};
    });
    handle("/v1/chat/completions", [this](const Request &) {
        const QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                                  {QStringLiteral("content"), nextChatContent()}};
        const QJsonObject choice{{QStringLiteral("index"), 0},
                                 {QStringLiteral("message"), message},
                                 {QStringLiteral("finish_reason"), QStringLiteral("stop")}};
        return Response{200, compact({{QStringLiteral("object"), QStringLiteral("chat.completion")},
                                      {QStringLiteral("choices"), QJsonArray{choice}}})};
    });
}

QString FakeModelServer::nextChatContent()
{
    if (m_chatContents.isEmpty())
        return {};
    return QString::fromUtf8(m_chatContents.value(std::min(m_chatCount++, m_chatContents.size() - 1)));
}
