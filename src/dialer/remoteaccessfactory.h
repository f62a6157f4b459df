#pragma once

#include "dialer/remoteaccess.h"

#include <QString>
#include <QStringList>

#include <memory>

// The one place that chooses the dial-up backend.
class CRemoteAccessFactory {
public:
    // The backend names a user may give.
    static QStringList Names();

    // The backend of the name (letter case ignored): "sim" is the connection simulator,
    // playing from simulatorFile; "auto" or an empty name picks the best one available.
    // note, when given, gets a one-line remark for the user (which backend "auto" chose)
    // or, with nullptr as the result, why the name was refused.
    static std::unique_ptr<CRemoteAccess> Create(const QString& backendName,
                                                 const QString& simulatorFile, QString* note);
};
