#pragma once

#include "billing/billingcycle.h"

#include <QByteArray>
#include <QDate>
#include <QString>

struct CDataPlan;
class CTariff;

// How a data plan's billing cycle stands on one day: the bytes used, the share of the
// allowance, where the cycle is heading at this rate, how much a day is left, and what
// the cycle costs (the time prices of its calls less the month's free time, and the bytes
// past the allowance).
struct CCycleUsage {
    CBillingCycle cycle;
    QDate day;
    int calls = 0;
    qint64 received = 0;
    qint64 sent = 0;
    double timeCost = 0.0; // the calls' time prices, before the free time is taken off
    double freeTimeValue = 0.0;

    // Worked out by Derive from the above and the plan.
    int daysTotal = 0;
    int daysElapsed = 0;
    int daysLeft = 0;
    qint64 counted = 0;
    qint64 allowance = 0;
    double percent = 0.0; // one decimal
    qint64 projected = 0;
    qint64 dailyQuota = 0;
    double cost = 0.0;
    double projectedCost = 0.0;

    // One pass over the log for the cycle that holds day: the calls that started in it.
    // A log that cannot be read counts as empty.
    static CCycleUsage Pass(const QString& logPath, const CDataPlan& plan, const CTariff& tariff,
                            QDate day);
    // The figures for another day of the same cycle, or with the call in progress added:
    // its bytes so far and the time price of its duration so far.
    CCycleUsage WithCall(const CDataPlan& plan, qint64 callReceived, qint64 callSent,
                         double callTimePrice) const;
    CCycleUsage OnDay(const CDataPlan& plan, QDate other) const;

    // The figures as one JSON object of fixed key order, for scripts.
    QByteArray ToJson() const;
    // "12.34 GB of 30 GB used (41.1 %), 12 days left"
    QString Summary() const;
    // Bytes as GB with two decimals: "3.58 GB".
    static QString GBText(qint64 bytes);

    void Derive(const CDataPlan& plan);
};
