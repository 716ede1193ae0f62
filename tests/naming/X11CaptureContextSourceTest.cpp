// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/X11CaptureContextSource.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

using OptionalText = std::optional<QString>;

namespace {

// Plays the window manager: creates windows with their properties and marks one active.
class FakeDesktop
{
public:
    FakeDesktop()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~FakeDesktop() { xcb_disconnect(m_connection); }
    bool isConnected() const { return !xcb_connection_has_error(m_connection); }

    xcb_window_t createWindow(const QByteArray &wmClass, const QString &title, uint32_t pid)
    {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        set(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass);
        set(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, title.toUtf8());
        set(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32,
            QByteArray(reinterpret_cast<const char *>(&pid), sizeof pid));
        return window;
    }

    void activate(xcb_window_t window)
    {
        set(m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32,
            QByteArray(reinterpret_cast<const char *>(&window), sizeof window));
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply->atom;
        std::free(reply);
        return result;
    }

    void set(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint8_t format,
             const QByteArray &data)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, format,
                            uint32_t(data.size() / (format / 8)), data.constData());
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

void writeDesktopEntry(const QString &id, const QByteArray &contents)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    QDir().mkpath(folder);
    QFile file(folder + u'/' + id + u".desktop"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class X11CaptureContextSourceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contextOfTheActiveWindow_data();
    void contextOfTheActiveWindow();
    void noDisplayGivesEmptyContext();
};

void X11CaptureContextSourceTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (run under xvfb-run)");
    writeDesktopEntry(u"org.example.Notepad"_s,
                      "[Desktop Entry]\nType=Application\nName=Notepad X\nStartupWMClass=NotepadX\n"
                      "[Desktop Action New]\nName=Wrong name\n");
    writeDesktopEntry(u"slate"_s, "[Desktop Entry]\nType=Application\nName=Slate Editor\n");
}

void X11CaptureContextSourceTest::contextOfTheActiveWindow_data()
{
    QTest::addColumn<QByteArray>("wmClass"); // empty: no window is active
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("ownProcess");
    QTest::addColumn<CaptureContext>("expected");
    const auto text = [](const char *value) {
        return OptionalText(QString::fromUtf8(value));
    };

    QTest::addRow("desktop entry found by its window class")
        << QByteArray("notepadx\0NotepadX\0", 18) << u"Shopping list — Notepad"_s << false
        << CaptureContext{text("Notepad X"), text("org.example.Notepad"), text("Shopping list — Notepad")};
    QTest::addRow("desktop entry found by its id")
        << QByteArray("slate\0Slate\0", 12) << u"main.cpp"_s << false
        << CaptureContext{text("Slate Editor"), text("slate"), text("main.cpp")};
    QTest::addRow("no desktop entry: the window class")
        << QByteArray("kitty-x\0Kitty-X\0", 16) << u"~/src"_s << false
        << CaptureContext{text("Kitty-X"), text("kitty-x"), text("~/src")};
    QTest::addRow("window without a title")
        << QByteArray("slate\0Slate\0", 12) << u""_s << false
        << CaptureContext{text("Slate Editor"), text("slate"), std::nullopt};
    QTest::addRow("screenshot tool in front")
        << QByteArray("spectacle\0Spectacle\0", 20) << u"Spectacle"_s << false << CaptureContext{};
    QTest::addRow("screenshot tool by its application id")
        << QByteArray("org.gnome.Screenshot\0org.gnome.Screenshot\0", 42) << u"Screenshot"_s << false
        << CaptureContext{};
    QTest::addRow("Quillo's own window in front")
        << QByteArray("notepadx\0NotepadX\0", 18) << u"Renamed"_s << true << CaptureContext{};
    QTest::addRow("no active window") << QByteArray() << QString() << false << CaptureContext{};
}

void X11CaptureContextSourceTest::contextOfTheActiveWindow()
{
    QFETCH(QByteArray, wmClass);
    QFETCH(QString, title);
    QFETCH(bool, ownProcess);
    QFETCH(CaptureContext, expected);
    FakeDesktop desktop;
    QVERIFY(desktop.isConnected());
    desktop.activate(wmClass.isEmpty()
                         ? xcb_window_t(XCB_WINDOW_NONE)
                         : desktop.createWindow(wmClass, title, ownProcess ? uint32_t(getpid()) : 1u));
    X11CaptureContextSource source;
    const CaptureContext context = source.current();
    QCOMPARE(context.appName, expected.appName);
    QCOMPARE(context.appId, expected.appId);
    QCOMPARE(context.windowTitle, expected.windowTitle);
}

void X11CaptureContextSourceTest::noDisplayGivesEmptyContext()
{
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    X11CaptureContextSource source;
    qputenv("DISPLAY", display);
    QVERIFY(source.current().isEmpty());
}

QTEST_GUILESS_MAIN(X11CaptureContextSourceTest)
#include "X11CaptureContextSourceTest.moc"
