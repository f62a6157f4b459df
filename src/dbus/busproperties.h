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
};
