// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long the watcher takes to report a screenshot after the tool renames its hidden
// temporary file into the folder: the settle time plus the cost of getting the event through.
#include "intake/InotifyEventSource.h"
#include "intake/ScreenshotWatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 20;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    ScreenshotWatcher watcher(&InotifyEventSource::create);
    watcher.start(folder.path());
    if (!watcher.isRunning())
        return 1;

    QElapsedTimer clock;
    std::vector<double> latencies;
    for (int run = 0; run < runs; ++run) {
        const QString hidden = folder.filePath(QStringLiteral(".screenshot-%1.png").arg(run));
        const QString visible = folder.filePath(QStringLiteral("Screenshot %1.png").arg(run));
        QFile file(hidden);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(200 * 1024, 'x')) < 0)
            return 1;
        file.close();

        QEventLoop loop;
        qint64 reportedAt = -1;
        // Direct: the moment the watcher thread reports, without the hop to this thread.
        const auto connection = QObject::connect(
            &watcher, &ScreenshotWatcher::fileSettled, &watcher,
            [&](const QString &path) {
                if (path == visible) {
                    reportedAt = clock.nsecsElapsed();
                    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
                }
            },
            Qt::DirectConnection);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        clock.start();
        if (!QFile::rename(hidden, visible))
            return 1;
        loop.exec();
        QObject::disconnect(connection);
        if (reportedAt < 0) {
            std::fprintf(stderr, "run %d: no report within 5 s\n", run);
            return 1;
        }
        latencies.push_back(double(reportedAt) / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = (latencies[runs / 2 - 1] + latencies[runs / 2]) / 2;
    std::printf("watcher report latency after a rename, %d runs (settle time %lld ms included):\n", runs,
                static_cast<long long>(ScreenshotWatcher::settleDelay.count()));
    std::printf("  median %.1f ms, min %.1f ms, max %.1f ms\n", median, latencies.front(), latencies.back());
    return 0;
}
