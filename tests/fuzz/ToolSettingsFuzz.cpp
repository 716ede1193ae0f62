// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ScreenshotToolSettings.h"
#include "settings/ToolEnvironment.h"
#include "settings/WatchedFolderRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>

// Reads a screenshot tool's settings file (QUILLO_SETTINGS_FILE, below the settings folder) the way
// Quillo does, with the file holding the input. Runs in a home and settings folder of its own, so
// nothing real is read or created.
namespace {

QTemporaryDir &home()
{
    static QTemporaryDir folder;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("HOME", home().path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home().path() + QStringLiteral("/.config")).toLocal8Bit());
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = home().path() + QStringLiteral("/.config/" QUILLO_SETTINGS_FILE);
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    // QSettings keeps a parsed file while its size and time stay the same; each input is new.
    static time_t counter = 0;
    const timespec times[2] = {{++counter, 0}, {counter, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    ToolEnvironment environment = ToolEnvironment::system();
    environment.isInstalled = [](const QString &) {
        return true;
    };
    // Always absolute folders that may be watched, and name patterns that compile.
    for (const WatchedFolder &folder : ScreenshotToolSettings::watchedFolders(environment)) {
        if (!QFileInfo(folder.path).isAbsolute() || WatchedFolderRules::refusal(folder.path, true))
            std::abort();
        for (const QString &pattern : folder.namePatterns) {
            if (!QRegularExpression(pattern).isValid())
                std::abort();
        }
    }
    return 0;
}
