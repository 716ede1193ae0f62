// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelWindow.h"

#include "ui/FolderDialogs.h"
#include "ui/PanelPlacement.h"
#include "ui/PanelStyle.h"
#include "ui/PreviewWindow.h"
#include "ui/RenamePanelController.h"
#include "ui/RenamePanelView.h"
#include "ui/X11Compositing.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

// The card sits inside this margin, which holds its shadow.
constexpr int margin = 10;
constexpr QSize panelSize = RenamePanelView::cardSize + QSize(2 * margin, 2 * margin);
constexpr double cornerRadius = 20;
constexpr int fadeMilliseconds = 180;
constexpr int shadowLayers = 8;

// The primary screen first, where the panel goes when the pointer is on no screen.
QList<PanelPlacement::Screen> screensPrimaryFirst()
{
    QList<QScreen *> all = QGuiApplication::screens();
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        all.removeOne(primary);
        all.prepend(primary);
    }
    QList<PanelPlacement::Screen> screens;
    for (const QScreen *screen : std::as_const(all))
        screens.append({screen->geometry(), screen->availableGeometry()});
    return screens;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

RenamePanelWindow::RenamePanelWindow(RenamePanelController &controller)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_controller(controller)
    , m_fade(this, "windowOpacity")
{
    setObjectName(QStringLiteral("renamePanel"));
    setWindowTitle(QCoreApplication::translate("RenamePanelWindow", "Quillo"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(panelSize);
    m_view = new RenamePanelView(controller.model(), this);
    m_view->move(margin, margin);
    connectView();
    m_fade.setDuration(fadeMilliseconds);
    connect(&m_fade, &QPropertyAnimation::finished, this, [this] {
        if (auto finished = std::exchange(m_fadeFinished, nullptr))
            finished();
    });
    // Any of Quillo's menus holds the countdown, the tray's too.
    qApp->installEventFilter(this);
}

RenamePanelWindow::~RenamePanelWindow()
{
    // Closing the window moves focus and activation; the controller is going away with it.
    qApp->removeEventFilter(this);
    disconnect(m_view, nullptr, &m_controller, nullptr);
    m_isClosing = true;
}

void RenamePanelWindow::connectView()
{
    auto &c = m_controller;
    using View = RenamePanelView;
    using Controller = RenamePanelController;
    connect(m_view, &View::beginEditingRequested, &c, &Controller::beginEditing);
    connect(m_view, &View::draftEdited, &c, &Controller::setDraft);
    connect(m_view, &View::commitNameRequested, &c, &Controller::commitName);
    connect(m_view, &View::cancelEditingRequested, &c, &Controller::endEditing);
    connect(m_view, &View::moveRequested, &c, &Controller::move);
    connect(m_view, &View::newFolderRequested, &c, &Controller::newFolder);
    connect(m_view, &View::chooseFolderRequested, &c, &Controller::chooseFolder);
    connect(m_view, &View::revealRequested, &c, &Controller::reveal);
    connect(m_view, &View::undoRequested, &c, &Controller::undo);
    connect(m_view, &View::previewRequested, &c, &Controller::preview);
    connect(m_view, &View::dragStarted, &c, &Controller::beginDragging);
    connect(m_view, &View::dragFinished, &c, &Controller::endDragging);
    connect(m_view, &View::dismissRequested, &c, &Controller::dismiss);
    connect(m_view, &View::previousRequested, &c, &Controller::showPrevious);
    connect(m_view, &View::nextRequested, &c, &Controller::showNext);
}

void RenamePanelWindow::present()
{
    move(PanelPlacement::topCentre(QCursor::pos(), screensPrimaryFirst(), size()));
    if (std::exchange(m_isPresented, true))
        return;
    m_fadeFinished = nullptr;
    if (!isVisible()) {
        setWindowOpacity(0);
        markAsPanel();
        show();
    }
    raise();
    fadeTo(1.0);
}

void RenamePanelWindow::dismiss(std::function<void()> finished)
{
    m_isPresented = false;
    m_fadeFinished = std::move(finished);
    fadeTo(0.0);
}

void RenamePanelWindow::fadeTo(double opacity)
{
    m_fade.stop();
    m_fade.setStartValue(windowOpacity());
    m_fade.setEndValue(opacity);
    m_fade.start();
}

void RenamePanelWindow::takeOffScreen()
{
    hide();
}

bool RenamePanelWindow::isPointerOver() const
{
    return geometry().contains(QCursor::pos());
}

void RenamePanelWindow::setTakesFocus(bool takesFocus)
{
    // Changed on the native window alone: changing the widget's flags would hide it.
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowDoesNotAcceptFocus, !takesFocus);
    if (takesFocus && isVisible()) {
        raise();
        activateWindow();
    }
}

bool RenamePanelWindow::isPreviewOpen() const
{
    return m_preview && m_preview->isVisible();
}

void RenamePanelWindow::openPreview(const QString &filePath)
{
    if (!m_preview) {
        m_preview = std::make_unique<PreviewWindow>();
        connect(m_preview.get(), &PreviewWindow::openChanged, &m_controller,
                &RenamePanelController::setPreviewOpen);
    }
    m_preview->open(filePath);
}

void RenamePanelWindow::closePreview()
{
    if (m_preview)
        m_preview->close();
}

std::optional<QString> RenamePanelWindow::askNewFolderName(const QString &rootTitle)
{
    return FolderDialogs::askNewFolderName(rootTitle);
}

std::optional<QString> RenamePanelWindow::chooseFolder(const QString &message, const QString &startFolder)
{
    return FolderDialogs::chooseFolder(QCoreApplication::translate("RenamePanelWindow", "Move Here"), message,
                                       startFolder);
}

void RenamePanelWindow::announce(const QString &text)
{
    setAccessibleName(text);
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

CaptureContext::Panel RenamePanelWindow::onScreen() const
{
    const QScreen *const display = screen();
    if (!display)
        return {};
    // Screenshot tools capture every screen in device pixels, from the desktop's top-left corner.
    const qreal ratio = display->devicePixelRatio();
    const QRect desktop = display->virtualGeometry();
    const QRectF panel = QRectF(frameGeometry().translated(-desktop.topLeft()));
    return {QRectF(panel.topLeft() * ratio, panel.size() * ratio).toAlignedRect(),
            (QSizeF(desktop.size()) * ratio).toSize()};
}

// Above every window, on every desktop, and in neither task bar nor pager. Set before each
// showing: the window manager clears the state of a window it unmaps.
void RenamePanelWindow::markAsPanel()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto window = xcb_window_t(winId());
    const xcb_atom_t states[] = {internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 internAtom(connection, "_NET_WM_STATE_SKIP_PAGER"),
                                 internAtom(connection, "_NET_WM_STATE_STICKY"),
                                 internAtom(connection, "_NET_WM_STATE_ABOVE")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, internAtom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, std::size(states), states);
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, internAtom(connection, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_flush(connection);

    // Without a compositing manager the translucent margin would show as blocks: cut the window to
    // the card instead, and do without the shadow. Asked at every showing: one may start or stop.
    if (compositingManagerRuns()) {
        clearMask();
    } else {
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()).adjusted(margin, margin, -margin, -margin), cornerRadius,
                            cornerRadius);
        setMask(QRegion(card.toFillPolygon().toPolygon()));
    }
}

void RenamePanelWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    // A soft shadow, a little below the card: rings fading outwards.
    painter.setPen(Qt::NoPen);
    for (int layer = shadowLayers; layer >= 1; --layer) {
        painter.setBrush(QColor(0, 0, 0, PanelStyle::isDark(palette()) ? 9 : 5));
        painter.drawRoundedRect(card.adjusted(-layer, -layer + 2, layer, layer + 2), cornerRadius + layer,
                                cornerRadius + layer);
    }
    painter.setBrush(palette().color(QPalette::Window));
    painter.setPen(QPen(PanelStyle::primary(palette(), 0.12), 0.5));
    painter.drawRoundedRect(card, cornerRadius, cornerRadius);
}

void RenamePanelWindow::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!m_isClosing)
        m_controller.setHovered(true);
}

void RenamePanelWindow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_isClosing)
        m_controller.setHovered(false);
}

void RenamePanelWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Clicking elsewhere keeps the name typed so far.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_isClosing)
        m_controller.commitName();
}

bool RenamePanelWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool shown = event->type() == QEvent::Show;
    if ((shown || event->type() == QEvent::Hide) && qobject_cast<QMenu *>(watched)) {
        const int before = m_openMenus;
        m_openMenus = std::max(0, m_openMenus + (shown ? 1 : -1));
        if ((before == 0) != (m_openMenus == 0))
            m_controller.setMenuOpen(m_openMenus > 0);
    }
    return QWidget::eventFilter(watched, event);
}
