// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeFileSystem.h"

FileResult FakeFileSystem::move(const QString &source, const QString &target) const
{
    if (m_beforeMove)
        m_beforeMove(target);
    return LinuxFileSystem::move(source, target);
}

int FakeFileSystem::injectedError(Step step, const QString &) const
{
    const auto fault = m_faults.find(step);
    return fault == m_faults.end() ? 0 : fault->second;
}
