#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// Sets the title of a top-level window that changes it often (once a second in a call).
//
// On X11, Qt follows every title it sets with a round trip to the X server, which wakes
// the program two or three times more each second. Here the title properties
// (_NET_WM_NAME, and WM_NAME for older window managers) are written in one go and left
// to go out without waiting. Qt's own idea of the title (QWidget::windowTitle) then keeps
// the last title set through Qt, so a window whose title goes through this class must set
// every title through it. Elsewhere (Wayland, offscreen, no window yet) the title is set
// through Qt as usual.
class CQuickTitle {
public:
    explicit CQuickTitle(QWidget* window);

    void Set(const QString& title);

private:
    bool SetOnX11(const QString& title);

    QWidget* m_window;
    // Atoms of the X server, looked up on first use; 0 until then.
    std::uint32_t m_netWmName = 0;
    std::uint32_t m_utf8String = 0;
};
