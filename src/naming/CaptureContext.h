// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
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
    // Where Quillo's own panel was on screen, in pixels of the whole desktop, and that desktop's
    // size: a screenshot of the whole desktop taken then shows the panel there.
    struct Panel
    {
        QRect area;
        QSize desktop;
        friend bool operator==(const Panel &, const Panel &) = default;
    };
    std::optional<Panel> quilloPanel = {};

    bool isEmpty() const { return !appName && !appId && !windowTitle; }

    // Whether a line recognised in an image of `imageSize` pixels is part of Quillo's panel: the image
    // is of the whole desktop and the line's middle lies on the panel. `lineBox` is in fractions of the
    // image, from its lower-left corner.
    bool isShownByQuillo(const QRectF &lineBox, QSize imageSize) const;

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
