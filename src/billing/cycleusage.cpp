#include "billing/cycleusage.h"

#include "billing/bytecount.h"
#include "billing/dataplan.h"
#include "billing/logreader.h"
#include "billing/tariff.h"

#include <QCoreApplication>

#include <cmath>

CCycleUsage CCycleUsage::Pass(const QString& logPath, const CDataPlan& plan, const CTariff& tariff,
                              QDate day)
{
    CCycleUsage usage;
    usage.day = day;
    usage.cycle = plan.CycleOf(day);
    usage.freeTimeValue = tariff.FreeAllowanceValue();
    CLogReader reader;
    if (usage.cycle.IsValid() && reader.Open(logPath)) {
        const qint64 first = usage.cycle.Start().toJulianDay();
        const qint64 last = usage.cycle.End().toJulianDay();
        CLogRecord record;
        while (reader.Next(record)) {
            const QDate start(record.startYear, record.startMonth, record.startDay);
            if (!start.isValid() || start.toJulianDay() < first || start.toJulianDay() > last)
                continue;
            ++usage.calls;
            usage.received = CByteCount::Add(usage.received, CByteCount::Parse(record.downloaded));
            usage.sent = CByteCount::Add(usage.sent, CByteCount::Parse(record.uploaded));
            usage.timeCost += tariff
                                  .PriceCall(record.startDay, record.startMonth, record.startYear,
                                             record.startSecs,
                                             CTariff::RawDuration(record.startSecs, record.endSecs))
                                  .price;
        }
    }
    usage.Derive(plan);
    return usage;
}

CCycleUsage CCycleUsage::WithCall(const CDataPlan& plan, qint64 callReceived, qint64 callSent,
                                  double callTimePrice) const
{
    CCycleUsage usage = *this;
    ++usage.calls;
    usage.received = CByteCount::Add(usage.received, callReceived);
    usage.sent = CByteCount::Add(usage.sent, callSent);
    usage.timeCost += callTimePrice;
    usage.Derive(plan);
    return usage;
}

CCycleUsage CCycleUsage::OnDay(const CDataPlan& plan, QDate other) const
{
    CCycleUsage usage = *this;
    usage.day = other;
    usage.Derive(plan);
    return usage;
}

void CCycleUsage::Derive(const CDataPlan& plan)
{
    daysTotal = cycle.DaysTotal();
    daysElapsed = std::max(1, cycle.DaysElapsed(day));
    daysLeft = std::max(1, cycle.DaysLeft(day));
    counted = plan.CountedBytes(received, sent);
    allowance = plan.allowance;
    percent = allowance > 0 ? std::round(double(counted) * 1000.0 / double(allowance)) / 10.0 : 0.0;
    projected = qint64(std::llround(double(counted) * daysTotal / daysElapsed));
    dailyQuota = std::max<qint64>(0, allowance - counted) / daysLeft;
    const double spent = calls > 0 ? timeCost - freeTimeValue : 0.0;
    cost = spent + plan.OverageCost(plan.OverageBytes(0, counted));
    projectedCost =
        spent * daysTotal / daysElapsed + plan.OverageCost(plan.OverageBytes(0, projected));
}

QByteArray CCycleUsage::ToJson() const
{
    const auto date = [](QDate d) -> QByteArray {
        return '"' + d.toString(Qt::ISODate).toLatin1() + '"';
    };
    const auto number = [](qint64 value) -> QByteArray { return QByteArray::number(value); };
    const auto fixed = [](double value, int decimals) -> QByteArray {
        return CTariff::FixedText(value, decimals).toLatin1();
    };
    return "{\"cycle_start\":" + date(cycle.Start()) + ",\"cycle_end\":" + date(cycle.End()) +
           ",\"days_total\":" + number(daysTotal) + ",\"days_left\":" + number(daysLeft) +
           ",\"received\":" + number(received) + ",\"sent\":" + number(sent) +
           ",\"counted\":" + number(counted) + ",\"allowance\":" + number(allowance) +
           ",\"percent\":" + fixed(percent, 1) + ",\"projected\":" + number(projected) +
           ",\"daily_quota\":" + number(dailyQuota) + ",\"cost\":" + fixed(cost, 2) +
           ",\"projected_cost\":" + fixed(projectedCost, 2) + '}';
}

QString CCycleUsage::Summary() const
{
    return QCoreApplication::translate("CCycleUsage", "%1 of %2 used (%3 %), %n day(s) left", "",
                                       daysLeft)
        .arg(GBText(counted), GBText(allowance), CTariff::FixedText(percent, 1));
}

QString CCycleUsage::GBText(qint64 bytes)
{
    return CTariff::FixedText(double(bytes) / double(CDataPlan::kBytesPerGB), 2) +
           QStringLiteral(" GB");
}
