// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CategoryClassifier.h"

#include "core/TextScanning.h"
#include "naming/NamingWeights.h"
#include "naming/SlugGenerator.h"
#include "naming/WordEvidence.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

constexpr int maximumKeywordCount = 2;
constexpr int maximumCurrencyCount = 10;
constexpr int maximumCodeSymbolCount = 10;
constexpr int maximumFileCount = 10;
// An application known for a category counts as this many of its words. The corpus has too few
// screenshots with their application to fit a weight of its own.
constexpr int appHintHits = 3;
// After the keyword hits of the six categories.
constexpr std::size_t currencyFeature = 6;
constexpr std::size_t codeSymbolFeature = 7;
constexpr std::size_t sourceFileFeature = 8;
constexpr std::size_t documentFileFeature = 9;
constexpr std::size_t lineFeature = 10;
constexpr std::size_t firstShapeFeature = 11;
constexpr int maximumShapeCount = 10;

constexpr std::array<const char *, CategoryClassifier::featureCount> names{
    "receiptsWords",   "codeWords",   "designWords", "chatsWords",    "webWords",     "otherWords",
    "currencyAmounts", "codeSymbols", "sourceFiles", "documentFiles", "lines",        "clockTimes",
    "logTimes",        "proseLines",  "identifiers", "paths",         "webAddresses", "measurements"};

constexpr bool sameNames()
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::string_view(names[i]) != std::string_view(NamingWeights::categoryFeatureNames[i]))
            return false;
    }
    return true;
}
static_assert(NamingWeights::categoryFeatureNames.size() == CategoryClassifier::featureCount && sameNames(),
              "NamingWeights.h was fitted to other features: run tools/fit-naming-weights.py");

// Counts matches, each next search starting one character after the previous match's start.
int overlappingCount(QStringView haystack, QStringView needle, int limit)
{
    int count = 0;
    qsizetype from = 0;
    while (count < limit) {
        const qsizetype at = haystack.indexOf(needle, from);
        if (at < 0)
            break;
        ++count;
        from = at + 1;
    }
    return count;
}

// The text's words, each in its singular form, between spaces: "Dashboards" matches "dashboard".
QString spacedWords(QStringView text)
{
    QStringList words = SlugGenerator::words(text);
    for (QString &word : words)
        word = WordEvidence::stem(word);
    return u' ' + words.join(u' ') + u' ';
}

// What screenshots of each kind say besides the routing rule's keywords, from Linux applications and
// web apps: shops and bookkeeping, terminals and logs, design tools and settings, mail and chat,
// documentation, dashboards (and their graphs' legends), feed readers, market pages and search engines,
// and for Other the players, game launchers, readers, maps and monitors that had no evidence at all.
const QStringList &vocabulary(ScreenshotCategory category)
{
    static const std::array<QStringList, 6> words{
        QStringList{"shipped",  "shipping",   "shipment", "delivery",    "tracking", "cart",      "price",
                    "due",      "balance",    "expenses", "expense",     "income",   "revenue",   "sales",
                    "cashflow", "accounting", "ledger",   "profit",      "customer", "customers", "quantity",
                    "qty",      "unpaid",     "overdue",  "settled",     "bank",     "budget",    "savings",
                    "deposit",  "withdrawal", "spending", "transactions"},
        QStringList{"logs",         "syslog",    "stderr",    "stdout",      "warning",    "console",
                    "shell",        "bash",      "zsh",       "src",         "cargo",      "rust",
                    "rs",           "cpp",       "py",        "js",          "ts",         "tsx",
                    "html",         "yaml",      "toml",      "makefile",    "cmake",      "repository",
                    "diff",         "staged",    "lint",      "eslint",      "compiler",   "vim",
                    "nano",         "emacs",     "ssh",       "kubectl",     "pods",       "fileManager",
                    "autocomplete", "sql",       "query",     "database",    "schema",     "postgres",
                    "mysql",        "sqlite",    "namespace", "deployments", "containers", "cluster",
                    "pipeline",     "changelog", "stacktrace"},
        QStringList{"uml",       "diagram", "canvas",     "layers",    "prototype", "inspect", "fill",
                    "stroke",    "opacity", "align",      "vector",    "shape",     "shapes",  "gradient",
                    "theme",     "themes",  "appearance", "wallpaper", "accent",    "style",   "styles",
                    "wireframe", "px",      "hex",        "rgb",       "picker",    "swatch",  "brush"},
        QStringList{"irc",          "dm",         "members",     "joined",       "mentions",
                    "markdown",     "md",         "paragraph",   "mailbox",      "mailboxes",
                    "unsubscribe",  "attachment", "attachments", "conversation", "conversations",
                    "group",        "contacts",   "channels",    "replies",      "direct messages",
                    "participants", "mute",       "room",        "rooms",        "outline",
                    "heading",      "headings",   "words",       "characters",   "report"},
        QStringList{"documentation",   "getting started",  "installation", "guide",     "tutorial",
                    "pricing",         "features",         "feed",         "feeds",     "rss",
                    "visitors",        "pageviews",        "referrers",    "traffic",   "sign up",
                    "privacy",         "newsletter",       "homepage",     "website",   "browser",
                    "metrics",         "monitoring",       "markets",      "stocks",    "crypto",
                    "people also ask", "dashboard",        "panels",       "sessions",  "bounce",
                    "devices",         "countries",        "browsers",     "endpoints", "unread",
                    "articles",        "starred",          "bookmarks",    "tags",      "subscriptions",
                    "mark as read",    "mark all as read", "favourites",   "favorites", "avg"},
        QStringList{
            "weather",   "forecast",     "temperature", "humidity",    "wind",    "sunrise", "sunset",
            "celsius",   "fahrenheit",   "playlist",    "album",       "albums",  "artist",  "song",
            "songs",     "track",        "tracks",      "podcast",     "radio",   "music",   "game",
            "games",     "achievements", "chapter",     "chapters",    "ebook",   "preface", "prologue",
            "epilogue",  "foreword",     "dedication",  "annotations", "reading", "map",     "maps",
            "route",     "directions",   "processes",   "processor",   "gpu",     "cpu",     "swap",
            "uptime",    "battery",      "calendar",    "photos",      "movie",   "folder",  "folders",
            "downloads", "passwords",    "vault",       "turn",        "units",   "player",  "score",
            "level",     "steam",        "lutris",      "heroic",      "gog",     "proton",  "wine"},
    };
    return words[static_cast<std::size_t>(category)];
}

int keywordScore(const QString &haystack, const QStringList &keywords)
{
    QSet<QString> needles;
    for (const QString &keyword : keywords)
        needles.insert(spacedWords(keyword));
    int score = 0;
    for (const QString &needle : std::as_const(needles)) {
        if (needle.size() >= 3)
            score += overlappingCount(haystack, needle, maximumKeywordCount);
    }
    return score;
}

bool isCurrencySign(QChar c)
{
    return c == u'$' || c == u'\u20AC' || c == u'\u00A3' || c == u'\u00A5';
}

// A currency sign, at most one whitespace character, then a digit.
int currencyAmountCount(QStringView text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size() && count < maximumCurrencyCount; ++i) {
        if (!isCurrencySign(text[i]))
            continue;
        qsizetype next = i + 1;
        if (next < text.size() && text[next].isSpace())
            ++next;
        if (next < text.size() && text[next].isDigit())
            ++count;
    }
    return count;
}

int codeSymbolCount(QStringView text)
{
    static const std::array<QString, 9> symbols{"{", "};", "=>", "->", "();", "!=", "==", "#include", "</"};
    int count = 0;
    for (const QString &symbol : symbols)
        count += overlappingCount(text, symbol, maximumCodeSymbolCount - count);
    return std::min(count, maximumCodeSymbolCount);
}

// File names by what their extension says they hold: source code, or prose and documents.
std::pair<int, int> fileCounts(const QString &text)
{
    static const QRegularExpression file = TextScanning::pattern(R"((?<=\w)\.([A-Za-z][A-Za-z0-9+]{0,4})\b)");
    static const QSet<QString> source =
        TextScanning::wordSet({"c",   "h",   "cc",   "cpp",  "hpp", "cxx",  "rs",   "go", "py",    "js",
                               "ts",  "tsx", "jsx",  "java", "kt",  "rb",   "php",  "cs", "swift", "vala",
                               "lua", "sh",  "toml", "yaml", "yml", "json", "lock", "mk", "cmake", "sql"});
    static const QSet<QString> document =
        TextScanning::wordSet({"txt", "md", "odt", "doc", "docx", "pdf", "rtf", "org", "tex", "epub", "rst"});
    int sources = 0;
    int documents = 0;
    for (auto match = file.globalMatch(text); match.hasNext();) {
        const QString extension = match.next().captured(1).toLower();
        sources += source.contains(extension) ? 1 : 0;
        documents += document.contains(extension) ? 1 : 0;
    }
    return {std::min(sources, maximumFileCount), std::min(documents, maximumFileCount)};
}

// Shapes of lines that tell kinds of screens apart: times of messages and mails, times of log lines,
// sentences, code identifiers, paths, web addresses, measurements (weather, system monitors).
const std::array<QRegularExpression, 7> &shapePatterns()
{
    using TextScanning::pattern;
    static const std::array<QRegularExpression, 7> patterns{
        pattern(R"((?<![:\d])\d{1,2}:\d{2}(?![:\d]))"),
        pattern(R"(\b\d{2}:\d{2}:\d{2}\b)"),
        pattern(R"(^(\S+\s+){7,}\S*[.!?]["')]?$)"),
        pattern(R"(\b[a-z]+[A-Z_]\w*\s*\(|\b[a-z]+_[a-z_]+\b|\w\(\))"),
        pattern(R"((^|\s)(~|\.{1,2})?/[\w.-]+/)"),
        pattern(R"(\bhttps?://|\bwww\.|\b[\w-]+\.(com|org|net|io|dev|app)\b)"),
        pattern(R"(\d\s?(°|%|km/h|mph|[KMGT]i?B|[KMG]?Hz)(?!\w))"),
    };
    return patterns;
}

// The single words of a category's vocabulary and default keywords.
const QSet<QString> &categoryWords(ScreenshotCategory category)
{
    static const std::array<QSet<QString>, 6> sets = [] {
        std::array<QSet<QString>, 6> result;
        for (auto each : allScreenshotCategories) {
            for (const QString &keyword : vocabulary(each) + defaultKeywords(each)) {
                if (!keyword.contains(u' '))
                    result[std::size_t(each)].insert(keyword.toLower());
            }
        }
        return result;
    }();
    return sets[std::size_t(category)];
}

} // namespace

namespace CategoryClassifier {

const std::array<const char *, featureCount> &featureNames()
{
    return names;
}

Features features(const QString &text, const std::optional<QString> &appName,
                  const std::optional<QString> &appId, const RoutingConfiguration &configuration)
{
    const QString haystack = spacedWords(text);
    QStringList appParts;
    for (const auto &part : {appName, appId}) {
        if (part)
            appParts.append(part->toLower());
    }
    const QString appText = appParts.join(u' ');
    Features result{};
    for (auto category : allScreenshotCategories) {
        const auto index = std::size_t(category);
        int hits = keywordScore(haystack, vocabulary(category));
        if (category != ScreenshotCategory::Other)
            hits += keywordScore(haystack, configuration.rule(category).keywords());
        const QStringList &hints = appHints(category);
        if (!appText.isEmpty() && std::any_of(hints.begin(), hints.end(), [&](const QString &hint) {
                return appText.contains(hint);
            }))
            hits += appHintHits;
        result[index] = std::log1p(hits);
    }
    const auto [sources, documents] = fileCounts(text);
    result[currencyFeature] = std::log1p(currencyAmountCount(text));
    result[codeSymbolFeature] = std::log1p(codeSymbolCount(text));
    result[sourceFileFeature] = std::log1p(sources);
    result[documentFileFeature] = std::log1p(documents);
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    result[lineFeature] = std::log1p(double(lines.size()));
    for (std::size_t shape = 0; shape < shapePatterns().size(); ++shape) {
        int count = 0;
        for (auto line = lines.begin(); line != lines.end() && count < maximumShapeCount; ++line)
            count += shapePatterns()[shape].match(*line).hasMatch() ? 1 : 0;
        result[firstShapeFeature + shape] = std::log1p(count);
    }
    return result;
}

ScreenshotCategory classify(const QString &text, const std::optional<QString> &appName,
                            const std::optional<QString> &appId, const RoutingConfiguration &configuration)
{
    const Features x = features(text, appName, appId, configuration);
    // Without a word, shape or application to go by, no bias may pick a category: the screen is Other.
    bool evidence = false;
    for (std::size_t i = 0; i < featureCount; ++i)
        evidence = evidence || (i != lineFeature && x[i] != 0);
    if (!evidence)
        return ScreenshotCategory::Other;
    ScreenshotCategory best = ScreenshotCategory::Other;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (auto category : allScreenshotCategories) {
        const auto &weights = NamingWeights::category[std::size_t(category)];
        double score = NamingWeights::categoryBias[std::size_t(category)];
        for (std::size_t i = 0; i < featureCount; ++i)
            score += weights[i] * x[i];
        if (score > bestScore) {
            best = category;
            bestScore = score;
        }
    }
    return best;
}

bool isCategoryWord(const QString &word, ScreenshotCategory category)
{
    return categoryWords(category).contains(word);
}

} // namespace CategoryClassifier
