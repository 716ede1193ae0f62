// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/OllamaModelClient.h"

#include "naming/NamingLog.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace std::chrono_literals;

namespace {

constexpr auto showTimeLimit = 2s;
constexpr double temperature = 0.2;

} // namespace

OllamaModelClient::OllamaModelClient(ModelServer server)
    : HttpModelClient(std::move(server))
{}

ModelAvailability OllamaModelClient::availability()
{
    const Listing listing = findModel(QStringLiteral("api/tags"), QStringLiteral("models"),
                                      {QStringLiteral("name"), QStringLiteral("model")});
    if (listing.state != ModelAvailability::State::Available)
        return {listing.state, false};

    const QByteArray showBody = QJsonDocument(QJsonObject{{QStringLiteral("model"), server().modelName}})
                                    .toJson(QJsonDocument::Compact);
    const Exchange show = exchange(QStringLiteral("api/show"), showBody, showTimeLimit);
    if (!show.error.isEmpty())
        qCDebug(lcNaming).noquote()
            << QStringLiteral("Cannot learn whether %1 sees images: %2").arg(server().modelName, show.error);
    const QJsonArray capabilities =
        QJsonDocument::fromJson(show.body).object().value(QLatin1String("capabilities")).toArray();
    return {ModelAvailability::State::Available,
            show.error.isEmpty() && capabilities.contains(QJsonValue(QStringLiteral("vision")))};
}

QJsonValue OllamaModelClient::generatedText(const QJsonObject &answer) const
{
    return answer.value(QLatin1String("message")).toObject().value(QLatin1String("content"));
}

QString OllamaModelClient::chatPath() const
{
    return QStringLiteral("api/chat");
}

QByteArray OllamaModelClient::chatBody(const ModelRequest &request) const
{
    QJsonObject user{{QStringLiteral("role"), QStringLiteral("user")},
                     {QStringLiteral("content"), promptWithSchema(request)}};
    if (request.png)
        user.insert(QStringLiteral("images"), QJsonArray{QString::fromLatin1(request.png->toBase64())});
    const QJsonObject system{{QStringLiteral("role"), QStringLiteral("system")},
                             {QStringLiteral("content"), request.instructions}};
    const QJsonObject body{
        {QStringLiteral("model"), server().modelName},
        {QStringLiteral("messages"), QJsonArray{system, user}},
        {QStringLiteral("stream"), false},
        {QStringLiteral("options"), QJsonObject{{QStringLiteral("temperature"), temperature}}}};
    return withRawMember(body, QStringLiteral("format"), request.schema);
}
