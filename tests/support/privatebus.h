#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <memory>

// A dbus-daemon of the test's own, listening on a socket in a folder of the test. It is
// stopped when the object goes.
class CPrivateBus {
public:
    CPrivateBus();
    ~CPrivateBus();

    // Writes the configuration beside the socket, with "@SOCKET@" in configTemplate
    // replaced by socketPath, starts the daemon and returns the bus's address; empty when
    // the daemon could not be started.
    QByteArray Start(const QByteArray& configTemplate, const QString& socketPath);
    void Stop();

    // A configuration for a bus of the given type ("session" or "system") that listens on
    // "@SOCKET@", starts nothing on demand and lets every client own any name, call
    // anything and watch everything.
    static QByteArray OpenConfig(const char* type);

private:
    std::unique_ptr<QProcess> m_daemon;
};
