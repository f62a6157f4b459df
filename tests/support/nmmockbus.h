#pragma once

#include "support/privatebus.h"

#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

// A private system bus and the mock NetworkManager (python3-dbusmock with the template
// nm_dialup.py beside this file), for tests. StartBus points DBUS_SYSTEM_BUS_ADDRESS at the
// private bus, so it must run before the process first uses QDBusConnection::systemBus().
class CNmMockBus {
public:
    CNmMockBus();
    ~CNmMockBus();

    // Empty when the tools are there; else why the tests cannot run.
    static QString MissingTools();

    bool StartBus();
    // Starts the mock with the template (QFINDTESTDATA("nm_dialup.py")); it is ready when
    // IsServiceUp() says so.
    bool StartMock(const QString& templatePath);
    void StopMock();
    qint64 MockPid() const;
    static bool IsServiceUp();

    // A call to the mock's own interface (AddModemDevice, SetDialOutcome, ...).
    static QDBusMessage MockCall(const QString& method, const QVariantList& arguments = {});
    // A call to NetworkManager's objects, as another client would make it.
    static QDBusMessage Call(const QString& path, const QString& interfaceName,
                             const QString& method, const QVariantList& arguments = {});

    // Adds a connection profile; returns its object path.
    static QString AddProfile(const QString& id, const QString& type, int metered = 0,
                              const QString& secretSetting = QString());
    static QStringList ActiveConnections();

private:
    QTemporaryDir m_dir;
    CPrivateBus m_bus;
    std::unique_ptr<QProcess> m_mock;
};
