// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"

#include <QWidget>

#include <vector>

class CategoryRuleRow;
class XdgAutostart;
class ModelAvailabilityMonitor;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class SearchIndexReader;
class SettingsStore;
class SoftwareUpdates;

// What the settings window shows and changes; all of it outlives the window.
struct SettingsWindowServices
{
    SettingsStore &settings;
    ModelAvailabilityMonitor &modelAvailability;
    XdgAutostart &launchAtLogin;
    SoftwareUpdates &updates;
    bool isSandboxed = false;
    // Counts what is indexed; without it the window shows no count.
    SearchIndexReader *searchIndex = nullptr;
};

// "Quillo Settings": the watched folder, naming, routing, search, launch at login and updates. Every control
// writes to the settings store at once and shows the store's changes at once, from wherever they
// come. Create it on first use and then only hide and show it. Main thread.
class SettingsWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(SettingsWindowServices services, QWidget *parent = nullptr);
    ~SettingsWindow() override;

signals:
    void chooseFolderRequested();
    void grantFolderAccessRequested();
    void openWatchedFolderRequested();
    void clearSearchIndexRequested();
    // Indexing was switched off here while the index holds something.
    void clearSearchIndexOffered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *folderSection();
    QWidget *namingSection();
    QWidget *routingSection();
    QWidget *searchSection();
    QWidget *generalSection();
    QWidget *updatesSection();
    void fitToContent();
    void connectStore();
    void showFolder();
    void showExample();
    void showModelServer();
    void showRouting();
    void showLaunchAtLogin();
    void showSearch();
    void modelServerEdited(const QString &text);
    void modelNameEdited(const QString &text);
    void launchAtLoginClicked(bool checked);

    SettingsWindowServices m_services;
    QScrollArea *m_scrollArea = nullptr;
    QLabel *m_watchedFolder = nullptr;
    QLabel *m_folderSource = nullptr;
    QWidget *m_folderAccessRow = nullptr;
    QPushButton *m_useSystemDefault = nullptr;
    QCheckBox *m_appendDateSuffix = nullptr;
    QLabel *m_example = nullptr;
    QCheckBox *m_useLocalModel = nullptr;
    QLabel *m_availability = nullptr;
    QComboBox *m_modelApi = nullptr;
    QLineEdit *m_modelServer = nullptr;
    QLabel *m_modelServerProblem = nullptr;
    QLabel *m_remoteWarning = nullptr;
    QLineEdit *m_modelName = nullptr;
    QLabel *m_modelNameProblem = nullptr;
    QCheckBox *m_folderRouting = nullptr;
    std::vector<CategoryRuleRow *> m_ruleRows;
    QPushButton *m_restoreDefaults = nullptr;
    QCheckBox *m_remembersText = nullptr;
    QLabel *m_searchIndexSize = nullptr;
    QPushButton *m_clearSearchIndex = nullptr;
    ScreenshotIndex::Size m_indexed;
    QCheckBox *m_launchAtLogin = nullptr;
    QLabel *m_launchAtLoginError = nullptr;
    QLabel *m_privacyNote = nullptr;
    QCheckBox *m_automaticUpdates = nullptr;
};
