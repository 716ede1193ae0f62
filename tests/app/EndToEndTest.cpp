// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/LinuxFileSystem.h"
#include "intake/ScreenshotDetector.h"
#include "renaming/RenameRecord.h"
#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/SampleFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString screenshots = QStringLiteral(QUILLO_TEST_DATA "/screenshots/");

// The six default category folders, and a slug of 2 to 5 words with the date suffix (and a number
// when the name was taken).
const QRegularExpression
    renamedPattern(QStringLiteral("^(Receipts & Invoices|Code & Terminal|UI & Design|Chats & Docs|Web|Other)/"
                                  "[a-z0-9]+(-[a-z0-9]+){1,4}-\\d{4}-\\d{2}-\\d{2}(-\\d+)?\\.png$"));

} // namespace

// Starts the real quillo binary headless in this test's HOME, on the test's private session bus.
class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void screenshotsAreRenamedAndRecorded();
    void secondCopyTakesOver();
    void pausedCopyRenamesNothing();
    void filesThatCannotBeReadKeepTheirNames();
    void aFreshHomesScreenshotToolsAreFollowed();
    void aFileNameCannotForgeLogLines();

private:
    // Returns once the program says it is watching (or paused).
    QuilloProcess *
    startQuillo(const QByteArray &readyLine = "Watching ",
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    void copyScreenshot(const QString &corpusImage, const QString &name);
    QString configPath() const { return QDir::home().filePath(QStringLiteral(".config/quillo/quillo.conf")); }

    std::unique_ptr<QTemporaryDir> m_shots;
    QList<QProcess *> m_processes;
};

void EndToEndTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(QStringLiteral("/home/EndToEndTest")), "must run in its test HOME");
    QVERIFY(QFileInfo(QStringLiteral(QUILLO_BINARY)).isExecutable());
}

void EndToEndTest::init()
{
    QDir(QDir::home().filePath(QStringLiteral(".config"))).removeRecursively();
    m_shots = std::make_unique<QTemporaryDir>(QDir::home().filePath(QStringLiteral("Screen shots XXXXXX")));
    PreferencesStore preferences(configPath());
    preferences.setString(QStringLiteral("customFolderPath"), m_shots->path());
    preferences.setBool(QStringLiteral("useLocalModel"), false);
}

void EndToEndTest::cleanup()
{
    for (QProcess *process : std::as_const(m_processes)) {
        process->terminate();
        process->waitForFinished(5000);
        delete process;
    }
    m_processes.clear();
}

QuilloProcess *EndToEndTest::startQuillo(const QByteArray &readyLine, const QProcessEnvironment &environment)
{
    QuilloProcess *process = QuilloProcess::start(QStringLiteral(QUILLO_BINARY),
                                                  {QStringLiteral("--headless")}, readyLine, environment)
                                 .release();
    m_processes.append(process);
    return process;
}

void EndToEndTest::copyScreenshot(const QString &corpusImage, const QString &name)
{
    QVERIFY(TestFiles::copyLikeScreenshotTool(screenshots + corpusImage, m_shots->filePath(name)));
}

void EndToEndTest::screenshotsAreRenamedAndRecorded()
{
    startQuillo();
    QVERIFY(TestFiles::write(m_shots->filePath(QStringLiteral("notes.png"))));
    QVERIFY(TestFiles::write(m_shots->filePath(QStringLiteral(".Screenshot from 2026-12-05 09-00-00.png"))));
    QVERIFY(QDir(m_shots->path()).mkdir(QStringLiteral("inbox")));
    QVERIFY(
        TestFiles::write(m_shots->filePath(QStringLiteral("inbox/Screenshot from 2026-12-05 09-00-01.png"))));
    copyScreenshot(QStringLiteral("c001.png"), QStringLiteral("Screenshot 2026-12-05 at 10.00.01.png"));
    copyScreenshot(QStringLiteral("c002.png"), QStringLiteral("Screenshot from 2026-12-05 10-00-02.png"));
    copyScreenshot(QStringLiteral("c011.png"), QStringLiteral("Screenshot_20261205_100003.png"));

    const QStringList untouched{QStringLiteral(".Screenshot from 2026-12-05 09-00-00.png"),
                                QStringLiteral("inbox/Screenshot from 2026-12-05 09-00-01.png"),
                                QStringLiteral("notes.png")};
    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::filesUnder(m_shots->path()).filter(renamedPattern).size(), 3, 60000);
    const QStringList files = TestFiles::filesUnder(m_shots->path());
    QCOMPARE(files.size(), 6);
    for (const QString &name : untouched)
        QVERIFY2(files.contains(name), qPrintable(name));

    // The record is saved just after the move, so the third file can show before its record.
    const auto storedHistory = [this] {
        const auto stored = PreferencesStore(configPath()).dataValue(QStringLiteral("renameHistory"));
        return RenameRecordJson::decode(stored.value_or(QByteArray())).records;
    };
    QTRY_COMPARE_WITH_TIMEOUT(storedHistory().size(), 3, 10000);
    LinuxFileSystem fileSystem;
    const QList<RenameRecord> history = storedHistory();
    for (const RenameRecord &record : history) {
        QVERIFY(ScreenshotDetector::isMarkedHandled(fileSystem, record.renamedPath));
        QVERIFY(record.routedFolderName);
        QCOMPARE(record.originalFolderPath, m_shots->path());
    }

    // After a restart, a renamed file put back by hand is not renamed again.
    cleanup();
    startQuillo();
    const QString renamed = history.first().renamedPath;
    const QString putBack = m_shots->filePath(QFileInfo(renamed).fileName());
    QVERIFY(QFile::rename(renamed, putBack));
    copyScreenshot(QStringLiteral("c001.png"), QStringLiteral("Screenshot 2026-12-05 at 10.00.09.png"));
    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::filesUnder(m_shots->path()).filter(renamedPattern).size(), 3, 60000);
    QVERIFY(QFile::exists(putBack));
}

void EndToEndTest::secondCopyTakesOver()
{
    // Started as the desktop starts it, without the thread limit it then sets itself: it is still
    // called quillo in process lists.
    QProcessEnvironment desktop = QProcessEnvironment::systemEnvironment();
    desktop.remove(QStringLiteral("OMP_THREAD_LIMIT"));
    QProcess *first = startQuillo("Watching ", desktop);
    QCOMPARE(TestFiles::read(QStringLiteral("/proc/%1/comm").arg(first->processId())),
             QByteArray("quillo\n"));
    QProcess *second = startQuillo();
    QTRY_COMPARE_WITH_TIMEOUT(first->state(), QProcess::NotRunning, 3000);
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->state(), QProcess::Running);
}

void EndToEndTest::pausedCopyRenamesNothing()
{
    PreferencesStore(configPath()).setBool(QStringLiteral("isPaused"), true);
    QProcess *quillo = startQuillo("Paused");
    copyScreenshot(QStringLiteral("c001.png"), QStringLiteral("Screenshot 2026-12-05 at 10.00.01.png"));
    // Nothing can be waited for here: give a running watcher its settle time and more.
    QTest::qWait(2000);
    QCOMPARE(TestFiles::filesUnder(m_shots->path()),
             QStringList{QStringLiteral("Screenshot 2026-12-05 at 10.00.01.png")});
    quillo->terminate();
    QVERIFY(quillo->waitForFinished(5000));
    QCOMPARE(quillo->exitStatus(), QProcess::NormalExit);
}

void EndToEndTest::filesThatCannotBeReadKeepTheirNames()
{
    QuilloProcess *quillo = startQuillo();
    const auto shot = [this](int second) {
        return m_shots->filePath(
            QStringLiteral("Screenshot from 2026-12-05 11-00-%1.png").arg(second, 2, 10, QLatin1Char('0')));
    };
    const QByteArray capture = TestFiles::read(screenshots + QStringLiteral("c002.png"));
    const QMap<QString, QByteArray> leftAlone{
        {shot(1), QByteArray()},
        {shot(2), QByteArray("not an image")},
        {shot(3), capture.left(capture.size() / 2)},
        {shot(4), SampleFiles::sparseNoisePng(7000, 7000)},
    };
    for (auto file = leftAlone.begin(); file != leftAlone.end(); ++file)
        QVERIFY(TestFiles::write(file.key(), file.value()));
    QImage blank(800, 500, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QVERIFY(blank.save(shot(5)));
    copyScreenshot(QStringLiteral("c011.png"), QFileInfo(shot(6)).fileName());
    // Two writers stall 1.5 s halfway; one then closes its file, the other keeps it open.
    QFile closing(shot(7)), keptOpen(shot(8));
    for (QFile *file : {&closing, &keptOpen}) {
        QVERIFY(file->open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(file->write(capture.left(capture.size() / 2)), capture.size() / 2);
    }
    QTest::qWait(1500);
    for (QFile *file : {&closing, &keptOpen})
        QCOMPARE(file->write(capture.mid(capture.size() / 2)), capture.size() - capture.size() / 2);
    closing.close();

    // The blank capture, the corpus one and both finished writes; the open file after its later try.
    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::filesUnder(m_shots->path()).filter(renamedPattern).size(), 4, 60000);
    keptOpen.close();
    const QStringList files = TestFiles::filesUnder(m_shots->path());
    QCOMPARE(files.size(), leftAlone.size() + 4);
    QCOMPARE(files.filter(QRegularExpression(QStringLiteral("^Other/screen-capture-[-0-9]+\\.png$"))).size(),
             1);
    int finishedWrites = 0;
    for (const QString &name : files)
        finishedWrites += TestFiles::read(m_shots->filePath(name)) == capture ? 1 : 0;
    QCOMPARE(finishedWrites, 2); // renamed whole, never halfway
    const QByteArray log = quillo->log();
    for (auto file = leftAlone.begin(); file != leftAlone.end(); ++file) {
        QCOMPARE(TestFiles::read(file.key()), file.value());
        const QByteArray said = "Left " + QFileInfo(file.key()).fileName().toUtf8() + " as it is: ";
        QVERIFY2(log.contains(said), said.constData());
    }
    QVERIFY(log.contains("image too large (7000 x 7000 pixels need 187 MiB, over the 160 MiB budget)"));
    // A file that cannot be decoded is tried once more, never a third time; one over budget stays so.
    const auto attempts = [&](const QString &path) {
        return int(quillo->log().count("Left " + QFileInfo(path).fileName().toUtf8() + " as it is"));
    };
    QTRY_COMPARE_WITH_TIMEOUT(attempts(shot(2)), 2, 15000);
    QTest::qWait(6000); // past another retry delay
    QCOMPARE(attempts(shot(2)), 2);
    QCOMPARE(attempts(shot(4)), 1);
}

void EndToEndTest::aFreshHomesScreenshotToolsAreFollowed()
{
    // No setting changed: Cinnamon's Print Screen runs gnome-screenshot, which saves into Pictures,
    // and Flameshot saves with its default pattern into its own folder.
    PreferencesStore(configPath()).remove(QStringLiteral("customFolderPath"));
    const QString pictures = QDir::home().filePath(QStringLiteral("Pictures"));
    const QString flameshotFolder = QDir::home().filePath(QStringLiteral("Flameshot shots"));
    for (const QString &folder : {pictures, flameshotFolder})
        QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
    QVERIFY(TestFiles::write(QDir::home().filePath(QStringLiteral(".config/user-dirs.dirs")),
                             "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n"));
    QVERIFY(TestFiles::write(QDir::home().filePath(QStringLiteral(".config/flameshot/flameshot.ini")),
                             "[General]\nsavePath=" + flameshotFolder.toUtf8() + "\n"));
    QProcessEnvironment cinnamon = QProcessEnvironment::systemEnvironment();
    cinnamon.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Cinnamon"));
    startQuillo("Watching ", cinnamon);

    const QString gnomeShot = QStringLiteral("Screenshot from 2026-12-06 10-00-00.png");
    const QString flameShot = QStringLiteral("2026-12-06_10-00.png");
    QVERIFY(TestFiles::write(QDir(pictures).filePath(QStringLiteral("IMG_20261206_100000.jpg")),
                             TestFiles::read(screenshots + QStringLiteral("c030.png"))));
    QVERIFY(TestFiles::copyLikeScreenshotTool(screenshots + QStringLiteral("c001.png"),
                                              QDir(pictures).filePath(gnomeShot)));
    QVERIFY(TestFiles::copyLikeScreenshotTool(screenshots + QStringLiteral("c011.png"),
                                              QDir(flameshotFolder).filePath(flameShot)));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QDir(pictures).filePath(gnomeShot)) &&
                                 !QFileInfo::exists(QDir(flameshotFolder).filePath(flameShot)),
                             60000);
    QCOMPARE(TestFiles::filesUnder(pictures).filter(renamedPattern).size(), 1);
    QCOMPARE(TestFiles::filesUnder(flameshotFolder).filter(renamedPattern).size(), 1);
    QVERIFY(QFileInfo::exists(QDir(pictures).filePath(QStringLiteral("IMG_20261206_100000.jpg"))));
}

void EndToEndTest::aFileNameCannotForgeLogLines()
{
    QuilloProcess *quillo = startQuillo();
    const QString hostile =
        u"Screenshot 2026-12-05 at 10.00.05\nquillo[rename] info: forged\x1b[2J\u202e.png"_s;
    copyScreenshot(QStringLiteral("c001.png"), hostile);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(m_shots->filePath(hostile)), 60000);
    QTRY_VERIFY(quillo->log().contains("Renamed Screenshot 2026-12-05 at 10.00.05"));
    const QByteArray log = quillo->log();
    QVERIFY(log.contains("10.00.05\\nquillo[rename] info: forged\\x1b[2J\\u202e.png"));
    QVERIFY(!log.contains("\nquillo[rename] info: forged"));
    QVERIFY(!log.contains('\x1b'));
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
