// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"
#include "settings/RoutingConfiguration.h"
#include "settings/ScreenshotToolSettings.h"

#include <QString>

#include <optional>

class QDateTime;
class QTimeZone;

// What the settings window shows and accepts, decided without widgets. Pure functions.
namespace SettingsPresentation {

// The folder with the home folder written as "~", or "Not watching".
QString watchedFolderText(const std::optional<QString> &folder, const QString &homePath);

// Where the watched folders come from: each with the tools that save there, or why there is one.
QString folderSourceText(const QList<WatchedFolder> &folders, bool hasCustomFolder, bool isSandboxed,
                         const QString &homePath);

// The file name the sample keywords would get now.
QString exampleFileName(bool appendDateSuffix, const QDateTime &now, const QTimeZone &zone);

// A typed model server address: the text to store, or why it cannot be used.
struct ModelServerCheck
{
    std::optional<QString> url;
    QString problem;
};
ModelServerCheck checkModelServer(const QString &typed);

// Why a typed model name or folder name cannot be stored; nothing when it can.
std::optional<QString> modelNameProblem(const QString &typed);
std::optional<QString> folderNameProblem(const QString &typed);

// "Screenshots are sent to <host> to be named." while the model is used on another computer.
std::optional<QString> remoteModelWarning(bool useLocalModel, const QString &modelServerUrl);
// The general privacy note: the warning above, or that nothing is uploaded.
QString privacyNote(bool useLocalModel, const QString &modelServerUrl);

// The routing with the rule of `rule.category` replaced.
RoutingConfiguration withRule(RoutingConfiguration routing, const CategoryRule &rule);

// "Quillo", "Quillo 0.1.0" or "Quillo 0.1.0 (abc1234)".
QString versionText(const QString &version, const QString &build);

// What the updater does, naming the host it asks.
QString updatesNote(const QString &host, bool installsAtQuit);

// "1,204 screenshots, 3.1 MB" in the default locale's numbers, or that nothing is indexed.
QString searchIndexText(const ScreenshotIndex::Size &size);
// Whether clearing the index would drop anything; also whether switching indexing off asks to.
bool canClearSearchIndex(const ScreenshotIndex::Size &size);

} // namespace SettingsPresentation
