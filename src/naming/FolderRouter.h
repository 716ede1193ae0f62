#pragma once

#include "settings/RoutingConfiguration.h"

#include <QString>

#include <optional>

// Chooses a screenshot's category from its text and front application, and cleans folder names.
namespace FolderRouter {

// Whole-word keyword hits (at most 2 per keyword), 3 for a matching application hint, plus currency
// amounts for receipts and code symbols for code. Ties keep the earlier category; nothing scores → Other.
ScreenshotCategory classify(const QString &text, const std::optional<QString> &appName,
                            const std::optional<QString> &bundleIdentifier,
                            const RoutingConfiguration &configuration);

// A typed folder name made safe as one path component; `fallback` when nothing is left.
QString sanitizedFolderName(const QString &name, const QString &fallback);

} // namespace FolderRouter
