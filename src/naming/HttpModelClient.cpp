// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HttpModelClient.h"

#include "core/TextScanning.h"
#include "naming/HttpExchange.h"
#include "naming/NamingLog.h"
#include "naming/OllamaModelClient.h"
#include "naming/OpenAICompatibleModelClient.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

constexpr auto listTimeLimit = 1s;
// Far above any real answer; a server sending more is not answering the question.
constexpr qsizetype maxBodySize = 1024 * 1024;
constexpr qsizetype maxKeywords = 5;

// The server's own explanation, {"error": "..."} or {"error": {"message": "..."}}, when it gives one.
QString serverMessage(const QByteArray &body)
{
    const QJsonValue error = QJsonDocument::fromJson(body).object().value(QLatin1String("error"));
    return error.isObject() ? error.toObject().value(QLatin1String("message")).toString() : error.toString();
}

ModelReply failure(const QString &error, bool unresponsive = false)
{
    return {std::nullopt, error, unresponsive};
}

// The generated object. A server that does not hold the model to the schema may wrap it in a code
// fence or a sentence; the outermost braces are taken then.
QJsonObject generatedObject(const QString &content, QJsonParseError &error)
{
    QJsonDocument generated = QJsonDocument::fromJson(content.toUtf8(), &error);
    const qsizetype open = content.indexOf(u'{');
    const qsizetype close = content.lastIndexOf(u'}');
    if (!generated.isObject() && open >= 0 && close > open)
        generated = QJsonDocument::fromJson(content.sliced(open, close - open + 1).toUtf8(), &error);
    return generated.object();
}

// A list of texts, or one text of comma-separated keywords; numbers count as texts.
QStringList keywordsOf(const QJsonValue &value)
{
    QStringList keywords;
    const QJsonArray items = value.isString() ? QJsonArray{value} : value.toArray();
    for (const QJsonValue &item : items) {
        const QString text = item.isDouble() ? QString::number(item.toDouble()) : item.toString();
        for (const QString &piece : text.split(u',', Qt::SkipEmptyParts)) {
            if (!piece.trimmed().isEmpty() && keywords.size() < maxKeywords)
                keywords.append(piece.trimmed());
        }
    }
    return keywords;
}

bool namesModel(const QString &listed, const QString &wanted)
{
    // "llama3" is what the server lists as "llama3:latest".
    return listed == wanted || (!wanted.contains(u':') && listed == wanted + QStringLiteral(":latest"));
}

} // namespace

ModelServer ModelServer::fromSettings(const SettingsStore &settings)
{
    return {settings.localModelApi(), QUrl::fromUserInput(settings.localModelUrl()),
            settings.localModelName(), settings.localModelApiKey()};
}

std::optional<QString> ModelServer::problem() const
{
    const QString scheme = baseUrl.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return QStringLiteral("The model server's address must start with http:// or https://, so nothing is "
                              "sent to %1.")
            .arg(TextScanning::quoted(baseUrl.toDisplayString()));
    // A space or a line break would end the header early, and what follows would be sent as headers
    // of its own.
    const bool printable = std::all_of(apiKey.begin(), apiKey.end(), [](QChar c) {
        return c.unicode() > 0x20 && c.unicode() < 0x7f;
    });
    if (!printable)
        return QStringLiteral(
                   "The API key in Quillo's settings file has spaces, line breaks or other characters "
                   "a key cannot hold, so nothing is sent to the model server. Correct it in %1.")
            .arg(QStringLiteral("~/.config/quillo/quillo.conf"));
    return std::nullopt;
}

QString ModelServer::withoutKey(QString text) const
{
    if (apiKey.isEmpty())
        return text;
    // As sent, as a JSON string holds it, as a URL holds it, and as the log writes it.
    const QString json = QString::fromUtf8(QJsonDocument(QJsonArray{apiKey}).toJson(QJsonDocument::Compact));
    const QStringList forms{apiKey, json.mid(2, json.size() - 4),
                            QString::fromLatin1(QUrl::toPercentEncoding(apiKey)),
                            TextScanning::quoted(apiKey).mid(1).chopped(1)};
    for (const QString &form : forms) {
        if (!form.isEmpty())
            text.replace(form, QStringLiteral("(the API key)"));
    }
    return text;
}

std::unique_ptr<LocalModelClient> HttpModelClient::create(const ModelServer &server)
{
    if (server.api == LocalModelApi::OpenAI)
        return std::make_unique<OpenAICompatibleModelClient>(server);
    return std::make_unique<OllamaModelClient>(server);
}

HttpModelClient::HttpModelClient(ModelServer server)
    : m_server(std::move(server))
{}

ModelReply HttpModelClient::respond(const ModelRequest &request, std::chrono::milliseconds timeLimit)
{
    const Exchange chat = exchange(chatPath(), chatBody(request), timeLimit);
    if (!chat.error.isEmpty())
        return failure(chat.error, !chat.reachedServer || chat.timedOut);
    return readAnswer(chat.body);
}

HttpModelClient::Exchange HttpModelClient::exchange(const QString &path,
                                                    const std::optional<QByteArray> &body,
                                                    std::chrono::milliseconds timeLimit) const
{
    if (const auto problem = m_server.problem()) {
        Exchange refused;
        refused.error = *problem;
        refused.reachedServer = true; // a setting to correct, not a server to wait for
        return refused;
    }
    QUrl url = m_server.baseUrl;
    url.setPath(url.path() + (url.path().endsWith(u'/') ? QString() : QStringLiteral("/")) + path);
    QList<std::pair<QByteArray, QByteArray>> headers;
    if (!m_server.apiKey.isEmpty())
        headers.append({"Authorization", "Bearer " + m_server.apiKey.toUtf8()});
    Exchange result = HttpExchange::run(url, body, headers, timeLimit, maxBodySize);
    if (result.error.isEmpty() && result.status != 200) {
        const QString message = m_server.withoutKey(serverMessage(result.body));
        result.error = QStringLiteral("The model server answered with HTTP status %1").arg(result.status) +
                       (message.isEmpty() ? QString() : QStringLiteral(": ") + TextScanning::quoted(message));
    }
    // Some servers quote the key they refused.
    result.error = m_server.withoutKey(result.error);
    return result;
}

HttpModelClient::Listing HttpModelClient::findModel(const QString &path, const QString &arrayKey,
                                                    const QStringList &nameKeys) const
{
    const Exchange list = exchange(path, std::nullopt, listTimeLimit);
    const QString server = m_server.baseUrl.toString();
    if (!list.reachedServer) {
        qCDebug(lcNaming).noquote() << QStringLiteral("No model server at %1: %2").arg(server, list.error);
        return {ModelAvailability::State::NoServer, {}};
    }
    const QJsonValue models = QJsonDocument::fromJson(list.body).object().value(arrayKey);
    if (!list.error.isEmpty() || !models.isArray()) {
        qCDebug(lcNaming).noquote() << QStringLiteral("The model server cannot list its models: %1")
                                           .arg(list.error.isEmpty() ? QStringLiteral("unexpected answer")
                                                                     : list.error);
        return {ModelAvailability::State::Unavailable, {}};
    }
    for (const QJsonValue &model : models.toArray()) {
        const QJsonObject entry = model.toObject();
        for (const QString &key : nameKeys) {
            if (namesModel(entry.value(key).toString(), m_server.modelName))
                return {ModelAvailability::State::Available, entry};
        }
    }
    return {ModelAvailability::State::ModelMissing, {}};
}

QString HttpModelClient::promptWithSchema(const ModelRequest &request)
{
    return request.prompt + QStringLiteral("\n\nAnswer with JSON matching this schema:\n") +
           QString::fromUtf8(request.schema);
}

QByteArray HttpModelClient::withRawMember(const QJsonObject &object, const QString &key,
                                          const QByteArray &rawJson)
{
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    text.chop(1);
    return text + (object.isEmpty() ? "\"" : ",\"") + key.toUtf8() + "\":" + rawJson + '}';
}

// Only the shape that naming cannot do without is required: the category is mapped, or replaced,
// by the caller.
ModelReply HttpModelClient::readAnswer(const QByteArray &body) const
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (!document.isObject())
        return failure(QStringLiteral("The answer is not a JSON object: %1").arg(parseError.errorString()));
    const QJsonValue content = generatedText(document.object());
    if (!content.isString())
        return failure(QStringLiteral("The answer holds no generated text"));
    const QJsonObject generated = generatedObject(content.toString(), parseError);
    if (generated.isEmpty())
        return failure(
            QStringLiteral("The generated text is not a JSON object: %1").arg(parseError.errorString()));
    ModelAnswer answer{keywordsOf(generated.value(QLatin1String("keywords"))),
                       generated.value(QLatin1String("category")).toString()};
    if (answer.keywords.isEmpty())
        return failure(QStringLiteral("The generated text holds no keywords"));
    return {answer, QString()};
}
