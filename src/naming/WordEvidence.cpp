// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/WordEvidence.h"

#include "core/TextScanning.h"
#include "naming/ArtifactExtractor.h"
#include "naming/EnglishWords.h"
#include "naming/SlugGenerator.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// On the corpus, dictionary words below 0.5 were mostly misreadings of other words, and words no
// dictionary knows below 0.85 mostly specks and cut-off identifiers ("nnnnnnnn", "estled").
constexpr float minDictionaryConfidence = 0.5f;
constexpr float minNameConfidence = 0.85f;
constexpr qsizetype minFolderNameLength = 3;
constexpr qsizetype minDotsLength = 3;
constexpr qsizetype minUnknownWordLength = 3;

// Capitalised ("Mailpit") or mixed case ("FreshRSS", "iPhone").
bool isNameLike(QStringView token)
{
    bool sawLower = false;
    bool first = true;
    for (const QChar c : token) {
        if (!c.isLetter())
            continue;
        if (c.isUpper() && (first || sawLower))
            return true;
        sawLower = sawLower || c.isLower();
        first = false;
    }
    return false;
}

bool isVowel(QChar c)
{
    return QStringView(u"aeiouy").contains(c);
}

// Window buttons, bullets and dots read as "eee", "eeo", "ooo".
bool isDots(const QString &word)
{
    return word.size() >= minDotsLength && std::all_of(word.begin(), word.end(), isVowel);
}

} // namespace

WordEvidence::WordEvidence(const QList<LaidOutLine> &lines)
{
    for (const LaidOutLine &laidOut : lines) {
        const RecognizedLine &line = laidOut.recognized;
        QList<RecognizedWord> tokens = line.words;
        if (tokens.isEmpty()) {
            for (const QStringView token : TextScanning::whitespaceSeparated(line.text))
                tokens.append({token.toString(), line.confidence});
        }
        QSet<QString> onLine;
        QSet<QString> stemsOnLine;
        for (const RecognizedWord &token : std::as_const(tokens)) {
            const bool nameLike = isNameLike(token.text);
            // The last folder of a path names a project: "~/code/wezterm" in a terminal's title.
            const qsizetype slash = token.text.lastIndexOf(u'/');
            const QStringList folder =
                slash >= 0 ? SlugGenerator::words(QStringView(token.text).sliced(slash + 1)) : QStringList();
            if (folder.size() == 1 && folder.first().size() >= minFolderNameLength)
                m_words[folder.first()].isNameLike = true;
            // Camel case split too, so "KeePassXC" also gives the words a title would.
            const QString text = spelledOut(token.text);
            QStringList words = SlugGenerator::words(text);
            words += SlugGenerator::words(ArtifactExtractor::splitCamelCase(text));
            for (const QString &word : std::as_const(words)) {
                add(word, token.confidence, nameLike);
                if (!onLine.contains(word)) {
                    onLine.insert(word);
                    ++m_words[word].lines;
                }
                if (!stemsOnLine.contains(stem(word))) {
                    stemsOnLine.insert(stem(word));
                    ++m_stemLines[stem(word)];
                }
            }
        }
    }
}

void WordEvidence::add(const QString &word, float confidence, bool isNameLike)
{
    Entry &entry = m_words[word];
    entry.confidence = std::max(entry.confidence, confidence);
    entry.isNameLike = entry.isNameLike || isNameLike;
}

qsizetype WordEvidence::lineCount(const QString &word) const
{
    return m_stemLines.value(stem(word));
}

bool WordEvidence::isUnknownName(const QString &word) const
{
    return m_words.value(word).isNameLike && EnglishWords::isAvailable() && !EnglishWords::contains(word);
}

bool WordEvidence::isPlausible(const QString &word) const
{
    if (isDots(word))
        return false;
    const bool known = EnglishWords::contains(word) || !EnglishWords::isAvailable();
    const auto entry = m_words.find(word);
    if (entry == m_words.end())
        return known;
    if (known)
        return entry->confidence >= minDictionaryConfidence;
    // Names are written in letters and have vowels; the rest is mostly identifiers and specks.
    const bool isLetters = std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetter();
    });
    // Two letters are mostly the cut-off end of a path or a word ("/usr/lib/firefox/fi").
    return isLetters && word.size() >= minUnknownWordLength &&
           std::any_of(word.begin(), word.end(), isVowel) && entry->confidence >= minNameConfidence &&
           (entry->isNameLike || entry->lines >= 2);
}

QString WordEvidence::spelledOut(const QString &text)
{
    static const QRegularExpression invoiceNumber =
        TextScanning::pattern(R"(\binv(?=[-#:]?\s?\d))", QRegularExpression::CaseInsensitiveOption);
    return QString(text).replace(invoiceNumber, QStringLiteral("invoice "));
}

QString WordEvidence::stem(const QString &word)
{
    if (word.size() > 4 && word.endsWith(QLatin1String("ies")))
        return word.chopped(3) + u'y';
    if (word.size() > 3 && word.endsWith(u's') && !word.endsWith(QLatin1String("ss")))
        return word.chopped(1);
    return word;
}
