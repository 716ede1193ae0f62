// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

// The word model every naming path shares. Words are non-empty runs of a-z and 0-9; a slug is 1 to 5
// of them joined by hyphens. Pure functions, safe on any thread; the word sets are built on first use.
namespace SlugGenerator {

// A slug holds at most this many words, each of 2 to 24 characters.
inline constexpr qsizetype maxWords = 5;
inline constexpr qsizetype minWordLength = 2;
inline constexpr qsizetype maxWordLength = 24;

// Folds text (compatibility decomposition, marks dropped, lower case, a few Latin letters spelled out)
// and cuts it into words in text order. Apostrophes vanish without ending a word: "don't" -> "dont".
QStringList words(QStringView text);

// Machine noise: hex strings of 8+ characters with a digit (hashes), sizes like "512kb", "v2".
bool isNoiseToken(const QString &word);

bool hasWordLength(QStringView word);

// Words are ASCII, so a digit is 0-9; an empty word is not all digits.
bool isAllDigits(QStringView word);

// The test every slug word passes: its length, not a stop word unless in `preserving`, a number of
// at most 4 digits (a year, not a date), no noise token.
bool isSlugWord(const QString &word, const QSet<QString> &preserving = {});

// Takes up to 5 acceptable candidates in order; words in `preserving` pass the stop-word test.
// Never empty: no word gives "screen-capture", one word gets "-screenshot" appended.
QString slug(const QStringList &candidates, const QSet<QString> &preserving = {});

// Words too common to name anything (92 of them).
const QSet<QString> &stopWords();

// The stop words that describe the file itself ("screenshot", "image", ...); callers may keep them.
const QSet<QString> &fileDescriptionWords();

} // namespace SlugGenerator
