// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CategoryClassifier.h"

#include "naming/SlugGenerator.h"

#include <algorithm>
#include <array>

namespace {

constexpr int maximumKeywordCount = 2;
constexpr int appHintScore = 3;
constexpr int maximumCurrencyCount = 3;
constexpr int maximumCodeSymbolCount = 4;

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

QString spacedWords(QStringView text)
{
    return u' ' + SlugGenerator::words(text).join(u' ') + u' ';
}

// What screenshots of each kind say besides the routing rule's keywords, from Linux applications and
// web apps: shops and bookkeeping, terminals and logs, design tools and settings, mail and chat,
// documentation, dashboards, market pages and search engines, and for Other the players, games,
// readers, maps and monitors that had no evidence at all.
const QStringList &vocabulary(ScreenshotCategory category)
{
    static const std::array<QStringList, 6> words{
        QStringList{"shipped",  "shipping",   "shipment", "delivery", "tracking", "cart",      "price",
                    "due",      "balance",    "expenses", "expense",  "income",   "revenue",   "sales",
                    "cashflow", "accounting", "ledger",   "profit",   "customer", "customers", "quantity",
                    "qty",      "unpaid",     "overdue",  "settled",  "bank"},
        QStringList{"logs",        "syslog",      "stderr",     "stdout", "warning", "console", "shell",
                    "bash",        "zsh",         "src",        "cargo",  "rust",    "rs",      "cpp",
                    "py",          "js",          "ts",         "tsx",    "html",    "yaml",    "toml",
                    "makefile",    "cmake",       "repository", "diff",   "staged",  "lint",    "eslint",
                    "compiler",    "vim",         "nano",       "emacs",  "ssh",     "kubectl", "pods",
                    "fileManager", "autocomplete"},
        QStringList{"uml",       "diagram", "canvas",     "layers",    "prototype", "inspect", "fill",
                    "stroke",    "opacity", "align",      "vector",    "shape",     "shapes",  "gradient",
                    "theme",     "themes",  "appearance", "wallpaper", "accent",    "style",   "styles",
                    "wireframe", "px",      "hex",        "rgb",       "picker",    "swatch",  "brush"},
        QStringList{"irc",          "dm",         "members",     "joined",       "mentions",
                    "markdown",     "md",         "paragraph",   "mailbox",      "mailboxes",
                    "unsubscribe",  "attachment", "attachments", "conversation", "conversations",
                    "group",        "contacts",   "channels",    "replies",      "direct messages",
                    "participants", "mute"},
        QStringList{"documentation",  "getting started", "installation", "guide",   "tutorial",
                    "pricing",        "features",        "feed",         "feeds",   "rss",
                    "visitors",       "pageviews",       "referrers",    "traffic", "sign up",
                    "privacy",        "newsletter",      "homepage",     "website", "browser",
                    "metrics",        "monitoring",      "markets",      "stocks",  "crypto",
                    "people also ask"},
        QStringList{"weather",    "forecast",    "temperature", "humidity", "wind",         "sunrise",
                    "sunset",     "celsius",     "fahrenheit",  "playlist", "album",        "albums",
                    "artist",     "song",        "songs",       "track",    "tracks",       "podcast",
                    "radio",      "music",       "game",        "games",    "achievements", "chapter",
                    "chapters",   "ebook",       "preface",     "prologue", "epilogue",     "foreword",
                    "dedication", "annotations", "reading",     "map",      "maps",         "route",
                    "directions", "processes",   "processor",   "gpu",      "cpu",          "swap",
                    "uptime",     "battery",     "calendar",    "photos",   "movie"},
    };
    return words[static_cast<std::size_t>(category)];
}

int keywordScore(const QString &haystack, const QStringList &keywords)
{
    int score = 0;
    for (const QString &keyword : keywords) {
        const QString needle = spacedWords(keyword);
        if (needle.size() < 3)
            continue;
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

int symbolScore(ScreenshotCategory category, QStringView text)
{
    switch (category) {
    case ScreenshotCategory::Receipts:
        return currencyAmountCount(text);
    case ScreenshotCategory::Code:
        return codeSymbolCount(text);
    default:
        return 0;
    }
}

} // namespace

namespace CategoryClassifier {

ScreenshotCategory classify(const QString &text, const std::optional<QString> &appName,
                            const std::optional<QString> &appId, const RoutingConfiguration &configuration)
{
    const QString haystack = spacedWords(text);
    QStringList appParts;
    for (const auto &part : {appName, appId}) {
        if (part)
            appParts.append(part->toLower());
    }
    const QString appText = appParts.join(u' ');

    ScreenshotCategory best = ScreenshotCategory::Other;
    int bestScore = 0;
    for (auto category : allScreenshotCategories) {
        int score = keywordScore(haystack, vocabulary(category));
        if (category != ScreenshotCategory::Other)
            score += keywordScore(haystack, configuration.rule(category).keywords());
        if (!appText.isEmpty()) {
            const QStringList &hints = appHints(category);
            if (std::any_of(hints.begin(), hints.end(), [&](const QString &hint) {
                    return appText.contains(hint);
                }))
                score += appHintScore;
        }
        score += symbolScore(category, text);
        if (score > bestScore) {
            best = category;
            bestScore = score;
        }
    }
    return best;
}

} // namespace CategoryClassifier
