#include "app/gui/windowplacement.h"

#include "common/settingsstore.h"

namespace {

void WriteRect(CSettingsStore& store, const QRect& r, int minimized)
{
    store.Write(Keys::WindowBottom, r.top() + r.height());
    store.Write(Keys::WindowTop, r.top());
    store.Write(Keys::WindowRight, r.left() + r.width());
    store.Write(Keys::WindowLeft, r.left());
    store.Write(Keys::WindowMinimized, minimized);
}
} // namespace

CWindowPlacement::CWindowPlacement(CSettingsStore& store)
    : m_store(store)
{}

void CWindowPlacement::Load()
{
    const int bottom = m_store.Read(Keys::WindowBottom);
    const int top = m_store.Read(Keys::WindowTop);
    const int right = m_store.Read(Keys::WindowRight);
    const int left = m_store.Read(Keys::WindowLeft);
    if (bottom == 0)
        m_remembered = DefaultRect();
    else
        m_remembered = QRect(QPoint(left, top), QSize(right - left, bottom - top));
    m_startHidden =
        m_store.Read(Keys::WindowMinimized) == 1 || m_store.Read(Keys::HideOnStart) != 1;
}

void CWindowPlacement::Save(const QRect& window, bool minimized)
{
    const int bottom = window.top() + window.height();
    if (minimized || bottom < 0)
        WriteRect(m_store, m_remembered, 1);
    else if (bottom > 0)
        WriteRect(m_store, window, 0);
}
