// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>

// When the main process gives up on a reading process's file. The budget is the worker's processor
// time, so a file read on a busy machine, where the worker waits its turn for a core, keeps all of
// it; the clock is only a backstop for a worker that makes no progress at all (stopped, stuck in the
// kernel, or starved nearly to nothing).
namespace ReadingBudget {

enum class Verdict
{
    Continue,
    OverProcessorTime,
    OverWallTime
};

// What a file has cost since the worker was handed it.
struct Spent
{
    std::chrono::milliseconds processor{0};
    std::chrono::milliseconds wall{0};
};

// Past its budget the worker stops itself and answers; it is killed only after this much more.
inline constexpr std::chrono::milliseconds grace{500};

// The clock's backstop for a file of this budget.
std::chrono::milliseconds wallLimit(std::chrono::milliseconds budget);
Verdict judge(Spent spent, std::chrono::milliseconds budget);
// How long to wait for the answer before judging again; only for a file that may continue.
std::chrono::milliseconds untilNextLook(Spent spent, std::chrono::milliseconds budget);

// The processor time (user and system, all threads) the process has used so far; nothing when it
// cannot be read, as for a process that has ended.
std::optional<std::chrono::nanoseconds> processorTimeOf(pid_t pid);

} // namespace ReadingBudget
