// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"

#include <QString>

#include <functional>
#include <optional>

// What the rename panel's controller needs from the window system: the panel window itself, the
// preview window and the dialogs. The real one is RenamePanelWindow. Main thread.
class PanelWindow
{
public:
    virtual ~PanelWindow() = default;

    // Places the panel at the top centre of the screen under the pointer. Unless it is shown
    // already, raises it without taking focus and fades it in, stopping a fade-out under way.
    virtual void present() = 0;
    // Fades the panel out; `finished` runs once it is fully transparent, unless present() came first.
    virtual void dismiss(std::function<void()> finished) = 0;
    virtual void takeOffScreen() = 0;
    virtual bool isPointerOver() const = 0;
    // The panel takes keyboard focus only while a name is edited.
    virtual void setTakesFocus(bool takesFocus) = 0;

    virtual bool isPreviewOpen() const = 0;
    virtual void openPreview(const QString &filePath) = 0;
    virtual void closePreview() = 0;

    // Modal; nothing when cancelled.
    virtual std::optional<QString> askNewFolderName(const QString &rootTitle) = 0;
    virtual std::optional<QString> chooseFolder(const QString &message, const QString &startFolder) = 0;

    // For screen readers.
    virtual void announce(const QString &text) = 0;
    // Where the panel is, in device pixels of the whole desktop, and the desktop's size in them.
    virtual CaptureContext::Panel onScreen() const = 0;
};
