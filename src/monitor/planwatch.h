#pragma once

#include "billing/cycleusage.h"
#include "billing/usagecache.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CDesktopNotifier;
class CSettingsStore;

// The data plan as the running program follows it: the usage of the current cycle with
// the call in progress, the warnings before the cap, the hang-up at the cap and whether
// the program may dial on its own. The log is read only when it, the plan, the tariff or
// the day changed (CUsageCache), so asking once a tick is cheap.
class CPlanWatch {
public:
    // The call in progress: when it started and its bytes so far.
    struct Call {
        QDateTime start;
        QDateTime now;
        qint64 received = 0;
        qint64 sent = 0;
    };

    // `hangUp` ends the connections the way the cost limit does (false: declined or
    // failed); the box that says why follows a hang-up.
    CPlanWatch(CSettingsStore& store, std::function<bool()> hangUp);
    ~CPlanWatch();

    // Where the warnings go; without one (null) they go to the program's own box.
    void SetNotifier(CDesktopNotifier* notifier);

    // The cycle's usage from the log, plus the call when one is up: its bytes and the
    // tariff's price of its duration so far. Without a plan, an empty usage (no log pass).
    CCycleUsage Usage(const std::optional<Call>& call);
    // The warnings not given yet in this cycle and, with a call that takes the cycle past
    // its allowance while the plan hangs up there, the hang-up. `usage` is what Usage gave
    // for the same call just before. Returns the percentage announced now, or 0.
    int Check(const CCycleUsage& usage, const std::optional<Call>& call);

    // The tooltip's line about the cycle ("1.70/2.00 GB, 85 %, 25 day(s) left"), with
    // the line break before it; empty without a plan.
    static QString TooltipLine(const CCycleUsage& usage);

    // Whether a redial, a busy line's redial or a scheduled dial may go ahead now.
    bool MayDialOnItsOwn();
    // Empty when a Connect by hand may dial at once; else the question to ask first.
    QString ConnectQuestion();
    // Whether a dial by hand goes ahead: at once below the cap, past it when the user
    // answers the question with Yes.
    bool MayDialByHand();

    // How many times the log was read for the usage.
    qint64 LogPasses() const { return m_cache.Passes(); }

private:
    CSettingsStore& m_store;
    std::function<bool()> m_hangUp;
    CUsageCache m_cache;
    CCycleUsage m_logPart; // the part of the last Usage() that came from the log
    std::unique_ptr<CDesktopNotifier> m_boxOnly;
    CDesktopNotifier* m_notifier;
    QDateTime m_limitCallStart; // the call the cap has been dealt with
    bool m_limitBoxOpen = false;
    // The thresholds reached at the last check, and in which cycle.
    QDate m_checkedCycle;
    QList<int> m_checkedReached;
};
