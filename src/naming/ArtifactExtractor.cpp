// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ArtifactExtractor.h"

#include "core/TextScanning.h"
#include "naming/SlugGenerator.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr qsizetype maxGroupWords = 3;
constexpr qsizetype maxMarkerNameTokens = 3;
constexpr qsizetype minOwnerLength = 3;

const QSet<QString> &fileExtensions()
{
    static const QSet<QString> extensions =
        TextScanning::wordSet({"dmg",  "pkg",  "zip",  "pdf",    "app",  "swift", "key", "pages", "numbers",
                               "docx", "xlsx", "pptx", "csv",    "json", "md",    "txt", "py",    "js",
                               "ts",   "tsx",  "html", "sketch", "fig",  "psd",   "mov", "mp4"});
    return extensions;
}

// Words that never name a project on their own.
const QSet<QString> &genericStems()
{
    static const QSet<QString> stems =
        TextScanning::wordSet({"img", "image", "screenshot", "screen", "untitled", "document", "file",
                               "download", "copy", "final", "preview", "export", "scan"});
    return stems;
}

using TextScanning::pattern;

// A pull request, a version, a spelled-out pull request: the name before it is a project.
const std::array<QRegularExpression, 3> &markerPatterns()
{
    static const std::array<QRegularExpression, 3> patterns{
        pattern(R"(\bPR\s*#\d+)", QRegularExpression::CaseInsensitiveOption),
        pattern(R"(\bv\d+(\.\d+)+\b)", QRegularExpression::CaseInsensitiveOption),
        pattern(R"(\bpull\s+request\s+#\d+)", QRegularExpression::CaseInsensitiveOption),
    };
    return patterns;
}

// The look-around keeps matches out of longer paths and web addresses ("a/b/c" gives none).
const QRegularExpression &repositoryPattern()
{
    static const QRegularExpression expression =
        pattern(R"((?<![\w/.])([A-Za-z0-9][A-Za-z0-9-]{1,38})/([A-Za-z0-9][A-Za-z0-9._-]{2,99})(?![\w/]))");
    return expression;
}

const QRegularExpression &versionNumberPattern()
{
    static const QRegularExpression expression =
        pattern(R"(^v?\d+$)", QRegularExpression::CaseInsensitiveOption);
    return expression;
}

bool isOneOf(char32_t c, std::u32string_view set)
{
    return set.find(c) != std::u32string_view::npos;
}

bool containsLetter(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = TextScanning::codePointAt(text, i);
        if (QChar::isLetter(c))
            return true;
        i += TextScanning::codePointLength(c);
    }
    return false;
}

bool containsUpper(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.isUpper();
    });
}

// Camel case split first, so "StarChart" gives star and chart.
QStringList wordsOf(QStringView text, qsizetype minLength)
{
    QStringList words = SlugGenerator::words(ArtifactExtractor::splitCamelCase(text));
    words.removeIf([minLength](const QString &word) {
        return word.size() < minLength;
    });
    return words;
}

std::optional<QStringList> fileNameGroup(const QList<QStringView> &tokens, qsizetype i)
{
    const QStringView token = TextScanning::trimmed(tokens[i], [](char32_t c) {
        return isOneOf(c, U"()[]{},;:\"'");
    });
    const qsizetype dot = token.lastIndexOf(u'.');
    if (dot < 0 || !fileExtensions().contains(token.sliced(dot + 1).toString().toLower()))
        return std::nullopt;
    const auto trimDots = [](QStringView text) {
        return TextScanning::trimmed(text, [](char32_t c) {
            return c == U'.' || c == U'…';
        });
    };
    QStringView stem = trimDots(token.first(dot));
    // "Quarterly Report .pdf": the stem was split off by a space.
    if (stem.isEmpty() && i > 0)
        stem = trimDots(tokens[i - 1]);
    return ArtifactExtractor::projectWords(stem);
}

// Capitalised letters, digits and hyphens only: "StarChart", "Web", "X-Ray2".
bool isNamePart(QStringView token)
{
    if (token.isEmpty() || !QChar::isUpper(TextScanning::codePointAt(token, 0)))
        return false;
    for (qsizetype i = 0; i < token.size();) {
        const char32_t c = TextScanning::codePointAt(token, i);
        if (!QChar::isLetter(c) && !QChar::isDigit(c) && c != U'-')
            return false;
        i += TextScanning::codePointLength(c);
    }
    return true;
}

QStringList nameBefore(QStringView text)
{
    const QList<QStringView> tokens = TextScanning::whitespaceSeparated(text);
    qsizetype first = tokens.size();
    while (first > 0 && tokens.size() - first < maxMarkerNameTokens && isNamePart(tokens[first - 1]))
        --first;
    QStringList words;
    for (qsizetype i = first; i < tokens.size(); ++i)
        words += wordsOf(tokens[i], 2);
    words.removeAll(QStringLiteral("pr"));
    return words;
}

bool isProjectPart(QStringView part, const QStringList &words)
{
    if (!containsLetter(part) || words.isEmpty())
        return false;
    const bool namesSomething = std::any_of(words.begin(), words.end(), [](const QString &word) {
        return !genericStems().contains(word);
    });
    return namesSomething && !versionNumberPattern().match(part).hasMatch();
}

} // namespace

namespace ArtifactExtractor {

QList<QStringList> names(const QString &text)
{
    QList<QStringList> groups = fileNames(text) + namesBeforeMarkers(text) + repositoryNames(text);
    groups.removeIf([](const QStringList &group) {
        return group.isEmpty();
    });
    return groups;
}

QList<QStringList> fileNames(QStringView text)
{
    const QList<QStringView> tokens = TextScanning::whitespaceSeparated(text);
    QList<QStringList> groups;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (auto group = fileNameGroup(tokens, i))
            groups.append(*group);
    }
    return groups;
}

QList<QStringList> namesBeforeMarkers(const QString &text)
{
    QList<QStringList> groups;
    for (const QRegularExpression &marker : markerPatterns()) {
        if (!marker.isValid())
            continue;
        for (auto matches = marker.globalMatch(text); matches.hasNext();) {
            const QStringList words = nameBefore(QStringView(text).first(matches.next().capturedStart()));
            if (!words.isEmpty())
                groups.append(words);
        }
    }
    return groups;
}

QList<QStringList> repositoryNames(const QString &text)
{
    QList<QStringList> groups;
    if (!repositoryPattern().isValid())
        return groups;
    for (auto matches = repositoryPattern().globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const QStringView owner = match.capturedView(1);
        const QStringView repository = match.capturedView(2);
        if (owner.size() < minOwnerLength || !containsLetter(owner) || !containsLetter(repository))
            continue;
        // Plain prose such as "input/output" has neither hyphens nor capitals.
        if (!owner.contains(u'-') && !repository.contains(u'-') && !containsUpper(owner))
            continue;
        const QStringList words = wordsOf(repository, 2).mid(0, maxGroupWords);
        if (!words.isEmpty())
            groups.append(words);
    }
    return groups;
}

std::optional<QStringList> projectWords(QStringView fileStem)
{
    qsizetype start = 0;
    for (qsizetype end = 0; end <= fileStem.size(); ++end) {
        if (end < fileStem.size() && !isOneOf(fileStem[end].unicode(), U"-_. "))
            continue;
        const QStringView part = fileStem.sliced(start, end - start);
        start = end + 1;
        const QStringList words = wordsOf(part, 2);
        if (!part.isEmpty() && isProjectPart(part, words))
            return words.mid(0, maxGroupWords);
    }
    return std::nullopt;
}

QString splitCamelCase(QStringView text)
{
    QString result;
    result.reserve(text.size() + text.size() / 4);
    bool afterLower = false;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = TextScanning::codePointAt(text, i);
        const qsizetype length = TextScanning::codePointLength(c);
        if (afterLower && QChar::isUpper(c))
            result.append(u' ');
        result.append(text.sliced(i, length));
        // A combining accent belongs to the letter before it.
        if (QChar::category(c) != QChar::Mark_NonSpacing)
            afterLower = QChar::isLower(c);
        i += length;
    }
    return result;
}

} // namespace ArtifactExtractor
