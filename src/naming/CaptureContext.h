// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The front application and window at the moment a screenshot appeared; all absent when unknown
// or when a screenshot tool (or Quillo itself) was in front.
struct CaptureContext
{
    std::optional<QString> appName;
    std::optional<QString> appId; // desktop-file id, or the lower-case window class
    std::optional<QString> windowTitle;

    bool isEmpty() const { return !appName && !appId && !windowTitle; }

    // Screenshot tools and Quillo itself: their windows say nothing about the capture.
    static const QStringList &ignoredAppIds();

    friend bool operator==(const CaptureContext &, const CaptureContext &) = default;
};

// Reads the capture context from the desktop. Called on the main thread once per new file.
class CaptureContextSource
{
public:
    virtual ~CaptureContextSource() = default;
    virtual CaptureContext current() = 0;
};
