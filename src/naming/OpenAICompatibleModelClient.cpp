// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/OpenAICompatibleModelClient.h"

#include <QJsonArray>

namespace {

constexpr double temperature = 0.2;

// What servers say about a model that takes images: a capability ("vision", "multimodal"), a type
// ("vlm") or input modalities holding "image".
bool saysVision(const QJsonObject &entry)
{
    const QStringList signs{QStringLiteral("vision"), QStringLiteral("multimodal"), QStringLiteral("vlm"),
                            QStringLiteral("image")};
    QJsonArray said = entry.value(QLatin1String("capabilities")).toArray();
    said.append(entry.value(QLatin1String("type")));
    for (const QJsonValue &modality : entry.value(QLatin1String("architecture"))
                                          .toObject()
                                          .value(QLatin1String("input_modalities"))
                                          .toArray())
        said.append(modality);
    return std::any_of(said.begin(), said.end(), [&](const QJsonValue &value) {
        return signs.contains(value.toString().toLower());
    });
}

} // namespace

OpenAICompatibleModelClient::OpenAICompatibleModelClient(ModelServer server)
    : HttpModelClient(std::move(server))
{}

ModelAvailability OpenAICompatibleModelClient::availability()
{
    const Listing listing =
        findModel(v1(QStringLiteral("models")), QStringLiteral("data"), {QStringLiteral("id")});
    return {listing.state, listing.state == ModelAvailability::State::Available && saysVision(listing.entry)};
}

QJsonValue OpenAICompatibleModelClient::generatedText(const QJsonObject &answer) const
{
    const QJsonObject choice = answer.value(QLatin1String("choices")).toArray().at(0).toObject();
    return choice.value(QLatin1String("message")).toObject().value(QLatin1String("content"));
}

QString OpenAICompatibleModelClient::chatPath() const
{
    return v1(QStringLiteral("chat/completions"));
}

QByteArray OpenAICompatibleModelClient::chatBody(const ModelRequest &request) const
{
    QJsonValue content = promptWithSchema(request);
    if (request.png) {
        const QString dataUrl =
            QStringLiteral("data:image/png;base64,") + QString::fromLatin1(request.png->toBase64());
        content = QJsonArray{
            QJsonObject{{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("text"), content}},
            QJsonObject{{QStringLiteral("type"), QStringLiteral("image_url")},
                        {QStringLiteral("image_url"), QJsonObject{{QStringLiteral("url"), dataUrl}}}}};
    }
    const QJsonObject system{{QStringLiteral("role"), QStringLiteral("system")},
                             {QStringLiteral("content"), request.instructions}};
    const QJsonObject user{{QStringLiteral("role"), QStringLiteral("user")},
                           {QStringLiteral("content"), content}};
    const QJsonObject body{{QStringLiteral("model"), server().modelName},
                           {QStringLiteral("messages"), QJsonArray{system, user}},
                           {QStringLiteral("stream"), false},
                           {QStringLiteral("temperature"), temperature}};
    const QByteArray responseFormat =
        R"({"type":"json_schema","json_schema":{"name":"screenshot_name","strict":true,"schema":)" +
        request.schema + "}}";
    return withRawMember(body, QStringLiteral("response_format"), responseFormat);
}

QString OpenAICompatibleModelClient::v1(const QString &path) const
{
    const QString base = server().baseUrl.path();
    return (base.endsWith(QLatin1String("/v1")) || base.endsWith(QLatin1String("/v1/"))
                ? QString()
                : QStringLiteral("v1/")) +
           path;
}
