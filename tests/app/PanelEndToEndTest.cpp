#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/TestFiles.h"
#include "support/XWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

// The real quillo on a private X server and session bus: a screenshot dropped into the watched
// folder brings up the rename panel, which leaves by itself when its countdown ends.
class PanelEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void panelAppearsAtTheTopCentreAndLeavesByItself();
};

void PanelEndToEndTest::panelAppearsAtTheTopCentreAndLeavesByItself()
{
    QVERIFY2(QDir::homePath().endsWith(QStringLiteral("/home/PanelEndToEndTest")),
             "must run in its test HOME");
    const QString corpusImage =
        qEnvironmentVariable("QUILLO_CORPUS_DIR") + QStringLiteral("/images/c001.png");
    QVERIFY2(QFileInfo(corpusImage).isFile(), "needs ../shared/corpus");
    const QSize screen = XWindows::screenSize();
    QVERIFY2(!screen.isEmpty(), "needs an X server (runs under xvfb-run)");

    QTemporaryDir shots(QDir::home().filePath(QStringLiteral("Screen shots XXXXXX")));
    {
        PreferencesStore preferences(QDir::home().filePath(QStringLiteral(".config/quillo/quillo.conf")));
        preferences.setString(QStringLiteral("customFolderPath"), shots.path());
        preferences.setBool(QStringLiteral("useLocalModel"), false);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const auto quillo = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {}, "Watching ", environment);
    QVERIFY(!XWindows::viewable(QStringLiteral("Quillo")));

    QVERIFY(TestFiles::copyLikeScreenshotTool(
        corpusImage, shots.filePath(QStringLiteral("Screenshot from 2026-12-05 10-00-02.png"))));
    QTRY_VERIFY_WITH_TIMEOUT(XWindows::viewable(QStringLiteral("Quillo")), 60000);
    QElapsedTimer shown;
    shown.start();
    QCOMPARE(*XWindows::viewable(QStringLiteral("Quillo")), QRect((screen.width() - 580) / 2, 2, 580, 108));

    QTRY_VERIFY_WITH_TIMEOUT(!XWindows::viewable(QStringLiteral("Quillo")), 20000);
    // It stayed for its countdown; the pointer never came near it.
    QVERIFY2(shown.elapsed() > 4000, qPrintable(QString::number(shown.elapsed())));
    QCOMPARE(quillo->state(), QProcess::Running);
    quillo->terminate();
    QVERIFY(quillo->waitForFinished(5000));
}

QTEST_GUILESS_MAIN(PanelEndToEndTest)
#include "PanelEndToEndTest.moc"
