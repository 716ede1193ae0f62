// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingBudget.h"

#include <algorithm>
#include <time.h>

using namespace std::chrono_literals;

namespace {

// A worker that gets a third of a core still reaches its whole budget before the backstop; an
// ordinary screenshot needs a tenth of the budget or less, so it is given up only when its worker
// gets a few percent of a core. A worker that stalls without burning a core ends after this too.
constexpr int wallFactor = 3;
// A worker reading on several cores spends processor time faster than the clock runs; looking once
// a second bounds how far past its budget it gets.
constexpr std::chrono::milliseconds longestLook = 1s;

} // namespace

namespace ReadingBudget {

std::chrono::milliseconds wallLimit(std::chrono::milliseconds budget)
{
    return wallFactor * budget;
}

Verdict judge(Spent spent, std::chrono::milliseconds budget)
{
    if (spent.processor >= budget + grace)
        return Verdict::OverProcessorTime;
    if (spent.wall >= wallLimit(budget))
        return Verdict::OverWallTime;
    return Verdict::Continue;
}

std::chrono::milliseconds untilNextLook(Spent spent, std::chrono::milliseconds budget)
{
    return std::clamp(std::min(budget + grace - spent.processor, wallLimit(budget) - spent.wall), 1ms,
                      longestLook);
}

std::optional<std::chrono::nanoseconds> processorTimeOf(pid_t pid)
{
    // Linux lets any process read another's processor clock; no /proc parsing needed.
    clockid_t clock{};
    timespec now{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &now) != 0)
        return std::nullopt;
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace ReadingBudget
