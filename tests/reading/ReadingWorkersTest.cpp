// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingWorkers.h"

#include "support/SampleFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <signal.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString screenshot = QStringLiteral(QUILLO_TEST_DATA "/screenshots/c001.png");

// A stand-in worker: says it is ready as the real one does (an answer with no error), then `then`.
QStringList shellWorker(const QString &then)
{
    const QString ready =
        u"printf '\\026\\000\\000\\000\\061\\101\\122\\121\\000\\000\\000\\000\\000\\000\\000\\000\\000'"
        u"'\\000\\000\\000\\000\\000\\000\\000\\000\\000' >&3; "_s;
    return {u"-c"_s, ready + then};
}

// A stand-in worker that answers each request with no lines, after `delay`.
QStringList answeringWorker(const QString &delay)
{
    return shellWorker(
        u"while length=$(head -c 4 <&3 | od -An -tu4) && [ -n \"$length\" ]; do head -c "
        u"$length <&3 >/dev/null; %1; printf '\\026\\000\\000\\000\\061\\101\\122\\121"
        u"\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000' >&3; done"_s
            .arg(delay));
}

// This process's children: the workers it runs.
QList<pid_t> workerProcesses()
{
    QList<pid_t> found;
    const QString parent = QString::number(getpid());
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/"_s + entry + u"/stat"_s);
        if (!entry.toInt() || !stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLatin1(stat.readAll());
        if (text.mid(text.lastIndexOf(u')') + 2).section(u' ', 1, 1) == parent)
            found.append(pid_t(entry.toInt()));
    }
    return found;
}

QString statusOf(pid_t pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    return status.open(QIODevice::ReadOnly) ? QString::fromLatin1(status.readAll()) : QString();
}

// Processor time this process used, in clock ticks.
qint64 cpuTicks()
{
    QFile stat(u"/proc/self/stat"_s);
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(stat.readAll());
    const QStringList fields = text.mid(text.lastIndexOf(u')') + 2).split(u' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

} // namespace

class ReadingWorkersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void hostileFileCostsOnlyItself_data();
    void hostileFileCostsOnlyItself();
    void stalledFileGivesWayToTheNextAtItsDeadline();
    void filesWaitingForAWorkerKeepTheirWholeBudget();
    void workerWaitingForAProcessorKeepsItsBudget();
    void confinedWorkerCannotWriteReadOrConnect();
    void preparedWorkerReadsTheFileThatCame();

private:
    QTemporaryDir m_dir;
};

void ReadingWorkersTest::initTestCase()
{
    // Under AddressSanitizer a worker's SIGSEGV would end in its report and exit 1; the workers die of
    // the signal, as in a release build.
    qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + ":handle_segv=0");
}

void ReadingWorkersTest::init()
{
    QVERIFY(m_dir.isValid());
    QTest::failOnWarning(QRegularExpression(u"^(?!A reading process answered nonsense)"_s));
}

void ReadingWorkersTest::hostileFileCostsOnlyItself_data()
{
    QTest::addColumn<QString>("program"); // empty: the real worker
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal"); // sent to the worker while it reads
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("isOverBudget");
    const QString shell = u"/bin/sh"_s;
    // Stopped at 5 s of processor time, or at the clock's backstop on a machine too busy to give it that.
    QTest::addRow("decoder stalls past the deadline")
        << QString() << QStringList() << 0 << u"reading it took longer than"_s << true;
    QTest::addRow("worker crashes while it reads")
        << QString() << QStringList() << SIGSEGV << u"the reading process crashed (signal 11"_s << false;
    QTest::addRow("worker killed from outside")
        << QString() << QStringList() << SIGKILL << u"the reading process was killed"_s << false;
    QTest::addRow("worker answers nonsense")
        << shell << shellWorker(u"printf '\\010\\000\\000\\000garbage!' >&3; exec sleep 30"_s) << 0
        << u"the reading process gave a malformed answer"_s << false;
    QTest::addRow("worker claims a huge answer")
        << shell << shellWorker(u"printf '\\377\\377\\377\\377' >&3; exec sleep 30"_s) << 0
        << u"the reading process gave a malformed answer"_s << false;
    QTest::addRow("worker leaves without a word")
        << shell << shellWorker(u"exit 0"_s) << 0
        << u"the reading process ended without answering (status 0)"_s << false;
    QTest::addRow("worker never answers")
        << shell << shellWorker(u"exec sleep 30"_s) << 0 << u"reading it took longer than 6 s"_s << true;
}

void ReadingWorkersTest::hostileFileCostsOnlyItself()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(QString, error);
    QFETCH(bool, isOverBudget);
    const QString forms = m_dir.filePath(u"forms.pdf"_s);
    QVERIFY(TestFiles::write(forms, SampleFiles::nestedFormsPdf(40)));
    // Room for a real read after the hostile one on a loaded or sanitized build.
    ReadingWorkers::Options options{QStringLiteral(QUILLO_READER), {}, 1, 5s, 200ms};
    if (!program.isEmpty())
        options = {program, arguments, 1, 2s, 200ms};
    ReadingWorkers workers(options);

    auto reading = std::async(std::launch::async, [&] {
        return workers.readLines(forms, {});
    });
    if (signal != 0) {
        QTRY_COMPARE(workerProcesses().size(), 1);
        const pid_t worker = workerProcesses().constFirst();
        // Confined before the file's first byte is read. The filter comes a moment after
        // no-new-privileges, so both are awaited.
        QTRY_VERIFY(statusOf(worker).contains(QRegularExpression(u"Seccomp:\\s+2\\n"_s)));
        QVERIFY(statusOf(worker).contains(QRegularExpression(u"NoNewPrivs:\\s+1\\n"_s)));
        QTest::qWait(300);
        QCOMPARE(kill(worker, signal), 0);
    }
    const RecognitionResult result = reading.get();
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    QCOMPARE(result.isOverBudget, isOverBudget);
    QVERIFY(result.lines.empty());
    QTRY_VERIFY(workerProcesses().isEmpty()); // dropped, or ended after keeping warm

    if (program.isEmpty()) {
        const RecognitionResult next = workers.readLines(screenshot, {});
        QVERIFY2(next.error.isEmpty(), qPrintable(next.error));
        QVERIFY(!next.lines.empty());
        QCOMPARE(next.imageSize, QImageReader(screenshot).size());
        QTRY_VERIFY(workerProcesses().isEmpty()); // ended after keeping warm
    }
    // Nothing left burning in this process.
    const qint64 before = cpuTicks();
    QTest::qWait(1000);
    QVERIFY2(cpuTicks() - before < 10, qPrintable(QString::number(cpuTicks() - before)));
}

void ReadingWorkersTest::stalledFileGivesWayToTheNextAtItsDeadline()
{
    const QString forms = m_dir.filePath(u"forms.pdf"_s);
    const QString link = m_dir.filePath(u"link.png"_s);
    QVERIFY(TestFiles::write(forms, SampleFiles::nestedFormsPdf(40)));
    QVERIFY(QFile::link(screenshot, link));
    ReadingWorkers workers({QStringLiteral(QUILLO_READER), {}, 1, 5s, 10s});

    auto stalled = std::async(std::launch::async, [&] {
        return workers.readLines(forms, {});
    });
    QTRY_COMPARE(workerProcesses().size(), 1);
    // Waits for the only worker, then gets a fresh one.
    const RecognitionResult next = workers.readLines(screenshot, {});
    QVERIFY(stalled.get().isOverBudget);
    QVERIFY2(next.error.isEmpty(), qPrintable(next.error));
    QVERIFY(std::any_of(next.lines.begin(), next.lines.end(), [](const RecognizedLine &line) {
        return !line.text.trimmed().isEmpty();
    }));
    // The image for the local model comes from the worker too, whole.
    const DecodedImage decoded = workers.readImage(screenshot, {});
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    QCOMPARE(decoded.image.size(), QImage(screenshot).size());
    // A link in a watched folder is not followed.
    QCOMPARE(workers.readLines(link, {}).error, u"not a file (a symbolic link)"_s);
    QCOMPARE(workerProcesses().size(), 1); // kept warm
}

// More files at once than workers (`quillo rename --jobs 32` on two cores): the wait for a worker is
// not counted against a file's budget. Each answer takes a second on the clock; three take longer
// than the clock's backstop for one file.
void ReadingWorkersTest::filesWaitingForAWorkerKeepTheirWholeBudget()
{
    ReadingWorkers workers({u"/bin/sh"_s, answeringWorker(u"sleep 1"_s), 1, 900ms, 200ms});
    std::vector<std::future<RecognitionResult>> readings;
    for (int n = 0; n < 3; ++n)
        readings.push_back(std::async(std::launch::async, [&] {
            return workers.readLines(screenshot, {});
        }));
    for (auto &reading : readings) {
        const RecognitionResult result = reading.get();
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    }
}

// On a busy machine a worker may wait long for a core; only the processor time it gets counts.
void ReadingWorkersTest::workerWaitingForAProcessorKeepsItsBudget()
{
    ReadingWorkers workers({u"/bin/sh"_s, answeringWorker(u":"_s), 1, 2s, 30s});
    QVERIFY(workers.readLines(screenshot, {}).error.isEmpty());
    const pid_t worker = workerProcesses().value(0);
    QVERIFY(worker > 0 && kill(worker, SIGSTOP) == 0);
    auto reading = std::async(std::launch::async, [&] {
        return workers.readLines(screenshot, {});
    });
    QTest::qWait(3000); // past the budget, well before the clock's backstop of 6 s
    QCOMPARE(kill(worker, SIGCONT), 0);
    const RecognitionResult result = reading.get();
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
}

void ReadingWorkersTest::confinedWorkerCannotWriteReadOrConnect()
{
    const QString probe = QDir::home().filePath(u"probe.txt"_s);
    const QString secret = QDir::home().filePath(u".ssh/id_test"_s);
    QVERIFY(TestFiles::write(secret, "secret"));
    QProcess worker;
    worker.start(QStringLiteral(QUILLO_READER), {u"--self-test"_s, probe, secret});
    QVERIFY(worker.waitForFinished(20'000));
    const QString report = QString::fromUtf8(worker.readAllStandardOutput());
    QVERIFY2(worker.exitCode() == 0, qPrintable(report + QString::fromUtf8(worker.readAllStandardError())));
    for (const QString &expected : {u"NoNewPrivs:\t1"_s, u"Seccomp:\t2"_s, u"write: refused"_s,
                                    u"socket: refused"_s, u"local socket: refused"_s, u"execute: refused"_s})
        QVERIFY2(report.contains(expected), qPrintable(report));
    QVERIFY(!QFile::exists(probe));
}

QTEST_GUILESS_MAIN(ReadingWorkersTest)
// Made ready while the file is written, the worker reads it: no second one is started for it, whether
// the file comes during the start or after it.
void ReadingWorkersTest::preparedWorkerReadsTheFileThatCame()
{
    ReadingWorkers workers({QStringLiteral(QUILLO_READER), {}, 2, 15s, 10s});
    auto preparing = std::async(std::launch::async, [&] {
        workers.prepare({});
    });
    QTRY_COMPARE(workerProcesses().size(), 1);
    const RecognitionResult during = workers.readLines(screenshot, {});
    preparing.get();
    QVERIFY2(during.error.isEmpty(), qPrintable(during.error));
    const auto started = workerProcesses();
    QCOMPARE(started.size(), 1);
    workers.prepare({}); // one is idle already
    QVERIFY2(workers.readLines(screenshot, {}).error.isEmpty(), "read by the idle worker");
    QCOMPARE(workerProcesses(), started);
}

#include "ReadingWorkersTest.moc"
