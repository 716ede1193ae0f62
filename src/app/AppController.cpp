// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppController.h"

#include "app/AppLog.h"
#include "app/DesktopInterface.h"
#include "app/TakeOverChannel.h"
#include "app/UserPrompts.h"
#include "core/CanonicalPath.h"
#include "index/IndexWriter.h"
#include "intake/DirectoryChangeObserver.h"
#include "intake/PersistentFolderEventSource.h"
#include "naming/CaptureContext.h"
#include "naming/LocalModelClient.h"
#include "reading/RecognitionLanguages.h"
#include "renaming/FileManager.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/FolderAccess.h"
#include "settings/PreferencesStore.h"
#include "settings/ScreenshotToolSettings.h"
#include "settings/SettingsStore.h"
#include "settings/WatchedFolderRules.h"
#include "ui/SettingsPresentation.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QUrl>

#include <unistd.h>

namespace {

const QString hasLaunchedBeforeKey = QStringLiteral("hasLaunchedBefore");

QString folderName(const QString &folder)
{
    return QFileInfo(QDir::cleanPath(folder)).fileName();
}

} // namespace

AppController::AppController(AppServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_settings(std::make_unique<SettingsStore>(m_services.preferences))
    , m_history(std::make_unique<RenameHistoryStore>(m_services.preferences))
    , m_folderAccess(std::make_unique<FolderAccess>(m_services.preferences, m_services.isSandboxed))
{}

AppController::~AppController()
{
    shutdown();
}

bool AppController::start()
{
    connect(&m_services.takeOver, &TakeOverChannel::takeOverRequested, this, &AppController::quitRequested);
    if (!m_services.takeOver.announce())
        return false;
    m_folderAccess->restoreAccess();

    m_coordinator = std::make_unique<RenameCoordinator>(
        *m_settings, *m_history,
        [this] {
            return m_services.namerFactory(*m_settings);
        },
        m_services.fileSystem, RenameCoordinator::Clock::system());
    m_index = std::make_unique<IndexWriter>(ScreenshotIndex::defaultPath());
    m_coordinator->setIndex(m_index.get());
    m_index->onRefillWanted(this, [this] {
        refillIndex();
    });
    connect(m_coordinator.get(), &RenameCoordinator::recordingProblemChanged, this,
            [this](const std::optional<QString> &problem) {
                if (problem)
                    qCWarning(lcApp).noquote()
                        << QStringLiteral(
                               "Renaming is held back: the rename history cannot be saved (%1). Quillo "
                               "renames again once it can.")
                               .arg(*problem);
                else
                    qCInfo(lcApp) << "The rename history can be saved again; renaming goes on";
                m_settings->setRenamingProblem(problem);
                if (m_desktop)
                    m_desktop->stateChanged();
            });
    connect(m_coordinator.get(), &RenameCoordinator::readingProblemChanged, this,
            [this](const std::optional<QString> &problem) {
                if (problem)
                    qCWarning(lcApp).noquote()
                        << QStringLiteral("Screenshots are not renamed: no reading process could shut itself "
                                          "in (%1). Quillo never reads them unconfined.")
                               .arg(*problem);
                else
                    qCInfo(lcApp) << "Reading processes shut themselves in again; renaming goes on";
                m_settings->setReadingProblem(problem);
                if (m_desktop)
                    m_desktop->stateChanged();
            });

    if (m_services.desktop) {
        m_desktop = m_services.desktop(*this);
        // The coordinator announces a rename once it is in the history.
        connect(m_coordinator.get(), &RenameCoordinator::renamed, this, [this](const RenameRecord &record) {
            m_desktop->renamed(record);
        });
        connect(m_coordinator.get(), &RenameCoordinator::activityChanged, this, [this] {
            m_desktop->stateChanged();
        });
    }

    connect(m_settings.get(), &SettingsStore::customFolderPathChanged, this, [this] {
        observeCustomFolder();
        refreshWatchedFolder(true, true);
    });
    connect(m_settings.get(), &SettingsStore::pausedChanged, this, [this] {
        updateWatcher(false);
    });
    connect(m_settings.get(), &SettingsStore::localModelUrlChanged, this,
            &AppController::announceModelServer);
    connect(m_settings.get(), &SettingsStore::useLocalModelChanged, this,
            &AppController::announceModelServer);
    announceModelServer();
    announceRecognitionLanguages();
    observePreferencesFolder();
    observeCustomFolder();
    refreshWatchedFolder(true, true);
    if (m_index->isRefillWanted())
        refillIndex();

    const bool isFirstLaunch = !m_services.preferences.boolValue(hasLaunchedBeforeKey);
    if (isFirstLaunch)
        m_services.preferences.setBool(hasLaunchedBeforeKey, true);
    if (m_desktop)
        m_desktop->started(isFirstLaunch);
    return true;
}

void AppController::refillIndex()
{
    if (m_indexRefill || m_services.indexRefiller.isEmpty() || !m_settings->remembersText())
        return;
    // The watched folders hold what Quillo named and filed there, category folders included; the
    // history adds what it named elsewhere.
    QStringList paths;
    for (const auto &watcher : m_watchers) {
        if (watcher->isRunning())
            paths.append(watcher->folder());
    }
    for (const RenameRecord &record : m_history->records()) {
        if (QFileInfo::exists(record.renamedPath))
            paths.append(record.renamedPath);
    }
    if (paths.isEmpty()) {
        m_index->refilled();
        return;
    }
    qCInfo(lcApp).noquote() << "Indexing again, in the background:" << paths.join(QStringLiteral(", "));
    m_indexRefill = new QProcess(this);
    m_indexRefill->setProgram(m_services.indexRefiller);
    m_indexRefill->setArguments(QStringList{QStringLiteral("index"), QStringLiteral("--recursive"),
                                            QStringLiteral("--jobs"), QStringLiteral("1"),
                                            QStringLiteral("--")} +
                                paths);
    m_indexRefill->setStandardOutputFile(QProcess::nullDevice());
    m_indexRefill->setStandardErrorFile(QProcess::nullDevice());
    // Behind whatever the user does now, renames included.
    m_indexRefill->setChildProcessModifier([] {
        ::nice(10);
    });
    connect(m_indexRefill, &QProcess::finished, this, [this](int status, QProcess::ExitStatus exit) {
        m_indexRefill->deleteLater();
        // A file that could not be read is left out; only a refill that did not run is tried again.
        if (exit == QProcess::NormalExit && (status == 0 || status == 1)) {
            m_index->refilled();
            qCInfo(lcApp) << "The search index holds the screenshots Quillo named again";
        } else {
            qCWarning(lcApp) << "Indexing again ended early; Quillo tries at its next start";
        }
    });
    connect(m_indexRefill, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCWarning(lcApp).noquote() << "Could not index again:" << m_indexRefill->errorString();
            m_indexRefill->deleteLater();
        }
    });
    m_indexRefill->start();
}

void AppController::shutdown()
{
    if (m_indexRefill) {
        // Each screenshot is indexed in one transaction: stopping loses none; the next start goes on.
        m_indexRefill->disconnect(this);
        m_indexRefill->kill();
        m_indexRefill->waitForFinished();
        delete m_indexRefill;
    }
    for (const auto &watcher : m_watchers)
        watcher->stop();
    m_folderAccess->stopAccessingAll();
}

bool AppController::isWatching() const
{
    return std::any_of(m_watchers.begin(), m_watchers.end(), [](const auto &watcher) {
        return watcher->isRunning();
    });
}

void AppController::observePreferencesFolder()
{
    // Some tools keep their settings one folder down, which they create when they first save them;
    // GSettings keeps the desktop's in dconf (or, in tests, in a key file).
    const QString root = m_services.preferencesFolder;
    for (const char *below : {"", "/flameshot", "/ksnip", "/xfce4", "/dconf", "/glib-2.0/settings"}) {
        const QString folder = root + QLatin1StringView(below);
        auto source = PersistentFolderEventSource::create(folder, m_services.eventSources,
                                                          PersistentFolderEventSource::IfMissing::Wait);
        auto observer = DirectoryChangeObserver::create(std::move(source), [this] {
            refreshWatchedFolder(false, false);
        });
        if (observer)
            m_preferencesObservers.push_back(std::move(observer));
    }
}

void AppController::refreshWatchedFolder(bool forceRestart, bool promptForAccess)
{
    const ToolEnvironment environment = m_services.toolEnvironment();
    const QList<WatchedFolder> folders = m_settings->resolveWatchedFolders(environment);
    const QString resolved = folders.first().path;
    bool restart = forceRestart;
    if (folders != m_settings->watchedFolders()) {
        m_settings->setWatchedFolders(folders);
        logWatchedFolders(folders);
        restart = true;
    }
    m_coordinator->setWatchedFolders(folders);

    const bool needsAccess = m_folderAccess->authorization(resolved) == FolderAuthorization::NeedsAccess;
    const bool accessChanged = needsAccess != m_settings->needsFolderAccess();
    m_settings->setNeedsFolderAccess(needsAccess);
    if (restart || accessChanged)
        updateWatcher(true);
    if (needsAccess && promptForAccess)
        requestFolderAccess();
}

void AppController::observeCustomFolder()
{
    m_customFolderSource.reset();
    const auto custom = m_settings->customFolderPath();
    if (!custom)
        return;
    m_customFolderSource = PersistentFolderEventSource::create(*custom, m_services.eventSources,
                                                               PersistentFolderEventSource::IfMissing::Wait);
    if (!m_customFolderSource)
        return;
    m_customFolderSource->setHandler(
        [this, path = *custom](const FolderEvent &event) {
            if (event.kind != FolderEventKind::FolderGone && event.kind != FolderEventKind::FolderBack)
                return;
            if (event.kind == FolderEventKind::FolderGone)
                qCInfo(lcApp).noquote()
                    << QStringLiteral(
                           "The folder %1 is gone; renaming in the screenshot tool's folder until it is back")
                           .arg(path);
            refreshWatchedFolder(false, false);
        });
}

void AppController::updateWatcher(bool restart)
{
    // Whatever happens below, the tray shows the state it leaves.
    const auto shown = qScopeGuard([this] {
        if (m_desktop)
            m_desktop->stateChanged();
    });
    if (m_settings->isPaused() || m_settings->needsFolderAccess()) {
        if (isWatching() || restart)
            qCInfo(lcApp).noquote() << (m_settings->isPaused()
                                            ? QStringLiteral("Paused")
                                            : QStringLiteral("Waiting for access to the folder"));
        for (const auto &watcher : m_watchers)
            watcher->stop();
        return;
    }
    const QList<WatchedFolder> &folders = m_settings->watchedFolders();
    // A watcher per folder; one that stays on its folder keeps the files it is settling.
    while (m_watchers.size() > std::size_t(folders.size()))
        m_watchers.pop_back();
    while (m_watchers.size() < std::size_t(folders.size())) {
        auto watcher = std::make_unique<ScreenshotWatcher>(m_services.eventSources);
        // Quillo never deletes: a deleted screenshot is gone for good, so is its text.
        connect(watcher.get(), &ScreenshotWatcher::fileDeleted, this, [this](const QString &path) {
            m_index->remove(path);
        });
        connect(watcher.get(), &ScreenshotWatcher::fileArriving, m_coordinator.get(),
                &RenameCoordinator::fileArriving, Qt::QueuedConnection);
        // Queued to this thread: the watcher reports on its own.
        connect(watcher.get(), &ScreenshotWatcher::fileSettled, this, &AppController::fileAppeared,
                Qt::QueuedConnection);
        m_watchers.push_back(std::move(watcher));
    }
    for (qsizetype i = 0; i < folders.size(); ++i) {
        ScreenshotWatcher &watcher = *m_watchers[std::size_t(i)];
        const bool moved = watcher.folder() != folders[i].path;
        if (restart || moved || !watcher.isRunning()) {
            watcher.start(folders[i].path);
            if (watcher.isRunning())
                qCInfo(lcApp).noquote() << QStringLiteral("Watching %1").arg(folders[i].path);
        }
    }
}

void AppController::logWatchedFolders(const QList<WatchedFolder> &folders)
{
    if (folders.first().isCustom)
        return;
    if (ScreenshotToolSettings::foundNoTool(folders)) {
        qCInfo(lcApp).noquote()
            << QStringLiteral(
                   "No screenshot tool's settings were found, so Quillo watches %1, where GNOME and "
                   "KDE save screenshots. If yours go elsewhere, choose that folder in Quillo's settings.")
                   .arg(folders.first().path);
        return;
    }
    QStringList watched;
    for (const WatchedFolder &folder : folders)
        watched.append(QStringLiteral("%1 (%2)").arg(folder.path, folder.tools.join(QStringLiteral(", "))));
    qCInfo(lcApp).noquote()
        << QStringLiteral("Screenshot folders: %1").arg(watched.join(QStringLiteral("; ")));
}

void AppController::fileAppeared(const QString &path)
{
    // The front window now, before naming starts, says what the screenshot was of.
    CaptureContext context = m_services.captureContext.current();
    if (m_desktop)
        context.quilloPanel = m_desktop->shownPanel();
    m_coordinator->handleNewFile(path, context);
}

void AppController::requestFolderAccess()
{
    const QString resolved = m_settings->resolveWatchedFolders(m_services.toolEnvironment()).first().path;
    const auto chosen =
        m_services.prompts.chooseFolder(tr("Grant Access"),
                                        tr("Quillo renames new screenshots in this folder and files them "
                                           "into subfolders. Click Grant Access to "
                                           "allow it, or choose the folder you save screenshots to."),
                                        resolved);
    if (!chosen || isRefused(*chosen))
        return;
    rememberWatchedFolder(*chosen);
    if (canonicalPath(*chosen) == canonicalPath(resolved))
        refreshWatchedFolder(true, false);
    else
        m_settings->setCustomFolderPath(QDir::cleanPath(*chosen));
}

void AppController::chooseCustomFolder()
{
    const auto chosen = m_services.prompts.chooseFolder(
        tr("Watch Folder"), tr("Choose the folder Quillo watches for new screenshots."),
        m_settings->watchedFolder().value_or(QDir::homePath()));
    if (!chosen || isRefused(*chosen))
        return;
    rememberWatchedFolder(*chosen);
    m_settings->setCustomFolderPath(QDir::cleanPath(*chosen));
}

bool AppController::isRefused(const QString &folder)
{
    const auto refusal = WatchedFolderRules::refusal(folder, true);
    if (refusal) {
        const QString name = folderName(folder);
        m_services.prompts.warn(
            tr("Quillo cannot watch \u201C%1\u201D").arg(name.isEmpty() ? QStringLiteral("/") : name),
            *refusal);
    }
    return refusal.has_value();
}

void AppController::rememberWatchedFolder(const QString &folder)
{
    const auto result = m_folderAccess->rememberWatchedFolder(folder);
    if (!result.grant) {
        m_services.prompts.warn(tr("Could not keep access to \u201C%1\u201D").arg(folderName(folder)),
                                result.error);
    }
}

void AppController::undo(const RenameRecord &record)
{
    const auto restored = undone(record.id, m_coordinator->undo(record));
    if (!restored)
        m_services.prompts.warn(tr("Could not undo the rename"), restored.error.description);
}

RenameOutcome<QString> AppController::undoById(const QUuid &id)
{
    return undone(id, m_coordinator->undo(id));
}

RenameOutcome<QString> AppController::undone(const QUuid &id, RenameOutcome<QString> restored)
{
    if (restored) {
        if (m_desktop)
            m_desktop->renameWasUndone(id, *restored.value);
        emit renameUndone(id, *restored.value);
    }
    return restored;
}

void AppController::reveal(const RenameRecord &record)
{
    if (m_services.fileSystem.exists(record.renamedPath)) {
        m_services.fileManager.reveal(record.renamedPath, warnUnless(tr("Could not show the file")));
        return;
    }
    m_history->remove(record.id);
    m_services.prompts.warn(
        tr("File not found"),
        UndoError::renamedFileMissing(QFileInfo(record.renamedPath).fileName()).description);
}

void AppController::revealFile(const QString &filePath)
{
    if (m_services.fileSystem.exists(filePath))
        m_services.fileManager.reveal(filePath, warnUnless(tr("Could not show the file")));
    else
        m_services.prompts.warn(tr("File not found"),
                                tr("\u201C%1\u201D is no longer there.").arg(QFileInfo(filePath).fileName()));
}

void AppController::clearSearchIndex(std::function<void()> done)
{
    // The writer is waited for before this object goes, and a call posted to it goes with it.
    m_index->clear([this, done = std::move(done)] {
        if (done)
            QMetaObject::invokeMethod(this, done);
    });
}

void AppController::offerToClearSearchIndex(std::function<void()> done)
{
    if (m_services.prompts.confirm(tr("Also clear the search index?"),
                                   tr("Quillo no longer keeps the text of new screenshots. The text of "
                                      "those it already read stays searchable until you clear it. "
                                      "Your screenshots stay where they are."),
                                   tr("Clear Search Index")))
        clearSearchIndex(std::move(done));
}

void AppController::openWatchedFolder()
{
    if (const auto &folder = m_settings->watchedFolder())
        m_services.fileManager.openFolder(*folder, warnUnless(tr("Could not open the folder")));
}

FileManager::Done AppController::warnUnless(const QString &message)
{
    return [self = QPointer(this), message](const std::optional<QString> &problem) {
        if (self && problem)
            self->m_services.prompts.warn(message, *problem);
    };
}

void AppController::announceModelServer()
{
    if (const auto problem = ModelServer::fromSettings(*m_settings).problem();
        problem && m_settings->useLocalModel())
        qCWarning(lcApp).noquote() << *problem;
    // The settings window's own rule for "another computer"; said at start and on every change.
    std::optional<QString> warning =
        SettingsPresentation::remoteModelWarning(m_settings->useLocalModel(), m_settings->localModelUrl());
    if (!warning)
        return;
    warning->chop(1); // the sentence's full stop
    if (QUrl(m_settings->localModelUrl()).scheme() != QLatin1String("https"))
        warning->append(QStringLiteral(", unencrypted over plain http")); // not for people: journal line
    qCInfo(lcApp).noquote() << *warning;
}

void AppController::announceRecognitionLanguages()
{
    const auto choice = RecognitionLanguages::current(m_settings->recognitionLanguages());
    if (choice.missing.isEmpty())
        qCInfo(lcApp).noquote()
            << QStringLiteral("Text recognition reads %1").arg(choice.languages.join(u'+'));
    else
        qCWarning(lcApp).noquote() << RecognitionLanguages::missingDataNotice(choice);
}
