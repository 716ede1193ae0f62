// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the settings window, as a fresh installation shows it, to settings-window-light.png and
// settings-window-dark.png in the folder given as the only argument. Run by `make screenshots` with the
// offscreen platform in a temporary home.
#include "PictureThemes.h"
#include "index/ScreenshotIndex.h"
#include "naming/ModelAvailabilityMonitor.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/SearchIndexReader.h"
#include "ui/SettingsWindow.h"
#include "ui/XdgAutostart.h"
#include "update/SoftwareUpdates.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QSignalSpy>

#include <cstdio>

namespace {

bool render(const QString &path)
{
    PreferencesStore preferences(PreferencesStore::defaultPath());
    SettingsStore settings(preferences);
    const QString folder = QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
    QDir().mkpath(folder);
    settings.setWatchedFolders(
        {{folder,
          {QStringLiteral("GNOME Shell"),
           QCoreApplication::translate("ScreenshotToolSettings", "default folder")},
          {}},
         {QDir::home().filePath(QStringLiteral("Pictures")), {QStringLiteral("Flameshot")}, {}}});
    // A machine without a model server, as most are at first.
    ModelAvailabilityMonitor availability(settings, [](const ModelServer &) {
        return ModelAvailability{ModelAvailability::State::NoServer, false};
    });
    XdgAutostart autostart = XdgAutostart::forThisProgram();
    SoftwareUpdates updates(std::nullopt, preferences);
    // What `make screenshots` indexed for the search pictures, drawn first.
    SearchIndexReader searchIndex(ScreenshotIndex::defaultPath());
    SettingsWindow window({settings, availability, autostart, updates, false, &searchIndex});
    QSignalSpy described(&availability, &ModelAvailabilityMonitor::descriptionChanged);
    QSignalSpy measured(&searchIndex, &SearchIndexReader::measured);
    window.show();
    if (!described.wait(5000) || (measured.isEmpty() && !measured.wait(5000)))
        return false;
    QApplication::processEvents();
    // The sections whole, as a screen tall enough shows them (the offscreen screen is short).
    return window.findChild<QScrollArea *>()->widget()->grab().save(path);
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
        const QString path = PictureThemes::picturePath(output, QStringLiteral("settings-window"), theme);
        if (!render(path)) {
            std::fprintf(stderr, "could not render %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
