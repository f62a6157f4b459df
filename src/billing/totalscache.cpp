#include "billing/totalscache.h"

#include "billing/logfile.h"
#include "common/apppaths.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"

#include <QFile>

#include <sys/stat.h>

CTotals CTotalsCache::Compute(const CSettingsStore& store)
{
    // The key is taken before the log is read: a record appended during the pass changes
    // the file after this and is picked up by the next call.
    Key key = KeyNow(store);
    if (m_key && *m_key == key)
        return m_totals;

    qint64 records = 0;
    m_totals = CTotals::Pass(key.logPath, key.filter, key.today, key.tariff, &records);
    ++m_passes;
    m_recordsRead += records;
    m_key = std::move(key);

    // A log that is no regular file is reported once, until a pass reads the log again.
    if (m_totals.logNotRegular && !m_notRegularShown)
        CMessageBox::Error(CLogFile::NotRegularText(m_key->logPath));
    m_notRegularShown = m_totals.logNotRegular;
    return m_totals;
}

CTotalsCache::Key CTotalsCache::KeyNow(const CSettingsStore& store)
{
    Key key;
    key.filter = store.Read(Keys::SummaryWhen);
    key.tariff = CTariff::Load(store);
    key.today = CTotals::TodayText();
    key.logPath = CAppPaths::LogFile(store);

    struct stat info {};
    if (::stat(QFile::encodeName(key.logPath).constData(), &info) == 0) {
        key.logExists = true;
        key.device = info.st_dev;
        key.inode = info.st_ino;
        key.size = info.st_size;
        key.modifiedNsecs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        key.changedNsecs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    }
    return key;
}
