// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PreferencesStore.h"
#include "support/FakeModelServer.h"
#include "support/QuilloProcess.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
    void stoppedServerFallsBackToHeuristics();
    void hangingServerIsLeftAloneForTheRestOfABurst();
    void unreadableFileIsReportedAndOthersNamed();
    void awkwardFileNamesAreFoundAndPrintedOnOneLine();

private:
    // Runs quillo while this thread keeps serving the fake model server.
    static QuilloProcess::Run name(const QStringList &files)
    {
        return QuilloProcess::run(QStringLiteral(QUILLO_BINARY), QStringList{u"name"_s, u"--json"_s} + files);
    }
    void useModelAt(const QUrl &url, bool allowed = true, const QString &api = u"ollama"_s);

    std::unique_ptr<FakeModelServer> m_server;
    const QString m_image = QStringLiteral(QUILLO_TEST_DATA "/screenshots/c001.png");
};

void NameCommandTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(u"/home/NameCommandTest"_s), "must run in its test HOME");
}

void NameCommandTest::init()
{
    QDir(QDir::home().filePath(u".config"_s)).removeRecursively();
    m_server = std::make_unique<FakeModelServer>();
    m_server->setModels({u"gemma3:4b"_s});
}

void NameCommandTest::useModelAt(const QUrl &url, bool allowed, const QString &api)
{
    PreferencesStore preferences(QDir::home().filePath(u".config/quillo/quillo.conf"_s));
    preferences.setBool(u"useLocalModel"_s, allowed);
    preferences.setString(u"localModelAPI"_s, api);
    preferences.setString(u"localModelURL"_s, url.toString());
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
    QTest::addRow("text model") << "ollama" << QStringList{u"completion"_s} << answer << "localModel"
                                << false;
    QTest::addRow("model with vision")
        << "ollama" << QStringList{u"completion"_s, u"vision"_s} << answer << "localModelImage" << true;
    QTest::addRow("openai: multimodal model")
        << "openai" << QStringList{u"multimodal"_s} << answer << "localModelImage" << true;
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
    const auto run = name({m_image});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output.count('\n'), 1); // one JSON object, and nothing else
    // Like every command, it prints its results, not the program's log.
    QVERIFY2(!run.errors.contains(" info: "), run.errors.constData());
    QCOMPARE(run.objects[0].value(u"source"_s).toString(), source);
    if (source != QLatin1String("heuristics")) {
        QCOMPARE(run.objects[0].value(u"slug"_s).toString(), u"kill-bill-invoice-acme-streaming"_s);
        QCOMPARE(run.objects[0].value(u"category"_s).toString(), u"receipts"_s);
    }
    const QByteArray chatPath = api == QLatin1String("openai") ? "/v1/chat/completions" : "/api/chat";
    const QByteArray sent = m_server->requests(chatPath).first().body;
    QCOMPARE(sent.contains(R"("images":)") || sent.contains("data:image/png;base64,"), imageSent);
}

void NameCommandTest::stoppedServerFallsBackToHeuristics()
{
    useModelAt(m_server->baseUrl(), false);
    const auto heuristicsOnly = name({m_image});
    const QUrl stopped = m_server->baseUrl();
    m_server.reset();
    useModelAt(stopped);
    const auto fallback = name({m_image});
    QCOMPARE(fallback.exitCode, 0);
    QCOMPARE(fallback.objects[0].value(u"source"_s).toString(), u"heuristics"_s);
    QCOMPARE(fallback.objects[0].value(u"slug"_s), heuristicsOnly.objects[0].value(u"slug"_s));
}

void NameCommandTest::hangingServerIsLeftAloneForTheRestOfABurst()
{
    m_server->setBehaviour("/api/tags", FakeWebServer::Behaviour::Hang);
    useModelAt(m_server->baseUrl());
    // Two files are named at once, so both ask before either has given up.
    const auto run = name({m_image, m_image, m_image});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.objects.size(), 3);
    QCOMPARE(m_server->requests("/api/tags").size(), 2);
}

void NameCommandTest::unreadableFileIsReportedAndOthersNamed()
{
    useModelAt(m_server->baseUrl(), false);
    const QString text = QDir::home().filePath(u"notes.png"_s);
    QVERIFY(TestFiles::write(text, "not an image"));
    const auto run = name({text, m_image});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.objects.size(), 2);
    QCOMPARE(run.objects[0].value(u"file"_s).toString(), text);
    QVERIFY(run.objects[0].value(u"error"_s).toString().startsWith(u"cannot decode image"_s));
    QCOMPARE(run.objects[1].value(u"source"_s).toString(), u"heuristics"_s);
    QVERIFY(run.objects[1].value(u"ocrMs"_s).toInt() > 0);
}

void NameCommandTest::awkwardFileNamesAreFoundAndPrintedOnOneLine()
{
    useModelAt(m_server->baseUrl(), false);
    // The shell makes the names, since a name that is not UTF-8 cannot pass through a QString.
    const QString script = QStringLiteral(
        R"sh(cd "$HOME" && bad="$(printf 'bad\377 name.png')" && two="$(printf 'two\nlines.png')" &&)sh"
        R"sh( cp "$1" "$bad" && cp "$1" "$two" && exec "$2" name "$bad" "$two")sh");
    const auto shell =
        QuilloProcess::run(u"/bin/sh"_s, {u"-c"_s, script, u"sh"_s, m_image, QStringLiteral(QUILLO_BINARY)});
    QCOMPARE(shell.exitCode, 0);
    const QList<QByteArray> lines = shell.output.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].endsWith("\theuristics\tbad\\xff name.png"), lines[0].constData());
    QVERIFY2(lines[1].endsWith("\theuristics\ttwo\\nlines.png"), lines[1].constData());
}

QTEST_GUILESS_MAIN(NameCommandTest)
#include "NameCommandTest.moc"
