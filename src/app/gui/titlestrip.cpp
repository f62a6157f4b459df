#include "app/gui/titlestrip.h"

CTitleStrip::Area CTitleStrip::At(const QPoint& point, QSize size)
{
    // Measured from the right end of a window of the default width.
    const int x = point.x() - (size.width() - kDefaultSize.width());
    if (point.y() < kHeight) {
        if (x < 350)
            return Area::Drag;
        if (x > 350 && x < 370)
            return Area::Minimize;
        if (x > 370)
            return Area::Hide;
        return Area::None;
    }
    if (x > 360 && point.y() > 124)
        return Area::Logo;
    return Area::None;
}
