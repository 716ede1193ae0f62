// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/LinuxFileSystem.h"

#include "core/CanonicalPath.h"
#include "support/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <latch>
#include <thread>

using namespace Qt::StringLiterals;

class LinuxFileSystemTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void moveNeverOverwrites_data();
    void moveNeverOverwrites();
    void racingMovesOntoOneNameNeverOverwrite();
    void crossDeviceMoveKeepsFileAndAttributes_data();
    void crossDeviceMoveKeepsFileAndAttributes();
    void failedCrossDeviceMoveLeavesSource_data();
    void failedCrossDeviceMoveLeavesSource();
    void createFolder_data();
    void createFolder();
    void canonicalPath_data();
    void canonicalPath();

private:
    QString path(const QString &name) const { return m_folder->filePath(name); }
    // A folder on another file system than m_folder, or nothing (the test then skips).
    std::unique_ptr<QTemporaryDir> otherDevice() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    LinuxFileSystem m_fileSystem;
};

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

// Makes a folder refuse removals, even for root; false where the file system cannot.
bool setAppendOnly(const QString &folder, bool appendOnly)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = appendOnly ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

void LinuxFileSystemTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_folder = std::make_unique<QTemporaryDir>(QDir::homePath() + u"/fs-XXXXXX"_s);
    QVERIFY(m_folder->isValid());
}

std::unique_ptr<QTemporaryDir> LinuxFileSystemTest::otherDevice() const
{
    auto other = std::make_unique<QTemporaryDir>(u"/dev/shm/quillo-test-XXXXXX"_s);
    struct stat here = {}, there = {};
    if (!other->isValid() || ::stat(QFile::encodeName(m_folder->path()).constData(), &here) != 0 ||
        ::stat(QFile::encodeName(other->path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
        return nullptr;
    return other;
}

void LinuxFileSystemTest::moveNeverOverwrites_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("existing"); // what is already there: "file", "folder", "link" or nothing
    QTest::addColumn<FileError>("expected");
    const auto row = [](const char *situation, const char *target, const char *existing, FileError expected) {
        QTest::addRow("%s", situation)
            << QString::fromUtf8(target) << QString::fromUtf8(existing) << expected;
    };
    row("free name", "b.png", "", FileError::None);
    row("spaces, non-ASCII, newline", "é ü\nb.png", "", FileError::None);
    row("file there", "b.png", "file", FileError::FileExists);
    row("dangling link there", "b.png", "link", FileError::FileExists);
    row("target folder missing", "missing/b.png", "", FileError::NotFound);
}

void LinuxFileSystemTest::moveNeverOverwrites()
{
    QFETCH(QString, target);
    QFETCH(QString, existing);
    QFETCH(FileError, expected);
    QVERIFY(TestFiles::write(path(u"a.png"_s), "source"));
    if (existing == u"file")
        QVERIFY(TestFiles::write(path(target), "kept"));
    if (existing == u"folder")
        QVERIFY(QDir().mkdir(path(target)));
    if (existing == u"link")
        QVERIFY(QFile::link(path(u"nowhere"_s), path(target)));
    const FileResult result = m_fileSystem.move(path(u"a.png"_s), path(target));
    QCOMPARE(result.error, expected);
    QCOMPARE(result.description.isEmpty(), result.isSuccess());
    QCOMPARE(m_fileSystem.exists(path(u"a.png"_s)), !result.isSuccess());
    if (existing == u"file")
        QCOMPARE(TestFiles::read(path(target)), QByteArray("kept"));
    if (result)
        QCOMPARE(TestFiles::read(path(target)), QByteArray("source"));
}

void LinuxFileSystemTest::racingMovesOntoOneNameNeverOverwrite()
{
    for (int round = 0; round < 200; ++round) {
        const QString target = path(u"target-%1.png"_s.arg(round));
        const QStringList sources{path(u"a-%1.png"_s.arg(round)), path(u"b-%1.png"_s.arg(round))};
        QVERIFY(TestFiles::write(sources[0], "first"));
        QVERIFY(TestFiles::write(sources[1], "second"));
        FileResult results[2];
        std::latch ready(2);
        const auto race = [&](int i) {
            ready.arrive_and_wait();
            results[i] = m_fileSystem.move(sources[i], target);
        };
        std::thread first(race, 0), second(race, 1);
        first.join();
        second.join();
        const int winner = results[0] ? 0 : 1;
        QVERIFY2(results[winner] && results[1 - winner].error == FileError::FileExists, qPrintable(target));
        QCOMPARE(TestFiles::read(target), QByteArray(winner == 0 ? "first" : "second"));
        QVERIFY(m_fileSystem.exists(sources[1 - winner]) && !m_fileSystem.exists(sources[winner]));
    }
}

void LinuxFileSystemTest::crossDeviceMoveKeepsFileAndAttributes_data()
{
    QTest::addColumn<bool>("toOtherDevice");
    QTest::addRow("disk to memory") << true;
    QTest::addRow("memory to disk") << false;
}

void LinuxFileSystemTest::crossDeviceMoveKeepsFileAndAttributes()
{
    QFETCH(bool, toOtherDevice);
    const auto other = otherDevice();
    if (!other)
        QSKIP("/dev/shm is not a separate file system here");
    const QString source = (toOtherDevice ? m_folder->path() : other->path()) + u"/Screenshot 1.png"_s;
    const QString targetFolder = toOtherDevice ? other->path() : m_folder->path();
    QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized); // more than one copy buffer
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
    QVERIFY(TestFiles::write(source, data));
    QVERIFY(m_fileSystem.setExtendedAttribute(source, "user.a", QByteArray("\x00\xff", 2)));
    QVERIFY(m_fileSystem.setExtendedAttribute(source, "user.quillo.handled", "1"));
    QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QDateTime modified = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    const QString target = targetFolder + u"/renamed é.png"_s;
    QVERIFY(m_fileSystem.move(source, target));
    QVERIFY(!m_fileSystem.exists(source));
    QCOMPARE(TestFiles::read(target), data);
    QCOMPARE(entries(targetFolder), QStringList{u"renamed é.png"_s}); // no temporary left
    QCOMPARE(m_fileSystem.extendedAttribute(target, "user.a"), QByteArray("\x00\xff", 2));
    QCOMPARE(m_fileSystem.extendedAttribute(target, "user.quillo.handled"), QByteArray("1"));
    struct stat status = {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0);
    QCOMPARE(status.st_mode & 07777, 0640U);
    QCOMPARE(QFileInfo(target).lastModified().toUTC(), modified);
}

void LinuxFileSystemTest::failedCrossDeviceMoveLeavesSource_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<FileError>("expected");
    QTest::addRow("target name taken") << u"taken"_s << FileError::FileExists;
    QTest::addRow("source is a folder") << u"folder"_s << FileError::Other;
    QTest::addRow("source cannot be removed") << u"append-only"_s << FileError::Other;
}

void LinuxFileSystemTest::failedCrossDeviceMoveLeavesSource()
{
    QFETCH(QString, situation);
    QFETCH(FileError, expected);
    const auto other = otherDevice();
    if (!other)
        QSKIP("/dev/shm is not a separate file system here");
    const QString source = path(u"Screenshot 1.png"_s);
    const QString target = other->filePath(u"b.png"_s);
    if (situation == u"folder")
        QVERIFY(QDir().mkdir(source));
    else
        QVERIFY(TestFiles::write(source, "source"));
    if (situation == u"taken")
        QVERIFY(TestFiles::write(target, "kept"));
    if (situation == u"append-only" && !setAppendOnly(m_folder->path(), true))
        QSKIP("This process may not make a folder append-only");

    const FileResult result = m_fileSystem.move(source, target);
    if (situation == u"append-only")
        QVERIFY(setAppendOnly(m_folder->path(), false));
    QCOMPARE(result.error, expected);
    QVERIFY(!result.description.isEmpty());
    QVERIFY(situation == u"folder" ? QFileInfo(source).isDir() : TestFiles::read(source) == "source");
    QCOMPARE(entries(other->path()), situation == u"taken" ? QStringList{u"b.png"_s} : QStringList());
    if (situation == u"taken")
        QCOMPARE(TestFiles::read(target), QByteArray("kept"));
}

void LinuxFileSystemTest::createFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("succeeds");
    QTest::addRow("missing parents") << u"a/b/c"_s << true;
    QTest::addRow("exists already") << u"existing"_s << true;
    QTest::addRow("a file in the way") << u"file/sub"_s << false;
    QTest::addRow("a file of that name") << u"file"_s << false;
}

void LinuxFileSystemTest::createFolder()
{
    QFETCH(QString, folder);
    QFETCH(bool, succeeds);
    QVERIFY(QDir().mkdir(path(u"existing"_s)));
    QVERIFY(TestFiles::write(path(u"file"_s), "x"));
    const FileResult result = m_fileSystem.createFolder(path(folder));
    QCOMPARE(result.isSuccess(), succeeds);
    QCOMPARE(result.description.isEmpty(), succeeds);
    QCOMPARE(m_fileSystem.isDirectory(path(folder)), succeeds);
}

void LinuxFileSystemTest::canonicalPath_data()
{
    QTest::addColumn<QString>("given"); // relative to the test folder, which holds real/ and link -> real
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *situation, const char *given, const char *expected) {
        QTest::addRow("%s", situation) << QString::fromUtf8(given) << QString::fromUtf8(expected);
    };
    row("dot", "real/./a.png", "real/a.png");
    row("dot-dot", "link/../real/sub/../a.png", "real/a.png");
    row("linked parent", "link/a.png", "real/a.png");
    row("link as last component", "real/shortcut.png", "real/shortcut.png");
    row("linked folder itself", "link", "link");
    row("missing folder under a link", "link/new/a.png", "real/new/a.png");
    row("trailing slash", "link/sub/", "real/sub");
    row("spaces and non-ASCII", "link/Снимок экрана é.png", "real/Снимок экрана é.png");
}

void LinuxFileSystemTest::canonicalPath()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    QVERIFY(QDir(m_folder->path()).mkpath(u"real/sub"_s));
    QVERIFY(QFile::link(path(u"real"_s), path(u"link"_s)));
    QVERIFY(TestFiles::write(path(u"real/a.png"_s), "a"));
    QVERIFY(QFile::link(path(u"real/a.png"_s), path(u"real/shortcut.png"_s)));
    const QString base = *m_fileSystem.realPath(m_folder->path()) + u'/';
    QCOMPARE(::canonicalPath(m_folder->path() + u'/' + given), base + expected);
}

QTEST_GUILESS_MAIN(LinuxFileSystemTest)
#include "LinuxFileSystemTest.moc"
