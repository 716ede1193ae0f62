// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/RoutingConfiguration.h"

#include <QString>

#include <optional>

// Chooses a screenshot's category from its text and front application.
namespace CategoryClassifier {

// Whole-word keyword hits (at most 2 per keyword), 3 for a matching application hint, plus currency
// amounts for receipts and code symbols for code. Ties keep the earlier category; nothing scores → Other.
ScreenshotCategory classify(const QString &text, const std::optional<QString> &appName,
                            const std::optional<QString> &appId, const RoutingConfiguration &configuration);

} // namespace CategoryClassifier
