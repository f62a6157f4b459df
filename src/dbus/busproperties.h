#pragma once

#include <QString>
#include <QVariantMap>

// The properties of org.orvalis.Orvalis1 at one moment, and what changed between two
// moments, typed as the interface declares them (for PropertiesChanged).
struct CBusProperties {
    bool connected = false;
    QString entry;
    qint64 seconds = 0;
    qint64 received = 0;
    qint64 sent = 0;
    int mailCount = 0;
    double usagePercent = 0.0;

    // The properties that differ from `before`, by name.
    QVariantMap ChangedSince(const CBusProperties& before) const;

    // How many seconds of a call the seconds and byte counts may wait to go out.
    static constexpr qint64 kCountsPeriod = 10;
    // What goes out now, `sent` being what went out last: whatever changed, except that the
    // seconds and byte counts moving on alone wait until kCountsPeriod seconds of the call
    // have passed since they last went out (those of a call's first second go at once).
    // Any other change takes them along, so a call's start and end go out at once.
    QVariantMap DueSince(const CBusProperties& sent) const;
};
