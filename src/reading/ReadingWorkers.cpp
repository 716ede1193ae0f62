// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingWorkers.h"

#include "core/FileDescriptor.h"
#include "reading/ReadingBudget.h"
#include "reading/ReadingLog.h"
#include "reading/ReadingProtocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// Starting takes the engine's 0.2 s; a worker silent for this long is stuck.
constexpr std::chrono::milliseconds startTimeout{10'000};
// Each file may cost a worker its budget of processor time: retired well before its CPU limit.
constexpr int filesPerWorker = 50;

// The languages a worker starts with, as it is started with them ("deu+eng"); English when none.
QString workerLanguages(const QStringList &languages)
{
    return languages.isEmpty() ? QStringLiteral("eng") : languages.join(u'+');
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

struct OpenedFile
{
    FileDescriptor descriptor;
    QString error;
    bool isOverBudget = false;
};

// The main process's own open: no link followed, nothing but a regular file.
OpenedFile openForReading(const QString &filePath, bool followsLinks)
{
    FileDescriptor file(open(QFile::encodeName(filePath).constData(),
                             O_RDONLY | (followsLinks ? 0 : O_NOFOLLOW) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid()) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return {{}, QStringLiteral("file not found")};
        if (error == EACCES || error == EPERM)
            return {{}, QStringLiteral("cannot read file (permission denied)")};
        if (error == ELOOP)
            return {{}, QStringLiteral("not a file (a symbolic link)")};
        return {{}, QStringLiteral("cannot open file (%1)").arg(systemError(error))};
    }
    struct stat status
    {
    };
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {{}, QStringLiteral("not a file")};
    if (status.st_size > Reading::maximumFileBytes)
        return {{}, Reading::tooLongText(status.st_size), true};
    return {std::move(file), {}};
}

// Once all is read: the answers and the naming threads' buffers are freed, but glibc keeps the free
// memory of each thread's arena unless asked.
void giveMemoryBack()
{
#ifndef __SANITIZE_ADDRESS__
    malloc_trim(0);
#endif
}

// Waits until the worker's answer begins (or its socket closes), judging meanwhile what the file has
// cost since `handedOver`: the worker's processor time, and the clock as a backstop.
ReadingBudget::Verdict awaitAnswer(pid_t worker, int socket, std::chrono::milliseconds budget,
                                   std::chrono::steady_clock::time_point handedOver)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const auto processorAtStart = ReadingBudget::processorTimeOf(worker);
    for (;;) {
        const auto wall = duration_cast<milliseconds>(std::chrono::steady_clock::now() - handedOver);
        const auto processor = ReadingBudget::processorTimeOf(worker);
        // A clock that cannot be read (the worker is ending) counts as if the worker had run throughout.
        const ReadingBudget::Spent spent{processor && processorAtStart
                                             ? duration_cast<milliseconds>(*processor - *processorAtStart)
                                             : wall,
                                         wall};
        const ReadingBudget::Verdict verdict = ReadingBudget::judge(spent, budget);
        if (verdict != ReadingBudget::Verdict::Continue)
            return verdict;
        pollfd waiting{socket, POLLIN, 0};
        const int ready = poll(&waiting, 1, int(ReadingBudget::untilNextLook(spent, budget).count()));
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return verdict;
    }
}

QString signalText(int signal)
{
    return QStringLiteral("signal %1, %2").arg(signal).arg(QString::fromLocal8Bit(strsignal(signal)));
}

} // namespace

struct ReadingWorkers::Worker
{
    pid_t pid = -1;
    FileDescriptor socket;
    QString languages;
    int filesRead = 0;
    std::chrono::steady_clock::time_point idleSince;

    // Killed if still running, and reaped; how it ended, for the log.
    QString end()
    {
        socket.reset();
        if (pid <= 0)
            return {};
        kill(pid, SIGKILL);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        pid = -1;
        if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL)
            return QStringLiteral("the reading process crashed (%1)").arg(signalText(WTERMSIG(status)));
        if (WIFEXITED(status))
            return QStringLiteral("the reading process ended without answering (status %1)")
                .arg(WEXITSTATUS(status));
        return QStringLiteral("the reading process was killed");
    }
};

struct ReadingWorkers::Reply
{
    ReadingProtocol::Answer answer;
};

ReadingWorkers::Options ReadingWorkers::Options::installed()
{
    Options options;
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const QDir here = QFileInfo(length > 0 ? QFile::decodeName(QByteArray(path, length)) : QString()).dir();
    // Beside Quillo in a build, where it is installed relative to Quillo in a moved tree (an image
    // mounted anywhere), else where it was installed.
    for (const QString &candidate :
         {here.filePath(QStringLiteral("quillo-reader")),
          here.filePath(QStringLiteral(QUILLO_READER_RELATIVE)), QStringLiteral(QUILLO_READER_INSTALLED)}) {
        if (QFileInfo(candidate).isExecutable()) {
            options.program = QDir::cleanPath(candidate);
            break;
        }
    }
    if (options.program.isEmpty())
        options.program = QStringLiteral(QUILLO_READER_INSTALLED); // its absence is then the error
    options.maximumWorkers = std::max(1, QThread::idealThreadCount());
    options.cores = options.maximumWorkers;
    return options;
}

ReadingWorkers::ReadingWorkers(Options options)
    : m_options(std::move(options))
    , m_reaper([this] {
        endIdleWorkers();
    })
{}

ReadingWorkers::~ReadingWorkers()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_reaper.join();
    for (auto &worker : m_idle)
        worker->end();
}

RecognitionResult ReadingWorkers::readLines(const QString &filePath, const QStringList &languages)
{
    return exchange(filePath, workerLanguages(languages), int(ReadingProtocol::Kind::Lines))
        .answer.recognition;
}

DecodedImage ReadingWorkers::readImage(const QString &filePath, const QStringList &languages)
{
    Reply reply = exchange(filePath, languages.join(u'+'), int(ReadingProtocol::Kind::Image));
    return {std::move(reply.answer.image), reply.answer.recognition.error,
            reply.answer.recognition.isOverBudget};
}

ReadingWorkers::Reply ReadingWorkers::exchange(const QString &filePath, const QString &languages, int kind)
{
    const auto failed = [](const QString &error, bool isOverBudget = false) {
        return Reply{{{{}, error, isOverBudget}, {}}};
    };
    OpenedFile file = openForReading(filePath, m_options.followsLinks);
    if (!file.error.isEmpty())
        return failed(file.error, file.isOverBudget);
    RecognitionResult refusal;
    std::unique_ptr<Worker> worker = acquire(languages, refusal);
    if (!worker)
        return Reply{{std::move(refusal), {}}};

    const ReadingProtocol::Request request{ReadingProtocol::Kind(kind), QFileInfo(filePath).suffix(),
                                           m_options.budget.count(), coresForOneFile()};
    ++worker->filesRead;
    if (!ReadingProtocol::send(worker->socket.get(), ReadingProtocol::encode(request),
                               file.descriptor.get())) {
        const QString ended = worker->end();
        retire(std::move(worker));
        return failed(ended);
    }
    file.descriptor.reset();
    const auto handedOver = std::chrono::steady_clock::now();
    const ReadingBudget::Verdict verdict =
        awaitAnswer(worker->pid, worker->socket.get(), m_options.budget, handedOver);
    ReadingProtocol::Reception reception;
    reception.status = ReadingProtocol::Received::TimedOut;
    if (verdict == ReadingBudget::Verdict::Continue)
        reception = ReadingProtocol::receive(
            worker->socket.get(), QDeadlineTimer(handedOver + ReadingBudget::wallLimit(m_options.budget)),
            ReadingProtocol::maximumAnswerBytes);
    std::optional<ReadingProtocol::Answer> answer;
    if (reception.status == ReadingProtocol::Received::Message && !reception.descriptor.isValid())
        answer = ReadingProtocol::decodeAnswer(reception.message);
    if (answer) {
        release(std::move(worker));
        return {std::move(*answer)};
    }
    const QString ended = worker->end();
    retire(std::move(worker));
    switch (reception.status) {
    case ReadingProtocol::Received::TimedOut:
        if (verdict == ReadingBudget::Verdict::OverProcessorTime)
            return failed(Reading::overTimeText(m_options.budget), true);
        return failed(QStringLiteral("reading it took longer than %1 s")
                          .arg(double(ReadingBudget::wallLimit(m_options.budget).count()) / 1000.0),
                      true);
    case ReadingProtocol::Received::Closed:
        return failed(ended);
    default:
        qCWarning(lcReading) << "A reading process answered nonsense and was ended";
        return failed(QStringLiteral("the reading process gave a malformed answer"));
    }
}

// The cores are shared among the files being read, those on their way included: in a burst each file
// gets one, and the workers read several at once instead.
int ReadingWorkers::coresForOneFile()
{
    std::lock_guard lock(m_mutex);
    const int reading = std::max(1, m_running - int(m_idle.size()));
    return std::max(1, m_options.cores / reading);
}

std::unique_ptr<ReadingWorkers::Worker> ReadingWorkers::acquire(const QString &languages,
                                                                RecognitionResult &refusal)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopping) {
            refusal.error = QStringLiteral("Quillo is quitting");
            return nullptr;
        }
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it) {
            if (languages.isEmpty() || (*it)->languages == languages) {
                std::unique_ptr<Worker> worker = std::move(*it);
                m_idle.erase(it);
                return worker;
            }
        }
        // One being made ready is as good as one started now, and sooner.
        if (m_running < m_options.maximumWorkers && m_preparing == 0) {
            ++m_running;
            lock.unlock();
            std::unique_ptr<Worker> worker =
                start(languages.isEmpty() ? workerLanguages({}) : languages, refusal);
            if (!worker) {
                lock.lock();
                --m_running;
                m_changed.notify_all();
            }
            return worker;
        }
        if (!m_idle.empty()) {
            // One for other languages makes room.
            std::unique_ptr<Worker> other = std::move(m_idle.front());
            m_idle.pop_front();
            lock.unlock();
            other->end();
            lock.lock();
            --m_running;
            continue;
        }
        m_changed.wait(lock);
    }
}

std::unique_ptr<ReadingWorkers::Worker> ReadingWorkers::start(const QString &languages,
                                                              RecognitionResult &refusal)
{
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        refusal.error = QStringLiteral("cannot start a reading process (%1)").arg(systemError(errno));
        return nullptr;
    }
    auto worker = std::make_unique<Worker>();
    worker->socket.reset(pair[0]);
    FileDescriptor theirs(pair[1]);
    // dup2 onto itself would keep the close-on-exec flag.
    if (theirs.get() == ReadingProtocol::workerSocket)
        theirs.reset(fcntl(pair[1], F_DUPFD_CLOEXEC, ReadingProtocol::workerSocket + 1));
    worker->languages = languages;

    std::vector<QByteArray> words{QFile::encodeName(m_options.program)};
    for (const QString &argument : m_options.arguments)
        words.push_back(argument.toLocal8Bit());
    words.push_back(languages.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, theirs.get(), ReadingProtocol::workerSocket);
    const int spawned = posix_spawn(&worker->pid, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    theirs.reset();
    if (spawned != 0) {
        worker->pid = -1;
        refusal.error = QStringLiteral("cannot start a reading process (%1)").arg(systemError(spawned));
        return nullptr;
    }

    const ReadingProtocol::Reception ready = ReadingProtocol::receive(
        worker->socket.get(), QDeadlineTimer(startTimeout), ReadingProtocol::maximumAnswerBytes);
    const auto answer = ready.status == ReadingProtocol::Received::Message
                            ? ReadingProtocol::decodeAnswer(ready.message)
                            : std::nullopt;
    if (answer && answer->recognition.error.isEmpty())
        return worker;
    const QString ended = worker->end();
    refusal.isUnconfined = answer.has_value();
    refusal.error = answer ? QStringLiteral("cannot read safely: %1").arg(answer->recognition.error)
                           : QStringLiteral("the reading process did not start (%1)").arg(ended);
    qCWarning(lcReading).noquote() << "Nothing is read:" << refusal.error;
    return nullptr;
}

void ReadingWorkers::prepare(const QStringList &languages)
{
    const QString wanted = workerLanguages(languages);
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping || m_preparing > 0 || m_running >= m_options.maximumWorkers)
            return;
        for (const auto &worker : m_idle) {
            if (worker->languages == wanted)
                return;
        }
        ++m_running;
        ++m_preparing;
    }
    RecognitionResult refusal;
    std::unique_ptr<Worker> worker = start(wanted, refusal);
    {
        const std::lock_guard lock(m_mutex);
        --m_preparing;
        if (!worker)
            --m_running; // the file that comes will meet the same refusal, and say so
    }
    if (worker)
        release(std::move(worker));
    else
        m_changed.notify_all();
}

void ReadingWorkers::release(std::unique_ptr<Worker> worker)
{
    if (worker->filesRead >= filesPerWorker) {
        worker->end();
        retire(std::move(worker));
        return;
    }
    worker->idleSince = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(m_mutex);
        m_idle.push_back(std::move(worker));
    }
    m_changed.notify_all();
}

void ReadingWorkers::retire(std::unique_ptr<Worker> worker)
{
    worker->end();
    {
        const std::lock_guard lock(m_mutex);
        --m_running;
    }
    m_changed.notify_all();
}

void ReadingWorkers::endIdleWorkers()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (m_idle.empty()) {
            m_changed.wait(lock);
            continue;
        }
        // The longest idle is at the front.
        const auto expiry = m_idle.front()->idleSince + m_options.keepWarm;
        if (std::chrono::steady_clock::now() < expiry) {
            m_changed.wait_until(lock, expiry);
            continue;
        }
        std::unique_ptr<Worker> worker = std::move(m_idle.front());
        m_idle.pop_front();
        lock.unlock();
        worker->end();
        lock.lock();
        --m_running;
        m_changed.notify_all();
        if (m_running == 0)
            giveMemoryBack();
    }
}
