// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <time.h>

// A limit on the processor time of the thread that creates it: time spent waiting for a core on a
// busy machine does not count, so a file is not given up only because others kept the processor.
// Default constructed, it never expires. Callable from any thread; it still counts its creator's time.
class ProcessorDeadline final
{
public:
    ProcessorDeadline() = default;
    explicit ProcessorDeadline(std::chrono::milliseconds budget);

    bool hasExpired() const;

private:
    clockid_t m_clock = CLOCK_THREAD_CPUTIME_ID;
    std::chrono::nanoseconds m_end = std::chrono::nanoseconds::max();
};
