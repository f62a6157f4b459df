#include "support/updateserverprocess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>

// The server is a child of this threaded program. Under the thread sanitizer its
// die_after_fork rule ends such a child before the server starts; this turns the rule off
// for this test only. Read only by a sanitizer build.
extern "C" const char* __tsan_default_options()
{
    return "die_after_fork=0";
}

CUpdateServerProcess::CUpdateServerProcess(const QStringList& options)
{
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(python, QStringList{QStringLiteral(ORVALIS_UPDATE_SERVER),
                                        QStringLiteral("--port"), QStringLiteral("0")} +
                                options);
    // The first line names the port it listens on.
    const QDeadlineTimer deadline(30000);
    while (!m_process.canReadLine() && !deadline.hasExpired() &&
           m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    static const QRegularExpression listening(QStringLiteral("^listening on [^:]+:(\\d+)$"));
    const auto match = listening.match(QString::fromUtf8(m_process.readLine()).trimmed());
    if (match.hasMatch())
        m_port = static_cast<quint16>(match.captured(1).toUInt());
}

CUpdateServerProcess::~CUpdateServerProcess()
{
    m_process.kill();
    m_process.waitForFinished();
}

QStringList CUpdateServerProcess::Requests()
{
    static const QRegularExpression request(QStringLiteral("^request from [^ ]+: (.*)$"));
    while (m_process.canReadLine()) {
        const auto match = request.match(QString::fromUtf8(m_process.readLine()).trimmed());
        if (match.hasMatch())
            m_lines << match.captured(1);
    }
    return m_lines;
}

quint16 CUpdateServerProcess::ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}
