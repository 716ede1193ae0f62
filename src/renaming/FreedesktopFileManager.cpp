#include "renaming/FreedesktopFileManager.h"

#include "renaming/RenameLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

FreedesktopFileManager::FreedesktopFileManager(QObject *parent)
    : QObject(parent)
{}

void FreedesktopFileManager::reveal(const QString &filePath)
{
    auto call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded)} << QString();
    // Asynchronous: a file manager that starts on demand must not freeze the program.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, filePath](QDBusPendingCallWatcher *w) {
        if (w->isError())
            openFolder(QFileInfo(filePath).absolutePath());
        w->deleteLater();
    });
}

void FreedesktopFileManager::openFolder(const QString &folderPath)
{
    // xdg-open needs no GUI application object, so this also works headless.
    const QString url = QUrl::fromLocalFile(folderPath).toString(QUrl::FullyEncoded);
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {url}))
        qCWarning(lcRename).noquote()
            << QStringLiteral("Could not open %1: xdg-open is missing").arg(folderPath);
}
