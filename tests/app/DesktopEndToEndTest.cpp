// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/StandInTrayHost.h"
#include "support/TestFiles.h"
#include "support/XWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

// The real quillo on a private X server and session bus, with and without a tray host: the rename
// panel, how a user gets in, and that renaming never depends on the tray.
class DesktopEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void panelAppearsAtTheTopCentreAndLeavesByItself();
    void settingsOpenOnTheFirstLaunchOnly();
    void renamingGoesOnWhileTheTrayHostComesAndGoes();
    void withoutSessionBusQuilloStillRenames();

private:
    QuilloProcess *startQuillo(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
    QString dropScreenshot();
    void renameOneScreenshot();

    // A fresh account's screenshot folder, which Quillo creates.
    const QString m_shots = QDir::home().filePath(u"Pictures/Screenshots"_s);
    std::unique_ptr<QuilloProcess> m_quillo;
};

void DesktopEndToEndTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(u"/home/DesktopEndToEndTest"_s), "must run in its test HOME");
    QVERIFY2(!XWindows::screenSize().isEmpty(), "needs an X server (runs under xvfb-run)");
}

void DesktopEndToEndTest::init()
{
    QDir(QDir::home().filePath(u".config"_s)).removeRecursively();
    QDir(QDir::home().filePath(u"Pictures"_s)).removeRecursively();
    // Naming by text recognition alone, so no model server is asked.
    PreferencesStore(QDir::home().filePath(u".config/quillo/quillo.conf"_s))
        .setBool(u"useLocalModel"_s, false);
}

void DesktopEndToEndTest::cleanup()
{
    if (m_quillo) {
        m_quillo->terminate();
        QVERIFY(m_quillo->waitForFinished(5000));
        QCOMPARE(m_quillo->exitStatus(), QProcess::NormalExit);
    }
    m_quillo.reset();
}

QuilloProcess *DesktopEndToEndTest::startQuillo(QProcessEnvironment environment)
{
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    m_quillo = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {}, "Watching ", environment);
    return m_quillo.get();
}

QString DesktopEndToEndTest::dropScreenshot()
{
    const QString shot = m_shots + u"/Screenshot from 2026-12-05 10-00-02.png"_s;
    if (!TestFiles::copyLikeScreenshotTool(QStringLiteral(QUILLO_TEST_DATA "/screenshots/c001.png"), shot))
        qWarning("could not copy the screenshot");
    return shot;
}

void DesktopEndToEndTest::renameOneScreenshot()
{
    const QString shot = dropScreenshot();
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(shot), 30000);
    QCOMPARE(TestFiles::filesUnder(m_shots).size(), 1);
}

void DesktopEndToEndTest::panelAppearsAtTheTopCentreAndLeavesByItself()
{
    startQuillo();
    QVERIFY(!XWindows::viewable(u"Quillo"_s));
    dropScreenshot();
    QTRY_VERIFY_WITH_TIMEOUT(XWindows::viewable(u"Quillo"_s), 60000);
    QElapsedTimer shown;
    shown.start();
    const QSize screen = XWindows::screenSize();
    QCOMPARE(*XWindows::viewable(u"Quillo"_s), QRect((screen.width() - 580) / 2, 2, 580, 108));
    QTRY_VERIFY_WITH_TIMEOUT(!XWindows::viewable(u"Quillo"_s), 20000);
    // It stayed for its countdown; the pointer never came near it.
    QVERIFY2(shown.elapsed() > 4000, qPrintable(QString::number(shown.elapsed())));
}

void DesktopEndToEndTest::settingsOpenOnTheFirstLaunchOnly()
{
    const StandInTrayHost host;
    QVERIFY(host.isReady());
    QVERIFY(startQuillo()->waitForLog("Shown in the tray"));
    QTRY_VERIFY(XWindows::viewable(u"Quillo Settings"_s));
    cleanup();

    QVERIFY(startQuillo()->waitForLog("Shown in the tray"));
    // Nothing to wait for: the first launch's window was up well within this.
    QTest::qWait(1000);
    QVERIFY(!XWindows::viewable(u"Quillo Settings"_s));
}

void DesktopEndToEndTest::renamingGoesOnWhileTheTrayHostComesAndGoes()
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

void DesktopEndToEndTest::withoutSessionBusQuilloStillRenames()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + QDir::home().filePath(u"no-bus"_s));
    QuilloProcess *quillo = startQuillo(environment);
    QVERIFY(quillo->log().contains("No session bus"));
    QVERIFY(quillo->waitForLog("No tray host: the settings window opens at every start"));
    QTRY_VERIFY(XWindows::viewable(u"Quillo Settings"_s));
    renameOneScreenshot();
}

QTEST_GUILESS_MAIN(DesktopEndToEndTest)
#include "DesktopEndToEndTest.moc"
