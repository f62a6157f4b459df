#include "billing/usagecache.h"

#include "common/apppaths.h"
#include "common/clock.h"

CCycleUsage CUsageCache::FromLog(const CSettingsStore& store)
{
    // The file's state is taken before the log is read: a record appended during the pass
    // changes it after this and is picked up by the next call.
    Key key{CLogFileState::Of(CAppPaths::LogFile(store)), CDataPlan::Load(store),
            CTariff::Load(store), CClock::Now().date()};
    if (m_key && *m_key == key)
        return m_usage;
    m_usage = CCycleUsage::Pass(key.log.path, key.plan, key.tariff, key.today);
    ++m_passes;
    m_key = std::move(key);
    return m_usage;
}
