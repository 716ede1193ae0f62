#include "support/FakeFileSystem.h"

bool FakeFileSystem::exists(const QString &path) const
{
    return m_disk.exists(path);
}

bool FakeFileSystem::isDirectory(const QString &path) const
{
    return m_disk.isDirectory(path);
}

bool FakeFileSystem::isWritable(const QString &path) const
{
    return m_disk.isWritable(path);
}

std::optional<FileFacts> FakeFileSystem::facts(const QString &path) const
{
    return m_disk.facts(path);
}

std::optional<QString> FakeFileSystem::realPath(const QString &path) const
{
    return m_disk.realPath(path);
}

std::optional<QByteArray> FakeFileSystem::readStart(const QString &path, qsizetype maxBytes) const
{
    return m_disk.readStart(path, maxBytes);
}

FileResult FakeFileSystem::createFolder(const QString &path) const
{
    return m_disk.createFolder(path);
}

FileResult FakeFileSystem::move(const QString &source, const QString &target) const
{
    if (m_moveFailure)
        return *m_moveFailure;
    FileResult result = m_disk.move(source, target);
    if (result)
        m_moves.append({source, target});
    return result;
}

std::optional<QByteArray> FakeFileSystem::extendedAttribute(const QString &path, const QByteArray &name) const
{
    if (!m_attributesSupported)
        return std::nullopt;
    return m_disk.extendedAttribute(path, name);
}

FileResult FakeFileSystem::setExtendedAttribute(const QString &path, const QByteArray &name,
                                                const QByteArray &value) const
{
    if (!m_attributesSupported)
        return FileResult::failure(FileError::Unsupported, QStringLiteral("The file system does not keep "
                                                                          "extended attributes."));
    return m_disk.setExtendedAttribute(path, name, value);
}
