#include "app/gui/titlestrip.h"

CTitleStrip::Area CTitleStrip::At(const QPoint& point)
{
    if (point.y() < kHeight) {
        if (point.x() < 350)
            return Area::Drag;
        if (point.x() > 350 && point.x() < 370)
            return Area::Minimize;
        if (point.x() > 370)
            return Area::Hide;
        return Area::None;
    }
    if (point.x() > 360 && point.y() > 124)
        return Area::Logo;
    return Area::None;
}
