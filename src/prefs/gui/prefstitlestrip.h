#pragma once

#include <QPoint>

// The title strip the preferences window draws itself: dragging it moves the window, and
// the close box at its right end acts as OK.
class CPrefsTitleStrip {
public:
    enum class Area { None, Drag, Close };

    static constexpr int kHeight = 13;
    // The window's fixed width and where the close box begins.
    static constexpr int kWidth = 495;
    static constexpr int kCloseLeft = 478;

    // The area under a point of the window (window coordinates).
    static Area At(const QPoint& point);
};
