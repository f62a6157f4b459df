#pragma once

#include "billing/totalscache.h"
#include "common/settingskeys.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>

class CSettingsStore;

// The cost warnings and limits of the "Warnings" page over the totals of the log: the
// cost of the month and the cost of an average call, each with a warning and a limit that
// hangs up. Each is one row of a table, checked the same way: when it is on and its total
// is above its amount, it shows its box (and hangs up first, for a limit).
//
// A limit hangs up only a call that is up, and says "Connection closed." only when the
// hang-up was done. With no call up it shows the warning of its total instead, once: not
// again until the total has come down to the amount, the rule was off or the billing
// month (the data plan's cycle) has changed.
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

    // `hangUp` ends the connections (after its question) before a limit's box and says
    // whether it did; `isConnected` says whether a call is up.
    CCostGuard(const CSettingsStore& store, std::function<bool()> hangUp,
               std::function<bool()> isConnected);

    // One pass over the rules.
    void Check();
    // How many rules have their switch set (to anything but 0).
    int RulesSwitchedOn() const;

    // How often the checks read the log (they skip it while nothing changed).
    qint64 LogPasses() const { return m_totals.Passes(); }

private:
    // The rule's text as the user reads it.
    static QString MessageOf(const Rule& rule, double cost);
    // The warning of the total a limit watches.
    static const Rule& WarningOf(const Rule& limit);
    // A limit's run with its total too high: the hang-up and its box with a call up, else
    // the warning, once in the episode.
    void Limit(int index, double cost);
    // The first day of the billing month today falls in.
    QDate PeriodStart() const;

    const CSettingsStore& m_store;
    std::function<bool()> m_hangUp;
    std::function<bool()> m_isConnected;
    CTotalsCache m_totals;
    std::array<bool, kRuleCount> m_boxOpen{};
    // The limits whose total was told in this episode, and the billing month it was in.
    std::array<bool, kRuleCount> m_told{};
    std::array<QDate, kRuleCount> m_toldIn{};
};
