// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/WatchedFolderRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

// Refused with everything inside them.
constexpr std::array systemTrees{"/bin",   "/boot",   "/dev",  "/etc",  "/lib", "/lib32",
                                 "/lib64", "/libx32", "/proc", "/sbin", "/sys", "/usr"};
// Refused themselves only: below them are homes (/var/home), drives (/media, /run/media) and the like.
constexpr std::array systemFolders{"/", "/home", "/media", "/mnt", "/opt", "/run", "/srv", "/tmp", "/var"};

QString resolved(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    const QString real = QFileInfo(clean).canonicalFilePath();
    return real.isEmpty() ? clean : real;
}

bool isSystemFolder(const QString &folder)
{
    return std::any_of(systemFolders.begin(), systemFolders.end(),
                       [&](const char *system) {
                           return folder == QLatin1StringView(system);
                       }) ||
           std::any_of(systemTrees.begin(), systemTrees.end(), [&](const char *system) {
               const QLatin1StringView tree(system);
               return folder == tree || (folder.startsWith(tree) && folder.at(tree.size()) == u'/');
           });
}

} // namespace

namespace WatchedFolderRules {

std::optional<QString> refusal(const QString &folder, bool isCustom)
{
    const QString real = resolved(folder);
    if (isSystemFolder(real))
        return QCoreApplication::translate(
                   "WatchedFolderRules",
                   "“%1” is a system folder. Renaming files in it could harm the computer, "
                   "so Quillo does not watch it. Choose a folder of your own, such as "
                   "Pictures/Screenshots in your home folder.")
            .arg(real);
    if (!isCustom && real == resolved(QDir::homePath()))
        return QCoreApplication::translate("WatchedFolderRules",
                                           "“%1” is your home folder itself. Quillo watches it only when you "
                                           "choose it yourself as a custom folder.")
            .arg(real);
    return std::nullopt;
}

} // namespace WatchedFolderRules
