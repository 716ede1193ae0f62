#include "support/XDisplay.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

XDisplay::XDisplay()
    : m_connection(xcb_connect(nullptr, nullptr))
{
    const char name[] = "_NET_WM_NAME";
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr),
        &std::free);
    m_titleAtom = atom ? atom->atom : xcb_atom_t(XCB_ATOM_WM_NAME);
}

XDisplay::~XDisplay()
{
    xcb_disconnect(m_connection);
}

bool XDisplay::isConnected() const
{
    return !xcb_connection_has_error(m_connection);
}

QSize XDisplay::screenSize() const
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    return {screen->width_in_pixels, screen->height_in_pixels};
}

std::optional<QRect> XDisplay::viewableWindow(const QByteArray &title) const
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
            xcb_get_window_attributes_reply(m_connection,
                                            xcb_get_window_attributes(m_connection, children[i]), nullptr),
            &std::free);
        const XcbReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, children[i]), nullptr),
            &std::free);
        if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            return QRect(geometry->x, geometry->y, geometry->width, geometry->height);
    }
    return std::nullopt;
}

QByteArray XDisplay::titleOf(unsigned window) const
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
