// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/RoutingConfiguration.h"
#include "settings/ScreenshotToolSettings.h"

#include <QObject>
#include <QString>

#include <optional>

class PreferencesStore;
struct ToolEnvironment;

// The chat API the local model server speaks: Ollama's own, or the OpenAI-compatible one.
enum class LocalModelApi
{
    Ollama,
    OpenAI
};

// The user's options, persisted in the preferences store, plus values the interface shows
// (`watchedFolders`, `needsFolderAccess`) that live in memory only. Every change is announced by its
// own signal after it took effect. Main thread only.
class SettingsStore final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsStore(PreferencesStore &preferences, QObject *parent = nullptr);

    bool appendDateSuffix() const { return m_appendDateSuffix; }
    bool folderRoutingEnabled() const { return m_folderRoutingEnabled; }
    const std::optional<QString> &customFolderPath() const { return m_customFolderPath; }
    bool isPaused() const { return m_isPaused; }
    const RoutingConfiguration &routing() const { return m_routing; }
    bool useLocalModel() const { return m_useLocalModel; }
    // Whether the text read on screenshots is kept in the search index.
    bool remembersText() const { return m_remembersText; }
    // Where the local model server listens, and which of its models names screenshots.
    const QString &localModelUrl() const { return m_localModelUrl; }
    const QString &localModelName() const { return m_localModelName; }
    LocalModelApi localModelApi() const { return m_localModelApi; }
    // Only ever typed into the settings file; empty when there is none.
    const QString &localModelApiKey() const { return m_localModelApiKey; }
    // Text recognition's languages by Tesseract's names ("deu+eng"), set in the settings file only;
    // absent follows the user's locale. Read at start.
    const std::optional<QString> &recognitionLanguages() const { return m_recognitionLanguages; }
    // The first of the watched folders, the one the tray opens.
    const std::optional<QString> &watchedFolder() const { return m_watchedFolder; }
    const QList<WatchedFolder> &watchedFolders() const { return m_watchedFolders; }
    bool needsFolderAccess() const { return m_needsFolderAccess; }
    // Why renames are held back although watching goes on (the history cannot be saved).
    const std::optional<QString> &renamingProblem() const { return m_renamingProblem; }
    // Why nothing is read (no reading process could shut itself in).
    const std::optional<QString> &readingProblem() const { return m_readingProblem; }

    void setAppendDateSuffix(bool value);
    void setFolderRoutingEnabled(bool value);
    // Absent removes the stored key.
    void setCustomFolderPath(const std::optional<QString> &value);
    void setPaused(bool value);
    void setRouting(const RoutingConfiguration &value);
    void setUseLocalModel(bool value);
    void setRemembersText(bool value);
    void setLocalModelUrl(const QString &value);
    void setLocalModelName(const QString &value);
    void setLocalModelApi(LocalModelApi value);
    // One folder, with no tool's names of its own.
    void setWatchedFolder(const std::optional<QString> &value);
    void setWatchedFolders(const QList<WatchedFolder> &value);
    void setNeedsFolderAccess(bool value);
    void setRenamingProblem(const std::optional<QString> &value);
    void setReadingProblem(const std::optional<QString> &value) { m_readingProblem = value; }

    // The custom folder while it is an existing directory that may be watched (with every tool's
    // names), else the screenshot tools' folders. A stale or refused custom path stays stored.
    QList<WatchedFolder> resolveWatchedFolders(const ToolEnvironment &environment) const;

signals:
    void appendDateSuffixChanged(bool value);
    void folderRoutingEnabledChanged(bool value);
    void customFolderPathChanged(const std::optional<QString> &value);
    void pausedChanged(bool value);
    void routingChanged(const RoutingConfiguration &value);
    void useLocalModelChanged(bool value);
    void remembersTextChanged(bool value);
    void localModelUrlChanged(const QString &value);
    void localModelNameChanged(const QString &value);
    void localModelApiChanged(LocalModelApi value);
    void watchedFolderChanged(const std::optional<QString> &value);
    void needsFolderAccessChanged(bool value);
    void renamingProblemChanged(const std::optional<QString> &value);

private:
    PreferencesStore &m_preferences;
    bool m_appendDateSuffix = true;
    bool m_folderRoutingEnabled = true;
    std::optional<QString> m_customFolderPath;
    bool m_isPaused = false;
    RoutingConfiguration m_routing;
    bool m_useLocalModel = true;
    bool m_remembersText = true;
    QString m_localModelUrl;
    QString m_localModelName;
    LocalModelApi m_localModelApi = LocalModelApi::Ollama;
    QString m_localModelApiKey;
    std::optional<QString> m_recognitionLanguages;
    std::optional<QString> m_watchedFolder;
    QList<WatchedFolder> m_watchedFolders;
    bool m_needsFolderAccess = false;
    std::optional<QString> m_renamingProblem;
    std::optional<QString> m_readingProblem;
    mutable QString m_loggedRefusal; // the custom folder last refused in the log
};
