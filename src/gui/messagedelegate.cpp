#include "gui/messagedelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QTextLayout>

#include <cmath>

CMessageDelegate::CMessageDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view)
    , m_view(view)
    , m_viewport(view->viewport())
{
    m_viewport->installEventFilter(this);
}

bool CMessageDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // Compared by address only: while the list is being destroyed its viewport still sends
    // events, and the list can no longer be asked for anything.
    if (watched != m_viewport)
        return QStyledItemDelegate::eventFilter(watched, event);
    if (event->type() == QEvent::Resize && static_cast<QResizeEvent*>(event)->oldSize().width() !=
                                               static_cast<QResizeEvent*>(event)->size().width())
        QMetaObject::invokeMethod(m_view, &QAbstractItemView::doItemsLayout, Qt::QueuedConnection);
    return false;
}

int CMessageDelegate::Wrap(QTextLayout& layout, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return static_cast<int>(std::ceil(height));
}

QSize CMessageDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int width = m_view->viewport()->width();
    QTextLayout layout(index.data().toString(), option.font);
    return {width, Wrap(layout, width - 2 * kMargin) + 2};
}

void CMessageDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    // The style draws the row's background; the text is drawn here, wrapped.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    QTextLayout layout(index.data().toString(), option.font);
    Wrap(layout, option.rect.width() - 2 * kMargin);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Text));
    layout.draw(painter, QPointF(option.rect.left() + kMargin, option.rect.top() + 1));
    painter->restore();
}
