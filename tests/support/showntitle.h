#pragma once

#include <QString>

class QWidget;

// The title a window shows. On X11, the window's _NET_WM_NAME as the X server holds it,
// which is what a task bar shows; elsewhere, and for a window not yet created, the title
// Qt has.
QString ShownTitle(const QWidget& window);
