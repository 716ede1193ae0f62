// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent>

#include <type_traits>
#include <utility>

// Runs `work` on Qt's thread pool and hands its result to `done` on `owner`'s thread. The answer goes
// with `owner`: one deleted first gets nothing. A watcher is used, not QFuture::then with a context:
// Qt 6.4 may deliver a continuation to a context object already deleted.
template <typename Work, typename Done> void runOffThread(QObject *owner, Work work, Done done)
{
    using Result = std::invoke_result_t<Work>;
    auto *watcher = new QFutureWatcher<Result>(owner);
    QObject::connect(watcher, &QFutureWatcherBase::finished, owner, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}
