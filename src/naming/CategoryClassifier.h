// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/RoutingConfiguration.h"

#include <QString>

#include <array>
#include <optional>

// Chooses a screenshot's category from its text and front application: a linear score per category
// over what the text holds, with weights fitted to labelled screenshots (NamingWeights.h).
namespace CategoryClassifier {

// Per category its keyword hits (whole words in any number, at most 2 per keyword; an application
// known for the category counts 3), then currency amounts, code symbols, source file names, document
// file names, lines, and the lines shaped like message times, log times, sentences, code, paths, web
// addresses and measurements; counts as log(1 + n).
inline constexpr std::size_t featureCount = 18;
using Features = std::array<double, featureCount>;
const std::array<const char *, featureCount> &featureNames();

Features features(const QString &text, const std::optional<QString> &appName,
                  const std::optional<QString> &appId, const RoutingConfiguration &configuration);

// The best-scoring category; ties keep the earlier one.
ScreenshotCategory classify(const QString &text, const std::optional<QString> &appName,
                            const std::optional<QString> &appId, const RoutingConfiguration &configuration);

// Whether the word is one of the category's own words ("invoice" for receipts, "forecast" for other).
bool isCategoryWord(const QString &word, ScreenshotCategory category);

} // namespace CategoryClassifier
