// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/InotifyEventSource.h"

#include "intake/IntakeLog.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t watchedEvents = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_MODIFY |
                                   IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                   IN_EXCL_UNLINK;
// The watch no longer follows the folder at its path: the folder was deleted, moved or unmounted,
// or the kernel dropped the watch.
constexpr uint32_t folderGoneEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

// In order of precedence; an event carries one of these, overflow aside.
constexpr std::pair<uint32_t, FolderEventKind> kinds[] = {
    {IN_Q_OVERFLOW, FolderEventKind::Overflow}, {folderGoneEvents, FolderEventKind::FolderGone},
    {IN_CREATE, FolderEventKind::Created},      {IN_MOVED_TO, FolderEventKind::MovedIn},
    {IN_MOVED_FROM, FolderEventKind::MovedOut}, {IN_DELETE, FolderEventKind::Deleted},
    {IN_MODIFY, FolderEventKind::Modified},     {IN_CLOSE_WRITE, FolderEventKind::ClosedAfterWrite},
};

std::optional<FolderEventKind> kindOf(uint32_t mask)
{
    for (const auto &[bit, kind] : kinds) {
        if (mask & bit)
            return kind;
    }
    return std::nullopt;
}

FolderEvent eventFrom(const inotify_event &raw, FolderEventKind kind)
{
    const QByteArray name(raw.name, qsizetype(strnlen(raw.name, raw.len)));
    FolderEvent event{kind, QFile::decodeName(name),
                      kind != FolderEventKind::FolderGone && (raw.mask & IN_ISDIR), true};
    event.isNameDecodable = QFile::encodeName(event.name) == name;
    return event;
}

} // namespace

std::unique_ptr<FolderEventSource> InotifyEventSource::create(const QString &folderPath)
{
    FileDescriptor inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify.isValid()) {
        qCWarning(lcIntake) << "Cannot watch" << folderPath << ":" << qt_error_string(errno);
        return nullptr;
    }
    if (::inotify_add_watch(inotify.get(), QFile::encodeName(folderPath).constData(), watchedEvents) < 0) {
        qCWarning(lcIntake) << "Cannot watch" << folderPath << ":" << qt_error_string(errno);
        return nullptr;
    }
    return std::unique_ptr<FolderEventSource>(new InotifyEventSource(std::move(inotify), folderPath));
}

InotifyEventSource::InotifyEventSource(FileDescriptor inotify, QString folderPath)
    : m_inotify(std::move(inotify))
    , m_folderPath(std::move(folderPath))
    , m_notifier(std::make_unique<QSocketNotifier>(m_inotify.get(), QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        readEvents();
    });
}

InotifyEventSource::~InotifyEventSource()
{
    *m_alive = false;
}

void InotifyEventSource::readEvents()
{
    std::vector<FolderEvent> events;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t size = ::read(m_inotify.get(), buffer, sizeof buffer);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0 && errno != EAGAIN)
            qCWarning(lcIntake) << "Reading events of" << m_folderPath << "failed:" << qt_error_string(errno);
        if (size <= 0)
            break;
        for (ssize_t offset = 0; offset < size && !m_isGone;) {
            const auto *raw = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + raw->len);
            const auto kind = kindOf(raw->mask);
            if (!kind)
                continue;
            events.push_back(eventFrom(*raw, *kind));
            // Reported once; whatever the old folder sees from now on is no news about the path.
            m_isGone = *kind == FolderEventKind::FolderGone;
        }
    }
    if (m_isGone)
        m_notifier->setEnabled(false);
    // The handler may delete this source; keep what the loop needs on the stack.
    const Handler handler = m_handler;
    const std::shared_ptr<bool> alive = m_alive;
    for (const FolderEvent &event : events) {
        if (!*alive || !handler)
            return;
        handler(event);
    }
}
