// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

// The program's own preferences, kept in an INI file. A write is on disk when it returns; a read sees
// the file as it is now, including what another process saved. Main thread only.
class PreferencesStore final
{
public:
    // Missing folders on the way to filePath are created by the first write. A file that cannot be
    // parsed is moved aside to "<name>.unreadable" here, keeping the values that could be read.
    explicit PreferencesStore(QString filePath);

    // $XDG_CONFIG_HOME/quillo/quillo.conf
    static QString defaultPath();
    const QString &filePath() const { return m_filePath; }

    // What never-written keys read as; kept in memory, never stored.
    void registerDefaults(const QHash<QString, bool> &defaults);

    // The stored value, else the registered one, else false.
    bool boolValue(const QString &key) const;
    // Nothing when the key is missing or holds another type. INI keeps no type for text, so a stored
    // Boolean reads as "true" or "false" here.
    std::optional<QString> stringValue(const QString &key) const;
    std::optional<QByteArray> dataValue(const QString &key) const;

    // False when the file could not be written (logged).
    bool setBool(const QString &key, bool value);
    bool setString(const QString &key, const QString &value);
    bool setData(const QString &key, const QByteArray &value);
    bool remove(const QString &key);
    // Nothing when a write would be saved now; else why not, in words for the user. Creates the
    // (empty, private) file when it is missing, as the first write would.
    std::optional<QString> writeProblem() const;

    // Writes `value`, a stored value that could not be fully read, to a new file beside the
    // preferences file ("<name>.<key>.unreadable", numbered when taken) before it is overwritten.
    // The file's path, or nothing when it could not be written (logged).
    std::optional<QString> keepAside(const QString &key, const QByteArray &value) const;

private:
    std::optional<QVariant> storedValue(const QString &key) const;
    bool write(const QString &key, const std::optional<QVariant> &value);
    void setAsideIfUnreadable();

    QString m_filePath;
    QHash<QString, bool> m_defaults;
};
