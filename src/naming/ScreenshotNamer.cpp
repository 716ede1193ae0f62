// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ScreenshotNamer.h"

#include "naming/EnglishWords.h"
#include "naming/HeuristicNamer.h"
#include "naming/HttpModelClient.h"
#include "reading/ReadingWorkers.h"
#include "reading/RecognitionLanguages.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <iterator>
#include <malloc.h>

namespace {

// When the pool retires a naming thread after a while without work, the free memory its glibc
// arena kept goes back to the system.
struct ArenaTrim
{
    ~ArenaTrim()
    {
#ifndef __SANITIZE_ADDRESS__
        // Under AddressSanitizer glibc's arenas hold nothing, and trimming them from a thread that
        // is ending trips glibc's own bookkeeping.
        malloc_trim(0);
#endif
    }
};

thread_local ArenaTrim t_arenaTrim;

qsizetype partCount(const QString &slug)
{
    return slug.split(u'-', Qt::SkipEmptyParts).size();
}

} // namespace

ScreenshotNamer::Options ScreenshotNamer::Options::fromSettings(const SettingsStore &settings,
                                                                std::shared_ptr<ModelPause> pause,
                                                                std::shared_ptr<ReadingWorkers> reading)
{
    return {settings.useLocalModel(),
            ModelServer::fromSettings(settings),
            {},
            std::move(pause),
            RecognitionLanguages::wanted(settings.recognitionLanguages()),
            std::move(reading)};
}

ScreenshotNamer::ScreenshotNamer(Options options, QThreadPool &pool)
    : m_options(std::move(options))
    , m_pool(pool)
{}

void ScreenshotNamer::prepare()
{
    if (m_options.reading)
        m_pool.start([reading = m_options.reading, languages = m_options.recognitionLanguages] {
            reading->prepare(languages);
        });
}

QFuture<NamingResult> ScreenshotNamer::suggestName(const QString &filePath, const CaptureContext &context,
                                                   const RoutingConfiguration &configuration)
{
    return QtConcurrent::run(&m_pool, [namer = *this, filePath, context, configuration] {
        const Outcome outcome = namer.name(filePath, context, configuration);
        if (!outcome.recognitionError.isEmpty())
            return NamingResult{std::nullopt, outcome.recognitionError, outcome.isOverBudget,
                                outcome.isUnconfined};
        return NamingResult{outcome.suggestion, QString(), false, false, outcome.text};
    });
}

ScreenshotNamer::Outcome ScreenshotNamer::name(const QString &filePath, const CaptureContext &context,
                                               const RoutingConfiguration &configuration) const
{
    [[maybe_unused]] const ArenaTrim *trim = &t_arenaTrim; // made, so it is destroyed with the thread
    // Made after the trim, so it is gone before the trim runs; it loads while the file is read.
    [[maybe_unused]] static thread_local const EnglishWords::Keeper t_words;
    QElapsedTimer total;
    total.start();
    Outcome outcome;
    const RecognitionResult recognized =
        m_options.reading ? m_options.reading->readLines(filePath, m_options.recognitionLanguages)
                          : RecognitionResult{{}, QStringLiteral("text recognition is unavailable here")};
    outcome.ocrMs = total.elapsed();
    outcome.recognitionError = recognized.error;
    outcome.isOverBudget = recognized.isOverBudget;
    outcome.isUnconfined = recognized.isUnconfined;
    if (!recognized.error.isEmpty()) {
        outcome.totalMs = total.elapsed();
        return outcome;
    }
    // Quillo's own panel in the picture is not what the screenshot is of.
    QList<RecognizedLine> lines;
    std::copy_if(recognized.lines.begin(), recognized.lines.end(), std::back_inserter(lines),
                 [&](const RecognizedLine &line) {
                     return !context.isShownByQuillo(line.boundingBox, recognized.imageSize);
                 });
    for (const RecognizedLine &line : std::as_const(lines))
        outcome.text += (outcome.text.isEmpty() ? QString() : QStringLiteral("\n")) + line.text;

    const ScreenLayout layout(lines);
    const NamingSuggestion heuristic = HeuristicNamer::suggest(layout, context, configuration);
    outcome.suggestion = heuristic;
    if (m_options.allowsModel) {
        std::unique_ptr<LocalModelClient> client = HttpModelClient::create(m_options.server);
        if (m_options.pause)
            client = m_options.pause->guard(std::move(client));
        const ModelAvailability availability = client->availability();
        if (availability.isAvailable()) {
            const LocalModelNamer::OCRSnapshot snapshot{layout, context, filePath};
            const LocalModelNamer::Question question{
                LocalModelNamer::prompt(snapshot), context, LocalModelNamer::knownNames(snapshot),
                [this, filePath] {
                    return m_options.reading->readImage(filePath, m_options.recognitionLanguages).image;
                }};
            const auto model = LocalModelNamer::suggest(*client, availability, question, heuristic.category,
                                                        m_options.timeLimits);
            outcome.suggestion = preferred(model, heuristic);
        }
    }
    outcome.totalMs = total.elapsed();
    return outcome;
}

NamingSuggestion ScreenshotNamer::preferred(const std::optional<NamingSuggestion> &model,
                                            const NamingSuggestion &heuristic)
{
    if (!model)
        return heuristic;
    if (model->source == NamingSource::LocalModelImage)
        return *model;
    const qsizetype modelParts = partCount(model->slug);
    if (heuristic.slug == u"screen-capture")
        return *model;
    if (modelParts <= 2 && modelParts < partCount(heuristic.slug))
        return {heuristic.slug, model->category, NamingSource::Heuristics};
    return *model;
}
