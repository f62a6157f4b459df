#pragma once

#include <QString>

class QIcon;
class QWidget;

// One rule for the frames of all the program's windows: each carries the program's icon,
// also when it opens while the main window is hidden; a window whose size is fixed offers
// no maximize button; the OK and Cancel of a window are the box's standard buttons, so
// they show the same icons everywhere. The skinned windows without the desktop's frame
// keep their own title strip and only take the icon.
class CWindowFrame {
public:
    static QIcon ProgramIcon();
    // Call at the end of the window's constructor, once its layout is set and before it
    // shows: the size is fixed when the layout fixes it or the window has one size only.
    static void Apply(QWidget* window);
    // What in a window breaks the rule, or an empty text when nothing does.
    static QString Broken(const QWidget* window);
};
