// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HttpModelClient.h"

#include "naming/ModelPause.h"
#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSslConfiguration>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Behaviour = FakeModelServer::Behaviour;
using State = ModelAvailability::State;
using Api = LocalModelApi;

namespace {

const QByteArray goodAnswer = R"({"keywords":["stripe","invoice","paid"],"category":"receipts"})";
const QByteArray schema =
    R"({"type":"object","properties":{"keywords":{"type":"array"},"category":{"type":"string"}}})";
const QByteArray serverError = R"({"error":"model runner has\nunexpectedly stopped"})";
const QString apiKey = u"sk-local-5ecret"_s;
constexpr auto shortLimit = 1s; // long enough for a loaded machine to answer on loopback

ModelRequest request(const QString &prompt, const std::optional<QByteArray> &png = std::nullopt)
{
    return {u"You name screenshot files."_s, schema, prompt, png};
}

QByteArray chatPath(Api api)
{
    return api == Api::OpenAI ? "/v1/chat/completions" : "/api/chat";
}

} // namespace

// Both chat APIs against a model server on loopback.
class HttpModelClientTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void availability_data();
    void availability();
    void chatRequestCarriesEverything_data();
    void chatRequestCarriesEverything();
    void answers_data();
    void answers();
    void unresponsiveServerIsSkippedForFiveMinutes_data();
    void unresponsiveServerIsSkippedForFiveMinutes();
    void httpsSendsOnlyToATrustedServer_data();
    void httpsSendsOnlyToATrustedServer();
    void untrustworthySettingsSendNothing_data();
    void untrustworthySettingsSendNothing();
    void aQuotedKeyNeverShowsInAnyForm();

private:
    std::unique_ptr<LocalModelClient> client(Api api, const QString &model = u"gemma3:4b"_s,
                                             const QString &path = {}) const
    {
        return HttpModelClient::create({api, m_server->url(path), model, apiKey});
    }

    std::unique_ptr<FakeModelServer> m_server;
};

void HttpModelClientTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_server = std::make_unique<FakeModelServer>();
    m_server->setModels({u"gemma3:4b"_s});
    m_server->setCapabilities({u"completion"_s, u"vision"_s});
    m_server->setChatContents({goodAnswer});
}

void HttpModelClientTest::availability_data()
{
    QTest::addColumn<Api>("api");
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QStringList>("models");
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("modelName");
    QTest::addColumn<QByteArray>("failingPath");
    QTest::addColumn<Behaviour>("failure"); // Answer: HTTP status 500
    QTest::addColumn<State>("expectedState");
    QTest::addColumn<bool>("expectedVision");
    const QStringList vision{"completion", "vision"};
    const QStringList textOnly{"completion"};
    const QStringList installed{"llava:7b", "gemma3:4b"};
    const QString gemma = u"gemma3:4b"_s;

    QTest::addRow("model listed, with vision")
        << Api::Ollama << QString() << installed << vision << gemma << QByteArray() << Behaviour::Answer
        << State::Available << true;
    QTest::addRow("model listed, text only")
        << Api::Ollama << QString() << installed << textOnly << gemma << QByteArray() << Behaviour::Answer
        << State::Available << false;
    QTest::addRow("bare name finds the latest tag")
        << Api::Ollama << QString() << QStringList{"llama3:latest"} << textOnly << u"llama3"_s << QByteArray()
        << Behaviour::Answer << State::Available << false;
    QTest::addRow("another size of the model")
        << Api::Ollama << QString() << QStringList{"gemma3:12b"} << vision << gemma << QByteArray()
        << Behaviour::Answer << State::ModelMissing << false;
    QTest::addRow("model list fails")
        << Api::Ollama << QString() << installed << vision << gemma << QByteArray("/api/tags")
        << Behaviour::Answer << State::Unavailable << false;
    QTest::addRow("model list never comes")
        << Api::Ollama << QString() << installed << vision << gemma << QByteArray("/api/tags")
        << Behaviour::Hang << State::NoServer << false;
    QTest::addRow("model details fail: text only")
        << Api::Ollama << QString() << installed << vision << gemma << QByteArray("/api/show")
        << Behaviour::Answer << State::Available << false;
    QTest::addRow("openai: multimodal model")
        << Api::OpenAI << QString() << installed << QStringList{"multimodal"} << gemma << QByteArray()
        << Behaviour::Answer << State::Available << true;
    QTest::addRow("openai: address ending in /v1, nothing said about images")
        << Api::OpenAI << u"/v1"_s << installed << QStringList() << gemma << QByteArray() << Behaviour::Answer
        << State::Available << false;
    QTest::addRow("openai: another model")
        << Api::OpenAI << QString() << QStringList{"qwen2.5-vl"} << vision << gemma << QByteArray()
        << Behaviour::Answer << State::ModelMissing << false;
    QTest::addRow("openai: model list fails")
        << Api::OpenAI << QString() << installed << vision << gemma << QByteArray("/v1/models")
        << Behaviour::Answer << State::Unavailable << false;
}

void HttpModelClientTest::availability()
{
    QFETCH(Api, api);
    QFETCH(QString, basePath);
    QFETCH(QStringList, models);
    QFETCH(QStringList, capabilities);
    QFETCH(QString, modelName);
    QFETCH(QByteArray, failingPath);
    QFETCH(Behaviour, failure);
    QFETCH(State, expectedState);
    QFETCH(bool, expectedVision);
    m_server->setModels(models);
    m_server->setCapabilities(capabilities);
    m_server->setBehaviour(failingPath, failure);
    if (failure == Behaviour::Answer && !failingPath.isEmpty())
        m_server->serve(failingPath, serverError, 500);

    QCOMPARE(client(api, modelName, basePath)->availability(),
             (ModelAvailability{expectedState, expectedVision}));
    const auto shows = m_server->requests("/api/show");
    if (!shows.isEmpty())
        QCOMPARE(shows.first().json().value(u"model"_s).toString(), modelName);
}

void HttpModelClientTest::chatRequestCarriesEverything_data()
{
    QTest::addColumn<Api>("api");
    QTest::addColumn<std::optional<QByteArray>>("png");
    const std::optional<QByteArray> png(QByteArray("\x89PNG\r\n\x1a\n fake pixels", 20));
    QTest::addRow("ollama: text") << Api::Ollama << std::optional<QByteArray>();
    QTest::addRow("ollama: image") << Api::Ollama << png;
    QTest::addRow("openai: text") << Api::OpenAI << std::optional<QByteArray>();
    QTest::addRow("openai: image") << Api::OpenAI << png;
}

void HttpModelClientTest::chatRequestCarriesEverything()
{
    QFETCH(Api, api);
    QFETCH(std::optional<QByteArray>, png);
    const QString prompt = u"App: Stripe\nWindow title: Invoice “#1042” – paid"_s;

    const ModelReply reply = client(api)->respond(request(prompt, png), 5s);
    QCOMPARE(reply, (ModelReply{ModelAnswer{{"stripe", "invoice", "paid"}, "receipts"}, QString()}));
    const auto chats = m_server->requests(chatPath(api));
    QCOMPARE(chats.size(), 1);
    QCOMPARE(chats.first().method, QByteArray("POST"));
    QCOMPARE(chats.first().header("authorization"), "Bearer " + apiKey.toUtf8());
    const QJsonObject body = chats.first().json();
    QCOMPARE(body.value(u"model"_s).toString(), u"gemma3:4b"_s);
    QCOMPARE(body.value(u"stream"_s), QJsonValue(false));
    const bool openai = api == Api::OpenAI;
    const QJsonObject options = openai ? body : body.value(u"options"_s).toObject();
    QCOMPARE(options.value(u"temperature"_s).toDouble(), 0.2);
    const QJsonObject format = openai ? body.value(u"response_format"_s).toObject() : QJsonObject();
    if (openai)
        QCOMPARE(format.value(u"type"_s).toString(), u"json_schema"_s);
    QCOMPARE(openai ? format.value(u"json_schema"_s).toObject().value(u"schema"_s).toObject()
                    : body.value(u"format"_s).toObject(),
             QJsonDocument::fromJson(schema).object());
    // The properties keep their order on the wire.
    const QByteArray wire = chats.first().body;
    QVERIFY(wire.indexOf("\"keywords\"", wire.indexOf("\"properties\"")) < wire.lastIndexOf("\"category\""));

    const QJsonArray messages = body.value(u"messages"_s).toArray();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].toObject().value(u"role"_s).toString(), u"system"_s);
    QCOMPARE(messages[0].toObject().value(u"content"_s).toString(), u"You name screenshot files."_s);
    const QJsonObject user = messages[1].toObject();
    QCOMPARE(user.value(u"role"_s).toString(), u"user"_s);
    const QJsonArray parts = user.value(u"content"_s).toArray();
    const QString text =
        png && openai ? parts[0].toObject().value(u"text"_s).toString() : user.value(u"content"_s).toString();
    QVERIFY(text.startsWith(prompt + u'\n'));
    QVERIFY(text.endsWith(QString::fromUtf8(schema)));
    const QString base64 = png ? QString::fromLatin1(png->toBase64()) : QString();
    if (openai) {
        const QString url = parts[1].toObject().value(u"image_url"_s).toObject().value(u"url"_s).toString();
        QCOMPARE(url, png ? u"data:image/png;base64,"_s + base64 : QString());
    } else {
        QCOMPARE(user.value(u"images"_s).toArray(), png ? QJsonArray{base64} : QJsonArray());
    }
}

void HttpModelClientTest::answers_data()
{
    QTest::addColumn<Api>("api");
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("content"); // what the model generated; the whole body unless status 200
    QTest::addColumn<QString>("expected");   // keywords joined by "|", " in " and the category; or the error

    QTest::addRow("server error")
        << Api::Ollama << Behaviour::Answer << 500 << serverError
        << u"The model server answered with HTTP status 500: \"model runner has\\nunexpectedly stopped\""_s;
    QTest::addRow("body is not JSON")
        << Api::Ollama << Behaviour::Answer << 0 << QByteArray(R"({"message": {"content": )")
        << u"The answer is not a JSON object"_s;
    QTest::addRow("connection closed without a word")
        << Api::Ollama << Behaviour::Close << 200 << goodAnswer << u"Cannot reach the model server"_s;
    QTest::addRow("never answers") << Api::Ollama << Behaviour::Hang << 200 << goodAnswer
                                   << u"No answer within 1 s"_s;
    QTest::addRow("50 MB body") << Api::Ollama << Behaviour::HugeBody << 200 << goodAnswer
                                << u"The answer is larger than 1 MiB"_s;
    QTest::addRow("50 MB chunked body") << Api::Ollama << Behaviour::HugeChunkedBody << 200 << goodAnswer
                                        << u"The answer is larger than 1 MiB"_s;
    QTest::addRow("generated text is prose")
        << Api::Ollama << Behaviour::Answer << 200 << QByteArray("Sure! Keywords: stripe, invoice")
        << u"The generated text is not a JSON object"_s;
    QTest::addRow("no keywords") << Api::Ollama << Behaviour::Answer << 200
                                 << QByteArray(R"({"category":"web"})")
                                 << u"The generated text holds no keywords"_s;
    // A server that ignores the schema still names the file.
    QTest::addRow("object in a code fence")
        << Api::Ollama << Behaviour::Answer << 200 << QByteArray("```json\n" + goodAnswer + "\n```")
        << u"stripe|invoice|paid in receipts"_s;
    QTest::addRow("keywords as one text, category by folder name")
        << Api::Ollama << Behaviour::Answer << 200
        << QByteArray(R"({"keywords":"stripe, invoice paid","category":"Receipts & Invoices"})")
        << u"stripe|invoice paid in Receipts & Invoices"_s;
    QByteArray many = R"({"keywords":["w0",1)";
    for (int i = 2; i < 200; ++i)
        many += ",\"w" + QByteArray::number(i) + '"';
    QTest::addRow("200 keywords and a number, no category")
        << Api::Ollama << Behaviour::Answer << 200 << many + "]}" << u"w0|1|w2|w3|w4 in "_s;
    QTest::addRow("openai: schema ignored, object after a sentence")
        << Api::OpenAI << Behaviour::Answer << 200 << QByteArray("Here you go: " + goodAnswer)
        << u"stripe|invoice|paid in receipts"_s;
    QTest::addRow("openai: no choices")
        << Api::OpenAI << Behaviour::Answer << 0 << QByteArray(R"({"object":"chat.completion","choices":[]})")
        << u"The answer holds no generated text"_s;
    QTest::addRow("openai: refused key is not repeated")
        << Api::OpenAI << Behaviour::Answer << 401
        << QByteArray(R"({"error":{"message":"Incorrect API key provided: )" + apiKey.toUtf8() + "\"}}")
        << u"The model server answered with HTTP status 401: \"Incorrect API key provided: (the API key)\""_s;
}

void HttpModelClientTest::answers()
{
    QFETCH(Api, api);
    QFETCH(Behaviour, behaviour);
    QFETCH(int, status);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    m_server->setBehaviour(chatPath(api), behaviour, 5s);
    m_server->setChatContents({content});
    if (status != 200)
        m_server->serve(chatPath(api), content, status ? status : 200);

    const ModelReply reply = client(api)->respond(request(u"prompt"_s), shortLimit);
    const QString got =
        reply.answer ? reply.answer->keywords.join(u'|') + u" in "_s + reply.answer->category : reply.error;
    QVERIFY2(got.startsWith(expected), qPrintable(got));
    QCOMPARE(reply.error.isEmpty(), reply.answer.has_value());
    // Had the client read a huge body on, all of it would be out before respond() returned.
    QVERIFY(m_server->hugeBodyBytesSent() < FakeModelServer::hugeBodySize / 4);
}

void HttpModelClientTest::unresponsiveServerIsSkippedForFiveMinutes_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<Behaviour>("behaviour"); // Answer: HTTP status 500
    QTest::addColumn<bool>("pauses");
    QTest::addColumn<bool>("answeredBefore"); // a failure, not a server that was never there
    QTest::addRow("model list never comes") << QByteArray("/api/tags") << Behaviour::Hang << true << false;
    QTest::addRow("chat never answers") << QByteArray("/api/chat") << Behaviour::Hang << true << false;
    QTest::addRow("connection closed without a word")
        << QByteArray("/api/chat") << Behaviour::Close << true << false;
    QTest::addRow("server error is an answer")
        << QByteArray("/api/chat") << Behaviour::Answer << false << false;
    QTest::addRow("chat stops answering") << QByteArray("/api/chat") << Behaviour::Hang << true << true;
}

void HttpModelClientTest::unresponsiveServerIsSkippedForFiveMinutes()
{
    QFETCH(QByteArray, path);
    QFETCH(Behaviour, behaviour);
    QFETCH(bool, pauses);
    QFETCH(bool, answeredBefore);
    auto now = std::chrono::steady_clock::now();
    ModelPause pause([&now] {
        return now;
    });
    const auto guarded = pause.guard(client(Api::Ollama));
    if (answeredBefore)
        QVERIFY(guarded->availability().isAvailable());
    m_server->setBehaviour(path, behaviour);
    if (behaviour == Behaviour::Answer)
        m_server->serve(path, serverError, 500);
    const auto ask = [&] {
        if (path == "/api/tags")
            guarded->availability();
        else
            guarded->respond(request(u"prompt"_s), 300ms);
        return m_server->requests(path).size();
    };
    const QRegularExpression failed(u"not answering .*; naming without it for 5 minutes$"_s);
    const QRegularExpression absent(
        u"^No local model server is answering .* turn off \"Use a local AI model\""_s);

    // A failure is an error every time; a server that was never there is said once, as information.
    if (pauses)
        QTest::ignoreMessage(answeredBefore ? QtWarningMsg : QtInfoMsg, answeredBefore ? failed : absent);
    const qsizetype before = m_server->requests(path).size();
    QCOMPARE(ask(), before + 1);
    now += 4min;
    QCOMPARE(ask(), before + (pauses ? 1 : 2));
    QCOMPARE(pause.isPaused(), pauses);
    now += 61s;
    if (pauses && answeredBefore)
        QTest::ignoreMessage(QtWarningMsg, failed);
    QCOMPARE(ask(), before + (pauses ? 2 : 3));
}

void HttpModelClientTest::httpsSendsOnlyToATrustedServer_data()
{
    QTest::addColumn<bool>("trusted"); // its certificate is among the system's
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<QString>("expected");
    QTest::addRow("trusted") << true << Behaviour::Answer << u"stripe|invoice|paid in receipts"_s;
    QTest::addRow("trusted, 50 MB chunked body")
        << true << Behaviour::HugeChunkedBody << u"The answer is larger than 1 MiB"_s;
    QTest::addRow("self-signed") << false << Behaviour::Answer << u"Cannot reach the model server: "_s;
}

void HttpModelClientTest::httpsSendsOnlyToATrustedServer()
{
    QFETCH(bool, trusted);
    QFETCH(Behaviour, behaviour);
    QFETCH(QString, expected);
    FakeModelServer server(FakeWebServer::Transport::Https);
    server.setChatContents({goodAnswer});
    server.setBehaviour("/api/chat", behaviour);
    const QSslConfiguration systemConfiguration = QSslConfiguration::defaultConfiguration();
    const auto restore = qScopeGuard([&] {
        QSslConfiguration::setDefaultConfiguration(systemConfiguration);
    });
    if (trusted) {
        QSslConfiguration configuration = systemConfiguration;
        configuration.addCaCertificate(FakeWebServer::httpsCertificate());
        QSslConfiguration::setDefaultConfiguration(configuration);
    }

    const auto client = HttpModelClient::create({Api::Ollama, server.url(), u"gemma3:4b"_s, apiKey});
    const ModelReply reply = client->respond(request(u"prompt"_s, QByteArray("\x89PNG")), 5s);
    const QString got =
        reply.answer ? reply.answer->keywords.join(u'|') + u" in "_s + reply.answer->category : reply.error;
    QVERIFY2(got.startsWith(expected), qPrintable(got));
    QVERIFY(server.hugeBodyBytesSent() < FakeModelServer::hugeBodySize / 4);
    // Nothing, the screenshot least of all, goes to a server whose certificate fails.
    QCOMPARE(server.requests("/api/chat").size(), trusted ? 1 : 0);
}

void HttpModelClientTest::untrustworthySettingsSendNothing_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("said");
    QTest::addRow("a key with a line break injects no header")
        << u"http"_s << u"sk-1\r\nX-Injected: yes"_s << u"API key"_s;
    QTest::addRow("a key with a space") << u"http"_s << u"sk 1"_s << u"API key"_s;
    QTest::addRow("an ftp address") << u"ftp"_s << apiKey << u"must start with http:// or https://"_s;
}

void HttpModelClientTest::untrustworthySettingsSendNothing()
{
    QFETCH(QString, scheme);
    QFETCH(QString, key);
    QFETCH(QString, said);
    QUrl url = m_server->url();
    url.setScheme(scheme);
    const auto client = HttpModelClient::create({Api::Ollama, url, u"gemma3:4b"_s, key});
    const ModelReply reply = client->respond(request(u"prompt"_s), shortLimit);
    QVERIFY2(reply.error.contains(said), qPrintable(reply.error));
    QVERIFY(!reply.unresponsive); // a setting to correct: no pause, no waiting
    QCOMPARE(client->availability().state, ModelAvailability::State::Unavailable);
    QTest::qWait(100);
    QCOMPARE(m_server->requests("/api/chat").size() + m_server->requests("/api/tags").size(), 0);
}

void HttpModelClientTest::aQuotedKeyNeverShowsInAnyForm()
{
    const QString key = u"sk-\"quoted\\key"_s;
    // The server repeats the key as JSON holds it, and percent-encoded as a URL would.
    const QString percent = QString::fromLatin1(QUrl::toPercentEncoding(key));
    const QByteArray body =
        QJsonDocument(QJsonObject{{u"error"_s, u"bad key %1 (%2)"_s.arg(key, percent)}}).toJson();
    m_server->serve("/api/chat", body, 401);
    const auto client = HttpModelClient::create({Api::Ollama, m_server->url(), u"gemma3:4b"_s, key});
    const QString error = client->respond(request(u"prompt"_s), shortLimit).error;
    QVERIFY2(error.contains(u"(the API key) ((the API key))"_s), qPrintable(error));
    for (const QString &form : {key, percent, u"quoted"_s})
        QVERIFY2(!error.contains(form), qPrintable(error));
}

QTEST_GUILESS_MAIN(HttpModelClientTest)
#include "HttpModelClientTest.moc"
