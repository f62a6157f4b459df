#include "support/showntitle.h"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

QString ShownTitle(const QWidget& window)
{
    auto* x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (!x11 || !x11->connection() || !window.testAttribute(Qt::WA_WState_Created))
        return window.windowTitle();
    xcb_connection_t* connection = x11->connection();
    const char* name = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!atom)
        return {};
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()), atom->atom,
                         XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    std::free(atom);
    if (!property)
        return {};
    const QString title =
        QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(property)),
                          xcb_get_property_value_length(property));
    std::free(property);
    return title;
}
