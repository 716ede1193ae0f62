// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/LocalModelNamer.h"
#include "naming/ModelPause.h"
#include "naming/ScreenshotNaming.h"

class QThreadPool;
class ReadingWorkers;
class SettingsStore;

// The production namer: reads the screenshot's text, always computes the heuristic name, asks the
// local model when the user allows it and the model is available, and keeps the better of the two.
// One is made per screenshot; the work runs on the given pool, and the reading in a worker process.
class ScreenshotNamer final : public ScreenshotNaming
{
public:
    struct Options
    {
        bool allowsModel = false;
        ModelServer server;
        LocalModelNamer::TimeLimits timeLimits;
        // Shared by the namers of one run; none: the server is asked for every screenshot.
        std::shared_ptr<ModelPause> pause;
        // Text recognition's languages, as RecognitionLanguages::wanted() gives them; empty: English.
        QStringList recognitionLanguages;
        // The run's reading processes; without them nothing is read.
        std::shared_ptr<ReadingWorkers> reading;

        // What the settings file asks for, with the run's shared pause and reading processes.
        static Options fromSettings(const SettingsStore &settings, std::shared_ptr<ModelPause> pause,
                                    std::shared_ptr<ReadingWorkers> reading);
    };

    // What one naming produced, with the figures `quillo name --json` reports.
    struct Outcome
    {
        NamingSuggestion suggestion; // meaningless when the text could not be read
        QString recognitionError;    // empty when the text could be read
        bool isOverBudget = false;   // the file needed more time or memory than a screenshot may
        bool isUnconfined = false;   // no reading process could shut itself in
        QString text;                // every recognised line in reading order, one per line
        qint64 ocrMs = 0;
        qint64 totalMs = 0;
    };

    ScreenshotNamer(Options options, QThreadPool &pool);

    void prepare() override;
    QFuture<NamingResult> suggestName(const QString &filePath, const CaptureContext &context,
                                      const RoutingConfiguration &configuration) override;

    // Blocking: call on a naming thread, never on the main thread. A file that cannot be read is not
    // named: the outcome has the recognition error and no model is asked.
    Outcome name(const QString &filePath, const CaptureContext &context,
                 const RoutingConfiguration &configuration) const;

    // The model's answer unless it is absent, or a text answer of at most two words where the
    // heuristics found more; the model's category is kept either way.
    static NamingSuggestion preferred(const std::optional<NamingSuggestion> &model,
                                      const NamingSuggestion &heuristic);

private:
    Options m_options;
    QThreadPool &m_pool;
};
