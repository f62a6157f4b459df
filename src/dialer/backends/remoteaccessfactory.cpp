#include "dialer/backends/remoteaccessfactory.h"

#include "dialer/backends/networkmanager/networkmanageraccess.h"
#include "dialer/backends/simulator/simremoteaccess.h"

QStringList CRemoteAccessFactory::Names()
{
    return {QStringLiteral("auto"), QStringLiteral("nm"), QStringLiteral("sim")};
}

std::unique_ptr<CRemoteAccess> CRemoteAccessFactory::Create(const QString& backendName,
                                                            const QString& simulatorFile,
                                                            CCredentialStore* credentials,
                                                            QString* note)
{
    QString message;
    std::unique_ptr<CRemoteAccess> backend;
    const QString name = backendName.trimmed().toLower();
    if (name == u"sim" || name == u"simulator") {
        backend = std::make_unique<CSimRemoteAccess>(simulatorFile);
    } else if (name == u"nm" || name == u"networkmanager") {
        // Chosen by the user: kept even while NetworkManager is away, it is picked up
        // when it starts.
        if (!CNetworkManagerAccess::IsRunning())
            message = QStringLiteral("NetworkManager is not running: no connections until it "
                                     "starts");
        backend = std::make_unique<CNetworkManagerAccess>(credentials);
    } else if (name.isEmpty() || name == u"auto") {
        if (CNetworkManagerAccess::IsRunning()) {
            backend = std::make_unique<CNetworkManagerAccess>(credentials);
            message = QStringLiteral("Using NetworkManager");
        } else {
            backend = std::make_unique<CSimRemoteAccess>(simulatorFile);
            message = QStringLiteral("NetworkManager is not running: using the connection "
                                     "simulator");
        }
    } else {
        message = QStringLiteral("Unknown connection backend \"%1\"; choose one of: %2")
                      .arg(backendName.trimmed(), Names().join(QStringLiteral(", ")));
    }
    if (note)
        *note = message;
    return backend;
}
