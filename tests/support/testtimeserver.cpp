#include "support/testtimeserver.h"

#include "tools/timetext.h"

#include <QTcpSocket>
#include <QtEndian>

CTestTimeServer::CTestTimeServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = m_server.nextPendingConnection()) {
            client->setParent(this);
            client->write(answer);
            client->flush();
            if (close)
                client->disconnectFromHost();
        }
    });
}

QByteArray CTestTimeServer::Rfc868(const QDateTime& moment)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(CTimeText::FromDateTime(moment), bytes.data());
    return bytes;
}
