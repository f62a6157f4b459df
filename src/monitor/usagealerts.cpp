#include "monitor/usagealerts.h"

#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "common/settingsstore.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

const QString kDateForm = QStringLiteral("yyyy-MM-dd");

} // namespace

CUsageAlerts::State CUsageAlerts::Load(const CSettingsStore& store)
{
    State state;
    state.cycle = QDate::fromString(store.Read(Keys::WarnedCycle).trimmed(), kDateForm);
    // The same reading as the thresholds themselves; a damaged list counts as none.
    state.warned = CDataPlan::ParseThresholds(store.Read(Keys::WarnedAt)).value_or(QList<int>());
    return state;
}

void CUsageAlerts::Save(CSettingsStore& store, const State& state)
{
    store.Write(Keys::WarnedCycle, state.cycle.toString(kDateForm));
    store.Write(Keys::WarnedAt, CDataPlan::ThresholdsText(state.warned));
}

bool CUsageAlerts::Reached(const CCycleUsage& usage, int percent)
{
    if (usage.allowance <= 0)
        return false;
    // In long double: an allowance of a billion GB times a percentage would not fit 64 bits.
    return static_cast<long double>(usage.counted) * 100 >=
           static_cast<long double>(usage.allowance) * percent;
}

CUsageAlerts::Decision CUsageAlerts::Decide(const CDataPlan& plan, const CCycleUsage& usage,
                                            const State& before)
{
    Decision decision;
    decision.state = before;
    if (!plan.Active() || !usage.cycle.IsValid())
        return decision;
    const QDate cycle = usage.cycle.Start();
    const QList<int> warned = before.cycle == cycle ? before.warned : QList<int>();
    const int highestWarned =
        warned.isEmpty() ? 0 : *std::max_element(warned.begin(), warned.end());

    QList<int> marked = warned;
    for (const int percent : plan.warnAt) {
        if (!Reached(usage, percent) || warned.contains(percent))
            continue;
        marked.append(percent);
        if (percent > highestWarned)
            decision.announce = std::max(decision.announce, percent);
    }
    // Nothing new; in a new cycle that is nothing to remember yet either.
    if (marked == warned)
        return decision;
    std::sort(marked.begin(), marked.end());
    decision.state = {cycle, marked};
    decision.changed = decision.state != before;
    return decision;
}

int CUsageAlerts::Check(CSettingsStore& store, const CDataPlan& plan, const CCycleUsage& usage)
{
    const Decision decision = Decide(plan, usage, Load(store));
    if (decision.changed)
        Save(store, decision.state);
    return decision.announce;
}

QString CUsageAlerts::SummaryText(int percent)
{
    return QCoreApplication::translate("CUsageAlerts", "%1 % of your data used").arg(percent);
}

QString CUsageAlerts::BodyText(const CCycleUsage& usage)
{
    return QCoreApplication::translate(
               "CUsageAlerts", "%1 of %2 used, %n day(s) left in this cycle", "", usage.daysLeft)
        .arg(CCycleUsage::GBText(usage.counted), CCycleUsage::GBText(usage.allowance));
}
