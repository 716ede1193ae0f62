// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/ProcessorDeadline.h"

namespace {

std::chrono::nanoseconds now()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

} // namespace

ProcessorDeadline::ProcessorDeadline(std::chrono::milliseconds budget)
    : m_end(now() + budget)
{}

bool ProcessorDeadline::hasExpired() const
{
    return m_end != std::chrono::nanoseconds::max() && now() >= m_end;
}
