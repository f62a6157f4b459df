#include "gui/fieldwidth.h"

#include <QLineEdit>
#include <QStyle>

#include <algorithm>

void CFieldWidth::Fit(QLineEdit* field, const QString& widest)
{
    // The frame on either side and the two pixels the field keeps beside its text.
    const int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
    const QMargins margins = field->textMargins() + field->contentsMargins();
    const int width = field->fontMetrics().horizontalAdvance(widest) + 2 * frame + 4 +
                      margins.left() + margins.right() + 2;
    field->setMinimumWidth(width);
    field->setMaximumWidth(std::max(field->maximumWidth(), width));
}
