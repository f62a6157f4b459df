#include "mail/mailresultslot.h"

void CMailResultSlot::Set(Receiver receiver, CertificateReceiver refused)
{
    const std::lock_guard lock(m_mutex);
    m_receiver = std::move(receiver);
    m_refused = std::move(refused);
}

void CMailResultSlot::Clear()
{
    Set({});
}

void CMailResultSlot::Deliver(const QString& result, const QByteArray& refusedSha256)
{
    const std::lock_guard lock(m_mutex);
    if (m_refused && !refusedSha256.isEmpty())
        m_refused(refusedSha256);
    if (m_receiver)
        m_receiver(result);
}
