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

int keywordScore(const QString &haystack, const CategoryRule &rule)
{
    int score = 0;
    for (const QString &keyword : rule.keywords()) {
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
        if (category == ScreenshotCategory::Other)
            continue;
        int score = keywordScore(haystack, configuration.rule(category));
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
