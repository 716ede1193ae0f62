// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/LinuxFileSystem.h"

#include <functional>
#include <map>

// Real files on disk, with the failures a test cannot make the disk produce on demand.
// Not thread-safe.
class FakeFileSystem final : public LinuxFileSystem
{
public:
    // Without support, attributes read as absent and writes fail as on such a file system.
    void setExtendedAttributesSupported(bool isSupported) { m_attributesSupported = isSupported; }
    // Runs before every move with its target, e.g. to let another program take the name first.
    void setBeforeMove(std::function<void(const QString &target)> hook) { m_beforeMove = std::move(hook); }
    // Makes every `step` fail with `errorNumber` from now on (0: succeed again), as on a full,
    // read-only or foreign drive.
    void setFault(Step step, int errorNumber) { m_faults[step] = errorNumber; }

    FileResult move(const QString &source, const QString &target) const override;
    std::optional<QByteArray> extendedAttribute(const QString &path, const QByteArray &name) const override;
    FileResult setExtendedAttribute(const QString &path, const QByteArray &name,
                                    const QByteArray &value) const override;

protected:
    int injectedError(Step step, const QString &path) const override;

private:
    bool m_attributesSupported = true;
    std::map<Step, int> m_faults;
    std::function<void(const QString &)> m_beforeMove;
};
