#pragma once

#include <QStyledItemDelegate>

class QTextLayout;

// Draws the lines of a one-column list whole (the main window's messages, the ping results):
// each line wraps at the list's width (between words, or inside a word too long for a
// line), and its row grows to fit.
class CMessageDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kMargin = 3;

    // `view` is the list the delegate draws into; its viewport's width is the line width.
    explicit CMessageDelegate(QAbstractItemView* view);

    // Breaks the text of `layout` into lines of `width` pixels; returns their height.
    static int Wrap(QTextLayout& layout, int width);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    // A list that changes its width wraps its lines again.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_view;
    QObject* m_viewport;
};
