#include "monitor/autodialrule.h"

#include "billing/cycleusage.h"
#include "billing/dataplan.h"

#include <QCoreApplication>

bool CAutoDialRule::MayDial(const CDataPlan& plan, const CCycleUsage& usage)
{
    return !plan.Active() || !plan.hangUpAtLimit || usage.counted < plan.allowance;
}

QString CAutoDialRule::ConnectQuestion(const CCycleUsage& usage)
{
    // The allowance comes back on the first day of the next cycle.
    const QDate until = usage.cycle.End().addDays(1);
    return QCoreApplication::translate("CAutoDialRule",
                                       "Your data allowance is used up until %1. Dial anyway?")
        .arg(until.toString(QStringLiteral("yyyy-MM-dd")));
}
