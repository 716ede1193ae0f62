// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"

#include <QPointer>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>

// Keeps the index up to date from the thread that names and renames, without making it wait: each
// change is written on a thread of the writer's own, in the order given. A change the index cannot
// take (locked past the busy timeout, read-only, disk full) is logged and dropped: renaming never
// depends on the index. Call from one thread.
class IndexWriter final
{
public:
    explicit IndexWriter(QString filePath);
    // Waits for the changes in hand.
    ~IndexWriter();

    // Off: changes given meanwhile are dropped.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }

    void put(const IndexEntry &entry);
    void move(const QString &from, const QString &to);
    void remove(const QString &path);
    // `cleared`, when given, runs on the writer's thread afterwards, whether or not it worked.
    void clear(std::function<void()> cleared = {});
    // Blocks until every change given so far is written or dropped.
    void waitForDone();

    // The index was started afresh from a damaged one, here or by another Quillo, and what it held
    // is still to be put back.
    bool isRefillWanted() const;
    // Called on `context`'s thread when a change finds the refill wanted.
    void onRefillWanted(QObject *context, std::function<void()> handler);
    void refilled();

private:
    void enqueue(std::function<std::optional<QString>(ScreenshotIndex &)> change);

    QThreadPool m_thread;
    std::atomic<int> m_pending = 0; // changes given and not yet written
    // Touched only by m_thread's tasks, one at a time.
    std::shared_ptr<ScreenshotIndex> m_index;
    QString m_refillMarker;
    QPointer<QObject> m_refillContext;
    std::function<void()> m_refillHandler;
    bool m_enabled = true;
};
