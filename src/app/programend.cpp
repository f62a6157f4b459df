#include "app/programend.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "monitor/connectionmonitor.h"
#include "monitor/trafficcounters.h"

#include <QCoreApplication>

#include <cstdio>

CProgramEnd::CProgramEnd(const CSettingsStore& store, CTrafficCounters* counters,
                         CConnectionMonitor& monitor)
    : m_store(store)
    , m_counters(counters)
    , m_monitor(monitor)
{}

bool CProgramEnd::MayLeave(CMessageBox::Question ask)
{
    // The texts keep the main window's translation context, where their translations are.
    const bool leave =
        m_store.Read(Keys::ConfirmExit) != 1 ||
        CMessageBox::Confirm(ask, QCoreApplication::translate(
                                      "CMainDlg", "You are about to exit Orvalis. Are you sure?"));
    if (leave && m_counters) {
        m_counters->Cancel();
        if (m_counters->Busy())
            CMessageBox::Inform(QCoreApplication::translate(
                "CMainDlg", "The traffic counters did not stop in time. Orvalis ends anyway."));
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

void CProgramEnd::TellWaiting(const QString& note, CMessageBox::Question ask)
{
    if (note.isEmpty())
        return;
    if (ask == CMessageBox::Question::Waiting)
        CMessageBox::Inform(note);
    else
        std::fprintf(stderr, "%s\n", qPrintable(note));
}
