// Renders the settings window, as a fresh installation shows it, to settings-window-light.png and
// settings-window-dark.png in the folder given as the only argument. Run by `make screenshots` with the
// offscreen platform in a temporary home.
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/ModelAvailabilityMonitor.h"
#include "ui/SettingsWindow.h"
#include "ui/SoftwareUpdateController.h"
#include "ui/XdgAutostart.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>

namespace {

QPalette darkPalette()
{
    const QColor text(230, 230, 230);
    const QColor disabled(128, 128, 128);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(42, 42, 46));
    palette.setColor(QPalette::Base, QColor(30, 30, 33));
    palette.setColor(QPalette::AlternateBase, QColor(42, 42, 46));
    palette.setColor(QPalette::Button, QColor(56, 56, 61));
    palette.setColor(QPalette::Highlight, QColor(53, 132, 228));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, QColor(70, 70, 76));
    palette.setColor(QPalette::Mid, QColor(35, 35, 38));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
        palette.setColor(role, text);
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    palette.setColor(QPalette::PlaceholderText, QColor(text.red(), text.green(), text.blue(), 150));
    return palette;
}

bool render(const QString &path)
{
    PreferencesStore preferences(PreferencesStore::defaultPath());
    SettingsStore settings(preferences);
    const QString folder = QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
    QDir().mkpath(folder);
    settings.setWatchedFolder(folder);
    // A machine without a model server, as most are at first.
    ModelAvailabilityMonitor availability(settings, [](const QUrl &, const QString &) {
        return ModelAvailability{ModelAvailability::State::NoServer, false};
    });
    XdgAutostart autostart = XdgAutostart::forThisProgram();
    SoftwareUpdateController updates(nullptr);
    SettingsWindow window({settings, availability, autostart, updates, false});
    QSignalSpy described(&availability, &ModelAvailabilityMonitor::descriptionChanged);
    window.show();
    if (!described.wait(5000))
        return false;
    QApplication::processEvents();
    return window.grab().save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const QPalette light = QApplication::style()->standardPalette();
    for (const auto &[name, palette] : {std::pair{"light", light}, std::pair{"dark", darkPalette()}}) {
        QApplication::setPalette(palette);
        const QString path =
            output.filePath(QStringLiteral("settings-window-%1.png").arg(QLatin1String(name)));
        if (!render(path)) {
            std::fprintf(stderr, "could not render %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
