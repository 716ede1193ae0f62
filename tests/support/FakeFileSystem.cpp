// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeFileSystem.h"

FileResult FakeFileSystem::move(const QString &source, const QString &target) const
{
    if (m_beforeMove)
        m_beforeMove(target);
    return LinuxFileSystem::move(source, target);
}

std::optional<QByteArray> FakeFileSystem::extendedAttribute(const QString &path, const QByteArray &name) const
{
    if (!m_attributesSupported)
        return std::nullopt;
    return LinuxFileSystem::extendedAttribute(path, name);
}

FileResult FakeFileSystem::setExtendedAttribute(const QString &path, const QByteArray &name,
                                                const QByteArray &value) const
{
    if (!m_attributesSupported)
        return FileResult::failure(FileError::Unsupported,
                                   QStringLiteral("The file system does not keep extended attributes."));
    return LinuxFileSystem::setExtendedAttribute(path, name, value);
}

int FakeFileSystem::injectedError(Step step, const QString &) const
{
    const auto fault = m_faults.find(step);
    return fault == m_faults.end() ? 0 : fault->second;
}
