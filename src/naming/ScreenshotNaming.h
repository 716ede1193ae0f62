// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "naming/NamingSuggestion.h"
#include "settings/RoutingConfiguration.h"

#include <QFuture>
#include <QString>

#include <optional>

// A name for the file, or why it keeps its own: a file that cannot be decoded is not named. An image
// without text still gets the fallback name.
struct NamingResult
{
    std::optional<NamingSuggestion> suggestion;
    QString error = {};        // why there is no suggestion
    bool isOverBudget = false; // needed more time or memory than a screenshot may: no use trying again
    bool isUnconfined = false; // nothing was read: no reading process could shut itself in
    QString text = {};         // every recognised line in reading order, one per line
};

// Names one screenshot. The work runs off the calling thread; the future always finishes with a
// result (model errors and time-outs end in the heuristic name, never in an exception).
class ScreenshotNaming
{
public:
    virtual ~ScreenshotNaming() = default;
    virtual QFuture<NamingResult> suggestName(const QString &filePath, const CaptureContext &context,
                                              const RoutingConfiguration &configuration) = 0;
    // A screenshot is being written: whatever naming it will need can get ready. Returns at once.
    virtual void prepare() {}
};
