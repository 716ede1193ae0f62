#pragma once

#include "intake/LinuxFileSystem.h"

#include <functional>

// Real files on disk, with the failures a test cannot make the disk produce on demand.
// Not thread-safe.
class FakeFileSystem final : public LinuxFileSystem
{
public:
    // Without support, attributes read as absent and writes fail as on such a file system.
    void setExtendedAttributesSupported(bool isSupported) { m_attributesSupported = isSupported; }
    // Runs before every move with its target, e.g. to let another program take the name first.
    void setBeforeMove(std::function<void(const QString &target)> hook) { m_beforeMove = std::move(hook); }

    FileResult move(const QString &source, const QString &target) const override;
    std::optional<QByteArray> extendedAttribute(const QString &path, const QByteArray &name) const override;
    FileResult setExtendedAttribute(const QString &path, const QByteArray &name,
                                    const QByteArray &value) const override;

private:
    bool m_attributesSupported = true;
    std::function<void(const QString &)> m_beforeMove;
};
