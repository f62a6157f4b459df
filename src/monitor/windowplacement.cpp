#include "monitor/windowplacement.h"

#include "app/settingsstore.h"

namespace {
const QString kSettings = QStringLiteral("Settings");

void WriteRect(CSettingsStore& store, const QRect& r, int minimized)
{
    store.WriteInt(kSettings, QStringLiteral("RedaWindowPosb"), r.top() + r.height());
    store.WriteInt(kSettings, QStringLiteral("RedaWindowPost"), r.top());
    store.WriteInt(kSettings, QStringLiteral("RedaWindowPosr"), r.left() + r.width());
    store.WriteInt(kSettings, QStringLiteral("RedaWindowPosl"), r.left());
    store.WriteInt(kSettings, QStringLiteral("RedaWindowMinimized"), minimized);
}
} // namespace

CWindowPlacement::CWindowPlacement(CSettingsStore& store)
    : m_store(store)
{}

void CWindowPlacement::Load()
{
    const int bottom = m_store.ReadInt(kSettings, QStringLiteral("RedaWindowPosb"), 0);
    const int top = m_store.ReadInt(kSettings, QStringLiteral("RedaWindowPost"), 0);
    const int right = m_store.ReadInt(kSettings, QStringLiteral("RedaWindowPosr"), 0);
    const int left = m_store.ReadInt(kSettings, QStringLiteral("RedaWindowPosl"), 0);
    if (bottom == 0)
        m_remembered = DefaultRect();
    else
        m_remembered = QRect(QPoint(left, top), QSize(right - left, bottom - top));
    m_startHidden = m_store.ReadInt(kSettings, QStringLiteral("RedaWindowMinimized"), 0) == 1 ||
                    m_store.ReadInt(kSettings, QStringLiteral("HideOnStart"), 1) != 1;
}

void CWindowPlacement::Save(const QRect& window, bool minimized)
{
    const int bottom = window.top() + window.height();
    if (minimized || bottom < 0)
        WriteRect(m_store, m_remembered, 1);
    else if (bottom > 0)
        WriteRect(m_store, window, 0);
}
