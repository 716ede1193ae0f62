// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HeuristicNamer.h"

#include "core/TextScanning.h"
#include "naming/ArtifactExtractor.h"
#include "naming/CategoryClassifier.h"
#include "naming/SlugComposer.h"
#include "naming/SlugGenerator.h"
#include "naming/WordEvidence.h"

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

// Term weights, measured on the labelled corpus (hits and precision of the names).
constexpr double sidebarTermWeight = 0.5; // a sidebar lists other things; 0.2 lost the app names there
constexpr double topBandLow = 0.85;       // title bars, page titles and logos
// Title bars, logos and tab strips name the app, site or document: 1.5 gave hits 0.61, 3 0.65,
// 4 0.71, 5 to 8 0.74 (alike with the band from 0.8 to 0.9).
constexpr double topBandFactor = 5;
constexpr double termHeadingProminence = 1.5;
constexpr qsizetype maxTermHeadingTokens = 4;
constexpr double termHeadingFactor = 2; // 1: precision 0.55 instead of 0.60; 3: hits 0.52
constexpr double interfaceNoiseFactor = 0.3;
constexpr double controlWordFactor = 0.5;
constexpr double recurrenceShare = 0.3;   // 0.5: precision 0.69 instead of 0.71; 1: hits 0.65
constexpr double unknownNameFactor = 1.5; // 1: hits 0.58

// An app keyword goes in front only while it cannot push a title word out of the slug.
constexpr qsizetype maxWordsBeforeAppKeyword = 3;
constexpr qsizetype termsWanted = 3;

// Linux window titles end in " — App" (em dash) as often as in " - App"; some in " · App".
const std::array<QString, 5> &titleSeparators()
{
    static const std::array<QString, 5> separators{QStringLiteral(" - "), QStringLiteral(" – "),
                                                   QStringLiteral(" — "), QStringLiteral(" | "),
                                                   QStringLiteral(" · ")};
    return separators;
}

// The title without " <separator> <name>" at its end, when it ends so.
bool chopSuffix(QString &title, const QString &name)
{
    for (const QString &separator : titleSeparators()) {
        const QString suffix = separator + name;
        if (title.size() > suffix.size() && title.endsWith(suffix, Qt::CaseInsensitive)) {
            title.chop(suffix.size());
            return true;
        }
    }
    return false;
}

// Words that describe the interface rather than the content.
const QSet<QString> &interfaceNoise()
{
    static const QSet<QString> words = TextScanning::wordSet({
        "file",     "edit",     "view",   "window",  "help",       "go",      "history",   "bookmarks",
        "profiles", "tab",      "tabs",   "format",  "tools",      "insert",  "share",     "new",
        "open",     "close",    "save",   "cancel",  "ok",         "done",    "button",    "click",
        "menu",     "sidebar",  "page",   "screen",  "screenshot", "preview", "app",       "message",
        "messages", "messaged", "chat",   "channel", "thread",     "reply",   "replies",   "edited",
        "online",   "offline",  "typing", "unread",  "dmg",        "png",     "jpg",       "pdf",
        "zip",      "pkg",      "mon",    "tue",     "wed",        "thu",     "fri",       "sat",
        "sun",      "jan",      "feb",    "mar",     "apr",        "jun",     "jul",       "aug",
        "sep",      "sept",     "oct",    "nov",     "dec",        "today",   "yesterday",
    });
    return words;
}

// Words of any text that name nothing, beyond the slug's stop words: function words of running prose,
// the contractions the word cutter makes of "you'll" and "that's", units, currency codes, the full
// month and day names that dates spell out (their short forms are interface noise), the titles
// before people's names, the system folders of Unix paths, and the counters under every item of a feed.
const QSet<QString> &commonWords()
{
    static const QSet<QString> words = TextScanning::wordSet({
        "all",        "any",       "more",     "one",       "two",      "also",     "just",      "than",
        "only",       "other",     "some",     "such",      "very",     "via",      "per",       "see",
        "get",        "set",       "use",      "used",      "using",    "let",      "about",     "above",
        "after",      "again",     "against",  "almost",    "along",    "already",  "although",  "always",
        "among",      "another",   "anyone",   "anything",  "around",   "away",     "because",   "before",
        "behind",     "being",     "below",    "between",   "both",     "could",    "did",       "down",
        "during",     "each",      "either",   "else",      "enough",   "even",     "ever",      "every",
        "everything", "few",       "further",  "going",     "got",      "had",      "here",      "however",
        "like",       "many",      "may",      "maybe",     "might",    "most",     "much",      "must",
        "myself",     "need",      "never",    "nothing",   "now",      "off",      "often",     "once",
        "onto",       "ours",      "own",      "perhaps",   "put",      "quite",    "rather",    "really",
        "said",       "same",      "say",      "says",      "should",   "since",    "something", "sometimes",
        "soon",       "still",     "take",     "taken",     "thing",    "things",   "think",     "though",
        "through",    "thus",      "together", "too",       "toward",   "towards",  "under",     "until",
        "upon",       "want",      "way",      "well",      "whatever", "whenever", "whether",   "while",
        "whole",      "why",       "within",   "without",   "would",    "yet",      "youll",     "weve",
        "thats",      "didnt",     "dont",     "cant",      "wont",     "isnt",     "youre",     "theyre",
        "ive",        "im",        "hes",      "shes",      "lets",     "whats",    "theres",    "doesnt",
        "arent",      "wasnt",     "havent",   "hasnt",     "wouldnt",  "couldnt",  "shouldnt",  "youve",
        "theyve",     "youd",      "wed",      "hed",       "kib",      "mib",      "gib",       "tib",
        "hz",         "khz",       "mhz",      "ghz",       "ago",      "seconds",  "minute",    "minutes",
        "mins",       "hour",      "hours",    "px",        "ms",       "usd",      "eur",       "gbp",
        "jpy",        "inr",       "cad",      "aud",       "january",  "february", "march",     "april",
        "june",       "july",      "august",   "september", "october",  "november", "december",  "monday",
        "tuesday",    "wednesday", "thursday", "friday",    "saturday", "sunday",   "mr",        "mrs",
        "dr",         "lt",        "col",      "sgt",       "capt",     "usr",      "lib",       "libexec",
        "sbin",       "kbps",      "mbps",     "gbps",      "kibps",    "mibps",    "gibps",     "points",
        "comments",   "upvotes",   "likes",    "reposts",   "retweets",
    });
    return words;
}

// Words of controls and forms: they can name a screenshot, but content names it better.
const QSet<QString> &controlWords()
{
    static const QSet<QString> words = TextScanning::wordSet({
        "options", "details",  "show",        "hide",    "add",      "remove",   "delete",   "create",
        "select",  "selected", "more",        "less",    "back",     "next",     "previous", "home",
        "filter",  "sort",     "refresh",     "reload",  "update",   "updates",  "enter",    "press",
        "type",    "name",     "description", "status",  "default",  "custom",   "general",  "advanced",
        "about",   "account",  "profile",     "login",   "logout",   "sign",     "user",     "users",
        "none",    "yes",      "apply",       "reset",   "export",   "import",   "copy",     "paste",
        "cut",     "undo",     "redo",        "zoom",    "find",     "replace",  "run",      "stop",
        "start",   "pause",    "play",        "loading", "load",     "loaded",   "items",    "item",
        "list",    "grid",     "toggle",      "expand",  "collapse", "minimize", "maximize", "notification",
        "sent",    "drafts",   "trash",       "archive", "labels",   "label",    "version",  "size",
        "date",    "time",     "day",         "days",    "week",     "month",    "year",     "total",
        "count",
    });
    return words;
}

// Applications whose name says nothing about what the screenshot shows, comma-separated.
constexpr const char *genericAppNames =
    // Browsers, file managers, image and document viewers, by desktop entry, name or window class.
    "chrome,google chrome,firefox,microsoft edge,microsoft-edge,brave browser,opera,vivaldi,screenshot,"
    "chromium,chromium web browser,chromium-browser,google-chrome,firefox esr,firefox-esr,"
    "mozilla firefox,librewolf,waterfox,floorp,brave,brave web browser,brave-browser,tor browser,"
    "epiphany,web,falkon,konqueror,midori,qutebrowser,"
    "files,nautilus,org.gnome.nautilus,dolphin,thunar,thunar file manager,nemo,caja,pcmanfm,"
    "pcmanfm-qt,file manager,file manager pcmanfm,"
    "image viewer,eog,eye of gnome,loupe,gwenview,ristretto,ristretto image viewer,gthumb,nomacs,"
    "feh,xviewer,document viewer,evince,papers,okular,atril,xreader";

const QSet<QString> &genericApps()
{
    static const QSet<QString> names = [] {
        const QStringList list = QString::fromLatin1(genericAppNames).split(u',');
        return QSet<QString>(list.begin(), list.end());
    }();
    return names;
}

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

// A line's share in the terms: its region, its height on the screen, its size, and whether it is set
// like a heading. The recogniser's confidence comes per word.
double termWeight(const LaidOutLine &line)
{
    const double midY = line.recognized.midY();
    const double position = midY >= topBandLow                            ? topBandFactor
                            : midY >= bodyBandLow && midY <= bodyBandHigh ? bodyBandFactor
                                                                          : edgeFactor;
    const double region = line.region == LayoutRegion::Sidebar ? sidebarTermWeight : 1.0;
    const bool isHeading =
        line.prominence >= termHeadingProminence &&
        TextScanning::whitespaceSeparated(line.recognized.text).size() <= maxTermHeadingTokens;
    return region * position * clampedProminence(line) * (isHeading ? termHeadingFactor : 1.0);
}

// "main.rs" counts as main: an extension says what kind of file, not which.
QString withoutExtensions(const QString &text)
{
    static const QRegularExpression extension =
        TextScanning::pattern(R"((?<=\w)\.[A-Za-z][A-Za-z0-9]{0,4}\b)");
    return QString(text).replace(extension, QStringLiteral(" "));
}

// The recogniser's confidence in each word of the line: a title read well stays strong on a line
// that also holds an icon read as garbage. Without word results, the line's confidence.
QHash<QString, float> wordConfidences(const RecognizedLine &line)
{
    QHash<QString, float> confidences;
    for (const RecognizedWord &token : line.words) {
        for (const QString &word : SlugGenerator::words(token.text)) {
            float &confidence = confidences[word];
            confidence = std::max(confidence, token.confidence);
        }
    }
    return confidences;
}

bool isHeadingCandidate(const LaidOutLine &line)
{
    return isReadable(line.recognized) && HeuristicNamer::isHeadingShaped(line) &&
           ArtifactExtractor::names(line.recognized.text).isEmpty() &&
           !HeuristicNamer::keywords(line.recognized.text).isEmpty();
}

QStringList unique(const QStringList &words)
{
    QStringList result;
    for (const QString &word : words) {
        if (!result.contains(word))
            result.append(word);
    }
    return result;
}

std::optional<QString> appKeyword(const std::optional<QString> &appName)
{
    if (!appName || genericApps().contains(appName->toLower()))
        return std::nullopt;
    const QStringList words = HeuristicNamer::keywords(*appName);
    if (words.isEmpty())
        return std::nullopt;
    return words.first();
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

    // Multiplies each score by what `factor` gives for its key.
    template <typename Factor> void scale(Factor factor)
    {
        for (auto index = m_index.cbegin(); index != m_index.cend(); ++index)
            m_entries[*index].score *= factor(index.key());
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

QString slugFor(const ScreenLayout &layout, const CaptureContext &context)
{
    using namespace HeuristicNamer;
    const WordEvidence evidence(layout.lines());
    SlugComposer composer;
    if (const auto title = cleanedWindowTitle(context.windowTitle, context.appName))
        composer.add(nameKeywords(*title), true);
    if (const auto &item = layout.selectedSidebarItem())
        composer.add(nameKeywords(*item), false);
    const auto app = appKeyword(context.appName);
    if (app && composer.words().size() <= maxWordsBeforeAppKeyword && !composer.words().contains(*app)) {
        SlugComposer withApp;
        withApp.add(QStringList{*app} + composer.words(), true);
        composer = withApp;
    }
    const QStringList terms = rankedTerms(layout, evidence);
    for (auto term = terms.begin(); term != terms.end() && composer.words().size() < termsWanted; ++term)
        composer.add({*term}, false);
    return SlugGenerator::slug(composer.words(), SlugGenerator::fileDescriptionWords());
}

} // namespace

namespace HeuristicNamer {

NamingSuggestion suggest(const ScreenLayout &layout, const CaptureContext &context,
                         const RoutingConfiguration &configuration)
{
    // The whole screen, not the main pane alone: sidebars, title bars and even the lines naming leaves
    // out (prices on their own, placeholders) tell the kind of application.
    QStringList texts{context.windowTitle.value_or(QString())};
    for (const LaidOutLine &line : layout.lines())
        texts.append(line.recognized.text);
    const ScreenshotCategory category =
        CategoryClassifier::classify(texts.join(u'\n'), context.appName, context.appId, configuration);
    return {slugFor(layout, context), category, NamingSource::Heuristics};
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

QStringList rankedTerms(const ScreenLayout &layout, const WordEvidence &evidence)
{
    Tally tally;
    for (const LaidOutLine &line : layout.lines()) {
        if (line.isBoilerplate)
            continue;
        const double weight = termWeight(line);
        const QHash<QString, float> confidences = wordConfidences(line.recognized);
        const QString text = WordEvidence::spelledOut(withoutExtensions(line.recognized.text));
        for (const QString &word : unique(keywords(text))) {
            if (commonWords().contains(word) ||
                (!SlugGenerator::isAllDigits(word) && !evidence.isPlausible(word)))
                continue;
            const double confidence = confidences.value(word, line.recognized.confidence);
            tally.add(word, {word},
                      weight * std::max(confidence, minConfidence) *
                          (interfaceNoise().contains(word) ? interfaceNoiseFactor
                           : controlWords().contains(word) ? controlWordFactor
                                                           : 1.0));
        }
    }
    // Each further line where the word (or its other number) stands adds part of its mean line weight.
    tally.scale([&](const QString &word) {
        const double ownLines = double(std::max<qsizetype>(1, evidence.ownLineCount(word)));
        const double recurrence = 1 + recurrenceShare * double(evidence.lineCount(word) - 1) / ownLines;
        return recurrence * (evidence.isUnknownName(word) ? unknownNameFactor : 1.0);
    });
    QStringList terms;
    QSet<QString> stems;
    for (const QStringList &term : tally.ranked()) {
        if (!stems.contains(WordEvidence::stem(term.first()))) {
            stems.insert(WordEvidence::stem(term.first()));
            terms.append(term.first());
        }
    }
    return terms;
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
               interfaceNoise().contains(word);
    });
    return words;
}

QStringList nameKeywords(QStringView text)
{
    QStringList words = SlugGenerator::words(ArtifactExtractor::splitCamelCase(text));
    words.removeIf([](const QString &word) {
        return !isNameWord(word) || (interfaceNoise().contains(word) && !isFileDescription(word));
    });
    return allFileDescription(words) ? QStringList() : words;
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

std::optional<QString> cleanedWindowTitle(const std::optional<QString> &windowTitle,
                                          const std::optional<QString> &appName)
{
    if (!windowTitle)
        return std::nullopt;
    QString title = windowTitle->trimmed();
    // The window's own application, then a browser's or viewer's name, which a page title carries
    // whatever application reported the window.
    bool chopped = false;
    while (appName && !appName->isEmpty() && chopSuffix(title, *appName))
        chopped = true;
    for (auto app = genericApps().begin(); !chopped && app != genericApps().end(); ++app)
        chopped = chopSuffix(title, *app);
    if (title.isEmpty())
        return std::nullopt;
    return title;
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
