#include "monitor/costguard.h"

#include "billing/dataplan.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "common/clock.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"

#include <QCoreApplication>

namespace {

// The texts were written for the connection monitor, which checked the costs itself; they
// keep its translations.
constexpr const char* kContext = "CConnectionMonitor";

} // namespace

const std::array<CCostGuard::Rule, CCostGuard::kRuleCount>& CCostGuard::Rules()
{
    static const std::array<Rule, kRuleCount> rules{{
        {Total::Month, Keys::WarnWhenMonth, Keys::WarnWhenMonthInterval, Action::Warn,
         QT_TRANSLATE_NOOP("CConnectionMonitor", "Warning - cost per month too high. See "
                                                 "Preferences->Warnings. Cost: %1")},
        {Total::Call, Keys::WarnWhenCall, Keys::WarnWhenCallInterval, Action::Warn,
         QT_TRANSLATE_NOOP("CConnectionMonitor", "Warning - cost per call too high. See "
                                                 "Preferences->Warnings. Cost: %1")},
        {Total::Month, Keys::DisWhenMonth, Keys::DisWhenMonthInterval, Action::HangUp,
         QT_TRANSLATE_NOOP("CConnectionMonitor", "Warning - cost per month too high. See "
                                                 "Preferences->Warnings. Connection closed.")},
        {Total::Call, Keys::DisWhenCall, Keys::DisWhenCallInterval, Action::HangUp,
         QT_TRANSLATE_NOOP("CConnectionMonitor", "Warning - cost per call too high. See "
                                                 "Preferences->Warnings. Connection closed.")},
    }};
    return rules;
}

CCostGuard::CCostGuard(const CSettingsStore& store, std::function<bool()> hangUp,
                       std::function<bool()> isConnected)
    : m_store(store)
    , m_hangUp(std::move(hangUp))
    , m_isConnected(std::move(isConnected))
{}

void CCostGuard::Check()
{
    const CTotals totals = m_totals.Compute(m_store);
    for (int i = 0; i < kRuleCount; ++i) {
        const Rule& rule = Rules()[i];
        const double cost = rule.total == Total::Month ? totals.totalCost : totals.averageCost;
        const bool tooHigh = static_cast<double>(m_store.Read(rule.amount)) < cost;
        const bool on = m_store.Read(rule.enabled) == 1;
        // The episode ends when the total is no longer too high.
        if (!on || !tooHigh)
            m_told[i] = false;
        // A box of this rule that is still open (a check underneath it) is not shown again.
        if (!on || !tooHigh || m_boxOpen[i])
            continue;
        m_boxOpen[i] = true;
        if (rule.action == Action::HangUp)
            Limit(i, cost);
        else
            CMessageBox::Warning(MessageOf(rule, cost));
        m_boxOpen[i] = false;
    }
}

void CCostGuard::Limit(int index, double cost)
{
    const Rule& rule = Rules()[index];
    const QDate period = PeriodStart();
    if (m_told[index] && m_toldIn[index] != period)
        m_told[index] = false;
    if (m_isConnected && m_isConnected()) {
        // "Connection closed." only after a hang-up that was done.
        if (m_hangUp && m_hangUp()) {
            m_told[index] = true;
            m_toldIn[index] = period;
            CMessageBox::Inform(MessageOf(rule, cost));
        }
        return;
    }
    // Nothing to hang up: the figure alone, once in the episode.
    if (m_told[index])
        return;
    m_told[index] = true;
    m_toldIn[index] = period;
    CMessageBox::Warning(MessageOf(WarningOf(rule), cost));
}

const CCostGuard::Rule& CCostGuard::WarningOf(const Rule& limit)
{
    for (const Rule& rule : Rules()) {
        if (rule.action == Action::Warn && rule.total == limit.total)
            return rule;
    }
    return limit;
}

QDate CCostGuard::PeriodStart() const
{
    return CDataPlan::Load(m_store).CycleOf(CClock::Now().date()).Start();
}

int CCostGuard::RulesSwitchedOn() const
{
    int on = 0;
    for (const Rule& rule : Rules()) {
        if (m_store.Read(rule.enabled) != 0)
            ++on;
    }
    return on;
}

QString CCostGuard::MessageOf(const Rule& rule, double cost)
{
    const QString text = QCoreApplication::translate(kContext, rule.message);
    return rule.action == Action::Warn ? text.arg(CTariff::PriceText(cost)) : text;
}
