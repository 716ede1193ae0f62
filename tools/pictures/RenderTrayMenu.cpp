// SPDX-License-Identifier: GPL-3.0-or-later
// Not a test: `make screenshots` runs it to draw the tray menu, with two recent renames, into
// docs/images/tray-menu-<theme>.png, and the popup a left click opens into tray-popup-<theme>.png.
#include "PictureThemes.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/SearchIndexReader.h"
#include "ui/TrayController.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The icon as the tray shows it, beside the menu it opens.
QPixmap besideIcon(const QIcon &icon, QMenu &menu)
{
    menu.adjustSize();
    const QPixmap picture = menu.grab();
    QPixmap canvas(picture.width() + 48, picture.height() + 8);
    canvas.fill(QApplication::palette().color(QPalette::Window));
    QPainter painter(&canvas);
    painter.drawPixmap(4, 4, icon.pixmap(32, 32));
    painter.drawPixmap(44, 4, picture);
    painter.end();
    return canvas;
}

bool render(const QString &menuPath, const QString &popupPath)
{
    const QTemporaryDir store;
    PreferencesStore preferences(store.filePath(QStringLiteral("quillo.conf")));
    SettingsStore settings(preferences);
    const QString folder = QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
    settings.setWatchedFolder(folder);
    RenameHistoryStore history(preferences);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    history.add({QUuid::createUuid(), folder, QStringLiteral("Screenshot From 2026-12-05 09-58-10.png"),
                 folder + QStringLiteral("/Web/hugo-theme-book.png"), now.addSecs(-600),
                 QStringLiteral("Web"), NamingSource::Heuristics});
    history.add({QUuid::createUuid(), folder, QStringLiteral("Screenshot From 2026-12-05 10-04-31.png"),
                 folder + QStringLiteral("/Receipts & Invoices/killbill-invoice-acme.png"), now.addSecs(-60),
                 QStringLiteral("Receipts & Invoices"), NamingSource::Heuristics});
    TrayController tray(settings, history,
                        {[] {
                             return false;
                         },
                         [] {
                             return false;
                         },
                         [now] {
                             return now;
                         }});
    // An index not made yet: the popup has its search field, empty.
    SearchIndexReader reader(store.filePath(QStringLiteral("index.sqlite")));
    tray.setSearchIndex(&reader);
    tray.rebuildMenu();
    tray.rebuildPopup();
    const QIcon icon = tray.trayIcon().icon();
    return besideIcon(icon, *tray.menu()).save(menuPath) && besideIcon(icon, *tray.popup()).save(popupPath);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PictureThemes::installLanguage(app);
    const std::optional<QDir> folder = PictureThemes::outputFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir &output = *folder;
    for (const PictureThemes::Theme &theme : PictureThemes::themes()) {
        QApplication::setPalette(theme.palette);
        const auto path = [&](const char *picture) {
            return PictureThemes::picturePath(output, QLatin1String(picture), theme);
        };
        if (!render(path("tray-menu"), path("tray-popup"))) {
            std::fprintf(stderr, "could not draw %s\n", qPrintable(path("tray-*")));
            return 1;
        }
    }
    return 0;
}
