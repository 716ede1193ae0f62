// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "naming/NamingSuggestion.h"
#include "naming/ScreenLayout.h"
#include "reading/RecognizedLine.h"
#include "settings/RoutingConfiguration.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Names a screenshot without a language model, from its laid-out text and the front window: the
// category first, then the words WordRanking scores best, the window title's among the screen's.
// Headings and named artifacts (files, repositories, projects) also feed the model prompt. Pure
// functions, safe on any thread; always produces a name.
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

// What the category is read from: the window title and every line, sidebars and chrome included,
// since they tell the kind of application.
QString screenText(const ScreenLayout &layout, const CaptureContext &context);

// At most 2 lines that read as headings, best first.
QList<LaidOutLine> rankedHeadings(const QList<WeightedLine> &pool);

// The word groups of the artifacts found in the pool, best first.
QList<QStringList> rankedArtifacts(const QList<WeightedLine> &pool);

// Main-content lines that are headings or mention an artifact, in reading order.
QList<LaidOutLine> featuredLines(const ScreenLayout &layout);

// Words that may describe content: no stop words, numbers, machine noise or interface words.
QStringList keywords(QStringView text);

// A line's weight scaled by its size, its height on the screen and the recogniser's confidence.
double lineFactor(const WeightedLine &line);

// Short, not ending like a sentence, and capitalised, numbered or large.
bool isHeadingShaped(const LaidOutLine &line);

} // namespace HeuristicNamer
