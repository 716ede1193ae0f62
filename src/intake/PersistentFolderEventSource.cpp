// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PersistentFolderEventSource.h"

#include "intake/IntakeLog.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Folders appearing and vanishing all the time could otherwise keep the search for the folder going.
constexpr int maximumLooks = 64;

// The nearest folder above `path` that exists; "/" at the latest.
QString existingFolderAbove(const QString &path)
{
    QString above = QDir::cleanPath(path);
    do {
        above = QFileInfo(above).absolutePath();
    } while (above != u'/' && !QFileInfo(above).isDir());
    return above;
}

} // namespace

std::unique_ptr<FolderEventSource> PersistentFolderEventSource::create(const QString &folderPath,
                                                                       Factory factory, IfMissing ifMissing)
{
    std::unique_ptr<PersistentFolderEventSource> source(
        new PersistentFolderEventSource(QDir::cleanPath(folderPath), std::move(factory)));
    const bool isThere = QFileInfo(source->m_folderPath).isDir();
    const bool watching =
        (isThere || ifMissing == IfMissing::Fail) ? source->watchFolder() : source->watchAbove();
    if (!watching)
        return nullptr;
    return source;
}

PersistentFolderEventSource::PersistentFolderEventSource(QString folderPath, Factory factory)
    : m_folderPath(std::move(folderPath))
    , m_factory(std::move(factory))
{}

PersistentFolderEventSource::~PersistentFolderEventSource()
{
    *m_alive = false;
}

bool PersistentFolderEventSource::watchFolder()
{
    auto source = m_factory(m_folderPath);
    if (!source)
        return false;
    source->setHandler([this](const FolderEvent &event) {
        folderChanged(event);
    });
    m_source = std::move(source); // may be the source whose handler runs now; it allows that
    m_waitingIn.clear();
    return true;
}

bool PersistentFolderEventSource::watchAbove()
{
    const QString above = existingFolderAbove(m_folderPath);
    if (above == m_waitingIn)
        return true;
    auto source = m_factory(above);
    if (!source)
        return false;
    source->setHandler([this](const FolderEvent &event) {
        aboveChanged(event);
    });
    m_source = std::move(source);
    m_waitingIn = above;
    return true;
}

void PersistentFolderEventSource::folderChanged(const FolderEvent &event)
{
    if (event.kind != FolderEventKind::FolderGone) {
        if (m_handler)
            m_handler(event);
        return;
    }
    if (!watchAbove())
        qCWarning(lcIntake) << "Cannot watch any folder above" << m_folderPath << "to see it come back";
    const std::shared_ptr<bool> alive = m_alive;
    if (m_handler)
        m_handler(event);
    // It may have come back before the folder above was watched.
    if (*alive && !m_waitingIn.isEmpty())
        lookForFolder();
}

void PersistentFolderEventSource::aboveChanged(const FolderEvent &event)
{
    // A new entry may be the folder or a folder on the way to it; a folder above that went away
    // means waiting further up.
    if (event.kind == FolderEventKind::FolderGone)
        m_waitingIn.clear();
    if (event.kind == FolderEventKind::Created || event.kind == FolderEventKind::MovedIn ||
        event.kind == FolderEventKind::Overflow || event.kind == FolderEventKind::FolderGone)
        lookForFolder();
}

void PersistentFolderEventSource::lookForFolder()
{
    // A folder watched just now may have gained the next folder on the way before its watch began,
    // and no event will say so: look again until the folder waited in stays the same.
    for (int look = 0; look < maximumLooks; ++look) {
        if (QFileInfo(m_folderPath).isDir() && watchFolder()) {
            if (m_handler)
                m_handler({FolderEventKind::FolderBack, QString(), true, true});
            return;
        }
        const QString waitedIn = m_waitingIn;
        if (!watchAbove()) {
            qCWarning(lcIntake) << "Cannot watch any folder above" << m_folderPath << "to see it come back";
            return;
        }
        if (m_waitingIn == waitedIn)
            return;
    }
}
