// Draws each state of the rename panel from the real widgets, over a real coordinator and real
// files, into PNG pictures in a light and a dark palette:
//   quillo-panel-pictures <folder>
#include "intake/LinuxFileSystem.h"
#include "renaming/RenameCoordinator.h"
#include "renaming/RenameHistoryStore.h"
#include "renaming/Workspace.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/RenameNotificationController.h"
#include "ui/RenameNotificationPanel.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

const QString corpus = QStringLiteral(QUILLO_CORPUS_DIR "/images/");
constexpr int backdropMargin = 24;

class NoWorkspace final : public Workspace
{
public:
    void reveal(const QString &) override {}
    void openFolder(const QString &) override {}
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
        , m_controller(RenameNotificationController::Services{
              m_coordinator, m_history, m_settings, nullptr, m_workspace,
              [this](RenameNotificationController &controller) {
                  auto panel = std::make_unique<RenameNotificationPanel>(controller);
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

    RenameNotificationController &controller() { return m_controller; }
    RenameNotificationPanel &panel() { return *m_panel; }

    // A corpus screenshot as Quillo renamed it, into `folder` of the watched folder when given.
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
    NoWorkspace m_workspace;
    RenameNotificationPanel *m_panel = nullptr;
    RenameNotificationController m_controller;
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
             scene.rename(QStringLiteral("c009.png"), QStringLiteral("lnav-syslog-http-access-log.png"),
                          QStringLiteral("Code & Terminal"));
             scene.rename(QStringLiteral("c005.png"), QStringLiteral("mailpit-github-release-emails.png"),
                          QStringLiteral("Chats & Docs"));
             scene.rename(QStringLiteral("c017.png"), QStringLiteral("vscode-typescript-parsing-errors.png"),
                          QStringLiteral("Code & Terminal"));
         }},
        {"editing",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c017.png"), QStringLiteral("vscode-typescript-parsing-errors.png"));
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
                 scene.rename(QStringLiteral("c013.png"), QStringLiteral("crater-invoice-bytefury.png"));
             QFile::remove(record.renamedPath);
             scene.controller().reveal();
         }},
        {"restored",
         [](Scene &scene) {
             scene.rename(QStringLiteral("c007.png"), QStringLiteral("elementary-appearance-settings.png"));
             scene.controller().undo();
         }},
    };
    return all;
}

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2c, 0x30);
    const QColor text(0xec, 0xec, 0xee);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x1f, 0x20, 0x23));
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3b, 0x40));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x8b, 0xe8));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8f, 0x94));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4b, 0x50));
    palette.setColor(QPalette::Midlight, QColor(0x40, 0x41, 0x46));
    palette.setColor(QPalette::Mid, QColor(0x25, 0x26, 0x29));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1b, 0x1d));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x7a, 0x7b, 0x80));
    return palette;
}

// The panel, and its open menu, on a plain backdrop so that the shadow shows.
QImage picture(Scene &scene, bool menuOpen, const QColor &backdrop)
{
    RenameNotificationPanel &panel = scene.panel();
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
    if (argc != 2) {
        std::fputs("usage: quillo-panel-pictures <folder>\n", stderr);
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const struct
    {
        const char *name;
        QPalette palette;
        QColor backdrop;
    } themes[] = {{"light", QApplication::style()->standardPalette(), QColor(0xdd, 0xe1, 0xe6)},
                  {"dark", darkPalette(), QColor(0x16, 0x17, 0x1a)}};
    for (const auto &theme : themes) {
        QApplication::setPalette(theme.palette);
        for (const State &state : states()) {
            Scene scene;
            state.arrange(scene);
            // The offscreen pointer may rest anywhere; the pictures show the panel untouched.
            scene.controller().setHovered(false);
            settle();
            const QString file = output.filePath(
                QStringLiteral("panel-%1-%2.png").arg(QLatin1String(state.name), QLatin1String(theme.name)));
            if (!picture(scene, state.menuOpen, theme.backdrop).save(file)) {
                std::fprintf(stderr, "quillo-panel-pictures: cannot write %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
        }
    }
    return 0;
}
