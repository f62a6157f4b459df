#pragma once

#include <QString>

// Asks a time server for the time (RFC 868 over TCP: connect, read four bytes) and answers
// with the text the Get Time page shows: the server's time in UTC (see CTimeText), or
// "Cannot resolve", "Cannot establish connection" or "Unable to get time".
//
// Query blocks: run it off the window's thread. Both waits are bounded.
class CTimeQuery {
public:
    static constexpr quint16 kPort = 37;
    // How long the connection may take to come up.
    static constexpr int kConnectTimeoutMs = 10000;
    // How long the server may take to send its four bytes once connected.
    static constexpr int kReadTimeoutMs = 10000;

    QString Query(const QString& server) const;

    void SetPort(quint16 port) { m_port = port; }
    void SetConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }
    void SetReadTimeoutMs(int ms) { m_readTimeoutMs = ms; }

    static QString CannotResolve();
    static QString CannotConnect();
    static QString NoTime();

private:
    quint16 m_port = kPort;
    int m_connectTimeoutMs = kConnectTimeoutMs;
    int m_readTimeoutMs = kReadTimeoutMs;
};
