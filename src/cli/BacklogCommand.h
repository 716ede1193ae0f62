// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CommandRequest;

// `quillo rename [--dry-run] [--json] [--recursive] [--jobs N] PATH...`: names the screenshots
// among the files and folders given, as the watcher names new ones, reading several at once and
// renaming one at a time through the history's writer. `quillo index` reads them the same way and
// keeps their text for search, renaming nothing. Needs a QCoreApplication.
namespace BacklogCommand {

// Returns the exit status.
int run(const CommandRequest &request);

} // namespace BacklogCommand
