#include "dialer/remoteaccessfactory.h"

#include "dialer/simremoteaccess.h"

QStringList CRemoteAccessFactory::Names()
{
    return {QStringLiteral("auto"), QStringLiteral("sim")};
}

std::unique_ptr<CRemoteAccess> CRemoteAccessFactory::Create(const QString& backendName,
                                                            const QString& simulatorFile,
                                                            QString* note)
{
    QString message;
    std::unique_ptr<CRemoteAccess> backend;
    const QString name = backendName.trimmed().toLower();
    if (name == u"sim" || name == u"simulator") {
        backend = std::make_unique<CSimRemoteAccess>(simulatorFile);
    } else if (name.isEmpty() || name == u"auto") {
        // The simulator is the only backend so far.
        backend = std::make_unique<CSimRemoteAccess>(simulatorFile);
        message = QStringLiteral("Using the connection simulator");
    } else {
        message = QStringLiteral("Unknown connection backend \"%1\"; choose one of: %2")
                      .arg(backendName.trimmed(), Names().join(QStringLiteral(", ")));
    }
    if (note)
        *note = message;
    return backend;
}
