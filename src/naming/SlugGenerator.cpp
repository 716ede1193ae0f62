// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/SlugGenerator.h"

#include "core/TextScanning.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace {

// Years such as 2024 name something; dates such as 20240115 do not.
constexpr qsizetype maxNumberLength = 4;
constexpr qsizetype minHashLength = 8;

// Latin letters that compatibility decomposition leaves as they are, spelled in ASCII.
const char *spelledLatin(char16_t c)
{
    switch (c) {
    case u'ß':
    case u'ẞ':
        return "ss";
    case u'æ':
    case u'Æ':
        return "ae";
    case u'œ':
    case u'Œ':
        return "oe";
    case u'ø':
    case u'Ø':
        return "o";
    case u'ł':
    case u'Ł':
        return "l";
    case u'đ':
    case u'Đ':
    case u'ð':
    case u'Ð':
        return "d";
    case u'þ':
    case u'Þ':
        return "th";
    case u'ı':
        return "i";
    case u'ȷ':
        return "j";
    case u'ħ':
    case u'Ħ':
        return "h";
    case u'ŧ':
    case u'Ŧ':
        return "t";
    case u'ŋ':
    case u'Ŋ':
        return "ng";
    case u'ƒ':
        return "f";
    default:
        return nullptr;
    }
}

bool isMark(char16_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Builds words from already decomposed text; the current word survives between feed() calls.
class WordCutter
{
public:
    explicit WordCutter(QStringList &out)
        : m_out(out)
    {}

    // Decomposition has already turned the letters outside the BMP that matter (mathematical
    // alphanumerics and the like) into ASCII, so surrogates simply end a word.
    void feed(QStringView text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                feedAscii(c.unicode());
            else
                feedOther(c.unicode());
        }
    }

    void endWord()
    {
        if (m_current.isEmpty())
            return;
        m_out.append(QStringView(m_current.constData(), m_current.size()).toString());
        m_current.clear();
    }

private:
    void feedAscii(char16_t c)
    {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            m_current.append(c);
        else if (c >= u'A' && c <= u'Z')
            m_current.append(static_cast<char16_t>(c - u'A' + u'a'));
        else if (c != u'\'')
            endWord();
    }

    void feedOther(char16_t c)
    {
        // Diacritics left over from decomposition belong to the letter before them.
        if (c == u'’' || isMark(c))
            return;
        if (const char *spelled = spelledLatin(c)) {
            for (; *spelled; ++spelled)
                m_current.append(static_cast<char16_t>(*spelled));
            return;
        }
        endWord();
    }

    QStringList &m_out;
    QVarLengthArray<char16_t, 64> m_current;
};

// Commit hashes and checksums: 8+ lower-case hex characters with at least one digit.
bool isHexHash(QStringView word)
{
    if (word.size() < minHashLength)
        return false;
    bool hasDigit = false;
    for (const QChar c : word) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            hasDigit = true;
        else if (u < u'a' || u > u'f')
            return false;
    }
    return hasDigit;
}

// ^(\d+(kb|mb|gb|tb|b)|v\d+)$, matched by hand because it runs for every candidate word.
bool matchesNoisePattern(QStringView word)
{
    if (word.startsWith(u'v'))
        return SlugGenerator::isAllDigits(word.sliced(1));
    const auto unitStart = std::find_if_not(word.begin(), word.end(), [](QChar c) {
        return c.isDigit();
    });
    if (unitStart == word.begin())
        return false;
    const QStringView unit = word.sliced(unitStart - word.begin());
    return unit == u"b" || unit == u"kb" || unit == u"mb" || unit == u"gb" || unit == u"tb";
}

} // namespace

namespace SlugGenerator {

QStringList words(QStringView text)
{
    QStringList result;
    WordCutter cutter(result);
    const auto firstWide = std::find_if(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0x80;
    });
    const qsizetype asciiLength = firstWide - text.begin();
    cutter.feed(text.first(asciiLength));
    // ASCII decomposes to itself, so only the rest pays for the normalised copy.
    if (asciiLength < text.size())
        cutter.feed(text.sliced(asciiLength).toString().normalized(QString::NormalizationForm_KD));
    cutter.endWord();
    return result;
}

bool hasWordLength(QStringView word)
{
    return word.size() >= minWordLength && word.size() <= maxWordLength;
}

bool isAllDigits(QStringView word)
{
    return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
}

bool isSlugWord(const QString &word, const QSet<QString> &preserving)
{
    if (!hasWordLength(word))
        return false;
    if (stopWords().contains(word) && !preserving.contains(word))
        return false;
    if (isAllDigits(word))
        return word.size() <= maxNumberLength;
    return !isNoiseToken(word);
}

bool isNoiseToken(const QString &word)
{
    return isHexHash(word) || matchesNoisePattern(word);
}

QString slug(const QStringList &candidates, const QSet<QString> &preserving)
{
    QStringList taken;
    for (const QString &word : candidates) {
        if (taken.size() == maxWords)
            break;
        if (isSlugWord(word, preserving) && !taken.contains(word))
            taken.append(word);
    }
    if (taken.isEmpty())
        return QStringLiteral("screen-capture");
    if (taken.size() == 1)
        return taken.first() + QStringLiteral("-screenshot");
    return taken.join(u'-');
}

const QSet<QString> &stopWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set = TextScanning::wordSet({
            "a",        "an",     "and",   "are",   "as",    "at",   "be",   "been", "but",   "by",    "can",
            "do",       "does",   "for",   "from",  "has",   "have", "he",   "her",  "his",   "how",   "i",
            "if",       "in",     "into",  "is",    "it",    "its",  "me",   "my",   "no",    "not",   "of",
            "on",       "or",     "our",   "out",   "so",    "she",  "that", "the",  "their", "them",  "then",
            "there",    "these",  "they",  "this",  "those", "to",   "up",   "us",   "was",   "we",    "were",
            "what",     "when",   "where", "which", "who",   "will", "with", "you",  "your",  "yours", "am",
            "pm",       "www",    "http",  "https", "com",   "png",  "jpg",  "jpeg", "heic",  "tiff",  "pdf",
            "untitled", "sha256", "sha1",  "md5",   "kb",    "mb",   "gb",   "tb",   "bytes",
        });
        set.unite(fileDescriptionWords());
        return set;
    }();
    return words;
}

const QSet<QString> &fileDescriptionWords()
{
    static const QSet<QString> words =
        TextScanning::wordSet({"screenshot", "screenshots", "screen", "shot", "capture", "image"});
    return words;
}

} // namespace SlugGenerator
