// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringView>

#include <initializer_list>

// Small text helpers shared by the settings, layout, artifact and heuristic rules.
namespace TextScanning {

// The code point starting at `i`, or the lone surrogate itself; `i` must be in range.
char32_t codePointAt(QStringView text, qsizetype i);
// The code point ending just before `end`; `end` must be above 0.
char32_t codePointBefore(QStringView text, qsizetype end);
inline qsizetype codePointLength(char32_t c)
{
    return c > 0xFFFF ? 2 : 1;
}

// The text without the code points at either end for which `trim` is true.
template <typename Predicate> QStringView trimmed(QStringView text, Predicate trim)
{
    while (!text.isEmpty()) {
        const char32_t c = codePointAt(text, 0);
        if (!trim(c))
            break;
        text = text.sliced(codePointLength(c));
    }
    while (!text.isEmpty()) {
        const char32_t c = codePointBefore(text, text.size());
        if (!trim(c))
            break;
        text.chop(codePointLength(c));
    }
    return text;
}

// Spaces and tabs, not line breaks.
bool isHorizontalSpace(char32_t c);
QStringView trimmedHorizontally(QStringView text);

// The pieces between runs of whitespace (line breaks included); none is empty.
QList<QStringView> whitespaceSeparated(QStringView text);

// A fixed pattern with Unicode \d, \s, \w and \b, compiled at once so that threads sharing the
// constant only read it. Callers keep the result in a function-local static.
QRegularExpression pattern(const char *text, QRegularExpression::PatternOptions options = {});

// A fixed word list as a set.
QSet<QString> wordSet(std::initializer_list<const char *> words);

// Text from outside (a file name, a model's answer) made safe to print on one line: line breaks,
// other control characters, bidirectional controls, backslashes and bytes that are not UTF-8 are
// written as escapes.
QString escaped(const QByteArray &utf8);
// The same for a whole message that may already hold escapes: control and bidirectional characters
// are escaped, backslashes are left as they are. A log line made of it is one line that reads in order.
QString withoutControls(const QString &text);
// A path or file name as the file system spells it, escaped the same way.
QString escapedPath(const QString &path);

// Text shown where "&" marks a keyboard shortcut (menus, buttons), with every "&" shown as itself.
QString escapedMnemonics(QString text);
// The same in double quotes, with the quotes inside escaped, for a log line.
QString quoted(const QString &text);

} // namespace TextScanning
