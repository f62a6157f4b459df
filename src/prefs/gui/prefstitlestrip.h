#pragma once

#include <QPoint>

// The title strip the preferences window draws itself: dragging it moves the window, and
// the close box at its right end acts as OK.
class CPrefsTitleStrip {
public:
    enum class Area { None, Drag, Close };

    static constexpr int kHeight = 13;
    // The window's least width and where the close box begins in a window that wide; a
    // wider window (longer texts, a larger font) keeps the close box at its right end.
    static constexpr int kWidth = 495;
    static constexpr int kCloseLeft = 478;

    // Where the close box begins in a window `width` wide.
    static int CloseLeft(int width) { return width - (kWidth - kCloseLeft); }
    // The area under a point of a window `width` wide (window coordinates).
    static Area At(const QPoint& point, int width = kWidth);
};
