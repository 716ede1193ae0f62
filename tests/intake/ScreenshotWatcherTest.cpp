#include "intake/ScreenshotWatcher.h"

#include "intake/DirectoryChangeObserver.h"
#include "intake/InotifyEventSource.h"
#include "support/TestFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>

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
    void fileWrittenInChunksIsReportedAfterLastWrite();
    void folderReachedThroughLink();
    void restartForgetsPendingFiles();
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
    QList<qint64> m_reportSizes;
    QElapsedTimer m_clock;
    qint64 m_lastReportAt = 0;
    std::atomic<bool> m_reportedOffMainThread = true;
};

void ScreenshotWatcherTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_real = QFileInfo(m_folder->path()).canonicalFilePath();
    QVERIFY(QDir(m_real).mkdir(QStringLiteral("watched")));
    m_watcher = std::make_unique<ScreenshotWatcher>(&InotifyEventSource::create);
    connect(m_watcher.get(), &ScreenshotWatcher::fileSettled, this, [this](const QString &reported) {
        m_reports.append(reported);
        m_reportSizes.append(QFileInfo(reported).size());
        m_lastReportAt = m_clock.elapsed();
    });
    connect(
        m_watcher.get(), &ScreenshotWatcher::fileSettled, this,
        [this] {
            m_reportedOffMainThread = m_reportedOffMainThread && QThread::currentThread() != thread();
        },
        Qt::DirectConnection);
    m_watcher->start(path(QStringLiteral("watched")));
    QVERIFY(m_watcher->isRunning());
    m_clock.start();
}

void ScreenshotWatcherTest::cleanup()
{
    m_watcher.reset();
    m_reports.clear();
    m_reportSizes.clear();
}

void ScreenshotWatcherTest::settleSentinel(const QString &folder)
{
    const qsizetype before = m_reports.size();
    QVERIFY(TestFiles::write(folder + QStringLiteral("/sentinel.png")));
    QTRY_VERIFY_WITH_TIMEOUT(m_reports.size() > before && m_reports.last().endsWith(u"/sentinel.png"), 5000);
}

void ScreenshotWatcherTest::reportsEachNewFileOnceAfterSettling_data()
{
    QTest::addColumn<QString>("arrival"); // how the file gets there
    QTest::addColumn<QString>("name");
    QTest::addRow("hidden temporary file renamed") << "rename"
                                                   << "Screenshot 1.png";
    QTest::addRow("written in place") << "write"
                                      << "Screenshot 1.png";
    QTest::addRow("moved in from a subfolder") << "move"
                                               << "Screenshot 1.png";
    QTest::addRow("replaced by a rename while settling") << "twice"
                                                         << "Screenshot 1.png";
    QTest::addRow("newline and non-ASCII in the name") << "rename"
                                                       << "Снимок\nэкрана.png";
}

void ScreenshotWatcherTest::reportsEachNewFileOnceAfterSettling()
{
    QFETCH(QString, arrival);
    QFETCH(QString, name);
    const QString target = path(QStringLiteral("watched/") + name);
    const QString hidden = path(QStringLiteral("watched/.temporary.png"));
    const QString outside = path(QStringLiteral("watched/sub/a.png"));
    QVERIFY(QDir().mkdir(path(QStringLiteral("watched/sub"))));
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
    settleSentinel(path(QStringLiteral("watched")));
    QCOMPARE(m_reports, (QStringList{target, path(QStringLiteral("watched/sentinel.png"))}));
}

void ScreenshotWatcherTest::ignoresWhatIsNotANewFileHere_data()
{
    QTest::addColumn<QString>("situation");
    for (const char *situation : {"file in a subfolder", "new subfolder", "hidden file",
                                  "created and deleted", "name not valid UTF-8", "existing file written"})
        QTest::addRow("%s", situation) << situation;
}

void ScreenshotWatcherTest::ignoresWhatIsNotANewFileHere()
{
    QFETCH(QString, situation);
    const QString existing = path(QStringLiteral("watched/Screenshot 0.png"));
    if (situation == u"existing file written") {
        QVERIFY(TestFiles::write(existing));
        QTRY_COMPARE_WITH_TIMEOUT(m_reports.size(), 1, 5000);
        m_reports.clear();
        QVERIFY(TestFiles::write(existing, "more"));
    }
    if (situation == u"file in a subfolder") {
        QVERIFY(QDir().mkdir(path(QStringLiteral("watched/sub"))));
        QVERIFY(TestFiles::write(path(QStringLiteral("watched/sub/Screenshot 1.png"))));
    }
    if (situation == u"new subfolder")
        QVERIFY(QDir().mkdir(path(QStringLiteral("watched/Screenshot 1.png"))));
    if (situation == u"hidden file")
        QVERIFY(TestFiles::write(path(QStringLiteral("watched/.Screenshot 1.png"))));
    if (situation == u"created and deleted") {
        QVERIFY(TestFiles::write(path(QStringLiteral("watched/Screenshot 1.png"))));
        QVERIFY(QFile::remove(path(QStringLiteral("watched/Screenshot 1.png"))));
    }
    const QByteArray undecodable = QFile::encodeName(path(QStringLiteral("watched/"))) + "\xff.png";
    if (situation == u"name not valid UTF-8")
        QVERIFY(::close(::open(undecodable.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    settleSentinel(path(QStringLiteral("watched")));
    ::unlink(undecodable.constData()); // QTemporaryDir cannot remove it
    QCOMPARE(m_reports, QStringList{path(QStringLiteral("watched/sentinel.png"))});
}

void ScreenshotWatcherTest::fileWrittenInChunksIsReportedAfterLastWrite()
{
    QFile file(path(QStringLiteral("watched/Screenshot 1.png")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    qint64 lastWriteAt = 0;
    for (int chunk = 0; chunk < 5; ++chunk) {
        QCOMPARE(file.write(QByteArray(1000, 'x')), 1000);
        lastWriteAt = m_clock.elapsed();
        QTest::qWait(200); // a tool writing slowly, each pause shorter than the settle time
    }
    file.close();
    settleSentinel(path(QStringLiteral("watched")));
    QCOMPARE(m_reports.first(), file.fileName());
    QCOMPARE(m_reports.size(), 2);
    QCOMPARE(m_reportSizes.first(), 5000);
    QVERIFY(m_lastReportAt - lastWriteAt >= 550);
}

void ScreenshotWatcherTest::folderReachedThroughLink()
{
    QVERIFY(QFile::link(path(QStringLiteral("watched")), path(QStringLiteral("link"))));
    m_watcher->start(path(QStringLiteral("link")));
    QCOMPARE(m_watcher->folder(), path(QStringLiteral("link")));
    QVERIFY(TestFiles::write(path(QStringLiteral("link/Screenshot 1.png"))));
    settleSentinel(path(QStringLiteral("watched")));
    QCOMPARE(m_reports.first(), path(QStringLiteral("watched/Screenshot 1.png")));
}

void ScreenshotWatcherTest::restartForgetsPendingFiles()
{
    QVERIFY(QDir().mkdir(path(QStringLiteral("other"))));
    QVERIFY(TestFiles::write(path(QStringLiteral("watched/Screenshot 1.png"))));
    m_watcher->start(path(QStringLiteral("other")));
    QCOMPARE(m_watcher->folder(), path(QStringLiteral("other")));
    QVERIFY(TestFiles::write(path(QStringLiteral("watched/Screenshot 2.png"))));
    settleSentinel(path(QStringLiteral("other")));
    QCOMPARE(m_reports, QStringList{path(QStringLiteral("other/sentinel.png"))});
}

void ScreenshotWatcherTest::unwatchableFolderLeavesWatcherStopped()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot watch .*missing")));
    m_watcher->start(path(QStringLiteral("missing")));
    QVERIFY(!m_watcher->isRunning());
    QVERIFY(m_watcher->folder().isEmpty());
}

void ScreenshotWatcherTest::directoryChangeObserverSeesEntryChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("expectedCalls");
    QTest::addRow("file added") << "add" << 1;
    QTest::addRow("file removed") << "remove" << 1;
    QTest::addRow("file renamed") << "rename" << 2; // moved out under the old name, in under the new
    QTest::addRow("contents written") << "write" << 0;
}

void ScreenshotWatcherTest::directoryChangeObserverSeesEntryChanges()
{
    QFETCH(QString, change);
    QFETCH(int, expectedCalls);
    const QString folder = path(QStringLiteral("config"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/existing.conf")));
    int calls = 0;
    bool onMainThread = true;
    const auto observer = DirectoryChangeObserver::create(InotifyEventSource::create(folder), [&] {
        ++calls;
        onMainThread = onMainThread && QThread::currentThread() == thread();
    });
    QVERIFY(observer);
    if (change == u"add")
        QVERIFY(TestFiles::write(folder + QStringLiteral("/new.conf")));
    if (change == u"remove")
        QVERIFY(QFile::remove(folder + QStringLiteral("/existing.conf")));
    if (change == u"rename")
        QVERIFY(QFile::rename(folder + QStringLiteral("/existing.conf"),
                              folder + QStringLiteral("/renamed.conf")));
    if (change == u"write")
        QVERIFY(TestFiles::write(folder + QStringLiteral("/existing.conf"), "changed"));
    QVERIFY(
        TestFiles::write(folder + QStringLiteral("/last.conf"))); // once its call is in, all earlier ones are

    QTRY_COMPARE(calls, expectedCalls + 1);
    QVERIFY(onMainThread);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot watch")));
    QVERIFY(
        !DirectoryChangeObserver::create(InotifyEventSource::create(path(QStringLiteral("missing"))), [] {}));
}

QTEST_GUILESS_MAIN(ScreenshotWatcherTest)
#include "ScreenshotWatcherTest.moc"
