// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"

#include <memory>

// The active X11 window (also XWayland windows under Wayland), with the application's desktop
// entry when one is installed. Without a display every context is empty. Main thread only.
class X11CaptureContextSource final : public CaptureContextSource
{
public:
    X11CaptureContextSource();
    ~X11CaptureContextSource() override;

    CaptureContext current() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
