// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PreferencesStore.h"

#include "settings/SettingsLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QLatin1StringView trueText("true");
constexpr QLatin1StringView falseText("false");
// A writer holds the lock only while it writes one small file.
constexpr int readLockWaitMs = 2'000;

// QSettings takes this lock only to write. A read that overlaps another process's write can leave
// this process's cache with the old values under the new file's size and time, and every later read
// and write here trusts them (records of the other process were lost so). Reads take it as well.
void lockAgainstWriters(QLockFile &lock)
{
    // Without it (no write access to the folder, a writer stuck) read anyway.
    (void)lock.tryLock(readLockWaitMs);
}

QString writeLockPath(const QString &filePath)
{
    return QFileInfo(filePath).absoluteFilePath() + QStringLiteral(".lock");
}

std::optional<bool> asBool(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = value.toString();
    if (text == trueText || text == u"1")
        return true;
    if (text == falseText || text == u"0")
        return false;
    return std::nullopt;
}

void warnWrongType(const QString &key, const char *expected)
{
    qCWarning(lcSettings, "Preference \"%s\" does not hold %s; ignoring it", qUtf8Printable(key), expected);
}

template <typename T>
std::optional<T> ofType(const QString &key, const std::optional<QVariant> &stored, const char *expected)
{
    if (!stored)
        return std::nullopt;
    if (stored->metaType() == QMetaType::fromType<T>())
        return stored->value<T>();
    warnWrongType(key, expected);
    return std::nullopt;
}

// The file holds an API key: it is the user's alone, whatever wrote it last (QSettings replaces the
// file on every write).
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The mode bits, without Qt's bits for the user running this process.
QFileDevice::Permissions modeOf(const QString &path)
{
    return QFile::permissions(path) &
           ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

void keepPrivate(const QString &path)
{
    if (QFileInfo::exists(path) && modeOf(path) != ownerOnly)
        QFile::setPermissions(path, ownerOnly);
}

// Made before QSettings first writes it, so not even a first version is readable by others.
void createPrivately(const QString &path)
{
    if (QFileInfo::exists(path))
        return keepPrivate(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        file.close();
}

// What can be carried over from a file that cannot be read: keys named as Quillo names them, and
// not more of them, or bigger, than Quillo writes. Garbage is not copied into the new file.
constexpr qsizetype maxSalvagedKeys = 100;
constexpr qsizetype maxSalvagedBytes = 4 * 1024 * 1024;

bool looksLikeOwnKey(const QString &key)
{
    static const QRegularExpression name(QStringLiteral("^[a-z][A-Za-z0-9]{1,63}$"));
    return name.match(key).hasMatch();
}

// A file name beside `path` that is not taken yet.
QString freeSiblingName(const QString &path, const QString &suffix)
{
    QString candidate = path + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = path + suffix + u'-' + QString::number(n);
    return candidate;
}

} // namespace

PreferencesStore::PreferencesStore(QString filePath)
    : m_filePath(std::move(filePath))
{
    setAsideIfUnreadable();
}

QString PreferencesStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quillo/quillo.conf");
}

void PreferencesStore::registerDefaults(const QHash<QString, bool> &defaults)
{
    m_defaults.insert(defaults);
}

bool PreferencesStore::boolValue(const QString &key) const
{
    if (const auto stored = storedValue(key)) {
        if (const auto value = asBool(*stored))
            return *value;
        warnWrongType(key, "a Boolean");
    }
    return m_defaults.value(key, false);
}

std::optional<QString> PreferencesStore::stringValue(const QString &key) const
{
    return ofType<QString>(key, storedValue(key), "text");
}

std::optional<QByteArray> PreferencesStore::dataValue(const QString &key) const
{
    return ofType<QByteArray>(key, storedValue(key), "data");
}

bool PreferencesStore::setBool(const QString &key, bool value)
{
    // Written as the text INI would hold anyway, so this run reads what the next one will.
    return write(key, QString(value ? trueText : falseText));
}

bool PreferencesStore::setString(const QString &key, const QString &value)
{
    return write(key, value);
}

bool PreferencesStore::setData(const QString &key, const QByteArray &value)
{
    return write(key, value);
}

bool PreferencesStore::remove(const QString &key)
{
    return write(key, std::nullopt);
}

std::optional<QString> PreferencesStore::writeProblem() const
{
    createPrivately(m_filePath);
    // Opened for writing without changing a byte: this, unlike the file's mode, also holds for root.
    const int fd = ::open(QFile::encodeName(m_filePath).constData(), O_RDWR | O_CLOEXEC);
    const int error = fd < 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    if (fd >= 0 && QFileInfo(m_filePath).isFile())
        return std::nullopt;
    return QStringLiteral("%1 cannot be written: %2")
        .arg(m_filePath,
             error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("it is not a file"));
}

std::optional<QString> PreferencesStore::keepAside(const QString &key, const QByteArray &value) const
{
    const QString aside = freeSiblingName(m_filePath + u'.' + key, QStringLiteral(".unreadable"));
    QFile file(aside);
    // NewOnly: never replaces a file that appeared since the name was chosen.
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly) &&
        file.write(value) == value.size() && file.flush()) {
        file.close();
        return aside;
    }
    qCWarning(lcSettings, "Could not keep the unreadable preference \"%s\" aside in %s: %s",
              qUtf8Printable(key), qUtf8Printable(aside), qUtf8Printable(file.errorString()));
    file.remove();
    return std::nullopt;
}

// A fresh QSettings per call: its status belongs to this one operation, and opening re-reads the
// file when its size or time changed.
std::optional<QVariant> PreferencesStore::storedValue(const QString &key) const
{
    QLockFile lock(writeLockPath(m_filePath));
    lockAgainstWriters(lock);
    const QSettings settings(m_filePath, QSettings::IniFormat);
    if (!settings.contains(key))
        return std::nullopt;
    return settings.value(key);
}

bool PreferencesStore::write(const QString &key, const std::optional<QVariant> &value)
{
    createPrivately(m_filePath);
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (value)
        settings.setValue(key, *value);
    else
        settings.remove(key);
    settings.sync();
    keepPrivate(m_filePath);
    if (settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcSettings, "Could not save preference \"%s\" to %s", qUtf8Printable(key),
              qUtf8Printable(m_filePath));
    return false;
}

// The first write would replace a file QSettings cannot fully parse with only what it could read,
// so such a file is moved aside first and what could be read is carried over.
void PreferencesStore::setAsideIfUnreadable()
{
    QHash<QString, QVariant> salvaged;
    QString aside;
    {
        // Judged and moved with no write in between: a file created between the parse and the size
        // check would be taken for an unreadable one.
        QLockFile lock(writeLockPath(m_filePath));
        lockAgainstWriters(lock);
        const QSettings settings(m_filePath, QSettings::IniFormat);
        const QStringList keys = settings.allKeys(); // parses every section, so status() covers them all
        const bool unreadable = settings.status() == QSettings::FormatError ||
                                (keys.isEmpty() && QFileInfo(m_filePath).size() > 0);
        if (!unreadable)
            return;
        qsizetype bytes = 0;
        for (const QString &key : keys) {
            if (salvaged.size() == maxSalvagedKeys || !looksLikeOwnKey(key))
                continue;
            const QVariant value = settings.value(key);
            bytes += value.toByteArray().size();
            if (bytes > maxSalvagedBytes)
                break;
            salvaged.insert(key, value);
        }
        aside = freeSiblingName(m_filePath, QStringLiteral(".unreadable"));
        if (!QFile::rename(m_filePath, aside)) {
            qCWarning(lcSettings, "Preferences file %s cannot be read, nor moved aside",
                      qUtf8Printable(m_filePath));
            return;
        }
        keepPrivate(aside);
    }
    qCWarning(lcSettings, "Preferences file %s cannot be read; moved it to %s and kept %lld readable values",
              qUtf8Printable(m_filePath), qUtf8Printable(aside), qlonglong(salvaged.size()));
    createPrivately(m_filePath);
    QSettings settings(m_filePath, QSettings::IniFormat);
    for (auto it = salvaged.cbegin(); it != salvaged.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    keepPrivate(m_filePath);
    if (settings.status() != QSettings::NoError)
        qCWarning(lcSettings, "Could not write the readable values to %s", qUtf8Printable(m_filePath));
}
