#include "naming/OllamaModelClient.h"

#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>
#include <QtConcurrent>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Behaviour = FakeModelServer::Behaviour;
using State = ModelAvailability::State;

namespace {

const QByteArray goodAnswer = R"({"keywords":["stripe","invoice","paid"],"category":"receipts"})";
const QByteArray schema =
    R"({"type":"object","properties":{"keywords":{"type":"array"},"category":{"type":"string"}}})";

ModelRequest request(const QString &prompt, const std::optional<QByteArray> &png = std::nullopt)
{
    return {u"You name screenshot files."_s, schema, prompt, png};
}
constexpr auto shortLimit = 1s; // long enough for a loaded machine to answer on loopback

} // namespace

class OllamaModelClientTest : public QObject
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
    void answersOnAWorkerThread();

private:
    std::unique_ptr<FakeModelServer> m_server;
};

void OllamaModelClientTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_server = std::make_unique<FakeModelServer>();
    m_server->setModels({u"gemma3:4b"_s});
    m_server->setCapabilities({u"completion"_s, u"vision"_s});
    m_server->setChatContents({goodAnswer});
}

void OllamaModelClientTest::availability_data()
{
    QTest::addColumn<QStringList>("models");
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("modelName");
    QTest::addColumn<QByteArray>("failingPath");
    QTest::addColumn<Behaviour>("failure");
    QTest::addColumn<State>("expectedState");
    QTest::addColumn<bool>("expectedVision");
    const QStringList vision{"completion", "vision"};
    const QStringList textOnly{"completion"};
    const QStringList installed{"llava:7b", "gemma3:4b"};

    QTest::addRow("model listed, with vision") << installed << vision << u"gemma3:4b"_s << QByteArray()
                                               << Behaviour::Answer << State::Available << true;
    QTest::addRow("model listed, text only") << installed << textOnly << u"gemma3:4b"_s << QByteArray()
                                             << Behaviour::Answer << State::Available << false;
    QTest::addRow("bare name finds the latest tag")
        << QStringList{"llama3:latest"} << textOnly << u"llama3"_s << QByteArray() << Behaviour::Answer
        << State::Available << false;
    QTest::addRow("another size of the model")
        << QStringList{"gemma3:12b"} << vision << u"gemma3:4b"_s << QByteArray() << Behaviour::Answer
        << State::ModelMissing << false;
    QTest::addRow("model list fails") << installed << vision << u"gemma3:4b"_s << QByteArray("/api/tags")
                                      << Behaviour::ServerError << State::Unavailable << false;
    QTest::addRow("model list never comes")
        << installed << vision << u"gemma3:4b"_s << QByteArray("/api/tags") << Behaviour::Hang
        << State::NoServer << false;
    QTest::addRow("model details fail: text only")
        << installed << vision << u"gemma3:4b"_s << QByteArray("/api/show") << Behaviour::ServerError
        << State::Available << false;
}

void OllamaModelClientTest::availability()
{
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

    OllamaModelClient client(m_server->baseUrl(), modelName);
    QCOMPARE(client.availability(), (ModelAvailability{expectedState, expectedVision}));
    const auto shows = m_server->requests("/api/show");
    if (!shows.isEmpty())
        QCOMPARE(shows.first().json().value(u"model"_s).toString(), modelName);
}

void OllamaModelClientTest::chatRequestCarriesEverything_data()
{
    QTest::addColumn<std::optional<QByteArray>>("png");
    QTest::addRow("text prompt") << std::optional<QByteArray>();
    QTest::addRow("image prompt") << std::optional<QByteArray>(
        QByteArray("\x89PNG\r\n\x1a\n fake pixels", 20));
}

void OllamaModelClientTest::chatRequestCarriesEverything()
{
    QFETCH(std::optional<QByteArray>, png);
    const QString prompt = u"App: Stripe\nWindow title: Invoice “#1042” – paid"_s;
    OllamaModelClient client(m_server->baseUrl(), u"gemma3:4b"_s);

    const ModelReply reply = client.respond(request(prompt, png), 5s);
    QCOMPARE(reply, (ModelReply{ModelAnswer{{"stripe", "invoice", "paid"}, "receipts"}, QString()}));
    const auto chats = m_server->requests("/api/chat");
    QCOMPARE(chats.size(), 1);
    QCOMPARE(chats.first().method, QByteArray("POST"));
    const QJsonObject body = chats.first().json();
    QCOMPARE(body.value(u"model"_s).toString(), u"gemma3:4b"_s);
    QCOMPARE(body.value(u"stream"_s), QJsonValue(false));
    QCOMPARE(body.value(u"options"_s).toObject().value(u"temperature"_s).toDouble(), 0.2);
    QCOMPARE(body.value(u"format"_s).toObject(), QJsonDocument::fromJson(schema).object());
    // The properties keep their order on the wire.
    const QByteArray format = chats.first().body.mid(chats.first().body.indexOf("\"format\":"));
    QVERIFY(format.indexOf("\"keywords\"") < format.indexOf("\"category\""));

    const QJsonArray messages = body.value(u"messages"_s).toArray();
    QCOMPARE(messages.size(), 2);
    const QJsonObject system = messages[0].toObject();
    const QJsonObject user = messages[1].toObject();
    QCOMPARE(system.value(u"role"_s).toString(), u"system"_s);
    QCOMPARE(system.value(u"content"_s).toString(), u"You name screenshot files."_s);
    QCOMPARE(user.value(u"role"_s).toString(), u"user"_s);
    QVERIFY(user.value(u"content"_s).toString().startsWith(prompt + u'\n'));
    QVERIFY(user.value(u"content"_s).toString().endsWith(QString::fromUtf8(schema)));
    QCOMPARE(user.contains(u"images"_s), png.has_value());
    if (png)
        QCOMPARE(user.value(u"images"_s).toArray(), QJsonArray{QString::fromLatin1(png->toBase64())});
}

void OllamaModelClientTest::answers_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // keywords joined by "|", " in " and the category; or the error

    QTest::addRow("server error")
        << Behaviour::ServerError << goodAnswer
        << u"The model server answered with HTTP status 500: model runner has unexpectedly stopped"_s;
    QTest::addRow("body is not JSON")
        << Behaviour::Malformed << goodAnswer << u"The answer is not a JSON object"_s;
    QTest::addRow("connection closed without a word")
        << Behaviour::Close << goodAnswer << u"Cannot reach the model server"_s;
    QTest::addRow("never answers") << Behaviour::Hang << goodAnswer << u"No answer within 1 s"_s;
    QTest::addRow("answers after the limit") << Behaviour::Delay << goodAnswer << u"No answer within 1 s"_s;
    QTest::addRow("50 MB body") << Behaviour::HugeBody << goodAnswer << u"The answer is larger than 1 MiB"_s;
    QTest::addRow("generated text is prose")
        << Behaviour::Answer << QByteArray("Sure! Keywords: stripe, invoice")
        << u"The generated text is not a JSON object"_s;
    QTest::addRow("no keywords") << Behaviour::Answer << QByteArray(R"({"category":"web"})")
                                 << u"The generated text holds no keywords"_s;
    // A server that ignores the schema still names the file.
    QTest::addRow("object in a code fence")
        << Behaviour::Answer << QByteArray("```json\n" + goodAnswer + "\n```")
        << u"stripe|invoice|paid in receipts"_s;
    QTest::addRow("keywords as one text, category by folder name")
        << Behaviour::Answer
        << QByteArray(R"({"keywords":"stripe, invoice paid","category":"Receipts & Invoices"})")
        << u"stripe|invoice paid in Receipts & Invoices"_s;
    QByteArray many = R"({"keywords":["w0",1)";
    for (int i = 2; i < 200; ++i)
        many += ",\"w" + QByteArray::number(i) + '"';
    QTest::addRow("200 keywords and a number, no category")
        << Behaviour::Answer << many + "]}" << u"w0|1|w2|w3|w4 in "_s;
}

void OllamaModelClientTest::answers()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    m_server->setBehaviour("/api/chat", behaviour, 5s);
    m_server->setChatContents({content});

    OllamaModelClient client(m_server->baseUrl(), u"gemma3:4b"_s);
    const ModelReply reply = client.respond(request(u"prompt"_s), shortLimit);
    const QString got =
        reply.answer ? reply.answer->keywords.join(u'|') + u" in "_s + reply.answer->category : reply.error;
    QVERIFY2(got.startsWith(expected), qPrintable(got));
    QCOMPARE(reply.error.isEmpty(), reply.answer.has_value());
    // Had the client read a huge body on, all of it would be out before respond() returned.
    QVERIFY(m_server->hugeBodyBytesSent() < FakeModelServer::hugeBodySize / 4);
}

void OllamaModelClientTest::answersOnAWorkerThread()
{
    // The way naming uses it: a pool thread blocks, the server's thread stays free.
    OllamaModelClient client(m_server->baseUrl(), u"gemma3:4b"_s);
    QFuture<ModelReply> reply = QtConcurrent::run([&client] {
        return client.respond(request(u"prompt"_s), 5s);
    });
    QTRY_VERIFY(reply.isFinished());
    QCOMPARE(reply.result().answer->keywords, (QStringList{"stripe", "invoice", "paid"}));
}

QTEST_GUILESS_MAIN(OllamaModelClientTest)
#include "OllamaModelClientTest.moc"
