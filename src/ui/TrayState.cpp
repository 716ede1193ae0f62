// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayState.h"

#include "ui/SettingsPresentation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace TrayState {

namespace {

Entry action(const QString &text, Command command, const QString &iconName, bool isEnabled = true,
             const QKeySequence &shortcut = {})
{
    Entry entry;
    entry.text = text;
    entry.command = command;
    entry.iconName = iconName;
    entry.isEnabled = isEnabled;
    entry.shortcut = shortcut;
    return entry;
}

Entry disabledLine(const QString &text)
{
    return action(text, Command::None, {}, false);
}

Entry separator()
{
    Entry entry;
    entry.kind = Entry::Kind::Separator;
    return entry;
}

Entry recentRename(const RenameRecord &record, const QString &title, const QDateTime &now)
{
    Entry entry;
    entry.kind = Entry::Kind::Submenu;
    entry.text = title;
    entry.iconName = QStringLiteral("image-x-generic");
    entry.toolTip = record.renamedPath;
    entry.record = record;
    entry.children = {disabledLine(recentRenameDetail(record, now)), separator(),
                      action(QCoreApplication::translate("TrayState", "Show in Folder"),
                             Command::RevealRecord, QStringLiteral("system-search")),
                      action(QCoreApplication::translate("TrayState", "Undo Rename"), Command::UndoRecord,
                             QStringLiteral("edit-undo"))};
    for (Entry &child : entry.children)
        child.record = record;
    return entry;
}

} // namespace

Icon icon(const Inputs &inputs)
{
    if (inputs.isPaused)
        return Icon::Paused;
    if (inputs.needsFolderAccess)
        return Icon::NeedsAccess;
    if (inputs.renamingProblem)
        return Icon::NotRenaming;
    if (inputs.readingProblem)
        return Icon::CannotReadSafely;
    if (inputs.isProcessing)
        return Icon::Naming;
    if (inputs.isFlashingRenamed)
        return Icon::Renamed;
    return Icon::Watching;
}

QString description(Icon icon)
{
    switch (icon) {
    case Icon::Paused:
        return QCoreApplication::translate("TrayState", "Quillo, paused");
    case Icon::NeedsAccess:
        return QCoreApplication::translate("TrayState", "Quillo, needs access to the screenshot folder");
    case Icon::NotRenaming:
        return QCoreApplication::translate("TrayState",
                                           "Quillo, not renaming: the rename history cannot be saved");
    case Icon::CannotReadSafely:
        return QCoreApplication::translate("TrayState",
                                           "Quillo, not renaming: screenshots cannot be read safely here");
    case Icon::Naming:
        return QCoreApplication::translate("TrayState", "Quillo, naming a screenshot");
    case Icon::Renamed:
        return QCoreApplication::translate("TrayState", "Quillo, screenshot renamed");
    case Icon::Watching:
        break;
    }
    return QCoreApplication::translate("TrayState", "Quillo, watching");
}

QString statusTitle(const Inputs &inputs)
{
    if (inputs.isPaused)
        return QCoreApplication::translate("TrayState", "Paused");
    if (inputs.needsFolderAccess)
        return QCoreApplication::translate("TrayState", "Needs access to the screenshot folder");
    if (inputs.renamingProblem)
        return QCoreApplication::translate("TrayState", "Not renaming: the rename history cannot be saved");
    if (inputs.readingProblem)
        return QCoreApplication::translate("TrayState",
                                           "Not renaming: screenshots cannot be read safely on this system");
    if (!inputs.watchedFolder)
        return QCoreApplication::translate("TrayState", "Not watching");
    return QCoreApplication::translate("TrayState", "Watching “%1”")
        .arg(QFileInfo(QDir::cleanPath(*inputs.watchedFolder)).fileName());
}

QString relativeTime(const QDateTime &then, const QDateTime &now)
{
    const qint64 seconds = then.secsTo(now);
    if (seconds < 60)
        return QCoreApplication::translate("TrayState", "now");
    const int minutes = int(seconds / 60);
    if (seconds < 3600)
        return QCoreApplication::translate("TrayState", "%n min ago", nullptr, minutes);
    const int hours = int(seconds / 3600);
    if (seconds < 86400)
        return QCoreApplication::translate("TrayState", "%n hr ago", nullptr, hours);
    const int days = int(seconds / 86400);
    // English without a translation has no plural forms.
    return days == 1 ? QCoreApplication::translate("TrayState", "1 day ago")
                     : QCoreApplication::translate("TrayState", "%n days ago", nullptr, days);
}

QString recentRenameDetail(const RenameRecord &record, const QDateTime &now)
{
    QStringList parts{QCoreApplication::translate("TrayState", "was %1").arg(record.originalFilename),
                      relativeTime(record.renamedAt, now)};
    if (record.routedFolderName)
        parts.append(QCoreApplication::translate("TrayState", "in %1").arg(*record.routedFolderName));
    return parts.join(QStringLiteral(", "));
}

QStringList recentRenameTitles(const QList<RenameRecord> &history)
{
    QHash<QString, int> uses;
    for (const RenameRecord &record : history)
        ++uses[QFileInfo(record.renamedPath).fileName()];
    QStringList titles;
    for (const RenameRecord &record : history) {
        const QFileInfo file(record.renamedPath);
        titles.append(uses.value(file.fileName()) > 1 ? file.dir().dirName() + u'/' + file.fileName()
                                                      : file.fileName());
    }
    return titles;
}

QList<Entry> menu(const Inputs &inputs, const QDateTime &now)
{
    QList<Entry> entries{disabledLine(statusTitle(inputs))};
    if (inputs.watchedFolder)
        entries.append(
            disabledLine(SettingsPresentation::watchedFolderText(inputs.watchedFolder, QDir::homePath())));
    if (inputs.needsFolderAccess)
        entries.append(action(QCoreApplication::translate("TrayState", "Grant Folder Access…"),
                              Command::GrantFolderAccess, QStringLiteral("changes-allow")));
    entries.append(inputs.isPaused ? action(QCoreApplication::translate("TrayState", "Resume Watching"),
                                            Command::TogglePause, QStringLiteral("media-playback-start"))
                                   : action(QCoreApplication::translate("TrayState", "Pause Watching"),
                                            Command::TogglePause, QStringLiteral("media-playback-pause")));
    entries.append(action(QCoreApplication::translate("TrayState", "Open Screenshot Folder"),
                          Command::OpenWatchedFolder, QStringLiteral("folder"),
                          inputs.watchedFolder.has_value()));
    entries.append(separator());
    Entry section;
    section.kind = Entry::Kind::Section;
    section.text = QCoreApplication::translate("TrayState", "Recent Renames");
    entries.append(section);
    if (inputs.history.isEmpty())
        entries.append(disabledLine(QCoreApplication::translate("TrayState", "No screenshots renamed yet")));
    const QStringList titles = recentRenameTitles(inputs.history);
    for (qsizetype i = 0; i < inputs.history.size(); ++i)
        entries.append(recentRename(inputs.history[i], titles[i], now));
    entries.append(action(QCoreApplication::translate("TrayState", "Undo Last Rename"), Command::UndoLast,
                          QStringLiteral("edit-undo"), !inputs.history.isEmpty(),
                          QKeySequence(Qt::CTRL | Qt::Key_Z)));
    entries.append(separator());
    entries.append(action(QCoreApplication::translate("TrayState", "Settings…"), Command::OpenSettings,
                          QStringLiteral("preferences-system"), true,
                          QKeySequence(Qt::CTRL | Qt::Key_Comma)));
    entries.append(action(QCoreApplication::translate("TrayState", "Check for Updates…"),
                          Command::CheckForUpdates, QStringLiteral("view-refresh"),
                          inputs.canCheckForUpdates));
    entries.append(action(QCoreApplication::translate("TrayState", "Quit Quillo"), Command::Quit,
                          QStringLiteral("application-exit"), true, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    return entries;
}

} // namespace TrayState

std::chrono::milliseconds RenamedFlash::remaining(const QDateTime &now) const
{
    if (!isShowing(now))
        return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(now.msecsTo(*m_until));
}
