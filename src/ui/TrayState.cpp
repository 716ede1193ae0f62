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
    entry.filePath = record.renamedPath;
    entry.children = {disabledLine(recentRenameDetail(record, now)), separator(),
                      action(QCoreApplication::translate("TrayState", "Show in Folder"),
                             Command::RevealRecord, QStringLiteral("system-search")),
                      action(QCoreApplication::translate("TrayState", "Undo Rename"), Command::UndoRecord,
                             QStringLiteral("edit-undo"))};
    for (Entry &child : entry.children)
        child.record = record;
    return entry;
}

Entry searchHit(const SearchHit &hit)
{
    Entry entry;
    entry.kind = Entry::Kind::Submenu;
    entry.text = QFileInfo(hit.path).fileName();
    entry.iconName = QStringLiteral("image-x-generic");
    entry.toolTip = hit.path;
    entry.filePath = hit.path;
    entry.children = {disabledLine(searchHitDetail(hit)), separator(),
                      action(QCoreApplication::translate("TrayState", "Show in Folder"), Command::RevealFile,
                             QStringLiteral("system-search"))};
    entry.children.last().filePath = hit.path;
    return entry;
}

Entry section(const QString &text)
{
    Entry entry;
    entry.kind = Entry::Kind::Section;
    entry.text = text;
    return entry;
}

QList<Entry> recentRenames(const QList<RenameRecord> &history, const QDateTime &now)
{
    QList<Entry> entries{section(QCoreApplication::translate("TrayState", "Recent Renames"))};
    if (history.isEmpty())
        entries.append(disabledLine(QCoreApplication::translate("TrayState", "No screenshots renamed yet")));
    const QStringList titles = recentRenameTitles(history);
    for (qsizetype i = 0; i < history.size(); ++i)
        entries.append(recentRename(history[i], titles[i], now));
    return entries;
}

QList<Entry> searchResults(const TraySearch &search)
{
    QList<Entry> entries{section(QCoreApplication::translate("TrayState", "Search Results"))};
    switch (search.showing()) {
    case TraySearch::Showing::RecentRenames:
        break;
    case TraySearch::Showing::Results:
        for (const SearchHit &hit : search.hits())
            entries.append(searchHit(hit));
        break;
    case TraySearch::Showing::NoMatch:
        entries.append(
            disabledLine(QCoreApplication::translate("TrayState", "No screenshot holds these words")));
        break;
    case TraySearch::Showing::Problem:
        entries.append(
            disabledLine(QCoreApplication::translate("TrayState", "The search index cannot be read")));
        entries.last().toolTip = search.problem();
        break;
    }
    return entries;
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

QString searchHitDetail(const SearchHit &hit)
{
    // The row cuts what does not fit at its end, so the matched words come early.
    constexpr qsizetype wordsBefore = 2;
    QString detail = hit.snippet;
    if (const qsizetype match = detail.indexOf(ScreenshotIndex::markBegin); match > 0) {
        const QStringList before = detail.left(match).split(u' ');
        if (before.size() > wordsBefore + 1)
            detail = u'…' + before.mid(before.size() - wordsBefore - 1).join(u' ') + detail.mid(match);
    }
    return detail.remove(ScreenshotIndex::markBegin).remove(ScreenshotIndex::markEnd);
}

QList<Entry> menu(const Inputs &inputs, const QDateTime &now)
{
    QList<Entry> entries;
    if (inputs.canSearch) {
        Entry field;
        field.kind = Entry::Kind::SearchField;
        field.text = QCoreApplication::translate("TrayState", "Search screenshots");
        entries.append(field);
    }
    entries.append(disabledLine(statusTitle(inputs)));
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
    const bool searching = inputs.canSearch && inputs.search.showing() != TraySearch::Showing::RecentRenames;
    entries.append(searching ? searchResults(inputs.search) : recentRenames(inputs.history, now));
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
