// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/ScreenshotWatcher.h"

#include "intake/DirectoryChangeObserver.h"
#include "intake/InotifyEventSource.h"
#include "support/TestFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>

using namespace Qt::StringLiterals;

class ScreenshotWatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void reportsEachNewFileOnceAfterSettling_data();
    void reportsEachNewFileOnceAfterSettling();
    void ignoresWhatIsNotANewFileHere_data();
    void ignoresWhatIsNotANewFileHere();
    void fileWrittenInChunksIsReportedAfterLastWrite_data();
    void fileWrittenInChunksIsReportedAfterLastWrite();
    void completeImageIsReportedOnceWithoutWaiting_data();
    void completeImageIsReportedOnceWithoutWaiting();
    void folderGoneAndBackIsWatchedAgain_data();
    void folderGoneAndBackIsWatchedAgain();
    void restartKeepsFilesSettlingInTheSameFolder_data();
    void restartKeepsFilesSettlingInTheSameFolder();
    void unwatchableFolderLeavesWatcherStopped();
    void directoryChangeObserverSeesEntryChanges_data();
    void directoryChangeObserverSeesEntryChanges();

private:
    QString path(const QString &name) const { return m_real + u'/' + name; }
    // Creates a file and waits for its report. Reports come in the order their settle time ends,
    // so once this one is in, every earlier event has been answered.
    void settleSentinel(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_real;
    std::unique_ptr<ScreenshotWatcher> m_watcher;
    QStringList m_reports;
    QStringList m_deleted;
    QStringList m_arriving;
    QList<qint64> m_reportSizes;
    QElapsedTimer m_clock;
    qint64 m_lastReportAt = 0;
    std::atomic<bool> m_reportedOffMainThread = true;
};

void ScreenshotWatcherTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_real = QFileInfo(m_folder->path()).canonicalFilePath();
    QVERIFY(QDir(m_real).mkdir(u"watched"_s));
    m_watcher = std::make_unique<ScreenshotWatcher>(&InotifyEventSource::create);
    connect(m_watcher.get(), &ScreenshotWatcher::fileSettled, this, [this](const QString &reported) {
        m_reports.append(reported);
        m_reportSizes.append(QFileInfo(reported).size());
        m_lastReportAt = m_clock.elapsed();
    });
    connect(m_watcher.get(), &ScreenshotWatcher::fileDeleted, this, [this](const QString &deleted) {
        m_deleted.append(deleted);
    });
    connect(m_watcher.get(), &ScreenshotWatcher::fileArriving, this, [this](const QString &arriving) {
        m_arriving.append(arriving);
    });
    connect(
        m_watcher.get(), &ScreenshotWatcher::fileSettled, this,
        [this] {
            m_reportedOffMainThread = m_reportedOffMainThread && QThread::currentThread() != thread();
        },
        Qt::DirectConnection);
    m_watcher->start(path(u"watched"_s));
    QVERIFY(m_watcher->isRunning());
    m_clock.start();
}

void ScreenshotWatcherTest::cleanup()
{
    m_watcher.reset();
    m_reports.clear();
    m_deleted.clear();
    m_reportSizes.clear();
}

void ScreenshotWatcherTest::settleSentinel(const QString &folder)
{
    const qsizetype before = m_reports.size();
    QVERIFY(TestFiles::write(folder + u"/sentinel.png"_s));
    QTRY_VERIFY_WITH_TIMEOUT(m_reports.size() > before && m_reports.last().endsWith(u"/sentinel.png"), 5000);
}

void ScreenshotWatcherTest::reportsEachNewFileOnceAfterSettling_data()
{
    QTest::addColumn<QString>("arrival"); // how the file gets there
    QTest::addColumn<QString>("name");
    QTest::addRow("hidden temporary file renamed") << u"rename"_s << u"Screenshot 1.png"_s;
    QTest::addRow("written in place") << u"write"_s << u"Screenshot 1.png"_s;
    QTest::addRow("moved in from a subfolder") << u"move"_s << u"Screenshot 1.png"_s;
    QTest::addRow("replaced by a rename while settling") << u"twice"_s << u"Screenshot 1.png"_s;
    QTest::addRow("newline and non-ASCII in the name") << u"rename"_s << u"Снимок\nэкрана.png"_s;
}

void ScreenshotWatcherTest::reportsEachNewFileOnceAfterSettling()
{
    QFETCH(QString, arrival);
    QFETCH(QString, name);
    const QString target = path(u"watched/"_s + name);
    const QString hidden = path(u"watched/.temporary.png"_s);
    const QString outside = path(u"watched/sub/a.png"_s);
    QVERIFY(QDir().mkdir(path(u"watched/sub"_s)));
    QVERIFY(TestFiles::write(hidden));
    QVERIFY(TestFiles::write(outside));
    const qint64 arrivedAt = m_clock.elapsed();
    if (arrival == u"write")
        QVERIFY(TestFiles::write(target));
    if (arrival == u"rename" || arrival == u"twice")
        QVERIFY(QFile::rename(hidden, target));
    if (arrival == u"move")
        QVERIFY(QFile::rename(outside, target));
    if (arrival == u"twice") {
        QVERIFY(TestFiles::write(hidden, "second"));
        QVERIFY(::rename(QFile::encodeName(hidden).constData(), QFile::encodeName(target).constData()) == 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_reports.size(), 1, 5000);
    QCOMPARE(m_reports.first(), target);
    QVERIFY2(m_lastReportAt - arrivedAt >= 550, qPrintable(QString::number(m_lastReportAt - arrivedAt)));
    QVERIFY(m_reportedOffMainThread);
    settleSentinel(path(u"watched"_s));
    QCOMPARE(m_reports, (QStringList{target, path(u"watched/sentinel.png"_s)}));
}

void ScreenshotWatcherTest::ignoresWhatIsNotANewFileHere_data()
{
    QTest::addColumn<QString>("situation");
    for (const char *situation : {"file in a subfolder", "new subfolder", "hidden file",
                                  "created and deleted", "name not valid UTF-8", "existing file marked"})
        QTest::addRow("%s", situation) << situation;
}

void ScreenshotWatcherTest::ignoresWhatIsNotANewFileHere()
{
    QFETCH(QString, situation);
    const QString existing = path(u"watched/Screenshot 0.png"_s);
    if (situation == u"existing file marked") {
        QVERIFY(TestFiles::write(existing));
        QTRY_COMPARE_WITH_TIMEOUT(m_reports.size(), 1, 5000);
        m_reports.clear();
        QVERIFY(QFile::setPermissions(existing, QFile::ReadOwner));
    }
    if (situation == u"file in a subfolder") {
        QVERIFY(QDir().mkdir(path(u"watched/sub"_s)));
        QVERIFY(TestFiles::write(path(u"watched/sub/Screenshot 1.png"_s)));
    }
    if (situation == u"new subfolder")
        QVERIFY(QDir().mkdir(path(u"watched/Screenshot 1.png"_s)));
    if (situation == u"hidden file")
        QVERIFY(TestFiles::write(path(u"watched/.Screenshot 1.png"_s)));
    if (situation == u"created and deleted") {
        QVERIFY(TestFiles::write(path(u"watched/Screenshot 1.png"_s)));
        QVERIFY(QFile::remove(path(u"watched/Screenshot 1.png"_s)));
    }
    const QByteArray undecodable = QFile::encodeName(path(u"watched/"_s)) + "\xff.png";
    if (situation == u"name not valid UTF-8") {
        // Reported, since its path cannot be spelled to rename it.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"^Cannot rename .*: its name is not valid UTF-8"_s));
        QVERIFY(::close(::open(undecodable.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    }
    settleSentinel(path(u"watched"_s));
    ::unlink(undecodable.constData()); // QTemporaryDir cannot remove it
    QCOMPARE(m_reports, QStringList{path(u"watched/sentinel.png"_s)});
    // Only a deletion is reported as one; the search index forgets the file.
    QCOMPARE(m_deleted, situation == u"created and deleted" ? QStringList{path(u"watched/Screenshot 1.png"_s)}
                                                            : QStringList());
}

void ScreenshotWatcherTest::fileWrittenInChunksIsReportedAfterLastWrite_data()
{
    QTest::addColumn<int>("pauseMs"); // between chunks
    QTest::addColumn<QList<qint64>>("reportedSizes");
    QTest::addRow("pauses shorter than the settle time") << 200 << QList<qint64>{5000};
    // Reported while incomplete, and again once the writer closes it.
    QTest::addRow("writer stalling 1.5 s") << 1500 << QList<qint64>{1000, 5000};
}

void ScreenshotWatcherTest::fileWrittenInChunksIsReportedAfterLastWrite()
{
    QFETCH(int, pauseMs);
    QFETCH(QList<qint64>, reportedSizes);
    QFile file(path(u"watched/Screenshot 1.png"_s));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    qint64 lastWriteAt = 0;
    for (int chunk = 0; chunk < 5; ++chunk) {
        QCOMPARE(file.write(QByteArray(1000, 'x')), 1000);
        lastWriteAt = m_clock.elapsed();
        QTest::qWait(chunk == 0 ? pauseMs : 200); // a tool writing slowly
    }
    file.close();
    settleSentinel(path(u"watched"_s));
    QCOMPARE(m_reports.size(), reportedSizes.size() + 1);
    QCOMPARE(m_reports.first(), file.fileName());
    QCOMPARE(m_reportSizes.first(reportedSizes.size()), reportedSizes);
    QVERIFY(m_lastReportAt - lastWriteAt >= 550);
}

void ScreenshotWatcherTest::completeImageIsReportedOnceWithoutWaiting_data()
{
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<int>("cut"); // bytes left off the image's end
    QTest::addColumn<bool>("isComplete");
    QTest::addColumn<bool>("isAnnounced"); // said to be arriving while it was written
    QTest::addRow("written in place and closed") << u"write"_s << 0 << true << true;
    QTest::addRow("renamed into place") << u"rename"_s << 0 << true << false;
    QTest::addRow("three slow chunks, closed after each") << u"chunks"_s << 0 << true << true;
    QTest::addRow("three slow chunks, one open file") << u"open chunks"_s << 0 << true << true;
    QTest::addRow("renamed into place without its end") << u"rename"_s << 8 << false << false;
}

// Ordered against a file that must wait out the settle time, written just before the image is done.
void ScreenshotWatcherTest::completeImageIsReportedOnceWithoutWaiting()
{
    QFETCH(QString, arrival);
    QFETCH(int, cut);
    QFETCH(bool, isComplete);
    QFETCH(bool, isAnnounced);
    QByteArray image = TestFiles::read(QStringLiteral(QUILLO_TEST_DATA "/screenshots/c001.png"));
    image.chop(cut);
    const QString target = path(u"watched/Screenshot 1.png"_s);
    const QString waiting = path(u"watched/waiting.png"_s);
    const qsizetype third = image.size() / 3;
    QFile file(target);
    if (arrival == u"open chunks") {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (int chunk = 0; chunk < 3; ++chunk) {
            QVERIFY(file.write(image.mid(chunk * third, chunk == 2 ? -1 : third)) > 0);
            if (chunk < 2)
                QTest::qWait(300);
        }
    }
    if (arrival == u"chunks") {
        for (int chunk = 0; chunk < 2; ++chunk) {
            QVERIFY(file.open(QIODevice::Append));
            QVERIFY(file.write(image.mid(chunk * third, third)) == third);
            file.close();
            QTest::qWait(300);
        }
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.write(image.mid(2 * third)) > 0);
    }
    QVERIFY(TestFiles::write(waiting));
    if (arrival == u"write")
        QVERIFY(TestFiles::write(target, image));
    if (arrival == u"rename")
        QVERIFY(TestFiles::write(path(u"watched/.part"_s), image) &&
                QFile::rename(path(u"watched/.part"_s), target));
    file.close();
    settleSentinel(path(u"watched"_s));
    const QStringList expected = isComplete ? QStringList{target, waiting} : QStringList{waiting, target};
    QCOMPARE(m_reports.first(2), expected);
    QCOMPARE(m_reportSizes.at(m_reports.indexOf(target)), image.size());
    QCOMPARE(m_reports.count(target), 1);
    QCOMPARE(m_arriving.count(target), isAnnounced ? 1 : 0);
    QVERIFY(!m_arriving.contains(path(u"watched/.part"_s)));
}

void ScreenshotWatcherTest::folderGoneAndBackIsWatchedAgain_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected"); // reported, besides the sentinel
    QTest::addRow("deleted and created again") << u"delete"_s << QStringList{u"Screenshot 1.png"_s};
    QTest::addRow("moved away, new one created") << u"move"_s << QStringList{u"Screenshot 1.png"_s};
    QTest::addRow("its parent deleted and created again")
        << u"delete parent"_s << QStringList{u"Screenshot 1.png"_s};
    QTest::addRow("a folder holding a new file moved in")
        << u"move in"_s << QStringList{u"Screenshot 0.png"_s, u"Screenshot 1.png"_s};
}

void ScreenshotWatcherTest::folderGoneAndBackIsWatchedAgain()
{
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    const QString folder = path(u"nest/watched"_s);
    QVERIFY(QDir().mkpath(folder));
    m_watcher->start(folder);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"The watched folder .*nest/watched.* is gone"_s));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"The watched folder .*nest/watched.* is back"_s));
    if (change == u"delete")
        QVERIFY(QDir().rmdir(folder));
    if (change == u"move") {
        QVERIFY(QFile::rename(folder, path(u"old"_s)));
        QVERIFY(TestFiles::write(path(u"old/Screenshot 2.png"_s))); // no longer the watched folder
    }
    if (change == u"delete parent")
        QVERIFY(QDir(path(u"nest"_s)).removeRecursively());
    if (change == u"move in") {
        QVERIFY(QDir().rmdir(folder));
        QVERIFY(TestFiles::write(path(u"incoming/Screenshot 0.png"_s)));
        QVERIFY(QFile::rename(path(u"incoming"_s), folder));
    } else {
        QVERIFY(QDir().mkpath(folder));
    }
    QVERIFY(TestFiles::write(folder + u"/Screenshot 1.png"_s));
    settleSentinel(folder);
    QStringList reported = m_reports;
    reported.sort();
    QStringList wanted{folder + u"/sentinel.png"_s};
    for (const QString &name : std::as_const(expected))
        wanted.append(folder + u'/' + name);
    wanted.sort();
    QCOMPARE(reported, wanted);
    QVERIFY(m_watcher->isRunning());
}

void ScreenshotWatcherTest::restartKeepsFilesSettlingInTheSameFolder_data()
{
    QTest::addColumn<QString>("restart");
    QTest::addColumn<QString>("folder"); // watched afterwards
    QTest::addRow("on the same folder") << u"start"_s << u"watched"_s;
    QTest::addRow("after a pause") << u"stop, start"_s << u"watched"_s;
    QTest::addRow("through a link to it") << u"start"_s << u"link"_s;
    QTest::addRow("on another folder forgets them") << u"start"_s << u"other"_s;
}

void ScreenshotWatcherTest::restartKeepsFilesSettlingInTheSameFolder()
{
    QFETCH(QString, restart);
    QFETCH(QString, folder);
    QVERIFY(QDir().mkdir(path(u"other"_s)));
    QVERIFY(QFile::link(path(u"watched"_s), path(u"link"_s)));
    QVERIFY(TestFiles::write(path(u"watched/Screenshot 1.png"_s)));
    if (restart.startsWith(u"stop"))
        m_watcher->stop();
    m_watcher->start(path(folder));
    QCOMPARE(m_watcher->folder(), path(folder));
    settleSentinel(path(folder));
    const QStringList expected = folder == u"other" ? QStringList{path(u"other/sentinel.png"_s)}
                                                    : QStringList{path(u"watched/Screenshot 1.png"_s),
                                                                  path(u"watched/sentinel.png"_s)};
    QCOMPARE(m_reports, expected);
}

void ScreenshotWatcherTest::unwatchableFolderLeavesWatcherStopped()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Cannot watch .*missing"_s));
    m_watcher->start(path(u"missing"_s));
    QVERIFY(!m_watcher->isRunning());
    QVERIFY(m_watcher->folder().isEmpty());
}

void ScreenshotWatcherTest::directoryChangeObserverSeesEntryChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("expectedCalls");
    QTest::addRow("file added") << u"add"_s << 1;
    QTest::addRow("file renamed") << u"rename"_s << 2; // moved out under the old name, in under the new
    QTest::addRow("contents written") << u"write"_s << 0;
}

void ScreenshotWatcherTest::directoryChangeObserverSeesEntryChanges()
{
    QFETCH(QString, change);
    QFETCH(int, expectedCalls);
    const QString folder = path(u"config"_s);
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(TestFiles::write(folder + u"/existing.conf"_s));
    int calls = 0;
    bool onMainThread = true;
    const auto observer = DirectoryChangeObserver::create(InotifyEventSource::create(folder), [&] {
        ++calls;
        onMainThread = onMainThread && QThread::currentThread() == thread();
    });
    QVERIFY(observer);
    if (change == u"add")
        QVERIFY(TestFiles::write(folder + u"/new.conf"_s));
    if (change == u"rename")
        QVERIFY(QFile::rename(folder + u"/existing.conf"_s, folder + u"/renamed.conf"_s));
    if (change == u"write")
        QVERIFY(TestFiles::write(folder + u"/existing.conf"_s, "changed"));
    // Once this call is in, all earlier ones are.
    QVERIFY(TestFiles::write(folder + u"/last.conf"_s));

    QTRY_COMPARE(calls, expectedCalls + 1);
    QVERIFY(onMainThread);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Cannot watch"_s));
    QVERIFY(!DirectoryChangeObserver::create(InotifyEventSource::create(path(u"missing"_s)), [] {}));
}

QTEST_GUILESS_MAIN(ScreenshotWatcherTest)
#include "ScreenshotWatcherTest.moc"
