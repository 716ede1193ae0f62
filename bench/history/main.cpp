// SPDX-License-Identifier: GPL-3.0-or-later
// Several processes add to one stored rename history at once, as the tray and the command line can,
// while reading it all the time; prints how many records were lost and how long a change took.
// Usage: bench_history [ROUNDS]
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdio>

namespace {

constexpr int writerCount = 3;
constexpr int recordsPerWriter = 3; // all of them fit in the history
constexpr int readsPerRecord = 30;  // as the settings window and the menu read between renames

// Adds recordsPerWriter records to the history in `path`.
int write(const QString &path, const QString &writer)
{
    PreferencesStore preferences(path);
    RenameHistoryStore history(preferences);
    for (int number = 0; number < recordsPerWriter; ++number) {
        for (int read = 0; read < readsPerRecord; ++read)
            (void)preferences.dataValue(QStringLiteral("renameHistory"));
        const QString name = QStringLiteral("Screenshot %1-%2.png").arg(writer).arg(number);
        history.add({QUuid::createUuid(), QStringLiteral("/home/ada/Screen shots"), name,
                     QStringLiteral("/home/ada/Screen shots/name-") + name, QDateTime::currentDateTimeUtc(),
                     std::nullopt, NamingSource::Heuristics});
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == u"--write")
        return write(arguments.at(2), arguments.at(3));
    const int rounds = arguments.size() > 1 ? arguments.at(1).toInt() : 100;

    int lost = 0, roundsLosing = 0;
    qint64 elapsedMs = 0;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("quillo.conf"));
        PreferencesStore(path).setBool(QStringLiteral("isPaused"), false); // an existing file
        QList<QProcess *> writers;
        QElapsedTimer clock;
        clock.start();
        for (int writer = 0; writer < writerCount; ++writer) {
            auto *process = new QProcess(&app);
            process->setProcessChannelMode(QProcess::ForwardedChannels);
            process->start(app.applicationFilePath(),
                           {QStringLiteral("--write"), path, QString::number(writer)});
            writers.append(process);
        }
        for (QProcess *process : std::as_const(writers)) {
            process->waitForFinished(30'000);
            delete process;
        }
        elapsedMs += clock.elapsed();
        PreferencesStore preferences(path);
        const qsizetype missing =
            writerCount * recordsPerWriter - RenameHistoryStore(preferences).records().size();
        lost += int(missing);
        roundsLosing += missing > 0 ? 1 : 0;
    }
    std::printf("%d rounds of %d writer processes adding %d records each (%d reads before each)\n", rounds,
                writerCount, recordsPerWriter, readsPerRecord);
    std::printf("records lost: %d (in %d rounds)\n", lost, roundsLosing);
    std::printf("mean round: %.1f ms, process start included\n", double(elapsedMs) / rounds);
    return lost == 0 ? 0 : 1;
}
