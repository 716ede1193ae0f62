#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>

#include <optional>

struct xcb_connection_t;

// The top-level windows of the X server in DISPLAY, asked afresh each time, as a user would see
// them: for end-to-end tests under Xvfb.
class XDisplay final
{
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay &) = delete;
    XDisplay &operator=(const XDisplay &) = delete;

    bool isConnected() const;
    QSize screenSize() const;
    // Where the viewable window with that title lies, if there is one.
    std::optional<QRect> viewableWindow(const QByteArray &title) const;

private:
    QByteArray titleOf(unsigned window) const;

    xcb_connection_t *m_connection;
    unsigned m_titleAtom;
};
