#include "monitor/planwatch.h"

#include "billing/dataplan.h"
#include "billing/tariff.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "monitor/autodialrule.h"
#include "monitor/desktopnotifier.h"
#include "monitor/usagealerts.h"

#include <QCoreApplication>
#include <QTime>

#include <algorithm>
#include <climits>

namespace {

int SecondsOfDay(const QDateTime& moment)
{
    return moment.time().msecsSinceStartOfDay() / 1000;
}

} // namespace

CPlanWatch::CPlanWatch(CSettingsStore& store, std::function<bool()> hangUp)
    : m_store(store)
    , m_hangUp(std::move(hangUp))
    , m_boxOnly(std::make_unique<CDesktopNotifier>(CDesktopNotifier::NoBus()))
    , m_notifier(m_boxOnly.get())
{}

CPlanWatch::~CPlanWatch() = default;

void CPlanWatch::SetNotifier(CDesktopNotifier* notifier)
{
    m_notifier = notifier ? notifier : m_boxOnly.get();
}

CCycleUsage CPlanWatch::Usage(const std::optional<Call>& call)
{
    // One key decides whether there is a plan; the cache reads the rest.
    if (CDataPlan::ParseAllowance(m_store.Read(Keys::Allowance)).value_or(0) <= 0) {
        m_logPart = CCycleUsage();
        return m_logPart;
    }
    m_logPart = m_cache.FromLog(m_store);
    if (!call)
        return m_logPart;
    const QDate day = call->start.date();
    const int startSecs = SecondsOfDay(call->start);
    // The tariff works on whole days; a call longer than a day is priced by its seconds.
    const qint64 seconds = std::max<qint64>(0, call->start.secsTo(call->now));
    const double price = m_cache.Tariff()
                             .PriceCall(day.day(), day.month(), day.year(), startSecs,
                                        static_cast<int>(std::min<qint64>(seconds, INT_MAX)))
                             .price;
    return m_logPart.WithCall(m_cache.Plan(), call->received, call->sent, price);
}

int CPlanWatch::Check(const CCycleUsage& usage, const std::optional<Call>& call)
{
    const CDataPlan& plan = m_cache.Plan();
    if (!plan.Active() || usage.allowance <= 0)
        return 0;
    // The hang-up first, so the warning of the same moment offers no "Hang up".
    bool hungUp = false;
    if (call && plan.hangUpAtLimit && call->start != m_limitCallStart &&
        m_logPart.counted < plan.allowance && usage.counted >= plan.allowance) {
        // Only the call that takes the cycle past its allowance, once: one dialled by hand
        // after that goes on, and a declined question is not asked again.
        m_limitCallStart = call->start;
        hungUp = m_hangUp && m_hangUp();
        if (hungUp && !m_limitBoxOpen) {
            m_limitBoxOpen = true;
            CMessageBox::Inform(QCoreApplication::translate("CPlanWatch",
                                                            "Your data allowance of %1 is used up. "
                                                            "Connection closed. Nothing is dialled "
                                                            "on its own until the next cycle.")
                                    .arg(CCycleUsage::GBText(plan.allowance)));
            m_limitBoxOpen = false;
        }
    }
    // The remembered warnings are read only when the thresholds reached have changed.
    QList<int> reached;
    for (const int percent : plan.warnAt) {
        if (CUsageAlerts::Reached(usage, percent))
            reached.append(percent);
    }
    if (usage.cycle.Start() == m_checkedCycle && reached == m_checkedReached)
        return 0;
    m_checkedCycle = usage.cycle.Start();
    m_checkedReached = reached;
    if (reached.isEmpty())
        return 0;
    if (const int percent = CUsageAlerts::Check(m_store, plan, usage); percent > 0) {
        m_notifier->Show(CUsageAlerts::SummaryText(percent), CUsageAlerts::BodyText(usage),
                         call.has_value() && !hungUp);
        return percent;
    }
    return 0;
}

QString CPlanWatch::TooltipLine(const CCycleUsage& usage)
{
    if (usage.allowance <= 0)
        return {};
    const auto gb = [](qint64 bytes) {
        return CTariff::FixedText(double(bytes) / double(CDataPlan::kBytesPerGB), 2);
    };
    // A whole percent, cut rather than rounded (99.6 % is not the cap yet), so the line fits
    // in the tray's 63 characters.
    const qint64 percent = static_cast<qint64>(static_cast<long double>(usage.counted) * 100 /
                                               static_cast<long double>(usage.allowance));
    return u'\n' + QCoreApplication::translate("CPlanWatch", "%1/%2 GB, %3 %, %n day(s) left", "",
                                               usage.daysLeft)
                       .arg(gb(usage.counted), gb(usage.allowance), QString::number(percent));
}

bool CPlanWatch::MayDialOnItsOwn()
{
    return CAutoDialRule::MayDial(CDataPlan::Load(m_store), Usage(std::nullopt));
}

QString CPlanWatch::ConnectQuestion()
{
    const CCycleUsage usage = Usage(std::nullopt);
    return CAutoDialRule::MayDial(CDataPlan::Load(m_store), usage)
               ? QString()
               : CAutoDialRule::ConnectQuestion(usage);
}

bool CPlanWatch::MayDialByHand()
{
    const QString question = ConnectQuestion();
    return question.isEmpty() || CMessageBox::Ask(question);
}
