#include "settings/TextScanning.h"

#include <QChar>

namespace TextScanning {

char32_t codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

char32_t codePointBefore(QStringView text, qsizetype end)
{
    const QChar c = text[end - 1];
    if (c.isLowSurrogate() && end >= 2 && text[end - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[end - 2], c);
    return c.unicode();
}

QRegularExpression pattern(const char *text, QRegularExpression::PatternOptions options)
{
    QRegularExpression expression(QString::fromLatin1(text),
                                  options | QRegularExpression::UseUnicodePropertiesOption);
    expression.optimize();
    return expression;
}

bool isHorizontalSpace(char32_t c)
{
    return c == U'\t' || QChar::category(c) == QChar::Separator_Space;
}

QStringView trimmedHorizontally(QStringView text)
{
    return trimmed(text, isHorizontalSpace);
}

QList<QStringView> whitespaceSeparated(QStringView text)
{
    QList<QStringView> pieces;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool atSpace = i == text.size() || text[i].isSpace();
        if (atSpace && start >= 0) {
            pieces.append(text.sliced(start, i - start));
            start = -1;
        } else if (!atSpace && start < 0) {
            start = i;
        }
    }
    return pieces;
}

QSet<QString> wordSet(std::initializer_list<const char *> words)
{
    QSet<QString> set;
    set.reserve(qsizetype(words.size()));
    for (const char *word : words)
        set.insert(QString::fromUtf8(word));
    return set;
}

} // namespace TextScanning
