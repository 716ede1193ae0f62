// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a compositing manager draws translucent windows on Quillo's X11 screen: some client owns
// the _NET_WM_CM_S<screen> selection. Without one (openbox, i3 and many lightweight desktops alone)
// a translucent window's clear parts show as blocks. False off X11. Main thread.
bool compositingManagerRuns();
