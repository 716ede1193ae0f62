// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

// Searches and measures the search index on a thread of its own, so an index another process holds
// locked never freezes the interface; each answer arrives as a signal on the owner's thread, in the
// order asked. An index file that does not exist yet is not created. Main thread.
class SearchIndexReader final : public QObject
{
    Q_OBJECT

public:
    explicit SearchIndexReader(QString filePath, QObject *parent = nullptr);
    // Waits for the question in hand.
    ~SearchIndexReader() override;

    // Answered by `found` with the same id.
    void search(quint64 id, const QString &words, int limit);
    // Answered by `measured`.
    void measure();

signals:
    void found(quint64 id, const ScreenshotIndex::Found &result);
    void measured(const ScreenshotIndex::Size &size);

private:
    QThreadPool m_thread;
    // Touched only by m_thread's tasks, one at a time.
    std::shared_ptr<ScreenshotIndex> m_index;
};
