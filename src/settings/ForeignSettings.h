// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A read-only view of another program's INI settings file; nothing is ever written to it. Every read
// sees the file as it is now, so changes the other program saved a moment ago show at once.
class ForeignSettings final
{
public:
    // Nothing when the file does not exist or cannot be read.
    static std::optional<ForeignSettings> open(const QString &filePath);

    // The text stored under [group] key; nothing when missing or not text. INI splits values at
    // unquoted commas; such parts are joined back with ",".
    std::optional<QString> stringValue(const QString &group, const QString &key) const;

    const QString &filePath() const { return m_filePath; }

private:
    explicit ForeignSettings(QString filePath);

    QString m_filePath;
};
