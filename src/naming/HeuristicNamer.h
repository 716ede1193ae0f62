// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "naming/NamingSuggestion.h"
#include "naming/RecognizedLine.h"
#include "naming/ScreenLayout.h"
#include "naming/WordEvidence.h"
#include "settings/RoutingConfiguration.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Names a screenshot without a language model, from its laid-out text and the front window. In order
// of priority: the window title, the selected sidebar item, the application's name and the
// weightiest words of the screen, which weigh by where and how large they stand, how often they recur
// and how sure recognition is of them. Headings and named artifacts (files, repositories, projects)
// also feed the model prompt. Pure functions, safe on any thread; always produces a name.
namespace HeuristicNamer {

inline constexpr double mainPaneWeight = 2.75;

struct WeightedLine
{
    LaidOutLine laidOut;
    double weight = 0;

    friend bool operator==(const WeightedLine &, const WeightedLine &) = default;
};

// The slug and, from the window title and the text of the whole screen, the category.
NamingSuggestion suggest(const ScreenLayout &layout, const CaptureContext &context,
                         const RoutingConfiguration &configuration);

// At most 2 lines that read as headings, best first.
QList<LaidOutLine> rankedHeadings(const QList<WeightedLine> &pool);

// The word groups of the artifacts found in the pool, best first.
QList<QStringList> rankedArtifacts(const QList<WeightedLine> &pool);

// The plausible content words of every line that is not boilerplate, weightiest first, one form of
// each word. A line weighs by its region, size, height on the screen and confidence; a word weighs
// more when it recurs across the screen or is a name no dictionary knows, less when it is interface
// text.
QStringList rankedTerms(const ScreenLayout &layout, const WordEvidence &evidence);

// Main-content lines that are headings or mention an artifact, in reading order.
QList<LaidOutLine> featuredLines(const ScreenLayout &layout);

// Words that may describe content: no stop words, numbers, machine noise or interface words.
QStringList keywords(QStringView text);

// The words of a title or name; file-description words such as "screenshot" may stay, but not alone.
QStringList nameKeywords(QStringView text);

// A line's weight scaled by its size, its height on the screen and the recogniser's confidence.
double lineFactor(const WeightedLine &line);

// The title without a trailing " - App", " – App", " — App", " | App" or " · App", where App is the
// window's application or a browser or viewer; none when nothing is left.
std::optional<QString> cleanedWindowTitle(const std::optional<QString> &windowTitle,
                                          const std::optional<QString> &appName);

// Short, not ending like a sentence, and capitalised, numbered or large.
bool isHeadingShaped(const LaidOutLine &line);

} // namespace HeuristicNamer
