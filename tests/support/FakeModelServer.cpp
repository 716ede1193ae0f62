// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

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
            models.append(QJsonObject{{u"name"_s, name}, {u"model"_s, name}});
        return Response{200, compact({{u"models"_s, models}})};
    });
    handle("/api/show", [this](const Request &) {
        return Response{200, compact({{u"capabilities"_s, QJsonArray::fromStringList(m_capabilities)}})};
    });
    handle("/api/chat", [this](const Request &request) {
        const QJsonObject message{{u"role"_s, u"assistant"_s}, {u"content"_s, nextChatContent()}};
        return Response{200, compact({{u"model"_s, request.json().value(u"model"_s)},
                                      {u"message"_s, message},
                                      {u"done"_s, true}})};
    });
    handle("/v1/models", [this](const Request &) {
        QJsonArray models;
        for (const QString &name : std::as_const(m_models))
            models.append(QJsonObject{{u"id"_s, name},
                                      {u"object"_s, u"model"_s},
                                      {u"capabilities"_s, QJsonArray::fromStringList(m_capabilities)}});
        return Response{200, compact({{u"object"_s, u"list"_s}, {u"data"_s, models}})};
    });
    handle("/v1/chat/completions", [this](const Request &) {
        const QJsonObject message{{u"role"_s, u"assistant"_s}, {u"content"_s, nextChatContent()}};
        const QJsonObject choice{{u"index"_s, 0}, {u"message"_s, message}, {u"finish_reason"_s, u"stop"_s}};
        return Response{200,
                        compact({{u"object"_s, u"chat.completion"_s}, {u"choices"_s, QJsonArray{choice}}})};
    });
}

QString FakeModelServer::nextChatContent()
{
    if (m_chatContents.isEmpty())
        return {};
    return QString::fromUtf8(m_chatContents.value(std::min(m_chatCount++, m_chatContents.size() - 1)));
}
