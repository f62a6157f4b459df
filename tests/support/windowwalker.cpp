#include "support/windowwalker.h"

#include "gui/widgetmessagebox.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

// What a text looks like on screen: the mnemonic's "&" is not drawn.
QString Shown(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    shown.remove(QLatin1Char('&'));
    shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return shown;
}

QString Plain(const QLabel* label)
{
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
        QTextDocument document;
        document.setHtml(label->text());
        return document.toPlainText();
    }
    return label->text();
}

QString Name(const QWidget* widget, const QString& text)
{
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(widget->window()->metaObject()->className(), widget->metaObject()->className(),
             text.left(60));
}

// Calls visit with every text the window shows, the widget drawing it and the rectangle
// (in the widget) it has for that text.
using Visit = std::function<void(QWidget* widget, const QString& text, const QRect& room,
                                 const QString& problem)>;

void WalkLabel(QLabel* label, const Visit& visit)
{
    // A label with a buddy draws its mnemonic as an underline, not as "&".
    const QString text = label->buddy() ? Shown(Plain(label)) : Plain(label);
    if (text.trimmed().isEmpty())
        return;
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                      -label->margin(), -label->margin());
    QString problem;
    if (label->wordWrap()) {
        if (label->heightForWidth(label->width()) > label->height())
            problem = QStringLiteral("wraps to more lines than the label is high (%1 > %2 at %3)")
                          .arg(label->heightForWidth(label->width()))
                          .arg(label->height())
                          .arg(label->width());
    } else {
        const QSize needed = label->fontMetrics().size(0, text);
        if (needed.width() > room.width() + 1)
            problem = QStringLiteral("needs %1 px, has %2").arg(needed.width()).arg(room.width());
        else if (needed.height() > room.height() + 2)
            problem =
                QStringLiteral("needs %1 px high, has %2").arg(needed.height()).arg(room.height());
    }
    visit(label, text, room, problem);
}

void WalkButton(QAbstractButton* button, const Visit& visit)
{
    const QString text = Shown(button->text());
    if (text.isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QRect room;
    int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    if (qobject_cast<QCheckBox*>(button)) {
        room = button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
    } else if (qobject_cast<QRadioButton*>(button)) {
        room = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    } else if (qobject_cast<QPushButton*>(button)) {
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else {
        room = button->rect();
        icon =
            std::max(0, button->sizeHint().width() - button->fontMetrics().horizontalAdvance(text));
    }
    const int needed = button->fontMetrics().horizontalAdvance(text) + icon;
    visit(button, text, room,
          needed > room.width() + 1
              ? QStringLiteral("needs %1 px, has %2").arg(needed).arg(room.width())
              : QString());
}

void WalkField(QLineEdit* field, const Visit& visit)
{
    // Paths and addresses of any length scroll in their field; values must show whole.
    if (field->echoMode() != QLineEdit::Normal || field->text().contains(QLatin1Char('/')))
        return;
    // A spin box's field must show its largest value, not only the one it holds.
    QString text = field->text();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field->parentWidget())) {
        QString widest = text;
        const QString maximum =
            spin->property("maximum").toString() + spin->property("suffix").toString();
        if (field->fontMetrics().horizontalAdvance(maximum) >
            field->fontMetrics().horizontalAdvance(widest))
            widest = maximum;
        text = widest;
    }
    if (text.isEmpty())
        return;
    const QMargins margins = field->textMargins();
    // The field's own frame and the two pixels it keeps on either side of the text.
    const int frame = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                      nullptr, field)
                                        : 0;
    const QRect room = field->contentsRect().marginsRemoved(margins).adjusted(frame + 2, frame,
                                                                              -frame - 2, -frame);
    const int needed = field->fontMetrics().horizontalAdvance(text);
    visit(field, text, room,
          needed > room.width()
              ? QStringLiteral("needs %1 px, has %2").arg(needed).arg(room.width())
              : QString());
}

void WalkCombo(QComboBox* combo, const Visit& visit)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    // Every choice must fit, not only the current one.
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        const int needed = combo->fontMetrics().horizontalAdvance(text);
        visit(combo, text, room,
              needed > room.width()
                  ? QStringLiteral("needs %1 px, has %2").arg(needed).arg(room.width())
                  : QString());
    }
}

void WalkGroupBox(QGroupBox* box, const Visit& visit)
{
    if (box->title().isEmpty())
        return;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    const QRect room =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int needed = box->fontMetrics().horizontalAdvance(Shown(box->title()));
    visit(box, Shown(box->title()), room,
          needed > room.width() || room.right() > box->width()
              ? QStringLiteral("needs %1 px, has %2").arg(needed).arg(box->width())
              : QString());
}

void WalkMenuBar(QMenuBar* bar, const Visit& visit)
{
    for (QAction* action : bar->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QRect room = bar->actionGeometry(action);
        const bool hidden = room.isEmpty() || room.right() > bar->width();
        visit(bar, Shown(action->text()), room.adjusted(2, 2, -2, -2),
              hidden ? QStringLiteral("is behind the menu bar's extension") : QString());
    }
}

void WalkItems(QAbstractItemView* view, const Visit& visit)
{
    const QAbstractItemModel* model = view->model();
    if (!model)
        return;
    if (auto* tree = qobject_cast<QTreeView*>(view); tree && !tree->isHeaderHidden()) {
        for (int column = 0; column < model->columnCount(); ++column)
            visit(tree->header(), model->headerData(column, Qt::Horizontal).toString(),
                  QRect(tree->header()->sectionViewportPosition(column), 0,
                        tree->header()->sectionSize(column), tree->header()->height()),
                  QString());
    }
    const QRect viewport = view->viewport()->rect();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            const QRect cell = view->visualRect(index);
            // Selected lines are drawn in the desktop's selection colours, not the program's.
            if (text.isEmpty() || !cell.intersects(viewport) ||
                (view->selectionModel() && view->selectionModel()->isSelected(index)))
                continue;
            const QFontMetrics metrics(view->font());
            QString problem;
            // The item's text keeps three pixels of margin on either side.
            const QRect room = cell.adjusted(3, 0, -3, 0);
            const QRect needed = metrics.boundingRect(
                room.left(), room.top(), room.width(), 100000,
                (view->property("wordWrap").toBool() ? int(Qt::TextWordWrap) : 0) | Qt::AlignLeft |
                    Qt::AlignTop,
                text);
            if (needed.width() > room.width() + 1 || needed.height() > room.height() + 2)
                problem = QStringLiteral("needs %1x%2 px, has %3x%4")
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(room.width())
                              .arg(room.height());
            visit(view->viewport(), text, room.intersected(viewport), problem);
        }
    }
}

void WalkTitle(QWidget* window, const Visit& visit)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint) || window->windowTitle().isEmpty())
        return;
    const int needed = window->fontMetrics().horizontalAdvance(window->windowTitle()) +
                       CWidgetMessageBox::kFrameButtons;
    if (needed > window->width())
        visit(
            window, window->windowTitle(), QRect(),
            QStringLiteral("title needs %1 px of frame, has %2").arg(needed).arg(window->width()));
}

void Walk(QWidget* window, const Visit& visit)
{
    WalkTitle(window, visit);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || (widget != window && widget->window() != window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            WalkLabel(label, visit);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            WalkButton(button, visit);
        else if (auto* field = qobject_cast<QLineEdit*>(widget))
            WalkField(field, visit);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            WalkCombo(combo, visit);
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            WalkGroupBox(box, visit);
        else if (auto* bar = qobject_cast<QMenuBar*>(widget))
            WalkMenuBar(bar, visit);
        else if (auto* view = qobject_cast<QAbstractItemView*>(widget))
            WalkItems(view, visit);
    }
}

} // namespace

double CWindowWalker::Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QStringList CWindowWalker::Clipped(QWidget* window)
{
    QStringList found;
    Walk(window,
         [&found](QWidget* widget, const QString& text, const QRect&, const QString& problem) {
             if (!problem.isEmpty())
                 found << Name(widget, text) + QStringLiteral(": ") + problem;
         });
    return found;
}

QStringList CWindowWalker::Faint(QWidget* window)
{
    const QImage image = window->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    QStringList found;
    Walk(window, [&](QWidget* widget, const QString& text, const QRect& room, const QString&) {
        if (!widget->isEnabled())
            return;
        const QRect area(widget->mapTo(window, room.topLeft()) * ratio, room.size() * ratio);
        const QRect inside = area.intersected(image.rect());
        if (room.isEmpty() || inside.isEmpty())
            return;
        // The background is the colour most of the area has; the text is the pixel that
        // stands out from it most (the full-strength middle of a stroke).
        std::map<QRgb, int> counts;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[image.pixel(x, y)];
        }
        const QColor background(
            std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->first);
        double best = 1.0;
        for (const auto& [pixel, count] : counts)
            best = std::max(best, Contrast(QColor(pixel), background));
        // An area of one colour draws no text there (an empty cell): nothing to read.
        if (counts.size() > 1 && best < kLeastContrast)
            found << Name(widget, text) + QStringLiteral(": contrast %1 on %2")
                                              .arg(best, 0, 'f', 2)
                                              .arg(background.name());
    });
    return found;
}
