#pragma once

// Sends Qt log messages to the systemd journal (identifier "quillo", with the subsystem and
// category as fields) when the journal is reachable, else to standard error. Install once,
// before anything logs.
namespace LogHandler {
void install();
}
