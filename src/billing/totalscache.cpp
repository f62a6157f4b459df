#include "billing/totalscache.h"

#include "billing/logfile.h"
#include "common/apppaths.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"

CTotals CTotalsCache::Compute(const CSettingsStore& store)
{
    // The key is taken before the log is read: a record appended during the pass changes
    // the file after this and is picked up by the next call.
    Key key = KeyNow(store);
    if (m_key && *m_key == key)
        return m_totals;

    qint64 records = 0;
    m_totals = CTotals::Pass(key.log.path, key.filter, key.today, key.tariff, key.plan, &records);
    ++m_passes;
    m_recordsRead += records;
    m_key = std::move(key);

    // A log that is no regular file is reported once, until a pass reads the log again.
    if (m_totals.logNotRegular && !m_notRegularShown)
        CMessageBox::Error(CLogFile::NotRegularText(m_key->log.path));
    m_notRegularShown = m_totals.logNotRegular;
    return m_totals;
}

CTotalsCache::Key CTotalsCache::KeyNow(const CSettingsStore& store)
{
    Key key;
    key.filter = store.Read(Keys::SummaryWhen);
    key.tariff = CTariff::Load(store);
    key.plan = CDataPlan::Load(store);
    key.today = CTotals::TodayText();
    key.log = CLogFileState::Of(CAppPaths::LogFile(store));
    return key;
}
