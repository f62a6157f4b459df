#pragma once

#include <QProcess>
#include <QStringList>

// Our update server (tools/orvalis-update-server) on 127.0.0.1 and a free port, with the
// given options. Killed when it goes.
class CUpdateServerProcess {
public:
    explicit CUpdateServerProcess(const QStringList& options = {});
    ~CUpdateServerProcess();

    // 0 when the server did not come up.
    quint16 Port() const { return m_port; }
    // What the server logged about each request so far, without the client's address:
    // "100 bytes, text \"...\", then N zero bytes".
    QStringList Requests();

    // A port on 127.0.0.1 where nothing listens.
    static quint16 ClosedPort();

private:
    QProcess m_process;
    QStringList m_lines;
    quint16 m_port = 0;
};
