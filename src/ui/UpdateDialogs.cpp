// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UpdateDialogs.h"

#include "renaming/FileManager.h"
#include "update/SoftwareUpdates.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int progressSteps = 1000;

const QString dialogTitle = QCoreApplication::translate("UpdateDialogs", "Software Update");

QMessageBox *messageBox(QMessageBox::Icon icon, const QString &text, const QString &informativeText)
{
    auto *box = new QMessageBox(icon, dialogTitle, text, QMessageBox::Close);
    box->setInformativeText(informativeText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

} // namespace

UpdateDialogs::UpdateDialogs(SoftwareUpdates &updates, FileManager &fileManager, QObject *parent)
    : QObject(parent)
    , m_updates(updates)
    , m_fileManager(fileManager)
{
    connect(&updates, &SoftwareUpdates::checkStarted, this, &UpdateDialogs::openProgress);
    connect(&updates, &SoftwareUpdates::checkEnded, this, &UpdateDialogs::closeProgress);
    connect(&updates, &SoftwareUpdates::resultToShow, this, &UpdateDialogs::showResult);
    connect(&updates, &SoftwareUpdates::downloadStarted, this, [this](const QString &version) {
        if (m_progress)
            m_progress->setLabelText(
                QCoreApplication::translate("UpdateDialogs", "Downloading Quillo %1…").arg(version));
    });
    connect(&updates, &SoftwareUpdates::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_progress) {
            m_progress->setMaximum(progressSteps);
            m_progress->setValue(int(received * progressSteps / std::max<qint64>(total, 1)));
        }
    });
}

void UpdateDialogs::openProgress()
{
    m_progress = new QProgressDialog(QCoreApplication::translate("UpdateDialogs", "Checking for updates…"),
                                     QCoreApplication::translate("UpdateDialogs", "Cancel"), 0, 0);
    m_progress->setWindowTitle(dialogTitle);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    connect(m_progress, &QProgressDialog::canceled, &m_updates, &SoftwareUpdates::cancelCheck);
    m_progress->show();
}

void UpdateDialogs::closeProgress()
{
    if (!m_progress)
        return;
    // Closing a progress dialog reports it cancelled; that must not cancel anything now.
    m_progress->disconnect(&m_updates);
    m_progress->close();
    m_progress = nullptr;
}

void UpdateDialogs::showResult(const UpdateCheckResult &result)
{
    QMessageBox *box = nullptr;
    switch (result.outcome) {
    case UpdateCheckResult::Outcome::UpToDate:
        box = messageBox(
            QMessageBox::Information, QCoreApplication::translate("UpdateDialogs", "You’re up to date"),
            QCoreApplication::translate("UpdateDialogs", "Quillo %1 is the newest version available.")
                .arg(m_updates.currentVersion()));
        break;
    case UpdateCheckResult::Outcome::Failed:
        box = messageBox(QMessageBox::Warning,
                         QCoreApplication::translate("UpdateDialogs", "Could not check for updates"),
                         result.error);
        break;
    case UpdateCheckResult::Outcome::Ready:
        if (m_updates.installsAtQuit()) {
            box = messageBox(
                QMessageBox::Information,
                QCoreApplication::translate("UpdateDialogs", "Quillo %1 is ready").arg(result.version),
                QCoreApplication::translate("UpdateDialogs",
                                            "It has been downloaded and verified, and replaces this version "
                                            "when you quit Quillo."));
            break;
        }
        box = messageBox(
            QMessageBox::Information,
            QCoreApplication::translate("UpdateDialogs", "Quillo %1 is available").arg(result.version),
            QCoreApplication::translate(
                "UpdateDialogs", "It has been downloaded and verified: %1. Use it in place of this copy "
                                 "of Quillo.")
                .arg(QFileInfo(result.archivePath).fileName()));
        QPushButton *show = box->addButton(QCoreApplication::translate("UpdateDialogs", "Show in Folder"),
                                           QMessageBox::ActionRole);
        connect(show, &QPushButton::clicked, this, [this, path = result.archivePath] {
            m_fileManager.reveal(path);
        });
        break;
    }
    box->open();
}
