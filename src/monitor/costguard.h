#pragma once

#include "billing/totalscache.h"
#include "common/settingskeys.h"

#include <QString>

#include <array>
#include <functional>

class CSettingsStore;

// The cost warnings and limits of the "Warnings" page over the totals of the log: the
// cost of the month and the cost of an average call, each with a warning and a limit that
// hangs up. Each is one row of a table, checked the same way: when it is on and its total
// is above its amount, it shows its box (and hangs up first, for a limit).
//
// The checks run every minute, also while one of their boxes is open: a box that is still
// open is not shown again, so there is one box of each row at most.
class CCostGuard {
public:
    // Which total a rule watches.
    enum class Total { Month, Call };
    // What a rule does when its total is too high.
    enum class Action { Warn, HangUp };

    struct Rule {
        Total total;
        CIntKey enabled; // 1: the rule is on
        CIntKey amount;  // whole money units; a total above it is too high
        Action action;
        // Untranslated; a warning's holds %1 for the cost.
        const char* message;
    };
    static constexpr int kRuleCount = 4;
    // In the order they are checked: warn month, warn call, limit month, limit call.
    static const std::array<Rule, kRuleCount>& Rules();

    // `hangUp` ends the connections (with the usual question) before a limit's box.
    CCostGuard(const CSettingsStore& store, std::function<void()> hangUp);

    // One pass over the rules.
    void Check();
    // How many rules have their switch set (to anything but 0).
    int RulesSwitchedOn() const;

    // How often the checks read the log (they skip it while nothing changed).
    qint64 LogPasses() const { return m_totals.Passes(); }

private:
    // The rule's text as the user reads it.
    static QString MessageOf(const Rule& rule, double cost);

    const CSettingsStore& m_store;
    std::function<void()> m_hangUp;
    CTotalsCache m_totals;
    std::array<bool, kRuleCount> m_boxOpen{};
};
