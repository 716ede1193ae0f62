// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PreferencesStore.h"
#include "support/FakeModelServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {} // namespace

// `quillo name --json` as a user runs it: the real binary, the settings of this test's HOME, and a
// model server on loopback that the test plays.
class NameCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void modelAnswerNamesTheFile_data();
    void modelAnswerNamesTheFile();
    void stoppedServerFallsBackQuickly();
    void hangingServerIsLeftAloneForTheRestOfABurst();
    void unreadableFileIsReportedAndOthersNamed();
    void awkwardFileNamesAreFoundAndPrintedOnOneLine();

private:
    struct Run
    {
        QList<QJsonObject> lines;
        QByteArray errors;
        int exitCode = -1;
        qint64 elapsedMs = 0;
    };
    // Runs quillo while this thread keeps serving the fake model server.
    Run name(const QStringList &files);
    void useModelAt(const QUrl &url, bool allowed = true, const QString &api = QStringLiteral("ollama"));

    std::unique_ptr<FakeModelServer> m_server;
    const QString m_image = QStringLiteral(QUILLO_TEST_DATA "/screenshots/c001.png");
};

void NameCommandTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(QStringLiteral("/home/NameCommandTest")), "must run in its test HOME");
}

void NameCommandTest::init()
{
    QDir(QDir::home().filePath(QStringLiteral(".config"))).removeRecursively();
    m_server = std::make_unique<FakeModelServer>();
    m_server->setModels({QStringLiteral("gemma3:4b")});
}

void NameCommandTest::useModelAt(const QUrl &url, bool allowed, const QString &api)
{
    PreferencesStore preferences(QDir::home().filePath(QStringLiteral(".config/quillo/quillo.conf")));
    preferences.setBool(QStringLiteral("useLocalModel"), allowed);
    preferences.setString(QStringLiteral("localModelAPI"), api);
    preferences.setString(QStringLiteral("localModelURL"), url.toString());
}

NameCommandTest::Run NameCommandTest::name(const QStringList &files)
{
    QProcess quillo;
    QElapsedTimer timer;
    timer.start();
    quillo.start(QStringLiteral(QUILLO_BINARY),
                 QStringList{QStringLiteral("name"), QStringLiteral("--json")} + files);
    Run run;
    if (!QTest::qWaitFor(
            [&] {
                return quillo.state() == QProcess::NotRunning;
            },
            60000))
        return run;
    run.elapsedMs = timer.elapsed();
    run.exitCode = quillo.exitCode();
    run.errors = quillo.readAllStandardError();
    for (const QByteArray &line : quillo.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            run.lines.append(QJsonDocument::fromJson(line).object());
    }
    return run;
}

void NameCommandTest::modelAnswerNamesTheFile_data()
{
    QTest::addColumn<QString>("api");
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("imageSent");
    const QByteArray answer =
        R"({"keywords":["Kill Bill invoice","ACME streaming","v2.1.0"],"category":"receipts"})";
    QTest::addRow("text model") << "ollama" << QStringList{QStringLiteral("completion")} << answer
                                << "localModel" << false;
    QTest::addRow("model with vision")
        << "ollama" << QStringList{QStringLiteral("completion"), QStringLiteral("vision")} << answer
        << "localModelImage" << true;
    QTest::addRow("openai: multimodal model")
        << "openai" << QStringList{QStringLiteral("multimodal")} << answer << "localModelImage" << true;
    QTest::addRow("openai: server ignores the schema")
        << "openai" << QStringList() << QByteArray("It looks like an invoice.") << "heuristics" << false;
}

void NameCommandTest::modelAnswerNamesTheFile()
{
    QFETCH(QString, api);
    QFETCH(QStringList, capabilities);
    QFETCH(QByteArray, answer);
    QFETCH(QString, source);
    QFETCH(bool, imageSent);
    m_server->setCapabilities(capabilities);
    m_server->setChatContents({answer});
    useModelAt(m_server->baseUrl(), true, api);
    const Run run = name({m_image});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines.size(), 1);
    // Like every command, it prints its results, not the program's log.
    QVERIFY2(!run.errors.contains(" info: "), run.errors.constData());
    QCOMPARE(run.lines[0].value(QStringLiteral("source")).toString(), source);
    if (source != QLatin1String("heuristics")) {
        QCOMPARE(run.lines[0].value(QStringLiteral("slug")).toString(),
                 QStringLiteral("kill-bill-invoice-acme-streaming"));
        QCOMPARE(run.lines[0].value(QStringLiteral("category")).toString(), QStringLiteral("receipts"));
    }
    const QByteArray chatPath = api == QLatin1String("openai") ? "/v1/chat/completions" : "/api/chat";
    const QByteArray sent = m_server->requests(chatPath).first().body;
    QCOMPARE(sent.contains(R"("images":)") || sent.contains("data:image/png;base64,"), imageSent);
}

void NameCommandTest::stoppedServerFallsBackQuickly()
{
    useModelAt(m_server->baseUrl(), false);
    const Run heuristicsOnly = name({m_image});
    const QUrl stopped = m_server->baseUrl();
    m_server.reset();
    useModelAt(stopped);
    const Run fallback = name({m_image});
    QCOMPARE(fallback.exitCode, 0);
    QCOMPARE(fallback.lines[0].value(QStringLiteral("source")).toString(), QStringLiteral("heuristics"));
    QCOMPARE(fallback.lines[0].value(QStringLiteral("slug")),
             heuristicsOnly.lines[0].value(QStringLiteral("slug")));
    qInfo("heuristics only %lld ms, with the server stopped %lld ms", heuristicsOnly.elapsedMs,
          fallback.elapsedMs);
}

void NameCommandTest::hangingServerIsLeftAloneForTheRestOfABurst()
{
    m_server->setBehaviour("/api/tags", FakeWebServer::Behaviour::Hang);
    useModelAt(m_server->baseUrl());
    // Two files are named at once, so both ask before either has given up.
    const Run run = name({m_image, m_image, m_image});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines.size(), 3);
    QCOMPARE(m_server->requests("/api/tags").size(), 2);
}

void NameCommandTest::unreadableFileIsReportedAndOthersNamed()
{
    useModelAt(m_server->baseUrl(), false);
    const QString text = QDir::home().filePath(QStringLiteral("notes.png"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();
    const Run run = name({text, m_image});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.lines.size(), 2);
    QCOMPARE(run.lines[0].value(QStringLiteral("file")).toString(), text);
    QVERIFY(run.lines[0]
                .value(QStringLiteral("error"))
                .toString()
                .startsWith(QStringLiteral("cannot decode image")));
    QCOMPARE(run.lines[1].value(QStringLiteral("source")).toString(), QStringLiteral("heuristics"));
    QVERIFY(run.lines[1].value(QStringLiteral("ocrMs")).toInt() > 0);
}

void NameCommandTest::awkwardFileNamesAreFoundAndPrintedOnOneLine()
{
    useModelAt(m_server->baseUrl(), false);
    // The shell makes the names, since a name that is not UTF-8 cannot pass through a QString.
    const QString script = QStringLiteral(
        R"sh(cd "$HOME" && bad="$(printf 'bad\377 name.png')" && two="$(printf 'two\nlines.png')" &&)sh"
        R"sh( cp "$1" "$bad" && cp "$1" "$two" && exec "$2" name "$bad" "$two")sh");
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), script, QStringLiteral("sh"), m_image, QStringLiteral(QUILLO_BINARY)});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.exitCode(), 0);
    const QList<QByteArray> lines = shell.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].endsWith("\theuristics\tbad\\xff name.png"), lines[0].constData());
    QVERIFY2(lines[1].endsWith("\theuristics\ttwo\\nlines.png"), lines[1].constData());
}

QTEST_GUILESS_MAIN(NameCommandTest)
#include "NameCommandTest.moc"
