#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTcpServer>

// A time server on 127.0.0.1 that the test controls: it sends `answer` to each client and
// closes the connection, or with `close` false keeps it open.
class CTestTimeServer : public QObject {
public:
    CTestTimeServer();

    quint16 Port() const { return m_server.serverPort(); }
    void Stop() { m_server.close(); }

    // The four bytes a time server sends for a moment.
    static QByteArray Rfc868(const QDateTime& moment);

    QByteArray answer;
    bool close = true;

private:
    QTcpServer m_server;
};
