// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>

class FileManager;
class SoftwareUpdates;
struct UpdateCheckResult;

// Shows what the updater decides to show: the progress of a check the user started, with Cancel,
// and each result in Quillo's own message boxes. Main thread.
class UpdateDialogs final : public QObject
{
    Q_OBJECT

public:
    UpdateDialogs(SoftwareUpdates &updates, FileManager &fileManager, QObject *parent = nullptr);

private:
    void openProgress();
    void closeProgress();
    void showResult(const UpdateCheckResult &result);

    SoftwareUpdates &m_updates;
    FileManager &m_fileManager;
    QPointer<QProgressDialog> m_progress;
};
