#include "prefs/gui/preferencesdlg.h"

#include "gui/windowframe.h"
#include "prefs/preferencespage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

CPreferencesDlg::CPreferencesDlg(const CPreferencesParts& parts, int startPage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_frame(*this, QMargins(8, CPrefsTitleStrip::kHeight + 8, 8, 8))
{
    setWindowTitle(tr("Preferences"));

    for (int page = 0; page < CPreferencesSheet::kPageCount; ++page) {
        // Keeps the stack's positions those of the tree while the pages are made out of order.
        m_frame.AddPage(CPreferencesSheet::Title(page), new QWidget);
    }
    for (const CPreferencesSheet::Page page : CPreferencesSheet::CreationOrder()) {
        std::unique_ptr<CPreferencesPage> made = parts.makePage ? parts.makePage(page) : nullptr;
        if (!made)
            continue;
        m_frame.ReplacePage(page, made->Widget());
        // The stack owns the page's widget now, and with it the page.
        m_pages[page] = made.release();
    }
    connect(m_frame.Buttons(), &QDialogButtonBox::accepted, this, &CPreferencesDlg::Ok);
    // As wide as the widest page needs: German texts and larger fonts widen the window.
    setFixedWidth(std::max(CPrefsTitleStrip::kWidth, sizeHint().width()));
    // Tall enough for the wrapped texts at that width.
    if (hasHeightForWidth())
        setMinimumHeight(heightForWidth(width()));
    SelectPage(CPreferencesSheet::StartPage(startPage));
    CWindowFrame::Apply(this);
}

bool CPreferencesDlg::Open(const CPreferencesParts& parts, int startPage, QWidget* parent)
{
    if (parts.mayOpen && !parts.mayOpen())
        return false;
    CPreferencesDlg dialog(parts, startPage, parent);
    return CTreePages::ExecOver(dialog, parent);
}

int CPreferencesDlg::CurrentPage() const
{
    return m_frame.CurrentPage();
}

void CPreferencesDlg::SelectPage(int page)
{
    m_frame.SelectPage(page);
}

void CPreferencesDlg::Ok()
{
    const CPreferencesSheet::Outcome outcome = CPreferencesSheet::Accept(m_pages);
    if (outcome.page < 0) {
        accept();
        return;
    }
    SelectPage(outcome.page);
    outcome.field->setFocus(Qt::OtherFocusReason);
}

void CPreferencesDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = CPrefsTitleStrip::At(event->position().toPoint(), width());
    if (m_pressed == CPrefsTitleStrip::Area::Drag) {
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        m_pressed = CPrefsTitleStrip::Area::None;
    }
    update();
}

void CPreferencesDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const CPrefsTitleStrip::Area pressed = m_pressed;
    m_pressed = CPrefsTitleStrip::Area::None;
    update();
    // The close box saves, as OK does.
    if (pressed == CPrefsTitleStrip::Area::Close &&
        CPrefsTitleStrip::At(event->position().toPoint(), width()) == CPrefsTitleStrip::Area::Close)
        Ok();
}

void CPreferencesDlg::mouseMoveEvent(QMouseEvent* event)
{
    // Leaving the close box while pressed shows the normal box again.
    if (m_pressed != CPrefsTitleStrip::Area::None &&
        CPrefsTitleStrip::At(event->position().toPoint(), width()) != m_pressed) {
        m_pressed = CPrefsTitleStrip::Area::None;
        update();
    }
}

void CPreferencesDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    QLinearGradient strip(0, 0, 0, CPrefsTitleStrip::kHeight);
    strip.setColorAt(0, QColor(0x40, 0x40, 0x40));
    strip.setColorAt(1, QColor(0x18, 0x18, 0x18));
    painter.fillRect(0, 0, width(), CPrefsTitleStrip::kHeight, strip);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 200, 0));
    painter.drawText(QRect(6, 0, 300, CPrefsTitleStrip::kHeight), Qt::AlignVCenter,
                     tr("Orvalis Preferences"));

    const int closeLeft = CPrefsTitleStrip::CloseLeft(width());
    const QRect box(closeLeft + 2, 1, width() - closeLeft - 4, CPrefsTitleStrip::kHeight - 2);
    if (m_pressed == CPrefsTitleStrip::Area::Close)
        painter.fillRect(box, QColor(0, 160, 0));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xd0, 0xd0, 0xd0), 1.5));
    const QRectF cross = QRectF(box).adjusted(3.5, 2.5, -3.5, -2.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    painter.setPen(QColor(0x44, 0x44, 0x44));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
