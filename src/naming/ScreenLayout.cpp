// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ScreenLayout.h"

#include "core/TextScanning.h"
#include "naming/SlugGenerator.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The chrome and right-edge rules only make sense on a screen with some text on it.
constexpr qsizetype minLinesForChrome = 8;
constexpr double topBand = 0.93;
constexpr double thinLineHeight = 0.035;
constexpr double bottomBand = 0.08;
constexpr double rightStripMinX = 0.88;
constexpr double rightStripMaxWidth = 0.1;
constexpr double sidebarMaxX = 0.27;
constexpr double sidebarMaxWidth = 0.25;
// A page that is mostly a narrow left column has no sidebar.
constexpr double maxSidebarShare = 0.8;
constexpr double rightOfSidebarMinX = 0.24;
constexpr double spanningLineMinX = 0.2;
constexpr double spanningLineMaxX = 0.35;
constexpr qsizetype minLinesRightOfSidebar = 2;

// A name after an introducing phrase is short and sits on the same row, just after it.
constexpr double sameRowShare = 0.6;
constexpr double nameMinGap = -0.01;
constexpr double nameMaxGap = 0.05;
constexpr qsizetype maxNameWords = 4;

constexpr qsizetype minPreviewWords = 4;
constexpr double titleMaxGapInLineHeights = 2;
constexpr double titleAlignment = 0.03;
constexpr qsizetype maxTitleWords = 6;

constexpr std::size_t introducingPatternCount = 6;

using TextScanning::pattern;

// The introducing phrases come first: every one of them is boilerplate too.
const std::array<QRegularExpression, 14> &boilerplatePatterns()
{
    static const std::array<QRegularExpression, 14> patterns{
        pattern(R"(^\d+\s+(new\s+)?messages?\s+with\b)"),
        pattern(R"(^messages?\s+with\b)"),
        pattern(R"(^messaged\b)"),
        pattern(R"(^\d+\s+repl(y|ies)\b)"),
        pattern(R"(^replied\s+to\b)"),
        pattern(R"(^(also\s+)?sent\s+to\b)"),
        pattern(R"(^(write|type|send|enter)\s+(a\s+)?(message|reply))"),
        pattern(R"(^message\s+[#@])"),
        pattern(R"(^reply\s+to\b)"),
        pattern(R"(^search\s+or\s+jump)"),
        pattern(R"(^ask\s+anything)"),
        pattern(R"(^new\s+(chat|message|thread)$)"),
        pattern(R"(^(online|offline|away|typing|is\s+typing|edited|reply|replies|thread|today|yesterday|)"
                R"(new|unread|seen|read|delivered|sent)$)"),
        pattern(R"(\bis\s+typing\b)"),
    };
    return patterns;
}

const QSet<QString> &timestampWords()
{
    static const QSet<QString> words = TextScanning::wordSet(
        {"today",    "yesterday", "now",      "just",      "ago",      "am",       "pm",       "min",
         "mins",     "minute",    "minutes",  "hour",      "hours",    "monday",   "tuesday",  "wednesday",
         "thursday", "friday",    "saturday", "sunday",    "mon",      "tue",      "wed",      "thu",
         "fri",      "sat",       "sun",      "january",   "february", "march",    "april",    "may",
         "june",     "july",      "august",   "september", "october",  "november", "december", "jan",
         "feb",      "mar",       "apr",      "jun",       "jul",      "aug",      "sep",      "sept",
         "oct",      "nov",       "dec",      "at",        "edited"});
    return words;
}

// Lower case, no whitespace or punctuation at either end, inner whitespace runs as one space.
QString normalize(const QString &text)
{
    const QString lower = text.toLower();
    const QStringView core = TextScanning::trimmed(lower, [](char32_t c) {
        return QChar::isSpace(c) || QChar::isPunct(c);
    });
    return core.toString().simplified();
}

bool matchesAny(const QString &text, std::size_t begin, std::size_t end)
{
    const auto &patterns = boilerplatePatterns();
    return std::any_of(patterns.begin() + begin, patterns.begin() + end, [&](const QRegularExpression &p) {
        return p.match(text).hasMatch();
    });
}

// Timestamps and counters: "yesterday at 9:41 PM", "Mon 12", "3".
bool isOnlyTimeAndNumbers(const QString &normalized)
{
    const QStringList words = SlugGenerator::words(normalized);
    return !words.isEmpty() && std::all_of(words.begin(), words.end(), [](const QString &word) {
        return timestampWords().contains(word) || SlugGenerator::isAllDigits(word);
    });
}

bool isBoilerplateText(const QString &text)
{
    const QString normalized = normalize(text);
    if (normalized.isEmpty())
        return false;
    return matchesAny(normalized, 0, boilerplatePatterns().size()) || isOnlyTimeAndNumbers(normalized);
}

bool readsBefore(const RecognizedLine &a, const RecognizedLine &b)
{
    if (a.midY() != b.midY())
        return a.midY() > b.midY();
    return a.minX() < b.minX();
}

// Phrases such as "Messages with", "2 replies" or "Sent to", after which a name follows.
bool introducesName(const QString &text)
{
    return matchesAny(normalize(text), 0, introducingPatternCount);
}

bool isInSidebarColumn(const RecognizedLine &line)
{
    return line.maxX() <= sidebarMaxX && line.width() < sidebarMaxWidth;
}

LayoutRegion regionOf(const RecognizedLine &line, bool hasChrome, bool hasSidebar)
{
    if (hasChrome && line.minY() >= topBand && line.height() < thinLineHeight)
        return LayoutRegion::TopChrome;
    if (hasChrome && line.maxY() <= bottomBand)
        return LayoutRegion::BottomChrome;
    if (hasChrome && line.minX() >= rightStripMinX && line.width() < rightStripMaxWidth)
        return LayoutRegion::Sidebar;
    if (hasSidebar && isInSidebarColumn(line))
        return LayoutRegion::Sidebar;
    return LayoutRegion::Main;
}

// A short line right after "Messages with", "2 replies", ... on the same row is the name it introduces.
bool isIntroducedName(const LaidOutLine &phrase, const LaidOutLine &candidate)
{
    const RecognizedLine &i = phrase.recognized;
    const RecognizedLine &j = candidate.recognized;
    const double dx = j.minX() - i.maxX();
    const double dy = std::abs(j.midY() - i.midY());
    const double h = std::max(i.height(), j.height());
    return dy < sameRowShare * h && dx >= nameMinGap && dx <= nameMaxGap &&
           SlugGenerator::words(j.text).size() <= maxNameWords;
}

void markIntroducedNames(QList<LaidOutLine> &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!introducesName(lines[i].recognized.text))
            continue;
        for (qsizetype j = 0; j < lines.size(); ++j) {
            LaidOutLine &candidate = lines[j];
            if (j != i && !candidate.isBoilerplate && candidate.region == lines[i].region &&
                isIntroducedName(lines[i], candidate))
                candidate.isBoilerplate = true;
        }
    }
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

// The height of body text: the median of ordinary main-pane lines, or of all lines when there are none.
double referenceHeight(const QList<LaidOutLine> &lines)
{
    QList<double> heights;
    for (const LaidOutLine &line : lines) {
        if (line.region == LayoutRegion::Main && !line.isBoilerplate)
            heights.append(line.recognized.height());
    }
    if (heights.isEmpty()) {
        for (const LaidOutLine &line : lines)
            heights.append(line.recognized.height());
    }
    return median(heights);
}

// The first in reading order among the nearest aligned sidebar lines above `preview`.
const LaidOutLine *titleAbove(const LaidOutLine &preview, const QList<const LaidOutLine *> &sidebar)
{
    const RecognizedLine &s = preview.recognized;
    const LaidOutLine *title = nullptr;
    for (const LaidOutLine *candidate : sidebar) {
        const RecognizedLine &c = candidate->recognized;
        const bool isAbove =
            s.midY() <= c.minY() && c.minY() - s.maxY() < titleMaxGapInLineHeights * s.height();
        if (isAbove && std::abs(c.minX() - s.minX()) < titleAlignment &&
            (!title || c.minY() < title->recognized.minY()))
            title = candidate;
    }
    return title;
}

// A left column of short lines beside at least two lines further right, with no line running
// across the column's edge. `readingOrder` are the lines sorted as in lines().
bool hasSidebar(const QList<RecognizedLine> &readingOrder)
{
    QList<const RecognizedLine *> content;
    for (const RecognizedLine &line : readingOrder) {
        if (line.minY() < topBand && line.maxY() > bottomBand)
            content.append(&line);
    }
    const auto left = std::count_if(content.begin(), content.end(), [](const RecognizedLine *line) {
        return isInSidebarColumn(*line);
    });
    if (left == 0 || maxSidebarShare * double(content.size()) < double(left))
        return false;
    const bool anySpanning = std::any_of(content.begin(), content.end(), [](const RecognizedLine *line) {
        return line->minX() < spanningLineMinX && line->maxX() > spanningLineMaxX;
    });
    if (anySpanning)
        return false;
    const auto right = std::count_if(content.begin(), content.end(), [](const RecognizedLine *line) {
        return line->minX() >= rightOfSidebarMinX;
    });
    return right >= minLinesRightOfSidebar;
}

} // namespace

QString rawValue(LayoutRegion region)
{
    switch (region) {
    case LayoutRegion::Main:
        return QStringLiteral("main");
    case LayoutRegion::Sidebar:
        return QStringLiteral("sidebar");
    case LayoutRegion::TopChrome:
        return QStringLiteral("topChrome");
    case LayoutRegion::BottomChrome:
        return QStringLiteral("bottomChrome");
    }
    return {};
}

ScreenLayout::ScreenLayout(const QList<RecognizedLine> &lines)
{
    QList<RecognizedLine> sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(), readsBefore);
    const bool hasChrome = sorted.size() >= minLinesForChrome;
    const bool sidebar = hasSidebar(sorted);

    m_lines.reserve(sorted.size());
    for (const RecognizedLine &line : sorted)
        m_lines.append({line, regionOf(line, hasChrome, sidebar), isBoilerplateText(line.text), 1.0});
    markIntroducedNames(m_lines);

    const double reference = referenceHeight(m_lines);
    if (reference > 0) {
        for (LaidOutLine &line : m_lines)
            line.prominence = line.recognized.height() / reference;
    }
    m_selectedSidebarItem = selectedSidebarItem(m_lines);
}

QList<LaidOutLine> ScreenLayout::mainContent() const
{
    QList<LaidOutLine> result;
    std::copy_if(m_lines.begin(), m_lines.end(), std::back_inserter(result), [](const LaidOutLine &line) {
        return line.region == LayoutRegion::Main && !line.isBoilerplate;
    });
    return result;
}

QList<LaidOutLine> ScreenLayout::background() const
{
    QList<LaidOutLine> result;
    std::copy_if(m_lines.begin(), m_lines.end(), std::back_inserter(result), [](const LaidOutLine &line) {
        return line.region != LayoutRegion::Main || line.isBoilerplate;
    });
    return result;
}

std::optional<QString> ScreenLayout::selectedSidebarItem(const QList<LaidOutLine> &lines)
{
    QStringList mainWords;
    QList<const LaidOutLine *> sidebar;
    for (const LaidOutLine &line : lines) {
        if (line.region == LayoutRegion::Main)
            mainWords += SlugGenerator::words(line.recognized.text);
        else if (line.region == LayoutRegion::Sidebar)
            sidebar.append(&line);
    }
    if (mainWords.isEmpty())
        return std::nullopt;

    for (const LaidOutLine *preview : sidebar) {
        const QString &text = preview->recognized.text;
        QStringList words = SlugGenerator::words(text);
        // A preview cut off with an ellipsis ends in a partial word.
        if ((text.endsWith(QLatin1String("...")) || text.endsWith(u'…')) && !words.isEmpty())
            words.removeLast();
        if (words.size() < minPreviewWords || !containsRun(words, mainWords))
            continue;
        const LaidOutLine *title = titleAbove(*preview, sidebar);
        if (title && SlugGenerator::words(title->recognized.text).size() <= maxTitleWords)
            return TextScanning::trimmedHorizontally(title->recognized.text).toString();
    }
    return std::nullopt;
}

bool ScreenLayout::containsRun(const QStringList &run, const QStringList &words)
{
    return run.isEmpty() || std::search(words.begin(), words.end(), run.begin(), run.end()) != words.end();
}
