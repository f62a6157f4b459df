#include "dbus/busproperties.h"

QVariantMap CBusProperties::ChangedSince(const CBusProperties& before) const
{
    QVariantMap changed;
    const auto add = [&changed](bool differs, const char* name, const QVariant& value) {
        if (differs)
            changed.insert(QLatin1String(name), value);
    };
    add(connected != before.connected, "Connected", connected);
    add(entry != before.entry, "Entry", entry);
    add(seconds != before.seconds, "Seconds",
        QVariant::fromValue(qulonglong(qMax<qint64>(0, seconds))));
    add(received != before.received, "BytesReceived",
        QVariant::fromValue(qulonglong(qMax<qint64>(0, received))));
    add(sent != before.sent, "BytesSent", QVariant::fromValue(qulonglong(qMax<qint64>(0, sent))));
    add(mailCount != before.mailCount, "MailCount", mailCount);
    add(usagePercent != before.usagePercent, "UsagePercent", usagePercent);
    return changed;
}

QVariantMap CBusProperties::DueSince(const CBusProperties& sent) const
{
    const QVariantMap changed = ChangedSince(sent);
    const bool countsOnly = connected == sent.connected && entry == sent.entry &&
                            mailCount == sent.mailCount && usagePercent == sent.usagePercent;
    if (!countsOnly || sent.seconds == 0 || seconds < sent.seconds ||
        seconds - sent.seconds >= kCountsPeriod)
        return changed;
    return QVariantMap();
}
