#pragma once

#include <QPoint>
#include <QSize>

// The areas of the main window that react to the mouse without being controls: the title
// strip along the top (drag, minimize, hide) and the logo in the lower right corner.
class CTitleStrip {
public:
    enum class Area { None, Drag, Minimize, Hide, Logo };

    static constexpr int kHeight = 13;
    // The window's size with the default font; a wider window keeps the boxes and the logo
    // at its right end.
    static constexpr QSize kDefaultSize{391, 292};

    // The area under a point of a window of that size (window coordinates).
    static Area At(const QPoint& point, QSize size = kDefaultSize);
};
