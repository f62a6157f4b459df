#include "app/programend.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "monitor/connectionmonitor.h"
#include "monitor/trafficcounters.h"

#include <QCoreApplication>

CProgramEnd::CProgramEnd(const CSettingsStore& store, CTrafficCounters* counters,
                         CConnectionMonitor& monitor)
    : m_store(store)
    , m_counters(counters)
    , m_monitor(monitor)
{}

bool CProgramEnd::MayLeave(bool ask)
{
    // The texts keep the main window's translation context, where their translations are.
    const bool confirm = ask && m_store.Read(Keys::ConfirmExit) == 1;
    const bool leave =
        !confirm || CMessageBox::Ask(QCoreApplication::translate(
                        "CMainDlg", "You are about to exit Orvalis. Are you sure ?"));
    if (leave && m_counters) {
        m_counters->Cancel();
        if (m_counters->Busy())
            CMessageBox::Inform(QCoreApplication::translate(
                "CMainDlg", "still can't terinate inet -=- panic!!! help!!!"));
    }
    return leave;
}

void CProgramEnd::StopCounters()
{
    if (m_counters)
        m_counters->Cancel();
}

QString CProgramEnd::Finish()
{
    m_monitor.Shutdown();
    return m_monitor.WaitingRecordsNote();
}
