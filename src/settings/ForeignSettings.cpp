// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ForeignSettings.h"

#include <QFileInfo>
#include <QSettings>

std::optional<ForeignSettings> ForeignSettings::open(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!info.isFile() || !info.isReadable())
        return std::nullopt;
    return ForeignSettings(filePath);
}

ForeignSettings::ForeignSettings(QString filePath)
    : m_filePath(std::move(filePath))
{}

std::optional<QString> ForeignSettings::stringValue(const QString &group, const QString &key) const
{
    // QSettings writes only keys that were set or removed; this object never does either. It also
    // re-reads the file on opening when its size or time changed.
    const QSettings settings(m_filePath, QSettings::IniFormat);
    // QSettings files keep their top-level keys in [General].
    const bool topLevel = group.isEmpty() || group.compare(u"General", Qt::CaseInsensitive) == 0;
    const QVariant value = settings.value(topLevel ? key : group + u'/' + key);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return value.toStringList().join(u',');
    default:
        return std::nullopt;
    }
}
