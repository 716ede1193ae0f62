// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CommandRequest;

// `quillo search [--json] [--limit N] WORDS...`: lists the screenshots in the search index that
// show all the words, best match first, with the matched words in bold on a terminal.
namespace SearchCommand {

// Returns the exit status: 0 with or without matches, 1 when the index cannot be read, 2 when
// the words hold nothing to search for.
int run(const CommandRequest &request);

} // namespace SearchCommand
