#include "gui/selfclosingbox.h"

#include <QAbstractButton>
#include <QMessageBox>

CSelfClosingBox::CSelfClosingBox(QMessageBox& box, int seconds, int answer)
    : QObject(&box)
    , m_box(box)
    , m_button(box.button(static_cast<QMessageBox::StandardButton>(answer)))
    , m_buttonText(m_button ? m_button->text() : QString())
    , m_left(seconds)
    , m_answer(answer)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &CSelfClosingBox::Tick);
    // Whatever closes the box first, the count stops.
    connect(&box, &QDialog::finished, &m_timer, &QTimer::stop);
    m_timer.start();
    ShowLeft();
}

void CSelfClosingBox::Tick()
{
    if (m_left <= 0)
        return;
    --m_left;
    ShowLeft();
    if (m_left == 0) {
        m_timer.stop();
        m_box.done(m_answer);
    }
}

void CSelfClosingBox::ShowLeft()
{
    m_box.setInformativeText(
        m_answer == QMessageBox::No
            ? tr("Without an answer this box closes itself in %n second(s) and answers No.", "",
                 m_left)
            : tr("Without an answer this box closes itself in %n second(s) and answers Yes.", "",
                 m_left));
    if (m_button) {
        //: The button the box presses when the time is up, with the seconds left: "Yes (30)".
        m_button->setText(tr("%1 (%2)").arg(m_buttonText).arg(m_left));
    }
}
