// SPDX-License-Identifier: GPL-3.0-or-later
// Draws each state of the rename panel from the real widgets, over a real coordinator and real
// files, to panel-<state>-<light|dark>.png in the folder given as the only argument. Run by
// `make screenshots` with the offscreen platform, at twice the size, in a temporary home.
#include "PictureThemes.h"
#include "intake/LinuxFileSystem.h"
#include "renaming/FileManager.h"
#include "renaming/RenameCoordinator.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/PanelStyle.h"
#include "ui/RenamePanelController.h"
#include "ui/RenamePanelWindow.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

const QString corpus = QStringLiteral(QUILLO_SCREENSHOTS "/");
constexpr int backdropMargin = 24;

class NoFileManager final : public FileManager
{
public:
    void reveal(const QString &, Done) override {}
    void openFolder(const QString &, Done) override {}
};

void settle(int milliseconds = 300)
{
    QThreadPool::globalInstance()->waitForDone();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A watched folder "Screenshots" and the panel over it, with time standing still.
class Scene
{
public:
    Scene()
        : m_root(m_temp.filePath(QStringLiteral("Screenshots")))
        , m_preferences(m_temp.filePath(QStringLiteral("quillo.conf")))
        , m_settings(m_preferences)
        , m_history(m_preferences)
        , m_coordinator(
              m_settings, m_history,
              [] {
                  return std::shared_ptr<ScreenshotNaming>();
              },
              m_fileSystem, RenameCoordinator::Clock::system())
        , m_controller(RenamePanelController::Services{
              m_coordinator, m_history, m_settings, nullptr, m_fileManager,
              [this](RenamePanelController &controller) {
                  auto panel = std::make_unique<RenamePanelWindow>(controller);
                  m_panel = panel.get();
                  return panel;
              },
              [] {
                  return std::chrono::steady_clock::time_point();
              }})
    {
        QDir().mkpath(m_root);
        m_coordinator.setWatchedFolder(m_root);
    }

    RenamePanelController &controller() { return m_controller; }
    RenamePanelWindow &panel() { return *m_panel; }

    // A real screenshot as Quillo renamed it, into `folder` of the watched folder when given.
    RenameRecord rename(const QString &image, const QString &name, const QString &folder = {})
    {
        const QString target = QDir(m_root).filePath(folder.isEmpty() ? name : folder + u'/' + name);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(corpus + image, target);
        const RenameRecord record{QUuid::createUuid(),
                                  m_root,
                                  QStringLiteral("Screenshot from 2026-03-14 10-12-31.png"),
                                  target,
                                  QDateTime::currentDateTimeUtc(),
                                  folder.isEmpty() ? std::nullopt : std::optional(folder),
                                  NamingSource::Heuristics};
        m_history.add(record);
        m_controller.show(record);
        settle();
        return record;
    }

private:
    QTemporaryDir m_temp;
    QString m_root;
    PreferencesStore m_preferences;
    SettingsStore m_settings;
    RenameHistoryStore m_history;
    LinuxFileSystem m_fileSystem;
    RenameCoordinator m_coordinator;
    NoFileManager m_fileManager;
    RenamePanelWindow *m_panel = nullptr;
    RenamePanelController m_controller;
};

struct State
{
    const char *name;
    std::function<void(Scene &)> arrange;
    bool menuOpen = false;
};

const QList<State> &states()
{
    static const QList<State> all{
        {"renamed",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c011.png"), QStringLiteral("grafana-docker-host-dashboard.png"));
         }},
        {"renamed-and-moved",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c001.png"), QStringLiteral("killbill-invoice-acme-streaming.png"),
                          QStringLiteral("Receipts & Invoices"));
         }},
        {"several",
         [](Scene &scene) {
             // Ten, the most the panel keeps: the widest its header gets.
             for (int i = 0; i < 7; ++i)
                 scene.rename(QStringLiteral("c011.png"),
                              QStringLiteral("grafana-docker-host-%1.png").arg(i));
             scene.rename(QStringLiteral("c002.png"), QStringLiteral("lnav-make-check-test-log.png"),
                          QStringLiteral("Code & Terminal"));
             scene.rename(QStringLiteral("c036.png"), QStringLiteral("hugo-book-documentation-theme.png"),
                          QStringLiteral("Chats & Docs"));
             scene.rename(QStringLiteral("c047.png"), QStringLiteral("wezterm-rust-terminal-split.png"),
                          QStringLiteral("Code & Terminal"));
         }},
        {"editing",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c047.png"), QStringLiteral("wezterm-rust-terminal-split.png"));
             scene.controller().beginEditing();
         }},
        {"location-menu",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c001.png"), QStringLiteral("killbill-invoice-acme-streaming.png"),
                          QStringLiteral("Receipts & Invoices"));
             auto *button = scene.panel().findChild<QToolButton *>(QStringLiteral("locationButton"));
             button->menu()->popup(button->mapToGlobal(QPoint(0, button->height())));
         },
         true},
        {"error",
         [](Scene &scene) {
             const RenameRecord record =
                 scene.rename(QStringLiteral("c051.png"), QStringLiteral("btcpay-shopify-order-paid.png"));
             QFile::remove(record.renamedPath);
             scene.controller().reveal();
         }},
        {"restored",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c059.png"), QStringLiteral("onlook-text-styling-editor.png"));
             scene.controller().undo();
         }},
    };
    return all;
}

// The panel, and its open menu, on a plain backdrop so that the shadow shows.
QImage picture(Scene &scene, bool menuOpen)
{
    const QColor window = QApplication::palette().color(QPalette::Window);
    const QColor backdrop =
        PanelStyle::isDark(QApplication::palette()) ? window.darker(170) : window.darker(112);
    RenamePanelWindow &panel = scene.panel();
    const QPixmap panelPixmap = panel.grab();
    QRect area(QPoint(), panel.size());
    QPixmap menuPixmap;
    QPoint menuAt;
    if (menuOpen) {
        auto *menu = panel.findChild<QMenu *>(QStringLiteral("locationMenu"));
        menuPixmap = menu->grab();
        menuAt = menu->pos() - panel.pos();
        area |= QRect(menuAt, menu->size());
    }
    const qreal ratio = panelPixmap.devicePixelRatio();
    const QRect canvas = area.adjusted(-backdropMargin, -backdropMargin, backdropMargin, backdropMargin);
    QImage image(canvas.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(backdrop);
    QPainter painter(&image);
    painter.translate(-canvas.topLeft());
    painter.drawPixmap(QPoint(), panelPixmap);
    if (menuOpen)
        painter.drawPixmap(menuAt, menuPixmap);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    // The offscreen platform cannot fade or raise windows, and says so every time.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            standard(type, context, message);
    });
    QApplication app(argc, argv);
    PictureThemes::installLanguage(app);
    const std::optional<QDir> folder = PictureThemes::outputFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir &output = *folder;
    for (const PictureThemes::Theme &theme : PictureThemes::themes()) {
        QApplication::setPalette(theme.palette);
        for (const State &state : states()) {
            Scene scene;
            state.arrange(scene);
            // The offscreen pointer may rest anywhere; the pictures show the panel untouched.
            scene.controller().setHovered(false);
            settle();
            const QString file = PictureThemes::picturePath(
                output, QStringLiteral("panel-") + QLatin1String(state.name), theme);
            if (!picture(scene, state.menuOpen).save(file)) {
                std::fprintf(stderr, "could not render %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
        }
    }
    return 0;
}
