// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/X11Compositing.h"

#include <QGuiApplication>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// On a private X server with no compositing manager, then with this test owning the selection a
// compositing manager holds.
class X11CompositingTest : public QObject
{
    Q_OBJECT

private slots:
    void followsTheCompositorsSelection();
};

void X11CompositingTest::followsTheCompositorsSelection()
{
    QVERIFY2(qGuiApp->nativeInterface<QNativeInterface::QX11Application>(), "needs an X server");
    QVERIFY(!compositingManagerRuns());

    xcb_connection_t *compositor = xcb_connect(nullptr, nullptr);
    QVERIFY(!xcb_connection_has_error(compositor));
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(compositor)).data;
    const xcb_window_t window = xcb_generate_id(compositor);
    xcb_create_window(compositor, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const char name[] = "_NET_WM_CM_S0";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(compositor, xcb_intern_atom(compositor, 0, std::strlen(name), name), nullptr),
        &std::free);
    xcb_set_selection_owner(compositor, window, atom->atom, XCB_CURRENT_TIME);
    // A round trip, so the server has the selection before Quillo asks.
    std::free(xcb_get_input_focus_reply(compositor, xcb_get_input_focus(compositor), nullptr));
    QVERIFY(compositingManagerRuns());

    xcb_disconnect(compositor); // the selection goes with its owner
    QTRY_VERIFY(!compositingManagerRuns());
}

QTEST_MAIN(X11CompositingTest)
#include "X11CompositingTest.moc"
