// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/FreedesktopFileManager.h"

#include "renaming/RenameLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

namespace {

// An opener still running after this long has started something that shows the folder.
constexpr int openerPatienceMs = 3000;

// Calls `done` once, whichever of its callers comes first.
FileManager::Done once(FileManager::Done done)
{
    auto called = std::make_shared<bool>(false);
    return [done = std::move(done), called](const std::optional<QString> &problem) {
        if (std::exchange(*called, true) || !done)
            return;
        done(problem);
    };
}

} // namespace

FreedesktopFileManager::FreedesktopFileManager(QString opener, QObject *parent)
    : QObject(parent)
    , m_opener(std::move(opener))
{}

void FreedesktopFileManager::reveal(const QString &filePath, Done done)
{
    auto call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded)} << QString();
    // Asynchronous: a file manager that starts on demand must not freeze the program.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath, done = std::move(done)](QDBusPendingCallWatcher *w) {
                if (w->isError())
                    openFolder(QFileInfo(filePath).absolutePath(), done);
                else if (done)
                    done(std::nullopt);
                w->deleteLater();
            });
}

void FreedesktopFileManager::openFolder(const QString &folderPath, Done done)
{
    const Done report = once(std::move(done));
    // Not owned: if the opener runs the file manager itself, quitting Quillo must not end it.
    auto *opener = new QProcess;
    opener->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    connect(opener, &QProcess::finished, opener, [opener, report, folderPath](int exitCode) {
        if (exitCode == 0) {
            report(std::nullopt);
        } else {
            const QString said =
                QString::fromLocal8Bit(opener->readAllStandardError()).trimmed().section(u'\n', 0, 0);
            qCWarning(lcRename).noquote() << QStringLiteral("Could not open %1: %2").arg(folderPath, said);
            report(QStringLiteral("No file manager could open the folder. Install one, such as Files or "
                                  "Dolphin, to see your screenshots there."));
        }
        opener->deleteLater();
    });
    connect(opener, &QProcess::errorOccurred, opener,
            [opener, report, folderPath, name = m_opener](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                qCWarning(lcRename).noquote()
                    << QStringLiteral("Could not open %1: %2 is missing").arg(folderPath, name);
                report(
                    QStringLiteral("No file manager could open the folder: %1 is not installed.").arg(name));
                opener->deleteLater();
            });
    QTimer::singleShot(openerPatienceMs, opener, [report] {
        report(std::nullopt);
    });
    // xdg-open needs no GUI application object, so this also works headless.
    opener->start(m_opener, {QUrl::fromLocalFile(folderPath).toString(QUrl::FullyEncoded)});
}
