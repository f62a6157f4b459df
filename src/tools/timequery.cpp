#include "tools/timequery.h"

#include "tools/namelookup.h"
#include "tools/timetext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QtEndian>

QString CTimeQuery::Query(const QString& server) const
{
    const std::optional<quint32> address = CNameLookup::FirstAddress(server);
    if (!address)
        return CannotResolve();

    QTcpSocket socket;
    socket.connectToHost(QHostAddress(qFromBigEndian(*address)), m_port);
    if (!socket.waitForConnected(m_connectTimeoutMs))
        return CannotConnect();

    // The four bytes normally come in one piece; a server that splits them still counts.
    // One that sends fewer and closes, or goes quiet, gets no time.
    QByteArray answer;
    const QDeadlineTimer deadline(m_readTimeoutMs);
    while (answer.size() < 4) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        answer += socket.read(4 - answer.size());
    }
    socket.abort();
    if (answer.size() != 4)
        return NoTime();
    return CTimeText::Format(qFromBigEndian<quint32>(answer.constData()));
}

QString CTimeQuery::CannotResolve()
{
    return QCoreApplication::translate("CTimeQuery", "Cannot resolve");
}

QString CTimeQuery::CannotConnect()
{
    return QCoreApplication::translate("CTimeQuery", "Cannot establish connection");
}

QString CTimeQuery::NoTime()
{
    return QCoreApplication::translate("CTimeQuery", "Unable to get time");
}
