#pragma once

#include "dialer/remoteaccess.h"

#include <QString>
#include <QStringList>

#include <memory>

class CCredentialStore;

// The one place that chooses the dial-up backend.
class CRemoteAccessFactory {
public:
    // The backend names a user may give.
    static QStringList Names();

    // The backend of the name (letter case ignored): "nm" (or "networkmanager") is
    // NetworkManager on the system bus, which answers its password requests from
    // credentials (not owned, may be null: then it answers them with nothing); "sim" is
    // the connection simulator, playing from simulatorFile; "auto" or an empty name picks
    // NetworkManager when it is on the system bus, else the simulator.
    //
    // note, when given, gets a one-line remark for the user (which backend "auto" chose)
    // or, with nullptr as the result, why the name was refused.
    static std::unique_ptr<CRemoteAccess> Create(const QString& backendName,
                                                 const QString& simulatorFile,
                                                 CCredentialStore* credentials, QString* note);
};
