// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sends Qt log messages to the systemd journal (identifier "quillo", with the subsystem and
// category as fields) when the journal is reachable, else to standard error. Install once,
// before anything logs. For a command, info lines reach standard error only with QUILLO_DEBUG set.
namespace LogHandler {
void install(bool forCommand = false);
}
