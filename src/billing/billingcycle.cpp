#include "billing/billingcycle.h"

#include <algorithm>

QDate CBillingCycle::StartIn(int year, int month, int startDay)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    return QDate(year, month, std::clamp(startDay, 1, first.daysInMonth()));
}

CBillingCycle CBillingCycle::Containing(QDate date, int startDay)
{
    if (!date.isValid())
        return {};
    startDay = std::clamp(startDay, 1, 31);
    QDate start = StartIn(date.year(), date.month(), startDay);
    if (date < start) {
        const QDate before = date.addMonths(-1);
        start = StartIn(before.year(), before.month(), startDay);
    }
    const QDate after = start.addMonths(1);
    const QDate nextStart = StartIn(after.year(), after.month(), startDay);
    return CBillingCycle(start, nextStart.addDays(-1));
}

int CBillingCycle::DaysTotal() const
{
    return IsValid() ? int(m_start.daysTo(m_end)) + 1 : 0;
}

int CBillingCycle::DaysElapsed(QDate day) const
{
    return IsValid() ? int(m_start.daysTo(day)) + 1 : 0;
}

int CBillingCycle::DaysLeft(QDate day) const
{
    return IsValid() ? int(day.daysTo(m_end)) + 1 : 0;
}

CBillingCycle CBillingCycle::Next(int startDay) const
{
    return IsValid() ? Containing(m_end.addDays(1), startDay) : CBillingCycle();
}
