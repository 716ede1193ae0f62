#include "naming/OllamaModelClient.h"

#include "naming/NamingLog.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr auto tagsTimeLimit = 1s;
constexpr auto showTimeLimit = 2s;
// Far above any real answer; a server sending more is not answering the question.
constexpr qsizetype maxBodySize = 1024 * 1024;
constexpr qint64 readChunkSize = 64 * 1024;
constexpr double temperature = 0.2;
constexpr qsizetype maxKeywords = 5;

struct HttpResult
{
    bool reachedServer = false; // an HTTP status line arrived
    int status = 0;
    QByteArray body;
    QString error; // empty when the exchange completed with status 200
};

bool isLoopback(const QUrl &url)
{
    const QString host = url.host();
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           QHostAddress(host).isLoopback();
}

QString seconds(std::chrono::milliseconds duration)
{
    return QString::number(double(duration.count()) / 1000.0, 'g', 3);
}

// The server's own explanation ({"error": "..."}) when it gives one.
QString serverMessage(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object().value(QLatin1String("error")).toString();
}

QNetworkRequest jsonRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    return request;
}

// Empty when the exchange ended with status 200.
QString failureOf(const HttpResult &result, const QNetworkReply &reply)
{
    if (!result.reachedServer)
        return QStringLiteral("Cannot reach the model server: %1").arg(reply.errorString());
    if (result.status == 200)
        return {};
    const QString message = serverMessage(result.body);
    return QStringLiteral("The model server answered with HTTP status %1").arg(result.status) +
           (message.isEmpty() ? QString() : QStringLiteral(": ") + message);
}

// One request, bounded in time and in the size of what comes back.
HttpResult exchange(const QUrl &url, const std::optional<QByteArray> &postBody,
                    std::chrono::milliseconds timeLimit)
{
    QNetworkAccessManager manager;
    // A proxy from the environment must not sit between us and a server on this machine.
    if (isLoopback(url))
        manager.setProxy(QNetworkProxy::NoProxy);
    const std::unique_ptr<QNetworkReply> reply(postBody ? manager.post(jsonRequest(url), *postBody)
                                                        : manager.get(jsonRequest(url)));
    // Keeps Qt from buffering a huge body behind our back before the size check sees it.
    reply->setReadBufferSize(readChunkSize);

    HttpResult result;
    const auto abortWith = [&](const QString &reason) {
        if (result.error.isEmpty())
            result.error = reason;
        reply->abort();
    };
    const auto drain = [&] {
        result.body += reply->read(maxBodySize + 1 - result.body.size());
        if (result.body.size() > maxBodySize)
            abortWith(QStringLiteral("The answer is larger than 1 MiB"));
    };
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        abortWith(QStringLiteral("No answer within %1 s").arg(seconds(timeLimit)));
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeLimit);
    if (!reply->isFinished())
        loop.exec();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    result.reachedServer = status.isValid();
    result.status = status.toInt();
    if (result.error.isEmpty())
        drain();
    if (result.error.isEmpty())
        result.error = failureOf(result, *reply);
    return result;
}

bool namesModel(const QString &listed, const QString &wanted)
{
    // "llama3" is what the server lists as "llama3:latest".
    return listed == wanted || (!wanted.contains(u':') && listed == wanted + QStringLiteral(":latest"));
}

bool listsModel(const QByteArray &tagsBody, const QString &wanted)
{
    const QJsonArray models =
        QJsonDocument::fromJson(tagsBody).object().value(QLatin1String("models")).toArray();
    return std::any_of(models.begin(), models.end(), [&](const QJsonValue &model) {
        const QJsonObject entry = model.toObject();
        return namesModel(entry.value(QLatin1String("name")).toString(), wanted) ||
               namesModel(entry.value(QLatin1String("model")).toString(), wanted);
    });
}

bool isTagList(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object().value(QLatin1String("models")).isArray();
}

QByteArray chatBody(const QString &model, const ModelRequest &request)
{
    // The schema also goes into the prompt: its descriptions guide the words, not just the shape.
    QJsonObject user{{QStringLiteral("role"), QStringLiteral("user")},
                     {QStringLiteral("content"),
                      request.prompt + QStringLiteral("\n\nAnswer with JSON matching this schema:\n") +
                          QString::fromUtf8(request.schema)}};
    if (request.png)
        user.insert(QStringLiteral("images"), QJsonArray{QString::fromLatin1(request.png->toBase64())});
    const QJsonObject system{{QStringLiteral("role"), QStringLiteral("system")},
                             {QStringLiteral("content"), request.instructions}};
    const QJsonObject body{
        {QStringLiteral("model"), model},
        {QStringLiteral("messages"), QJsonArray{system, user}},
        {QStringLiteral("stream"), false},
        {QStringLiteral("options"), QJsonObject{{QStringLiteral("temperature"), temperature}}}};
    // QJsonObject sorts its keys, which would reorder the schema's properties; it goes in as written.
    QByteArray text = QJsonDocument(body).toJson(QJsonDocument::Compact);
    text.chop(1);
    return text + ",\"format\":" + request.schema + '}';
}

ModelReply failure(const QString &error)
{
    return {std::nullopt, error};
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

// The chat answer's message content holds the generated JSON as a string. Only the shape that
// naming cannot do without is required: the category is mapped, or replaced, by the caller.
ModelReply parseChatAnswer(const QByteArray &body)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (!document.isObject())
        return failure(QStringLiteral("The answer is not a JSON object: %1").arg(parseError.errorString()));
    const QJsonValue content =
        document.object().value(QLatin1String("message")).toObject().value(QLatin1String("content"));
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

} // namespace

OllamaModelClient::OllamaModelClient(QUrl baseUrl, QString modelName)
    : m_baseUrl(std::move(baseUrl))
    , m_modelName(std::move(modelName))
{}

ModelAvailability OllamaModelClient::availability()
{
    const HttpResult tags = exchange(endpoint(QStringLiteral("api/tags")), std::nullopt, tagsTimeLimit);
    if (!tags.reachedServer) {
        qCDebug(lcNaming).noquote()
            << QStringLiteral("No model server at %1: %2").arg(m_baseUrl.toString(), tags.error);
        return {ModelAvailability::State::NoServer, false};
    }
    if (!tags.error.isEmpty() || !isTagList(tags.body)) {
        qCDebug(lcNaming).noquote() << QStringLiteral("The model server cannot list its models: %1")
                                           .arg(tags.error.isEmpty() ? QStringLiteral("unexpected answer")
                                                                     : tags.error);
        return {ModelAvailability::State::Unavailable, false};
    }
    if (!listsModel(tags.body, m_modelName))
        return {ModelAvailability::State::ModelMissing, false};

    const QByteArray showBody =
        QJsonDocument(QJsonObject{{QStringLiteral("model"), m_modelName}}).toJson(QJsonDocument::Compact);
    const HttpResult show = exchange(endpoint(QStringLiteral("api/show")), showBody, showTimeLimit);
    if (!show.error.isEmpty())
        qCDebug(lcNaming).noquote()
            << QStringLiteral("Cannot learn whether %1 sees images: %2").arg(m_modelName, show.error);
    const QJsonArray capabilities =
        QJsonDocument::fromJson(show.body).object().value(QLatin1String("capabilities")).toArray();
    return {ModelAvailability::State::Available,
            show.error.isEmpty() && capabilities.contains(QJsonValue(QStringLiteral("vision")))};
}

ModelReply OllamaModelClient::respond(const ModelRequest &request, std::chrono::milliseconds timeLimit)
{
    const HttpResult chat =
        exchange(endpoint(QStringLiteral("api/chat")), chatBody(m_modelName, request), timeLimit);
    if (!chat.error.isEmpty())
        return failure(chat.error);
    return parseChatAnswer(chat.body);
}

QUrl OllamaModelClient::endpoint(const QString &path) const
{
    QUrl url = m_baseUrl;
    QString base = url.path();
    if (!base.endsWith(u'/'))
        base += u'/';
    url.setPath(base + path);
    return url;
}
