#pragma once

#include "naming/CaptureContext.h"
#include "naming/NamingSuggestion.h"
#include "settings/RoutingConfiguration.h"

#include <QFuture>
#include <QString>

// Names one screenshot. The work runs off the calling thread; the future always finishes with a
// suggestion (errors and time-outs end in a fallback name, never in an exception).
class ScreenshotNaming
{
public:
    virtual ~ScreenshotNaming() = default;
    virtual QFuture<NamingSuggestion> suggestName(const QString &filePath, const CaptureContext &context,
                                                  const RoutingConfiguration &configuration) = 0;
};
