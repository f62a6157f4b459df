#include "dbus/busconnectcheck.h"

namespace {
CBusConnectCheck::Refusal Refuse(const char* name, const QString& message)
{
    return {QLatin1String(CBusConnectCheck::kErrorPrefix) + QLatin1String(name), message};
}
} // namespace

CBusConnectCheck::Refusal CBusConnectCheck::Check(const QString& entry, const Situation& situation)
{
    if (!entry.isEmpty() && !situation.entries.contains(entry))
        return Refuse("UnknownEntry", QStringLiteral("No connection is named \"%1\"").arg(entry));
    if (situation.connected)
        return Refuse("AlreadyConnected", QStringLiteral("A connection is already up"));
    if (situation.dialing)
        return Refuse("Busy", QStringLiteral("A dial is already under way"));
    const QString wanted = entry.isEmpty() ? situation.defaultEntry : entry;
    if (!situation.entries.contains(wanted))
        return Refuse("UnknownEntry",
                      situation.defaultEntry.isEmpty()
                          ? QStringLiteral("No default connection is chosen")
                          : QStringLiteral("The default connection \"%1\" is not in the phonebook")
                                .arg(situation.defaultEntry));
    // The dial path dials the default connection only.
    if (wanted != situation.defaultEntry)
        return Refuse("NotDefaultEntry",
                      QStringLiteral("Only the default connection (\"%1\") can be dialled")
                          .arg(situation.defaultEntry));
    if (!situation.mayDialOnItsOwn)
        return Refuse("AllowanceUsedUp", QStringLiteral("The data allowance is used up"));
    return {};
}
