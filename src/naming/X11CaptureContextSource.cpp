// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/X11CaptureContextSource.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

// Applications installed later are found after this long.
constexpr qint64 desktopIndexLifetimeSeconds = 300;
constexpr uint32_t maximumPropertyLength = 4096; // in 32-bit units

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

struct DesktopEntry
{
    QString id;
    QString name;
};

// Desktop entries by lower-cased id and by lower-cased StartupWMClass.
class DesktopEntryIndex
{
public:
    std::optional<DesktopEntry> find(const QString &windowClass, const QString &instance)
    {
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        if (m_builtAt == 0 || now - m_builtAt > desktopIndexLifetimeSeconds) {
            build();
            m_builtAt = now;
        }
        for (const QString &key : {windowClass.toLower(), instance.toLower()}) {
            if (key.isEmpty())
                continue;
            if (auto it = m_byWindowClass.constFind(key); it != m_byWindowClass.constEnd())
                return *it;
            if (auto it = m_byId.constFind(key); it != m_byId.constEnd())
                return *it;
        }
        return std::nullopt;
    }

private:
    void build()
    {
        m_byId.clear();
        m_byWindowClass.clear();
        const QStringList roots = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
        // The first root is the user's own and takes precedence, as in application menus.
        for (const QString &root : roots) {
            QDirIterator it(root, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                add(root, it.next());
        }
    }

    void add(const QString &root, const QString &path)
    {
        QString id = QDir(root).relativeFilePath(path);
        id.chop(int(qstrlen(".desktop")));
        id.replace(u'/', u'-');
        const QString key = id.toLower();
        if (m_byId.contains(key))
            return;
        const auto [name, windowClass] = readEntry(path);
        if (name.isEmpty())
            return;
        const DesktopEntry entry{id, name};
        m_byId.insert(key, entry);
        if (!windowClass.isEmpty() && !m_byWindowClass.contains(windowClass.toLower()))
            m_byWindowClass.insert(windowClass.toLower(), entry);
    }

    // The localised Name and StartupWMClass of the [Desktop Entry] group.
    static std::pair<QString, QString> readEntry(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > 1024 * 1024)
            return {};
        const QString language = QLocale().name().section(u'_', 0, 0);
        const QString localisedKey = QStringLiteral("Name[%1]=").arg(language);
        QString name, localisedName, windowClass;
        bool inMainGroup = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(u'[')) {
                inMainGroup = line == u"[Desktop Entry]";
                continue;
            }
            if (!inMainGroup)
                continue;
            if (line.startsWith(u"Name="))
                name = line.mid(5);
            else if (line.startsWith(localisedKey))
                localisedName = line.mid(localisedKey.size());
            else if (line.startsWith(u"StartupWMClass="))
                windowClass = line.mid(15);
        }
        return {localisedName.isEmpty() ? name : localisedName, windowClass};
    }

    qint64 m_builtAt = 0;
    QHash<QString, DesktopEntry> m_byId;
    QHash<QString, DesktopEntry> m_byWindowClass;
};

} // namespace

struct X11CaptureContextSource::Private
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t activeWindow = 0, wmPid = 0, wmName = 0, utf8String = 0;
    DesktopEntryIndex desktopEntries;

    xcb_atom_t atom(const char *name)
    {
        auto cookie = xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
        XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        auto cookie = xcb_get_property(connection, 0, window, name, type, 0, maximumPropertyLength);
        XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE)
            return {};
        const int length = xcb_get_property_value_length(reply.get());
        return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
    }

    template <typename T>
    std::optional<T> scalarProperty(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        const QByteArray bytes = property(window, name, type);
        if (bytes.size() < qsizetype(sizeof(T)))
            return std::nullopt;
        T value;
        std::memcpy(&value, bytes.constData(), sizeof(T));
        return value;
    }
};

X11CaptureContextSource::X11CaptureContextSource()
    : d(std::make_unique<Private>())
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    int screenNumber = 0;
    d->connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d->connection)) {
        xcb_disconnect(d->connection);
        d->connection = nullptr;
        return;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(d->connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    d->root = screens.data ? screens.data->root : 0;
    d->activeWindow = d->atom("_NET_ACTIVE_WINDOW");
    d->wmPid = d->atom("_NET_WM_PID");
    d->wmName = d->atom("_NET_WM_NAME");
    d->utf8String = d->atom("UTF8_STRING");
}

X11CaptureContextSource::~X11CaptureContextSource()
{
    if (d->connection)
        xcb_disconnect(d->connection);
}

CaptureContext X11CaptureContextSource::current()
{
    if (!d->connection || !d->root || xcb_connection_has_error(d->connection))
        return {};
    const auto window = d->scalarProperty<xcb_window_t>(d->root, d->activeWindow, XCB_ATOM_WINDOW);
    if (!window || *window == XCB_WINDOW_NONE)
        return {};
    if (d->scalarProperty<uint32_t>(*window, d->wmPid, XCB_ATOM_CARDINAL) == uint32_t(getpid()))
        return {};

    // WM_CLASS holds "instance\0class\0".
    const QList<QByteArray> classParts = d->property(*window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    const QString instance = classParts.size() > 0 ? QString::fromLocal8Bit(classParts[0]) : QString();
    const QString windowClass = classParts.size() > 1 ? QString::fromLocal8Bit(classParts[1]) : instance;

    CaptureContext context;
    if (auto entry = d->desktopEntries.find(windowClass, instance)) {
        context.appId = entry->id;
        context.appName = entry->name;
    } else if (!windowClass.isEmpty()) {
        context.appId = windowClass.toLower();
        context.appName = windowClass;
    }
    if (context.appId && CaptureContext::ignoredAppIds().contains(*context.appId, Qt::CaseInsensitive))
        return {};

    QString title = QString::fromUtf8(d->property(*window, d->wmName, d->utf8String));
    if (title.isEmpty())
        title = QString::fromLocal8Bit(d->property(*window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
    if (!title.isEmpty())
        context.windowTitle = title;
    return context;
}
