// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reading/ReadingResults.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

// Reads untrusted files in confined worker processes (see ReadingWorker), never in this one. This
// process opens each file itself, without following a link, and hands the worker the descriptor.
// Up to `maximumWorkers` run at once, started when needed and ended after `keepWarm` without work,
// so an idle Quillo holds no recognition engine. A file gets `budget` of the worker's processor time
// for decoding and recognition, and a few times that on the clock (see ReadingBudget); a worker that
// overruns either is killed and the file is over budget. A worker that dies or answers nonsense costs
// that file only. Thread-safe: the calls block, and belong on naming threads.
class ReadingWorkers final
{
public:
    struct Options
    {
        QString program; // started with `arguments` and then the languages ("deu+eng")
        QStringList arguments;
        int maximumWorkers = 1;
        std::chrono::milliseconds budget = Reading::timeBudget;
        std::chrono::milliseconds keepWarm{10'000};
        // For files the user named on the command line; a watched folder's links are never followed.
        bool followsLinks = false;
        // A file read while no other is may be read on this many cores.
        int cores = 1;

        // The installed `quillo-reader`, one worker per core.
        static Options installed();
    };

    explicit ReadingWorkers(Options options);
    ~ReadingWorkers();
    ReadingWorkers(const ReadingWorkers &) = delete;
    ReadingWorkers &operator=(const ReadingWorkers &) = delete;

    // The file's lines, read with `languages` (as RecognitionLanguages::wanted() gives them; English
    // when empty).
    RecognitionResult readLines(const QString &filePath, const QStringList &languages);
    // Starts a worker for `languages` unless one is idle, being started or none may be: a file is on
    // its way, and a warm worker saves it the half second a start takes. Blocks while it starts.
    void prepare(const QStringList &languages);
    // The file decoded, as the reading process decodes it for recognition: by any idle worker, or by
    // one for `languages` when given, so the worker that reads the file next is the warm one.
    DecodedImage readImage(const QString &filePath, const QStringList &languages = {});

private:
    struct Worker;
    struct Reply;

    // `languages` as a worker is started with them; empty: any worker.
    Reply exchange(const QString &filePath, const QString &languages, int kind);
    // Without a worker, `refusal` says why.
    std::unique_ptr<Worker> acquire(const QString &languages, RecognitionResult &refusal);
    std::unique_ptr<Worker> start(const QString &languages, RecognitionResult &refusal);
    void release(std::unique_ptr<Worker> worker);
    void retire(std::unique_ptr<Worker> worker);
    void endIdleWorkers();
    int coresForOneFile();

    const Options m_options;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::list<std::unique_ptr<Worker>> m_idle;
    int m_running = 0;   // idle and busy workers, and those being started
    int m_preparing = 0; // started ahead of a file by prepare()
    bool m_stopping = false;
    std::thread m_reaper; // ends workers idle longer than keepWarm
};
