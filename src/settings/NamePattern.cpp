// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/NamePattern.h"

#include <QRegularExpression>

namespace {

const QString digits2 = QStringLiteral("\\d{2}");
const QString digits4 = QStringLiteral("\\d{4}");
const QString oneOrTwo = QStringLiteral("\\d{1,2}");
const QString word = QStringLiteral("\\S+?");
const QString anything = QStringLiteral(".+?");

QString wrapped(const QString &body)
{
    // Folders in a template (Spectacle allows them) put the file below the watched folder: the name
    // is what follows the last slash.
    return QStringLiteral("^%1(?:(?: - |[-_ ])\\d+|\\(\\d+\\))?\\.[a-z0-9]{2,4}$").arg(body);
}

QString strftimeField(QChar field)
{
    switch (field.unicode()) {
    case 'Y':
    case 'G':
        return digits4;
    case 'y':
    case 'm':
    case 'd':
    case 'H':
    case 'I':
    case 'M':
    case 'S':
    case 'C':
    case 'U':
    case 'W':
    case 'V':
        return digits2;
    case 'e':
    case 'k':
    case 'l':
        return QStringLiteral("[ \\d]\\d");
    case 'j':
        return QStringLiteral("\\d{3}");
    case 'F':
        return QStringLiteral("\\d{4}-\\d{2}-\\d{2}");
    case 'T':
        return QStringLiteral("\\d{2}[:-]\\d{2}[:-]\\d{2}");
    case 'R':
        return QStringLiteral("\\d{2}[:-]\\d{2}");
    case 's':
    case 'u':
    case 'w':
        return QStringLiteral("\\d+");
    case '%':
        return QStringLiteral("%");
    case 'b':
    case 'B':
    case 'a':
    case 'A':
    case 'h':
    case 'p':
    case 'P':
        return word;
    default:
        return anything;
    }
}

QString spectacleClassicField(QChar field)
{
    switch (field.unicode()) {
    case 'Y':
        return digits4;
    case 'y':
    case 'M':
    case 'D':
    case 'H':
    case 'm':
    case 'S':
        return digits2;
    case 'n':
    case 'N':
        return word;
    case 'd':
        return QStringLiteral("\\d+");
    default:
        return anything; // %T, the window title
    }
}

QString spectacleTag(const QString &tag)
{
    static const QHash<QString, QString> tags{
        {QStringLiteral("yyyy"), digits4},
        {QStringLiteral("yy"), digits2},
        {QStringLiteral("MM"), digits2},
        {QStringLiteral("dd"), digits2},
        {QStringLiteral("HH"), digits2},
        {QStringLiteral("hh"), digits2},
        {QStringLiteral("mm"), digits2},
        {QStringLiteral("ss"), digits2},
        {QStringLiteral("M"), oneOrTwo},
        {QStringLiteral("d"), oneOrTwo},
        {QStringLiteral("H"), oneOrTwo},
        {QStringLiteral("h"), oneOrTwo},
        {QStringLiteral("MMM"), word},
        {QStringLiteral("MMMM"), word},
        {QStringLiteral("ddd"), word},
        {QStringLiteral("dddd"), word},
        {QStringLiteral("UnixTime"), QStringLiteral("\\d+")},
    };
    if (tag.startsWith(u'#'))
        return QStringLiteral("\\d+");
    return tags.value(tag, anything);
}

QString ksnipField(QChar field)
{
    switch (field.unicode()) {
    case 'Y':
        return digits4;
    case 'M':
    case 'D':
    case 'h':
    case 'm':
    case 's':
        return digits2;
    case 'T':
        return QStringLiteral("\\d{6}");
    default:
        return anything;
    }
}

// Fixed text escaped, each placeholder (a marker and the character after it) replaced by `field`.
template <typename Field> QString compiled(QStringView text, QChar marker, Field field)
{
    QString pattern;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == marker && i + 1 < text.size()) {
            pattern += field(text[++i]);
            continue;
        }
        // Flameshot writes ':' as '-' in file names.
        pattern += text[i] == u':' ? QStringLiteral("[:-]") : QRegularExpression::escape(text[i]);
    }
    return pattern;
}

QString compiledTags(QStringView text)
{
    QString pattern;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype close = text[i] == u'<' ? text.indexOf(u'>', i) : -1;
        if (close > i) {
            pattern += spectacleTag(text.mid(i + 1, close - i - 1).toString());
            i = close + 1;
        } else {
            pattern += QRegularExpression::escape(text[i]);
            ++i;
        }
    }
    return pattern;
}

QString compiledKsnip(QStringView text)
{
    QString pattern;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'$' && i + 1 < text.size()) {
            pattern += ksnipField(text[++i]);
        } else if (text[i] == u'#') {
            while (i + 1 < text.size() && text[i + 1] == u'#')
                ++i;
            pattern += QStringLiteral("\\d+");
        } else {
            pattern += QRegularExpression::escape(text[i]);
        }
    }
    return pattern;
}

QStringView lastComponent(const QString &nameTemplate)
{
    return QStringView(nameTemplate).mid(nameTemplate.lastIndexOf(u'/') + 1);
}

} // namespace

namespace NamePattern {

QString fromTemplate(const QString &nameTemplate, Syntax syntax)
{
    const QStringView name = lastComponent(nameTemplate.trimmed());
    switch (syntax) {
    case Syntax::Strftime:
        return wrapped(compiled(name, u'%', strftimeField));
    case Syntax::SpectacleClassic:
        return wrapped(compiled(name, u'%', spectacleClassicField));
    case Syntax::SpectacleTags:
        return wrapped(compiledTags(name));
    case Syntax::Ksnip:
        return wrapped(compiledKsnip(name));
    }
    return {};
}

QString fromMessage(const QString &message, const QString &dateFormat)
{
    QString text = message;
    // The extension is the wrapper's; a message that ends with it has it removed.
    static const QRegularExpression extension(QStringLiteral("\\.(?:%s|png)$"));
    text.remove(extension);
    const QString date = compiled(dateFormat, u'%', strftimeField);
    QString pattern;
    bool dateDone = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && (text[i + 1] == u's' || text[i + 1] == u'd')) {
            const bool isDate = text[i + 1] == u's' && !dateDone;
            pattern += isDate ? date : QStringLiteral("\\w+");
            dateDone = dateDone || isDate;
            ++i;
        } else {
            pattern += QRegularExpression::escape(text[i]);
        }
    }
    return wrapped(pattern);
}

QString fromExpression(const QString &expression)
{
    return wrapped(expression);
}

} // namespace NamePattern
