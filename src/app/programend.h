#pragma once

#include "common/messagebox.h"

#include <QString>

class CConnectionMonitor;
class CSettingsStore;
class CTrafficCounters;

// How a run of the program ends, without the window: the exit question, stopping the
// counter queries, the monitor's last words (the call in progress journaled, waiting
// records written) and what the user should hear about records still waiting for the log.
class CProgramEnd {
public:
    // `counters` may be null (the counter worker could not start).
    CProgramEnd(const CSettingsStore& store, CTrafficCounters* counters,
                CConnectionMonitor& monitor);

    // The exit question when the settings ask for it, asked as `ask` says; true to leave.
    // Leaving stops the counter queries (and says so when a query does not stop).
    bool MayLeave(CMessageBox::Question ask);
    // Stops the counter queries without a question (the window closes, the session ends).
    void StopCounters();
    // Ends the monitor's run. Returns what the user should know about records still
    // waiting for the log and where they are kept; empty when there are none.
    QString Finish();
    // Names records still waiting for the log (`note`, from Finish) where the user will see
    // it: a box when the exit was asked for on screen, else standard error.
    static void TellWaiting(const QString& note, CMessageBox::Question ask);

private:
    const CSettingsStore& m_store;
    CTrafficCounters* m_counters;
    CConnectionMonitor& m_monitor;
};
