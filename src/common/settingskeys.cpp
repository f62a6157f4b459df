#include "common/settingskeys.h"

namespace Keys {

CNamedKey EntryUser(const QString& entry)
{
    return {QLatin1String(kConnections), entry + QLatin1String("User")};
}

CNamedKey EntryPassword(const QString& entry)
{
    return {QLatin1String(kConnections), entry + QLatin1String("Password")};
}

} // namespace Keys
