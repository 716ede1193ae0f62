#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/StandInTrayHost.h"
#include "support/TestFiles.h"
#include "support/XDisplay.h"

#include <QDir>
#include <QTest>

namespace {

const QByteArray settingsTitle = "Quillo Settings";

} // namespace

// The real quillo on a private X server and session bus, with and without a tray host: how a user
// gets in, and that renaming never depends on the tray.
class TrayEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void settingsOpenOnTheFirstLaunchOnly();
    void renamingGoesOnWhileTheTrayHostComesAndGoes();
    void withoutSessionBusQuilloStillRenames();

private:
    QuilloProcess *startQuillo(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
    void renameOneScreenshot();

    // A fresh account's screenshot folder, which Quillo creates.
    const QString m_shots = QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
    std::unique_ptr<XDisplay> m_display;
    std::unique_ptr<QuilloProcess> m_quillo;
};

void TrayEndToEndTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(QStringLiteral("/home/TrayEndToEndTest")),
             "must run in its test HOME");
    QVERIFY2(
        QFileInfo(qEnvironmentVariable("QUILLO_CORPUS_DIR") + QStringLiteral("/images/c001.png")).isFile(),
        "needs ../shared/corpus");
    m_display = std::make_unique<XDisplay>();
    QVERIFY2(m_display->isConnected(), "needs an X server (runs under xvfb-run)");
}

void TrayEndToEndTest::init()
{
    QDir(QDir::home().filePath(QStringLiteral(".config"))).removeRecursively();
    QDir(QDir::home().filePath(QStringLiteral("Pictures"))).removeRecursively();
    // Naming by text recognition alone, so no model server is asked.
    PreferencesStore(QDir::home().filePath(QStringLiteral(".config/quillo/quillo.conf")))
        .setBool(QStringLiteral("useLocalModel"), false);
}

void TrayEndToEndTest::cleanup()
{
    if (m_quillo) {
        m_quillo->terminate();
        QVERIFY(m_quillo->waitForFinished(5000));
        QCOMPARE(m_quillo->exitStatus(), QProcess::NormalExit);
    }
    m_quillo.reset();
}

QuilloProcess *TrayEndToEndTest::startQuillo(QProcessEnvironment environment)
{
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_quillo = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {}, "Watching ", environment);
    return m_quillo.get();
}

void TrayEndToEndTest::renameOneScreenshot()
{
    const QString shot = m_shots + QStringLiteral("/Screenshot from 2026-12-05 10-00-02.png");
    QVERIFY(TestFiles::copyLikeScreenshotTool(
        qEnvironmentVariable("QUILLO_CORPUS_DIR") + QStringLiteral("/images/c001.png"), shot));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(shot), 30000);
    QCOMPARE(TestFiles::filesUnder(m_shots).size(), 1);
}

void TrayEndToEndTest::settingsOpenOnTheFirstLaunchOnly()
{
    const StandInTrayHost host;
    QVERIFY(host.isReady());
    QVERIFY(startQuillo()->waitForLog("Shown in the tray"));
    QTRY_VERIFY(m_display->viewableWindow(settingsTitle));
    cleanup();

    QVERIFY(startQuillo()->waitForLog("Shown in the tray"));
    QTRY_VERIFY(!host.registeredItems().isEmpty());
    // Nothing to wait for: the first launch's window was up well within this.
    QTest::qWait(1000);
    QVERIFY(!m_display->viewableWindow(settingsTitle));
}

void TrayEndToEndTest::renamingGoesOnWhileTheTrayHostComesAndGoes()
{
    auto host = std::make_unique<StandInTrayHost>();
    QVERIFY(host->isReady());
    QuilloProcess *quillo = startQuillo();
    QVERIFY(quillo->waitForLog("Shown in the tray"));
    QTRY_COMPARE(host->registeredItems().size(), 1);

    host.reset();
    QVERIFY(quillo->waitForLog("The tray host went away"));
    renameOneScreenshot();

    host = std::make_unique<StandInTrayHost>();
    QVERIFY(quillo->waitForLog("A tray host appeared"));
    QTRY_COMPARE(host->registeredItems().size(), 1);
}

void TrayEndToEndTest::withoutSessionBusQuilloStillRenames()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + QDir::home().filePath(QStringLiteral("no-bus")));
    QuilloProcess *quillo = startQuillo(environment);
    QVERIFY(quillo->log().contains("No session bus"));
    QVERIFY(quillo->waitForLog("No tray host: the settings window opens at every start"));
    QTRY_VERIFY(m_display->viewableWindow(settingsTitle));
    renameOneScreenshot();
}

QTEST_GUILESS_MAIN(TrayEndToEndTest)
#include "TrayEndToEndTest.moc"
