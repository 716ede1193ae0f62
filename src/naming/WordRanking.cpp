// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/WordRanking.h"

#include "core/TextScanning.h"
#include "naming/ArtifactExtractor.h"
#include "naming/CategoryClassifier.h"
#include "naming/EnglishWords.h"
#include "naming/NamingWeights.h"
#include "naming/SlugGenerator.h"
#include "naming/WordEvidence.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>

namespace {

constexpr double minProminence = 0.5;
constexpr double maxProminence = 4;
constexpr double topBandLow = 0.83;
constexpr double headingProminence = 1.3;
constexpr qsizetype maxHeadingWords = 6;
constexpr qsizetype maxShortLineWords = 3;
constexpr qsizetype maxShortWordLength = 3;
constexpr qsizetype minWords = 2;
constexpr qsizetype firstLineCount = 3;
// Menus and table columns: short lines starting at the same x, within this share of the width.
constexpr double columnTolerance = 0.01;
constexpr qsizetype minColumnNeighbours = 3;
// An abbreviation is at least two letters shorter than its word: "inv" and "invoice".
constexpr qsizetype minAbbreviationLength = 2;
constexpr qsizetype minAbbreviatedSavings = 2;
// Suffixes are cut only where a stem of this length remains: "monitoring", not "string".
constexpr qsizetype minStemLength = 4;

using WordRanking::Feature;

constexpr std::array<const char *, WordRanking::featureCount> names{
    "confidence",   "prominence",      "recurrence",    "titleBar",    "topBand",      "mainPane",
    "sidebarOnly",  "bottomOnly",      "heading",       "shortLine",   "dictionary",   "unknownName",
    "capitalised",  "artifact",        "extension",     "windowTitle", "selectedItem", "appName",
    "categoryWord", "anyCategoryWord", "interfaceWord", "number",      "short",        "implausible",
    "height",       "spread",          "largest",       "firstLines",  "nameAtTop",    "listItem",
    "allCaps"};

constexpr bool sameNames()
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::string_view(names[i]) != std::string_view(NamingWeights::wordFeatureNames[i]))
            return false;
    }
    return true;
}
static_assert(NamingWeights::wordFeatureNames.size() == WordRanking::featureCount && sameNames(),
              "NamingWeights.h was fitted to other features: run tools/fit-naming-weights.py");

// Words of menus, toolbars and status lines, and the short dates they show.
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

// Words of controls and forms.
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
        "count",   "search",
    });
    return words;
}

// Words of any text that name nothing, beyond the slug's stop words: function words of running prose,
// the contractions the word cutter makes of "you'll" and "that's", units, currency codes, the full
// month and day names that dates spell out, the titles before people's names, the system folders of
// Unix paths, and the counters under every item of a feed.
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
    "feh,xviewer,document viewer,evince,papers,okular,atril,xreader,"
    // Terminals, which show whatever runs in them.
    "terminal,kitty,xterm,uxterm,alacritty,konsole,gnome-terminal,xfce terminal,xfce4-terminal,tilix,"
    "lxterminal,qterminal,terminator,foot,wezterm,console";

const QSet<QString> &genericApps()
{
    static const QSet<QString> apps = [] {
        const QStringList list = QString::fromLatin1(genericAppNames).split(u',');
        return QSet<QString>(list.begin(), list.end());
    }();
    return apps;
}

bool isCandidateWord(const QString &word)
{
    return SlugGenerator::isSlugWord(word) && !commonWords().contains(word);
}

bool isSet(const WordRanking::Features &features, Feature feature)
{
    return features[std::size_t(feature)] != 0;
}

void set(WordRanking::Features &features, Feature feature, double value = 1)
{
    features[std::size_t(feature)] = value;
}

void raise(WordRanking::Features &features, Feature feature, double value)
{
    double &current = features[std::size_t(feature)];
    current = std::max(current, value);
}

// Where one line stands and what kind of line it is.
struct LineKind
{
    bool titleBar;
    bool topBand;
    bool mainPane;
    bool sidebar;
    bool bottom;
    bool heading;
    bool shortLine;
};

LineKind kindOf(const LaidOutLine &line, qsizetype wordCount)
{
    const RecognizedLine &r = line.recognized;
    const bool titleBar = line.region == LayoutRegion::TopChrome;
    return {titleBar,
            !titleBar && r.midY() >= topBandLow,
            line.region == LayoutRegion::Main && !line.isBoilerplate,
            line.region == LayoutRegion::Sidebar,
            line.region == LayoutRegion::BottomChrome || line.isBoilerplate,
            line.prominence >= headingProminence && wordCount <= maxHeadingWords,
            wordCount <= maxShortLineWords};
}

// Per word of one line: the best confidence of the tokens it comes from, and whether one of them is
// capitalised. Without word results, the line's confidence.
struct TokenEvidence
{
    float confidence = 0;
    bool capitalised = false;
    bool allCaps = false;
};

QHash<QString, TokenEvidence> tokenEvidence(const RecognizedLine &line)
{
    QList<RecognizedWord> tokens = line.words;
    if (tokens.isEmpty()) {
        for (const QStringView token : TextScanning::whitespaceSeparated(line.text))
            tokens.append({token.toString(), line.confidence});
    }
    QHash<QString, TokenEvidence> evidence;
    for (const RecognizedWord &token : std::as_const(tokens)) {
        const auto firstLetter = std::find_if(token.text.begin(), token.text.end(), [](QChar c) {
            return c.isLetter();
        });
        const bool capitalised = firstLetter != token.text.end() && firstLetter->isUpper();
        const bool allCaps = capitalised && std::none_of(token.text.begin(), token.text.end(), [](QChar c) {
                                 return c.isLower();
                             });
        for (const QString &word : SlugGenerator::words(WordEvidence::spelledOut(token.text))) {
            TokenEvidence &entry = evidence[word];
            entry.confidence = std::max(entry.confidence, token.confidence);
            entry.capitalised = entry.capitalised || capitalised;
            entry.allCaps = entry.allCaps || allCaps;
        }
    }
    return evidence;
}

QSet<QString> extensionsOf(const QString &text)
{
    static const QRegularExpression extension =
        TextScanning::pattern(R"((?<=\w)\.([A-Za-z][A-Za-z0-9]{0,4})\b)");
    QSet<QString> result;
    for (auto match = extension.globalMatch(text); match.hasNext();)
        result.insert(match.next().captured(1).toLower());
    return result;
}

QSet<QString> artifactWordsOf(const QString &text)
{
    QSet<QString> result;
    for (const QStringList &group : ArtifactExtractor::names(text))
        result.unite(QSet<QString>(group.begin(), group.end()));
    return result;
}

std::optional<QString> appKeyword(const std::optional<QString> &appName)
{
    if (!appName || genericApps().contains(appName->toLower()))
        return std::nullopt;
    const QStringList words = SlugGenerator::words(*appName);
    const auto first = std::find_if(words.begin(), words.end(), isCandidateWord);
    return first == words.end() ? std::nullopt : std::optional<QString>(*first);
}

// Builds the candidates of one screenshot, one per word form, in order of first appearance.
class CandidateBuilder
{
public:
    explicit CandidateBuilder(const ScreenLayout &layout)
    {
        for (const LaidOutLine &line : layout.lines())
            m_largestProminence = std::max(m_largestProminence, line.prominence);
        for (const LaidOutLine &line : layout.lines()) {
            if (m_firstLines.size() < firstLineCount && line.region == LayoutRegion::Main &&
                !line.isBoilerplate)
                m_firstLines.append(&line);
        }
        m_lineCount = layout.lines().size();
        markListItems(layout.lines());
    }

    WordRanking::Features &featuresOf(const QString &word)
    {
        const qsizetype index = m_index.value(word, m_candidates.size());
        if (index == m_candidates.size()) {
            m_index.insert(word, index);
            m_candidates.append({word, {}, 0, {}});
        }
        return m_candidates[index].features;
    }

    void addLine(const LaidOutLine &line)
    {
        const RecognizedLine &r = line.recognized;
        const QString text = WordEvidence::spelledOut(r.text);
        const QStringList words = SlugGenerator::words(text);
        const LineKind kind = kindOf(line, words.size());
        const QHash<QString, TokenEvidence> tokens = tokenEvidence(r);
        const QSet<QString> extensions = extensionsOf(r.text);
        const QSet<QString> artifacts = artifactWordsOf(r.text);
        const double prominence = std::log(std::clamp(line.prominence, minProminence, maxProminence));
        for (const QString &word : words) {
            if (!isCandidateWord(word))
                continue;
            const TokenEvidence token = tokens.value(word, {r.confidence, false, false});
            WordRanking::Features &f = featuresOf(word);
            const bool firstSeen = !m_seen.contains(word);
            m_seen.insert(word);
            raise(f, Feature::Confidence, token.confidence);
            f[std::size_t(Feature::Prominence)] =
                firstSeen ? prominence : std::max(f[std::size_t(Feature::Prominence)], prominence);
            raise(f, Feature::Height, r.midY());
            raise(f, Feature::TitleBar, kind.titleBar);
            raise(f, Feature::TopBand, kind.topBand);
            raise(f, Feature::MainPane, kind.mainPane);
            raise(f, Feature::Heading, kind.heading);
            raise(f, Feature::ShortLine, kind.shortLine);
            // "46°C" is no name: capitals count only in words with letters.
            const bool hasLetters = !SlugGenerator::isAllDigits(word);
            raise(f, Feature::Capitalised, token.capitalised && hasLetters);
            raise(f, Feature::AllCaps, token.allCaps && hasLetters && word.size() > 1);
            raise(f, Feature::Artifact, artifacts.contains(word));
            raise(f, Feature::Extension, extensions.contains(word));
            raise(f, Feature::Largest, m_largestProminence > 0 ? line.prominence / m_largestProminence : 0);
            raise(f, Feature::FirstLines, m_firstLines.contains(&line));
            if (!kind.sidebar)
                m_outsideSidebar.insert(word);
            if (!m_listItems.contains(&line))
                m_outsideLists.insert(word);
            if (!kind.bottom)
                m_outsideBottom.insert(word);
        }
    }

    // The window title and the application's name stand where a title bar does, read without error;
    // words also on the screen keep what the screen says of them.
    void addWindowWords(const QStringList &words, Feature source)
    {
        for (const QString &word : words) {
            if (!isCandidateWord(word))
                continue;
            WordRanking::Features &f = featuresOf(word);
            set(f, source);
            set(f, Feature::Confidence);
            set(f, Feature::TitleBar);
            raise(f, Feature::Height, 1);
            raise(f, Feature::ShortLine, words.size() <= maxShortLineWords);
            m_outsideSidebar.insert(word);
            m_outsideBottom.insert(word);
            m_outsideLists.insert(word);
        }
    }

    void mark(const QStringList &words, Feature feature)
    {
        for (const QString &word : words) {
            if (m_index.contains(word))
                set(m_candidates[m_index.value(word)].features, feature);
        }
    }

    QList<WordRanking::Candidate> finish(const WordEvidence &evidence, ScreenshotCategory category)
    {
        for (WordRanking::Candidate &candidate : m_candidates) {
            const QString &word = candidate.word;
            WordRanking::Features &f = candidate.features;
            const bool onScreen = m_seen.contains(word);
            set(f, Feature::Recurrence, std::log(double(std::max<qsizetype>(1, evidence.lineCount(word)))));
            set(f, Feature::SidebarOnly, onScreen && !m_outsideSidebar.contains(word));
            set(f, Feature::BottomOnly, onScreen && !m_outsideBottom.contains(word));
            set(f, Feature::Dictionary, EnglishWords::contains(word));
            set(f, Feature::UnknownName, evidence.isUnknownName(word) && !SlugGenerator::isAllDigits(word));
            set(f, Feature::CategoryWord, CategoryClassifier::isCategoryWord(word, category));
            set(f, Feature::AnyCategoryWord,
                std::any_of(allScreenshotCategories.begin(), allScreenshotCategories.end(), [&](auto other) {
                    return CategoryClassifier::isCategoryWord(word, other);
                }));
            set(f, Feature::InterfaceWord, interfaceNoise().contains(word) || controlWords().contains(word));
            set(f, Feature::Number, SlugGenerator::isAllDigits(word));
            set(f, Feature::Short, word.size() <= maxShortWordLength);
            // The window's own words are read without error.
            const bool fromWindow = isSet(f, Feature::WindowTitle) || isSet(f, Feature::AppName);
            set(f, Feature::Implausible, !fromWindow && !evidence.isPlausible(word));
            set(f, Feature::Spread,
                m_lineCount > 0 ? double(evidence.lineCount(word)) / double(m_lineCount) : 0);
            set(f, Feature::ListItem, onScreen && !m_outsideLists.contains(word));
            set(f, Feature::NameAtTop,
                isSet(f, Feature::UnknownName) &&
                    (isSet(f, Feature::TitleBar) || isSet(f, Feature::TopBand)));
            candidate.score =
                std::inner_product(f.begin(), f.end(), NamingWeights::word.begin(), NamingWeights::wordBias);
        }
        markSameIdeas();
        return m_candidates;
    }

private:
    void markListItems(const QList<LaidOutLine> &lines)
    {
        const auto isShort = [](const LaidOutLine &line) {
            return SlugGenerator::words(line.recognized.text).size() <= maxShortLineWords;
        };
        QList<const LaidOutLine *> shortLines;
        for (const LaidOutLine &line : lines) {
            if (isShort(line))
                shortLines.append(&line);
        }
        for (const LaidOutLine *line : std::as_const(shortLines)) {
            const auto aligned =
                std::count_if(shortLines.begin(), shortLines.end(), [&](const LaidOutLine *other) {
                    return other != line &&
                           std::abs(other->recognized.minX() - line->recognized.minX()) < columnTolerance;
                });
            if (aligned >= minColumnNeighbours)
                m_listItems.insert(line);
        }
    }

    void markSameIdeas()
    {
        for (qsizetype i = 0; i < m_candidates.size(); ++i) {
            for (qsizetype j = i + 1; j < m_candidates.size(); ++j) {
                if (WordRanking::isSameIdea(m_candidates[i].word, m_candidates[j].word)) {
                    m_candidates[i].sameIdea.append(j);
                    m_candidates[j].sameIdea.append(i);
                }
            }
        }
    }

    double m_largestProminence = 0;
    QList<const LaidOutLine *> m_firstLines;
    qsizetype m_lineCount = 0;
    QList<WordRanking::Candidate> m_candidates;
    QHash<QString, qsizetype> m_index;
    QSet<QString> m_seen;
    QSet<QString> m_outsideSidebar;
    QSet<QString> m_outsideBottom;
    QSet<QString> m_outsideLists;
    QSet<const LaidOutLine *> m_listItems;
};

// Plural and common endings off: "entries" -> "entry", "monitoring" -> "monitor", and a silent e,
// so that "browse" meets "browser" and "store" meets "stored".
QString stemOf(const QString &word)
{
    QString stem = WordEvidence::stem(word);
    for (const QLatin1String suffix : {QLatin1String("ing"), QLatin1String("ed"), QLatin1String("er")}) {
        if (stem.endsWith(suffix) && stem.size() - suffix.size() >= minStemLength) {
            stem.chop(suffix.size());
            break;
        }
    }
    if (stem.endsWith(u'e') && stem.size() - 1 >= minStemLength)
        stem.chop(1);
    return stem;
}

bool isAbbreviation(const QString &shorter, const QString &longer)
{
    return shorter.size() >= minAbbreviationLength &&
           longer.size() - shorter.size() >= minAbbreviatedSavings && longer.startsWith(shorter) &&
           !SlugGenerator::isAllDigits(shorter) && EnglishWords::isAvailable() &&
           !EnglishWords::contains(shorter);
}

} // namespace

namespace WordRanking {

const std::array<const char *, featureCount> &featureNames()
{
    return names;
}

QList<Candidate> candidates(const ScreenLayout &layout, const CaptureContext &context,
                            ScreenshotCategory category, const WindowTitle::Identity &identity)
{
    CandidateBuilder builder(layout);
    builder.addWindowWords(WindowTitle::words(context, identity), Feature::WindowTitle);
    for (const LaidOutLine &line : layout.lines())
        builder.addLine(line);
    if (const auto &item = layout.selectedSidebarItem())
        builder.mark(SlugGenerator::words(*item), Feature::SelectedItem);
    if (const auto app = appKeyword(context.appName))
        builder.addWindowWords({*app}, Feature::AppName);
    return builder.finish(WordEvidence(layout.lines()), category);
}

QStringList chosen(const QList<Candidate> &candidates)
{
    QList<qsizetype> order(candidates.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return candidates[a].score > candidates[b].score;
    });
    QList<qsizetype> taken;
    for (const qsizetype index : std::as_const(order)) {
        const Candidate &candidate = candidates[index];
        if (taken.size() == NamingWeights::maxWords)
            break;
        const double best = candidates[order.first()].score;
        if (taken.size() >= minWords && (candidate.score < NamingWeights::wordThreshold ||
                                         candidate.score < best - NamingWeights::wordGap))
            break;
        const bool repeats = std::any_of(taken.begin(), taken.end(), [&](qsizetype other) {
            return candidate.sameIdea.contains(other);
        });
        if (!repeats)
            taken.append(index);
    }
    QStringList words;
    for (const qsizetype index : std::as_const(taken))
        words.append(candidates[index].word);
    return words;
}

bool isSameIdea(const QString &a, const QString &b)
{
    if (a == b || stemOf(a) == stemOf(b))
        return true;
    return a.size() < b.size() ? isAbbreviation(a, b) : isAbbreviation(b, a);
}

bool isInterfaceNoise(const QString &word)
{
    return interfaceNoise().contains(word);
}

} // namespace WordRanking
