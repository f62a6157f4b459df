#include "gui/quicktitle.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t Intern(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

void SetProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                 xcb_atom_t type, const QByteArray& value)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<uint32_t>(value.size()), value.constData());
}

} // namespace

CQuickTitle::CQuickTitle(QWidget* window)
    : m_window(window)
{}

void CQuickTitle::Set(const QString& title)
{
    if (!SetOnX11(title))
        m_window->setWindowTitle(title);
}

bool CQuickTitle::SetOnX11(const QString& title)
{
    // Only the xcb platform talks to an X server (the offscreen one may offer the same
    // interface without a connection). A window not yet created gets its title from Qt when
    // it is.
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb") ||
        !m_window->testAttribute(Qt::WA_WState_Created))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t* connection = x11->connection();
    if (m_netWmName == XCB_ATOM_NONE) {
        m_netWmName = Intern(connection, "_NET_WM_NAME");
        m_utf8String = Intern(connection, "UTF8_STRING");
    }
    if (m_netWmName == XCB_ATOM_NONE || m_utf8String == XCB_ATOM_NONE)
        return false;
    const auto window = static_cast<xcb_window_t>(m_window->winId());
    SetProperty(connection, window, m_netWmName, m_utf8String, title.toUtf8());
    SetProperty(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title.toLatin1());
    xcb_flush(connection);
    return true;
}
