#pragma once

#include <QString>

#include <optional>

class CSettingsStore;

// What the "Data plan" page shows and stores: the billing cycle's start day, the allowance,
// what counts against it, the price past it, when to warn and what to do at the cap.
struct CDataPlanOptions {
    // The fields in the order the page checks them.
    enum Field { StartDay, Allowance, OveragePerGB, WarnAt };

    // As shown on the page.
    QString startDay = QStringLiteral("1");
    QString allowance; // GB; empty is no plan
    bool receivedOnly = false;
    QString overagePerGB = QStringLiteral("0");
    QString warnAt = QStringLiteral("80,100");
    bool hangUpAtLimit = false;

    // Reads what the plan reads: a start day out of range shows as the nearest day, an
    // allowance that is no number as no plan, thresholds that are no percentage are left
    // out.
    static CDataPlanOptions Load(const CSettingsStore& store);

    struct FieldProblem {
        Field field;
        QString message;
    };
    // The first field, in the page's order, that cannot be stored, with the message that
    // says so; none when every value can be stored.
    std::optional<FieldProblem> Problem() const;

    // Writes every setting of the plan: the allowance and the thresholds in their plain
    // form ("2.5", "80,100"), no plan as an empty allowance, the price with ten decimals.
    // Call only when Problem() found nothing.
    void Store(CSettingsStore& store) const;
};
