// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <time.h>

// A limit on the processor time of this process, all its threads together, as Quillo counts a reader's
// time for the file it reads (one at a time): time spent waiting for a core on a busy machine does not
// count, so a file is not given up only because others kept the processor, and reading on several
// cores spends the budget as fast as they do. Default constructed, it never expires. Any thread.
class ProcessorDeadline final
{
public:
    ProcessorDeadline() = default;
    explicit ProcessorDeadline(std::chrono::milliseconds budget);

    bool hasExpired() const;

private:
    std::chrono::nanoseconds m_end = std::chrono::nanoseconds::max();
};
