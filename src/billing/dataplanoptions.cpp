#include "billing/dataplanoptions.h"

#include "billing/dataplan.h"
#include "billing/priceoptions.h"
#include "common/settingsstore.h"

#include <QCoreApplication>

namespace {
// The texts are marked for translation where they are written and translated here.
CDataPlanOptions::FieldProblem Refuse(CDataPlanOptions::Field field, const char* text)
{
    return {field, QCoreApplication::translate("CDataPlanOptions", text)};
}
} // namespace

CDataPlanOptions CDataPlanOptions::Load(const CSettingsStore& store)
{
    const CDataPlan plan = CDataPlan::Load(store);
    CDataPlanOptions options;
    options.startDay = QString::number(plan.cycleStartDay);
    options.allowance = plan.Active() ? CDataPlan::AllowanceText(plan.allowance) : QString();
    options.receivedOnly = plan.counting == CDataPlan::ReceivedOnly;
    options.overagePerGB = QString::number(plan.overagePerGB, 'g', 15);
    options.warnAt = CDataPlan::ThresholdsText(plan.warnAt);
    options.hangUpAtLimit = plan.hangUpAtLimit;
    return options;
}

std::optional<CDataPlanOptions::FieldProblem> CDataPlanOptions::Problem() const
{
    if (!CDataPlan::ParseStartDay(startDay))
        return Refuse(StartDay, QT_TRANSLATE_NOOP("CDataPlanOptions",
                                                  "Please enter a day of the month from 1 to 31."));
    if (!CDataPlan::ParseAllowance(allowance))
        return Refuse(Allowance,
                      QT_TRANSLATE_NOOP("CDataPlanOptions",
                                        "Please enter the allowance in GB as a number such as 30 "
                                        "or 2.5, or leave it empty for no plan."));
    const std::optional<double> price = CPriceOptions::ParseMoney(overagePerGB);
    if (!price || *price < 0)
        return Refuse(OveragePerGB,
                      QT_TRANSLATE_NOOP("CDataPlanOptions", "Please enter a price of 0 or more."));
    if (!CDataPlan::ParseThresholds(warnAt))
        return Refuse(WarnAt, QT_TRANSLATE_NOOP("CDataPlanOptions",
                                                "Please enter percentages from 1 to 1000, "
                                                "separated by commas, such as 80,100."));
    return std::nullopt;
}

void CDataPlanOptions::Store(CSettingsStore& store) const
{
    const qint64 bytes = CDataPlan::ParseAllowance(allowance).value_or(0);
    const QList<int> thresholds = CDataPlan::ParseThresholds(warnAt).value_or(QList<int>{});
    const double price = CPriceOptions::ParseMoney(overagePerGB).value_or(0.0);
    store.Write(Keys::CycleStartDay, CDataPlan::ParseStartDay(startDay).value_or(1));
    store.Write(Keys::Allowance, bytes > 0 ? CDataPlan::AllowanceText(bytes) : QString());
    store.Write(Keys::Counted, receivedOnly ? CDataPlan::ReceivedOnly : CDataPlan::ReceivedAndSent);
    // Money as the Price page stores it.
    store.Write(Keys::OveragePerGB, QString::asprintf("%.10f", price));
    store.Write(Keys::WarnAt, CDataPlan::ThresholdsText(thresholds));
    store.Write(Keys::AtLimit, hangUpAtLimit ? 1 : 0);
}
