// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/ScreenLayout.h"

#include <QHash>
#include <QString>

// What the whole screen says about each of its words, beside where they stand: on how many lines a
// word occurs, how sure the recogniser was of it, and whether it is written like a name. Built once
// per screenshot from every line of the layout, chrome and sidebars included; safe on any thread.
class WordEvidence final
{
public:
    WordEvidence() = default;
    explicit WordEvidence(const QList<LaidOutLine> &lines);

    // Lines the word stands on; singular and plural count as one word ("bottle", "bottles").
    qsizetype lineCount(const QString &word) const;

    // Written like a name and in no dictionary: a product, project or person.
    bool isUnknownName(const QString &word) const;

    // The singular of a plural the simple way: "entries" -> "entry", "bottles" -> "bottle".
    static QString stem(const QString &word);
    // The text with the abbreviations that would make poor names written out: "INV-1042" and
    // "INV#7" are invoice numbers, not the word "inv".
    static QString spelledOut(const QString &text);

    // Not recognition noise: a dictionary word read with fair confidence, or a word no dictionary
    // knows (a product, a project, a person) read with high confidence that is written like a name or
    // recurs. Words the screen does not hold (a window title's) are judged by the dictionary alone.
    bool isPlausible(const QString &word) const;

private:
    struct Entry
    {
        qsizetype lines = 0;
        float confidence = 0; // the best of its occurrences
        bool isNameLike = false;
    };
    void add(const QString &word, float confidence, bool isNameLike);

    QHash<QString, Entry> m_words;
    QHash<QString, qsizetype> m_stemLines;
};
