#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

// The top-level windows of an X server, asked afresh each time.
class XDisplay
{
public:
    XDisplay()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        const char name[] = "_NET_WM_NAME";
        const XcbReply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name),
                                  nullptr),
            &std::free);
        m_titleAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_WM_NAME);
    }
    ~XDisplay() { xcb_disconnect(m_connection); }

    bool isConnected() const { return !xcb_connection_has_error(m_connection); }
    QSize screenSize() const
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        return {screen->width_in_pixels, screen->height_in_pixels};
    }

    // Where the viewable window with that title lies, if there is one.
    std::optional<QRect> viewableWindow(const QByteArray &title) const
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr), &std::free);
        if (!tree)
            return std::nullopt;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (titleOf(children[i]) != title)
                continue;
            const XcbReply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr),
                &std::free);
            const XcbReply<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, children[i]), nullptr),
                &std::free);
            if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                return QRect(geometry->x, geometry->y, geometry->width, geometry->height);
        }
        return std::nullopt;
    }

private:
    QByteArray titleOf(xcb_window_t window) const
    {
        const XcbReply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, window, m_titleAtom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                nullptr),
            &std::free);
        if (!name)
            return {};
        return QByteArray(static_cast<const char *>(xcb_get_property_value(name.get())),
                          xcb_get_property_value_length(name.get()));
    }

    xcb_connection_t *m_connection;
    xcb_atom_t m_titleAtom = XCB_ATOM_WM_NAME;
};

} // namespace

// The real quillo on a private X server and session bus: a screenshot dropped into the watched
// folder brings up the rename panel, which leaves by itself when its countdown ends.
class PanelEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void panelAppearsAtTheTopCentreAndLeavesByItself();
};

void PanelEndToEndTest::panelAppearsAtTheTopCentreAndLeavesByItself()
{
    QVERIFY2(QDir::homePath().endsWith(QStringLiteral("/home/PanelEndToEndTest")),
             "must run in its test HOME");
    const QString corpusImage =
        qEnvironmentVariable("QUILLO_CORPUS_DIR") + QStringLiteral("/images/c001.png");
    QVERIFY2(QFileInfo(corpusImage).isFile(), "needs ../shared/corpus");
    const XDisplay display;
    QVERIFY2(display.isConnected(), "needs an X server (runs under xvfb-run)");

    QTemporaryDir shots(QDir::home().filePath(QStringLiteral("Screen shots XXXXXX")));
    {
        PreferencesStore preferences(QDir::home().filePath(QStringLiteral(".config/quillo/quillo.conf")));
        preferences.setString(QStringLiteral("customFolderPath"), shots.path());
        preferences.setBool(QStringLiteral("useLocalModel"), false);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const auto quillo = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {}, "Watching ", environment);
    QVERIFY(!display.viewableWindow("Quillo"));

    QVERIFY(TestFiles::copyLikeScreenshotTool(
        corpusImage, shots.filePath(QStringLiteral("Screenshot from 2026-12-05 10-00-02.png"))));
    QTRY_VERIFY_WITH_TIMEOUT(display.viewableWindow("Quillo"), 60000);
    QElapsedTimer shown;
    shown.start();
    const QSize screen = display.screenSize();
    QCOMPARE(*display.viewableWindow("Quillo"), QRect((screen.width() - 580) / 2, 2, 580, 108));

    QTRY_VERIFY_WITH_TIMEOUT(!display.viewableWindow("Quillo"), 20000);
    // It stayed for its countdown; the pointer never came near it.
    QVERIFY2(shown.elapsed() > 4000, qPrintable(QString::number(shown.elapsed())));
    QCOMPARE(quillo->state(), QProcess::Running);
    quillo->terminate();
    QVERIFY(quillo->waitForFinished(5000));
}

QTEST_GUILESS_MAIN(PanelEndToEndTest)
#include "PanelEndToEndTest.moc"
