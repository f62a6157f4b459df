#pragma once

#include <QString>

struct CCycleUsage;
struct CDataPlan;

// Whether the program may dial on its own (a redial after a drop, a busy line dialled
// again, a scheduled dial). Not when the plan hangs up at its limit and the cycle's
// allowance is used up: then nothing is dialled on its own until the next cycle, and a
// Connect by hand asks first.
class CAutoDialRule {
public:
    // `usage` is the cycle of today, from the log.
    static bool MayDial(const CDataPlan& plan, const CCycleUsage& usage);
    // The question a Connect by hand asks while MayDial says no.
    static QString ConnectQuestion(const CCycleUsage& usage);
};
