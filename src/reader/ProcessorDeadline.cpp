// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/ProcessorDeadline.h"

#include <pthread.h>

namespace {

std::chrono::nanoseconds now(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

} // namespace

ProcessorDeadline::ProcessorDeadline(std::chrono::milliseconds budget)
{
    // The creator's own clock, not CLOCK_THREAD_CPUTIME_ID, which would be the clock of whoever asks.
    if (pthread_getcpuclockid(pthread_self(), &m_clock) != 0)
        m_clock = CLOCK_THREAD_CPUTIME_ID;
    m_end = now(m_clock) + budget;
}

bool ProcessorDeadline::hasExpired() const
{
    return m_end != std::chrono::nanoseconds::max() && now(m_clock) >= m_end;
}
