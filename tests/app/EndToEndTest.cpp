// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DBusHistoryWriter.h"
#include "core/QuilloBus.h"
#include "index/ScreenshotIndex.h"
#include "intake/LinuxFileSystem.h"
#include "intake/ScreenshotDetector.h"
#include "renaming/RenameRecord.h"
#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/SampleFiles.h"
#include "support/TestFiles.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString screenshots = QStringLiteral(QUILLO_TEST_DATA "/screenshots/");

// The six default category folders, and a slug of 2 to 5 words with the date suffix (and a number
// when the name was taken).
const QRegularExpression
    renamedPattern(QStringLiteral("^(Receipts & Invoices|Code & Terminal|UI & Design|Chats & Docs|Web|Other)/"
                                  "[a-z0-9]+(-[a-z0-9]+){1,4}-\\d{4}-\\d{2}-\\d{2}(-\\d+)?\\.png$"));

// Runs in quillo's process before it starts: from then on neither it nor its children may install a
// system-call filter, as under a parent that forbids them. A reading process's own filter then fails.
void forbidSystemCallFilters()
{
    static sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_seccomp, 3, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_prctl, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, PR_SET_SECCOMP, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    static const sock_fprog program{std::size(code), code};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
        _exit(126);
}

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
    void filesThatCannotBeReadKeepTheirNames();
    void aFreshHomesScreenshotToolsAreFollowed();
    void aFileNameCannotForgeLogLines();
    void nothingIsReadByAnUnconfinedProcess();
    void theBusRenamesOnlyAScreenshotInItsOwnFolder();

private:
    // Returns once the program says it is watching (or what `readyLine` says).
    QuilloProcess *
    startQuillo(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                const QByteArray &readyLine = "Watching ", const std::function<void()> &childSetup = {});
    void copyScreenshot(const QString &corpusImage, const QString &name)
    {
        QVERIFY(TestFiles::copyLikeScreenshotTool(screenshots + corpusImage, m_shots->filePath(name)));
    }
    QString configPath() const { return QDir::home().filePath(u".config/quillo/quillo.conf"_s); }

    std::unique_ptr<QTemporaryDir> m_shots;
    QList<QProcess *> m_processes;
};

void EndToEndTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(u"/home/EndToEndTest"_s), "must run in its test HOME");
    QVERIFY(QFileInfo(QStringLiteral(QUILLO_BINARY)).isExecutable());
}

void EndToEndTest::init()
{
    QDir(QDir::home().filePath(u".config"_s)).removeRecursively();
    m_shots = std::make_unique<QTemporaryDir>(QDir::home().filePath(u"Screen shots XXXXXX"_s));
    PreferencesStore preferences(configPath());
    preferences.setString(u"customFolderPath"_s, m_shots->path());
    preferences.setBool(u"useLocalModel"_s, false);
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

QuilloProcess *EndToEndTest::startQuillo(const QProcessEnvironment &environment, const QByteArray &readyLine,
                                         const std::function<void()> &childSetup)
{
    QuilloProcess *process = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {u"--headless"_s}, readyLine,
                                                  environment, childSetup)
                                 .release();
    m_processes.append(process);
    return process;
}

void EndToEndTest::screenshotsAreRenamedAndRecorded()
{
    // Which files are left alone is settled in AppControllerTest and the watcher's and detector's tests.
    startQuillo();
    copyScreenshot(u"c001.png"_s, u"Screenshot 2026-12-05 at 10.00.01.png"_s);
    copyScreenshot(u"c002.png"_s, u"Screenshot from 2026-12-05 10-00-02.png"_s);
    copyScreenshot(u"c011.png"_s, u"Screenshot_20261205_100003.png"_s);

    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::filesUnder(m_shots->path()).filter(renamedPattern).size(), 3, 60000);
    QCOMPARE(TestFiles::filesUnder(m_shots->path()).size(), 3); // nothing else left behind

    // The record is saved just after the move, so the third file can show before its record.
    const auto storedHistory = [this] {
        const auto stored = PreferencesStore(configPath()).dataValue(u"renameHistory"_s);
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
    // The text read on the invoice finds it where it was filed (other tests leave screenshots too).
    const auto search = [this] {
        QStringList paths;
        for (const QJsonObject &object :
             QuilloProcess::run(QStringLiteral(QUILLO_BINARY), {u"search"_s, u"--json"_s, u"academy"_s})
                 .objects) {
            if (object.value(u"path"_s).toString().startsWith(m_shots->path() + u'/'))
                paths.append(object.value(u"path"_s).toString());
        }
        return paths;
    };
    QTRY_COMPARE_WITH_TIMEOUT(search().size(), 1, 10000);
    const QString found = search().first();
    QVERIFY2(std::any_of(history.begin(), history.end(),
                         [&](const RenameRecord &record) {
                             return record.renamedPath == found;
                         }),
             qPrintable(found));

    // A damaged index is set aside by whoever finds it, and Quillo indexes again what it named.
    cleanup();
    QFile index(ScreenshotIndex::defaultPath());
    QVERIFY(index.open(QIODevice::WriteOnly | QIODevice::Truncate));
    index.write(QByteArray(8192, 'x'));
    index.close();
    QCOMPARE(search(), QStringList());
    startQuillo();
    QTRY_COMPARE_WITH_TIMEOUT(search(), QStringList{found}, 60000);
    QTRY_VERIFY(!QFile::exists(ScreenshotIndex::defaultPath() + u".refill"_s));

    // After a restart, a renamed file put back by hand is not renamed again.
    cleanup();
    startQuillo();
    const QString renamed = history.first().renamedPath;
    const QString putBack = m_shots->filePath(QFileInfo(renamed).fileName());
    QVERIFY(QFile::rename(renamed, putBack));
    copyScreenshot(u"c001.png"_s, u"Screenshot 2026-12-05 at 10.00.09.png"_s);
    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::filesUnder(m_shots->path()).filter(renamedPattern).size(), 3, 60000);
    QVERIFY(QFile::exists(putBack));
}

void EndToEndTest::secondCopyTakesOver()
{
    // It is called quillo in process lists.
    QuilloProcess *first = startQuillo();
    QCOMPARE(TestFiles::read(u"/proc/%1/comm"_s.arg(first->processId())), QByteArray("quillo\n"));

    // Other programs on the bus cannot make it quit: not with the old broadcast, not with the call.
    QDBusConnection bus = QDBusConnection::sessionBus();
    QTRY_VERIFY(bus.interface()->isServiceRegistered(QuilloBus::service).value());
    QDBusMessage broadcast = QDBusMessage::createSignal(QuilloBus::path, QuilloBus::interface, u"takeOver"_s);
    broadcast << u"x"_s;
    QVERIFY(bus.send(broadcast));
    const QDBusMessage answer =
        bus.call(QDBusMessage::createMethodCall(QuilloBus::service, QuilloBus::path + u"/TakeOver"_s,
                                                QuilloBus::interface + u".TakeOver"_s, u"TakeOver"_s));
    QCOMPARE(answer.errorName(), u"org.freedesktop.DBus.Error.AccessDenied"_s);
    QVERIFY(first->waitForLog("which is not this Quillo; staying"));
    QCOMPARE(first->state(), QProcess::Running);

    // The same program from another path, as each start of an AppImage mounts it anew.
    const QString copy = QDir::home().filePath(u"mounted/quillo"_s);
    QFile::remove(copy); // left by an earlier build
    QVERIFY(QDir().mkpath(QFileInfo(copy).path()) && QFile::copy(QStringLiteral(QUILLO_BINARY), copy));
    QuilloProcess *second = QuilloProcess::start(copy, {u"--headless"_s}, "Watching ").release();
    m_processes.append(second);
    QTRY_COMPARE_WITH_TIMEOUT(first->state(), QProcess::NotRunning, 3000);
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->state(), QProcess::Running);
}

void EndToEndTest::filesThatCannotBeReadKeepTheirNames()
{
    QuilloProcess *quillo = startQuillo();
    const auto shot = [this](int second) {
        return m_shots->filePath(
            u"Screenshot from 2026-12-05 11-00-%1.png"_s.arg(second, 2, 10, QLatin1Char('0')));
    };
    const QByteArray capture = TestFiles::read(screenshots + u"c002.png"_s);
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
    copyScreenshot(u"c011.png"_s, QFileInfo(shot(6)).fileName());
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
    QCOMPARE(files.filter(QRegularExpression(u"^Other/screen-capture-[-0-9]+\\.png$"_s)).size(), 1);
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
    PreferencesStore(configPath()).remove(u"customFolderPath"_s);
    const QString pictures = QDir::home().filePath(u"Pictures"_s);
    const QString flameshotFolder = QDir::home().filePath(u"Flameshot shots"_s);
    for (const QString &folder : {pictures, flameshotFolder})
        QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder));
    QVERIFY(TestFiles::write(QDir::home().filePath(u".config/user-dirs.dirs"_s),
                             "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n"));
    QVERIFY(TestFiles::write(QDir::home().filePath(u".config/flameshot/flameshot.ini"_s),
                             "[General]\nsavePath=" + flameshotFolder.toUtf8() + "\n"));
    QProcessEnvironment cinnamon = QProcessEnvironment::systemEnvironment();
    cinnamon.insert(u"XDG_CURRENT_DESKTOP"_s, u"X-Cinnamon"_s);
    startQuillo(cinnamon);

    const QString gnomeShot = u"Screenshot from 2026-12-06 10-00-00.png"_s;
    const QString flameShot = u"2026-12-06_10-00.png"_s;
    QVERIFY(TestFiles::write(QDir(pictures).filePath(u"IMG_20261206_100000.jpg"_s),
                             TestFiles::read(screenshots + u"c030.png"_s)));
    QVERIFY(
        TestFiles::copyLikeScreenshotTool(screenshots + u"c001.png"_s, QDir(pictures).filePath(gnomeShot)));
    QVERIFY(TestFiles::copyLikeScreenshotTool(screenshots + u"c011.png"_s,
                                              QDir(flameshotFolder).filePath(flameShot)));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(QDir(pictures).filePath(gnomeShot)) &&
                                 !QFileInfo::exists(QDir(flameshotFolder).filePath(flameShot)),
                             60000);
    QCOMPARE(TestFiles::filesUnder(pictures).filter(renamedPattern).size(), 1);
    QCOMPARE(TestFiles::filesUnder(flameshotFolder).filter(renamedPattern).size(), 1);
    QVERIFY(QFileInfo::exists(QDir(pictures).filePath(u"IMG_20261206_100000.jpg"_s)));
}

void EndToEndTest::aFileNameCannotForgeLogLines()
{
    QuilloProcess *quillo = startQuillo();
    const QString hostile =
        u"Screenshot 2026-12-05 at 10.00.05\nquillo[rename] info: forged\x1b[2J\u202e.png"_s;
    copyScreenshot(u"c001.png"_s, hostile);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(m_shots->filePath(hostile)), 60000);
    QTRY_VERIFY(quillo->log().contains("Renamed Screenshot 2026-12-05 at 10.00.05"));
    const QByteArray log = quillo->log();
    QVERIFY(log.contains("10.00.05\\nquillo[rename] info: forged\\x1b[2J\\u202e.png"));
    QVERIFY(!log.contains("\nquillo[rename] info: forged"));
    QVERIFY(!log.contains('\x1b'));

    // A name that is not UTF-8 cannot be spelled to open the file: it is said so, once.
    const QByteArray undecodable =
        QFile::encodeName(m_shots->filePath(u"Screenshot 2026-12-05 at 10.00.06"_s)) + "\xff.png";
    const int fd = ::open(undecodable.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    QVERIFY(fd >= 0 && ::close(fd) == 0);
    QVERIFY(quillo->waitForLog("Cannot rename "));
    QVERIFY(quillo->log().contains("10.00.06\xef\xbf\xbd.png: its name is not valid UTF-8"));
    QCOMPARE(quillo->log().count("Cannot rename "), 1);
}

void EndToEndTest::nothingIsReadByAnUnconfinedProcess()
{
    QuilloProcess *quillo =
        startQuillo(QProcessEnvironment::systemEnvironment(), "Watching ", forbidSystemCallFilters);
    const QString shot = u"Screenshot from 2026-12-05 12-00-00.png"_s;
    copyScreenshot(u"c001.png"_s, shot);
    QVERIFY(quillo->waitForLog("Left " + shot.toUtf8() +
                                   " as it is: cannot read safely: applying the system-call "
                                   "filter failed",
                               30000));
    QVERIFY(quillo->log().contains("Screenshots are not renamed: no reading process could shut itself in"));
    QCOMPARE(TestFiles::filesUnder(m_shots->path()), QStringList{shot});
}

void EndToEndTest::theBusRenamesOnlyAScreenshotInItsOwnFolder()
{
    // Paused, so only what arrives over the bus could move a file.
    PreferencesStore(configPath()).setBool(u"isPaused"_s, true);
    startQuillo(QProcessEnvironment::systemEnvironment(), "Paused");
    // The bus name is taken just after the log line.
    std::unique_ptr<DBusHistoryWriter> quillo;
    QTRY_VERIFY((quillo = DBusHistoryWriter::connectToRunningQuillo()) != nullptr);
    copyScreenshot(u"c001.png"_s, u"Screenshot from 2026-12-05 10-00-01.png"_s);
    const QString shot = m_shots->filePath(u"Screenshot from 2026-12-05 10-00-01.png"_s);
    const QString fifo = m_shots->filePath(u"Screenshot from 2026-12-05 10-00-02.png"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString elsewhere = QDir::home().filePath(u".config/autostart"_s);
    const auto request = [&](const QString &path, const QString &root, const QString &slug) {
        const auto facts = LinuxFileSystem().facts(path);
        return NamedFile{path,
                         facts ? facts->identity : FileIdentity{},
                         root,
                         {slug, ScreenshotCategory::Other, NamingSource::Heuristics}};
    };
    const QStringList before = TestFiles::filesUnder(m_shots->path());
    const struct
    {
        const char *why;
        NamedFile file;
    } refused[] = {
        {"slug climbs out", request(shot, m_shots->path(), u"../../escape/x"_s)},
        {"slug holds a line break", request(shot, m_shots->path(), u"stripe\ninvoice"_s)},
        {"slug is a dot", request(shot, m_shots->path(), u"."_s)},
        {"root is another folder", request(shot, elsewhere, u"stripe-invoice"_s)},
        {"a FIFO", request(fifo, m_shots->path(), u"stripe-invoice"_s)},
    };
    for (const auto &[why, file] : refused) {
        const auto renamed = quillo->rename(file);
        QVERIFY2(!renamed && !renamed.error.description.isEmpty(), why);
    }
    QCOMPARE(TestFiles::filesUnder(m_shots->path()), before);
    QVERIFY(!QFileInfo::exists(elsewhere));
    QVERIFY(!QFileInfo::exists(QDir::home().filePath(u"escape"_s)));

    // The same call with honest arguments is carried out.
    const auto renamed = quillo->rename(request(shot, m_shots->path(), u"stripe-invoice"_s));
    QVERIFY(renamed);
    QCOMPARE(QFileInfo(renamed.value->renamedPath).dir().dirName(), u"Other"_s);
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
