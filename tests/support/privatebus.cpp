#include "support/privatebus.h"

#include <QFile>
#include <QFileInfo>

CPrivateBus::CPrivateBus() = default;

CPrivateBus::~CPrivateBus()
{
    Stop();
}

QByteArray CPrivateBus::Start(const QByteArray& configTemplate, const QString& socketPath)
{
    Stop();
    const QString configPath = socketPath + QStringLiteral(".conf");
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly))
        return {};
    config.write(QByteArray(configTemplate).replace("@SOCKET@", QFile::encodeName(socketPath)));
    config.close();

    m_daemon = std::make_unique<QProcess>();
    m_daemon->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + configPath, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
    if (!m_daemon->waitForStarted())
        return {};
    while (!m_daemon->canReadLine()) {
        if (!m_daemon->waitForReadyRead(10000))
            return {};
    }
    return m_daemon->readLine().trimmed();
}

QByteArray CPrivateBus::OpenConfig(const char* type)
{
    return QByteArray(
               R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>@TYPE@</type>
  <listen>unix:path=@SOCKET@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
)")
        .replace("@TYPE@", type);
}

void CPrivateBus::Stop()
{
    if (!m_daemon)
        return;
    m_daemon->kill();
    m_daemon->waitForFinished();
    m_daemon.reset();
}
