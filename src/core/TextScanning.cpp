// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextScanning.h"

#include <QChar>
#include <QFile>

namespace {

bool isBidiControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

// The length of the valid UTF-8 sequence starting at `i`, or 0.
int utf8Length(const QByteArray &bytes, qsizetype i, char32_t &codePoint)
{
    const auto byte = [&](qsizetype at) {
        return static_cast<unsigned char>(bytes[at]);
    };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

QString escapedText(const QByteArray &name, bool inQuotes)
{
    QString text;
    for (qsizetype i = 0; i < name.size();) {
        char32_t c = 0;
        const int length = utf8Length(name, i, c);
        if (length == 0) {
            text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(name[i]), 2, 16, QLatin1Char('0'));
            ++i;
            continue;
        }
        i += length;
        if (c == '\\' || (inQuotes && c == '"'))
            text += QStringLiteral("\\") + QChar(char16_t(c));
        else if (c == '\n')
            text += QStringLiteral("\\n");
        else if (c == '\t')
            text += QStringLiteral("\\t");
        else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            text += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (isBidiControl(c))
            text += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            text += QString::fromUcs4(&c, 1);
    }
    return text;
}

} // namespace

namespace TextScanning {

QString escaped(const QByteArray &utf8)
{
    return escapedText(utf8, false);
}

QString withoutControls(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = codePointAt(text, i);
        const qsizetype length = codePointLength(c);
        if (c == '\n')
            result += QStringLiteral("\\n");
        else if (c == '\t')
            result += QStringLiteral("\\t");
        else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            result += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (isBidiControl(c))
            result += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            result += text.mid(i, length);
        i += length - 1;
    }
    return result;
}

QString escapedMnemonics(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

QString escapedPath(const QString &path)
{
    return escapedText(QFile::encodeName(path), false);
}

QString quoted(const QString &text)
{
    return u'"' + escapedText(text.toUtf8(), true) + u'"';
}

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
