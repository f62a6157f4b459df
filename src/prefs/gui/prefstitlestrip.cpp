#include "prefs/gui/prefstitlestrip.h"

CPrefsTitleStrip::Area CPrefsTitleStrip::At(const QPoint& point)
{
    if (point.y() < 0 || point.y() >= kHeight)
        return Area::None;
    if (point.x() < kCloseLeft)
        return Area::Drag;
    if (point.x() > kCloseLeft)
        return Area::Close;
    return Area::None;
}
