#include "prefs/gui/prefstitlestrip.h"

CPrefsTitleStrip::Area CPrefsTitleStrip::At(const QPoint& point, int width)
{
    if (point.y() < 0 || point.y() >= kHeight)
        return Area::None;
    if (point.x() < CloseLeft(width))
        return Area::Drag;
    if (point.x() > CloseLeft(width))
        return Area::Close;
    return Area::None;
}
