// SPDX-License-Identifier: GPL-3.0-or-later
#include "index/IndexWriter.h"

#include "index/IndexLog.h"

#include <QFile>
#include <QFileInfo>

IndexWriter::IndexWriter(QString filePath)
    : m_index(std::make_shared<ScreenshotIndex>(std::move(filePath)))
    , m_refillMarker(m_index->refillMarkerPath())
{
    // One thread at a time, so changes land in the order they were made; it ends when idle, and
    // the index, closed by then, opens again on the next.
    m_thread.setMaxThreadCount(1);
}

IndexWriter::~IndexWriter()
{
    waitForDone();
}

void IndexWriter::put(const IndexEntry &entry)
{
    enqueue([entry](ScreenshotIndex &index) {
        return index.put(entry);
    });
}

void IndexWriter::move(const QString &from, const QString &to)
{
    enqueue([from, to](ScreenshotIndex &index) {
        return index.move(from, to);
    });
}

void IndexWriter::remove(const QString &path)
{
    enqueue([path](ScreenshotIndex &index) {
        return index.remove(path);
    });
}

void IndexWriter::clear(std::function<void()> cleared)
{
    // Clearing is asked for even after indexing was turned off.
    m_thread.start([index = m_index, cleared = std::move(cleared)] {
        if (const auto problem = index->clear())
            qCWarning(lcIndex).noquote() << *problem;
        if (cleared)
            cleared();
    });
}

void IndexWriter::waitForDone()
{
    m_thread.waitForDone();
}

bool IndexWriter::isRefillWanted() const
{
    return QFileInfo::exists(m_refillMarker);
}

void IndexWriter::onRefillWanted(QObject *context, std::function<void()> handler)
{
    m_refillContext = context;
    m_refillHandler = std::move(handler);
}

void IndexWriter::refilled()
{
    QFile::remove(m_refillMarker);
}

void IndexWriter::enqueue(std::function<std::optional<QString>(ScreenshotIndex &)> change)
{
    if (!m_enabled)
        return;
    ++m_pending;
    m_thread.start([this, index = m_index, change = std::move(change)] {
        if (const auto problem = change(*index))
            qCWarning(lcIndex).noquote() << *problem;
        // Damage is found by a change; the handler sees it on its own thread.
        if (m_refillHandler && m_refillContext && isRefillWanted())
            QMetaObject::invokeMethod(m_refillContext, m_refillHandler);
        // A burst's renames come in quick succession; its page cache goes once they are written.
        if (--m_pending == 0)
            index->release();
    });
}
