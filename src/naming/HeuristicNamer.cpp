// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HeuristicNamer.h"

#include "core/TextScanning.h"
#include "naming/ArtifactExtractor.h"
#include "naming/CategoryClassifier.h"
#include "naming/SlugGenerator.h"
#include "naming/WordRanking.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>

namespace {

constexpr qsizetype minReadableLength = 3;
constexpr qsizetype maxReadableLength = 90;
constexpr float minReadableConfidence = 0.3f;
constexpr double minConfidence = 0.1;

constexpr double minProminence = 0.5;
constexpr double maxProminence = 2.5;
// The band just below the top chrome, where a page or conversation title sits.
constexpr double titleBandLow = 0.82;
constexpr double titleBandHigh = 0.92;
constexpr double titleBandFactor = 1.3;
constexpr double bodyBandLow = 0.2;
constexpr double bodyBandHigh = 0.85;
constexpr double bodyBandFactor = 1.15;
constexpr double edgeFactor = 0.8;

constexpr qsizetype maxHeadingTokens = 8;
constexpr double headingProminence = 1.3;
constexpr qsizetype maxHeadings = 2;
constexpr double secondHeadingShare = 0.5;
constexpr double secondHeadingProminence = 1.15;
constexpr double titleBandHeadingProminence = 0.9;

bool isFileDescription(const QString &word)
{
    return SlugGenerator::fileDescriptionWords().contains(word);
}

// The filter shared by names and artifacts: file-description words pass the stop-word test.
bool isNameWord(const QString &word)
{
    return SlugGenerator::hasWordLength(word) &&
           (!SlugGenerator::stopWords().contains(word) || isFileDescription(word)) &&
           !SlugGenerator::isAllDigits(word) && !SlugGenerator::isNoiseToken(word);
}

bool allFileDescription(const QStringList &words)
{
    return std::all_of(words.begin(), words.end(), isFileDescription);
}

qsizetype characterCount(QStringView text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

// Long enough to say something, short enough not to be a paragraph, and mostly letters.
bool isReadable(const RecognizedLine &line)
{
    if (line.confidence < minReadableConfidence)
        return false;
    const QStringView text = TextScanning::trimmedHorizontally(line.text);
    const qsizetype length = characterCount(text);
    if (length < minReadableLength || length > maxReadableLength)
        return false;
    qsizetype scalars = 0;
    qsizetype letters = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = TextScanning::codePointAt(text, i);
        ++scalars;
        letters += QChar::isLetter(c) ? 1 : 0;
        i += TextScanning::codePointLength(c);
    }
    return 2 * letters >= scalars;
}

double clampedProminence(const LaidOutLine &line)
{
    return std::clamp(line.prominence, minProminence, maxProminence);
}

bool isInTitleBand(const LaidOutLine &line)
{
    const double midY = line.recognized.midY();
    return midY >= titleBandLow && midY <= titleBandHigh;
}

bool isHeadingCandidate(const LaidOutLine &line)
{
    return isReadable(line.recognized) && HeuristicNamer::isHeadingShaped(line) &&
           ArtifactExtractor::names(line.recognized.text).isEmpty() &&
           !HeuristicNamer::keywords(line.recognized.text).isEmpty();
}

// Scores summed per key, ranked highest first and, on equal scores, first seen first.
class Tally
{
public:
    void add(const QString &key, const QStringList &value, double score)
    {
        const qsizetype index = m_index.value(key, m_entries.size());
        if (index == m_entries.size()) {
            m_index.insert(key, index);
            m_entries.append({value, 0});
        }
        m_entries[index].score += score;
    }

    QList<QStringList> ranked()
    {
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) {
            return a.score > b.score;
        });
        QList<QStringList> result;
        result.reserve(m_entries.size());
        for (const Entry &entry : m_entries)
            result.append(entry.value);
        return result;
    }

private:
    struct Entry
    {
        QStringList value;
        double score;
    };
    QHash<QString, qsizetype> m_index;
    QList<Entry> m_entries;
};

QStringList artifactWords(const QStringList &group)
{
    QStringList words = group;
    words.removeIf([](const QString &word) {
        return !isNameWord(word);
    });
    return allFileDescription(words) ? QStringList() : words;
}

QList<HeuristicNamer::WeightedLine> weighted(const QList<LaidOutLine> &lines)
{
    QList<HeuristicNamer::WeightedLine> result;
    result.reserve(lines.size());
    for (const LaidOutLine &line : lines)
        result.append({line, HeuristicNamer::mainPaneWeight});
    return result;
}

} // namespace

namespace HeuristicNamer {

NamingSuggestion suggest(const ScreenLayout &layout, const CaptureContext &context,
                         const RoutingConfiguration &configuration)
{
    const ScreenshotCategory category = CategoryClassifier::classify(
        screenText(layout, context), context.appName, context.appId, configuration);
    const QStringList words = WordRanking::chosen(WordRanking::candidates(layout, context, category));
    return {SlugGenerator::slug(words, SlugGenerator::fileDescriptionWords()), category,
            NamingSource::Heuristics};
}

QString screenText(const ScreenLayout &layout, const CaptureContext &context)
{
    QStringList texts{context.windowTitle.value_or(QString())};
    for (const LaidOutLine &line : layout.lines())
        texts.append(line.recognized.text);
    return texts.join(u'\n');
}

QList<LaidOutLine> rankedHeadings(const QList<WeightedLine> &pool)
{
    QList<const WeightedLine *> candidates;
    QList<const WeightedLine *> heavy;
    for (const WeightedLine &line : pool) {
        if (!isHeadingCandidate(line.laidOut))
            continue;
        candidates.append(&line);
        if (line.weight >= mainPaneWeight)
            heavy.append(&line);
    }
    if (!heavy.isEmpty())
        candidates = heavy;

    struct Scored
    {
        const LaidOutLine *line;
        double score;
    };
    QList<Scored> scored;
    for (const WeightedLine *line : std::as_const(candidates))
        scored.append({&line->laidOut, lineFactor(*line) * clampedProminence(line->laidOut)});
    std::stable_sort(scored.begin(), scored.end(), [](const Scored &a, const Scored &b) {
        return a.score > b.score;
    });

    QList<LaidOutLine> result;
    for (const Scored &entry : std::as_const(scored)) {
        if (result.size() == maxHeadings)
            break;
        const LaidOutLine &line = *entry.line;
        const bool isSecondHeading = entry.score >= secondHeadingShare * scored.first().score &&
                                     (line.prominence >= secondHeadingProminence ||
                                      (isInTitleBand(line) && line.prominence >= titleBandHeadingProminence));
        if (result.isEmpty() || isSecondHeading)
            result.append(line);
    }
    return result;
}

QList<QStringList> rankedArtifacts(const QList<WeightedLine> &pool)
{
    Tally tally;
    for (const WeightedLine &line : pool) {
        for (const QStringList &group : ArtifactExtractor::names(line.laidOut.recognized.text)) {
            const QStringList words = artifactWords(group);
            if (!words.isEmpty())
                tally.add(words.join(u' '), words, lineFactor(line));
        }
    }
    return tally.ranked();
}

QList<LaidOutLine> featuredLines(const ScreenLayout &layout)
{
    const QList<LaidOutLine> main = layout.mainContent();
    QSet<QString> headingTexts;
    for (const LaidOutLine &heading : rankedHeadings(weighted(main)))
        headingTexts.insert(heading.recognized.text);
    QList<LaidOutLine> result;
    for (const LaidOutLine &line : main) {
        if (headingTexts.contains(line.recognized.text) ||
            !ArtifactExtractor::names(line.recognized.text).isEmpty())
            result.append(line);
    }
    return result;
}

QStringList keywords(QStringView text)
{
    QStringList words = SlugGenerator::words(text);
    words.removeIf([](const QString &word) {
        return !SlugGenerator::hasWordLength(word) || SlugGenerator::stopWords().contains(word) ||
               SlugGenerator::isAllDigits(word) || SlugGenerator::isNoiseToken(word) ||
               WordRanking::isInterfaceNoise(word);
    });
    return words;
}

double lineFactor(const WeightedLine &line)
{
    const double midY = line.laidOut.recognized.midY();
    double position = edgeFactor;
    if (isInTitleBand(line.laidOut))
        position = titleBandFactor;
    else if (midY >= bodyBandLow && midY <= bodyBandHigh)
        position = bodyBandFactor;
    const double confidence = std::max(double(line.laidOut.recognized.confidence), minConfidence);
    return line.weight * clampedProminence(line.laidOut) * position * confidence;
}

bool isHeadingShaped(const LaidOutLine &line)
{
    const QStringView text = TextScanning::trimmedHorizontally(line.recognized.text);
    if (text.isEmpty() || TextScanning::whitespaceSeparated(text).size() > maxHeadingTokens)
        return false;
    const QChar last = text.back();
    if (last == u'.' || last == u',' || last == u';')
        return false;
    const char32_t first = TextScanning::codePointAt(text, 0);
    return QChar::isUpper(first) || QChar::isDigit(first) || line.prominence >= headingProminence;
}

} // namespace HeuristicNamer
