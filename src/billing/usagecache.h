#pragma once

#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "billing/logfilestate.h"
#include "billing/tariff.h"

#include <optional>

class CSettingsStore;

// The usage of today's billing cycle from the log, read again only when the log, the
// plan, the tariff or the day has changed: the tray's tooltip, the Data plan page and the
// alerts ask for it every second during a call, and the call in progress is added on top
// of it by the caller.
class CUsageCache {
public:
    CCycleUsage FromLog(const CSettingsStore& store);
    // The plan as last read by FromLog.
    const CDataPlan& Plan() const { return m_key ? m_key->plan : m_noPlan; }
    const CTariff& Tariff() const { return m_key ? m_key->tariff : m_noTariff; }
    // How many times the log was read.
    qint64 Passes() const { return m_passes; }

private:
    struct Key {
        CLogFileState log;
        CDataPlan plan;
        CTariff tariff;
        QDate today;

        friend bool operator==(const Key&, const Key&) = default;
    };

    std::optional<Key> m_key;
    CCycleUsage m_usage;
    qint64 m_passes = 0;
    CDataPlan m_noPlan;
    CTariff m_noTariff;
};
