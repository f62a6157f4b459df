#pragma once

#include <QPoint>

// The areas of the main window that react to the mouse without being controls: the title
// strip along the top (drag, minimize, hide) and the logo in the lower right corner.
class CTitleStrip {
public:
    enum class Area { None, Drag, Minimize, Hide, Logo };

    static constexpr int kHeight = 13;

    // The area under a point of the window (window coordinates).
    static Area At(const QPoint& point);
};
