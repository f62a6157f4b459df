#include "app/startupboxes.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

CStartupBoxes::CStartupBoxes(CMessageBox::Presenter inner)
    : m_inner(std::move(inner))
{
    CMessageBox::SetPresenter([this](const CMessageBox::Box& box) { return Present(box); });
}

CStartupBoxes::~CStartupBoxes()
{
    CMessageBox::SetPresenter(m_inner);
}

void CStartupBoxes::ShowOnceRunning()
{
    QTimer::singleShot(0, QCoreApplication::instance(), [this] { ShowNow(); });
}

void CStartupBoxes::ShowNow()
{
    m_holding = false;
    // A box shown here may run an event loop of its own, in which more boxes are asked.
    while (!m_held.isEmpty())
        m_inner(m_held.takeFirst());
}

CMessageBox::Answer CStartupBoxes::Present(const CMessageBox::Box& box)
{
    if (box.buttons == CMessageBox::Buttons::Ok) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() != app->thread()) {
            QMetaObject::invokeMethod(
                app, [this, box] { Present(box); }, Qt::QueuedConnection);
            return CMessageBox::Answer::Ok;
        }
        if (m_holding) {
            m_held.append(box);
            return CMessageBox::Answer::Ok;
        }
    }
    return m_inner(box);
}
