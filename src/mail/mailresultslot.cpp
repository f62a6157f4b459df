#include "mail/mailresultslot.h"

void CMailResultSlot::Set(Receiver receiver)
{
    const std::lock_guard lock(m_mutex);
    m_receiver = std::move(receiver);
}

void CMailResultSlot::Clear()
{
    Set({});
}

void CMailResultSlot::Deliver(const QString& result)
{
    const std::lock_guard lock(m_mutex);
    if (m_receiver)
        m_receiver(result);
}
