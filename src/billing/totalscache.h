#pragma once

#include "billing/dataplan.h"
#include "billing/logfilestate.h"
#include "billing/tariff.h"
#include "billing/totals.h"

#include <QByteArray>
#include <QString>

#include <optional>

class CSettingsStore;

// Remembers the last totals pass and gives it again while nothing it depends on has
// changed: the log file (path, device, inode, size, modification and change times), the
// tariff, the data plan, the period filter and today's date. The monitor's check every minute uses
// it, so an idle log is not read again and again. A log that is a pipe, a device or a folder is
// reported with an error box, once until the log can be read again.
class CTotalsCache {
public:
    // The totals as CTotals::Compute(store) gives them, from the last pass when that is
    // still good.
    CTotals Compute(const CSettingsStore& store);

    // Drops the remembered pass; the next Compute reads the log.
    void Clear() { m_key.reset(); }

    // How many times the log was read, and how many records those reads yielded in all.
    qint64 Passes() const { return m_passes; }
    qint64 RecordsRead() const { return m_recordsRead; }

private:
    // What a pass depends on. A log that is missing has all file fields 0.
    struct Key {
        CLogFileState log;
        int filter = 0;
        QByteArray today;
        CTariff tariff;
        CDataPlan plan;

        friend bool operator==(const Key&, const Key&) = default;
    };

    static Key KeyNow(const CSettingsStore& store);

    std::optional<Key> m_key;
    CTotals m_totals;
    qint64 m_passes = 0;
    qint64 m_recordsRead = 0;
    bool m_notRegularShown = false;
};
