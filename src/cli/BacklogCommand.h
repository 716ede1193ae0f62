// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CommandRequest;

// `quillo rename [--dry-run] [--json] [--recursive] [--jobs N] PATH...`: names the screenshots
// among the files and folders given, as the watcher names new ones, reading several at once and
// renaming one at a time through the history's writer. Needs a QCoreApplication.
namespace BacklogCommand {

// Returns the exit status.
int run(const CommandRequest &request);

} // namespace BacklogCommand
