// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "naming/ScreenLayout.h"
#include "naming/WindowTitle.h"
#include "settings/ScreenshotCategory.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Chooses a screenshot's name words by evidence: every plausible word of the screen and the window
// title becomes a candidate described by features (where and how large it stands, how sure
// recognition is, how often it recurs, what kind of word it is), and a linear score with weights
// fitted to labelled screenshots (NamingWeights.h) ranks them. Pure functions, safe on any thread.
namespace WordRanking {

// The features of a candidate word, in the order of NamingWeights::word. Binary features are 0 or 1.
enum class Feature
{
    Confidence,      // the recogniser's best confidence in the word; 1 for window-title words
    Prominence,      // log of its largest height over the body text's (0 at body size)
    Recurrence,      // log of the number of lines holding it in any form
    TitleBar,        // on a thin line in the top band: title bars, tab strips, menu bars
    TopBand,         // in the top sixth below that: page titles, logos, toolbars
    MainPane,        // in the main pane, on a line that is not interface text
    SidebarOnly,     // only in sidebars
    BottomOnly,      // only in the bottom band or in interface text
    Heading,         // on a short line set larger than the body text
    ShortLine,       // on a line of at most three words: titles, labels, names
    Dictionary,      // an English word
    UnknownName,     // written like a name (capital or mixed case) and in no dictionary
    Capitalised,     // starts with a capital letter somewhere
    Artifact,        // in a file, repository or project name
    Extension,       // a file name's extension ("rs" of main.rs)
    WindowTitle,     // among the window title's words
    SelectedItem,    // in the selected sidebar entry's title
    AppName,         // the front application's name
    CategoryWord,    // in the vocabulary of the screenshot's category
    AnyCategoryWord, // in some category's vocabulary: the kind of page (invoice, settings, weather)
    InterfaceWord,   // menus, buttons and forms: file, edit, share, options
    Number,          // digits only
    Short,           // two or three characters
    Implausible,     // likely misread: a dictionary word read poorly, or an odd unknown word
    Height,          // the height of its highest line, 0 at the bottom and 1 at the top
    Spread,          // the share of the screen's lines holding it: high in tables, logs and lists
    Largest,         // its largest height over the largest text's on the screen
    FirstLines,      // on one of the first three lines of the main pane
    NameAtTop,       // an unknown name in the title bar or the top band: an application or site
    ListItem,        // only on short lines that start in a column with three others: menus, tables
    AllCaps,         // written in capitals only: labels and column heads
};
inline constexpr std::size_t featureCount = std::size_t(Feature::AllCaps) + 1;
using Features = std::array<double, featureCount>;

// The names of the features, as the weights table and the fitting script spell them.
const std::array<const char *, featureCount> &featureNames();

struct Candidate
{
    QString word;
    Features features{};
    double score = 0;
    QList<qsizetype> sameIdea; // indices of the other candidates this one must not stand beside
};

// Every candidate word of the screen and the window, in order of first appearance, scored.
QList<Candidate> candidates(const ScreenLayout &layout, const CaptureContext &context,
                            ScreenshotCategory category,
                            const WindowTitle::Identity &identity = WindowTitle::localIdentity());

// The name's words: the best candidates while they score above the fitted threshold, at least two
// when there are two and at most five, never two words of one idea.
QStringList chosen(const QList<Candidate> &candidates);

// One idea: singular and plural, two forms of one stem ("monitor", "monitoring") or an abbreviation
// and its full word ("inv", "invoice").
bool isSameIdea(const QString &a, const QString &b);

// Menu, toolbar and status words, and the dates they show.
bool isInterfaceNoise(const QString &word);

} // namespace WordRanking
