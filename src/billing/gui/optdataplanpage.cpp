#include "billing/gui/optdataplanpage.h"

#include "billing/dataplanoptions.h"
#include "billing/tariff.h"
#include "common/messagebox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kRefreshMs = 1000;
} // namespace

COptDataPlanPage::COptDataPlanPage(CSettingsStore& store, std::function<CCycleUsage()> usage,
                                   QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_usage(std::move(usage))
    , m_startDay(new QSpinBox)
    , m_allowance(new QLineEdit)
    , m_counted(new QComboBox)
    , m_overage(new QLineEdit)
    , m_warnAt(new QLineEdit)
    , m_atLimit(new QComboBox)
    , m_usageLabel(new QLabel)
{
    m_startDay->setRange(1, 31);
    m_counted->addItems({tr("Received and sent"), tr("Received only")});
    m_atLimit->addItems(
        {tr("Warn only"), tr("Hang up and do not dial on its own until the next cycle")});
    // The long item is read in full in the open list; closed, it may be cut to fit.
    m_atLimit->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_atLimit->setMinimumContentsLength(20);
    m_allowance->setPlaceholderText(tr("empty: no plan"));
    m_warnAt->setPlaceholderText(QStringLiteral("80,100"));

    auto* note = new QLabel(tr("1 GB = 1,000,000,000 bytes, as carriers count"));
    note->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(tr("Cycle starts on day"), m_startDay);
    form->addRow(tr("Allowance (GB)"), m_allowance);
    form->addRow(QString(), note);
    form->addRow(tr("Counts against it"), m_counted);
    form->addRow(tr("Price per GB past it"), m_overage);
    form->addRow(tr("Warn at (%, comma-separated)"), m_warnAt);
    form->addRow(new QLabel(tr("At the limit")));
    form->addRow(m_atLimit);

    m_usageLabel->setWordWrap(true);
    m_usageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* cycle = new QGroupBox(tr("This cycle"));
    auto* cycleLayout = new QVBoxLayout(cycle);
    cycleLayout->addWidget(m_usageLabel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cycle);
    layout->addStretch(1);

    const CDataPlanOptions options = CDataPlanOptions::Load(m_store);
    m_startDay->setValue(options.startDay.toInt());
    m_allowance->setText(options.allowance);
    m_counted->setCurrentIndex(options.receivedOnly ? 1 : 0);
    m_overage->setText(options.overagePerGB);
    m_warnAt->setText(options.warnAt);
    m_atLimit->setCurrentIndex(options.hangUpAtLimit ? 1 : 0);

    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &COptDataPlanPage::Refresh);
}

QWidget* COptDataPlanPage::Check()
{
    const std::optional<CDataPlanOptions::FieldProblem> problem = Options().Problem();
    if (!problem)
        return nullptr;
    CMessageBox::Inform(problem->message);
    if (problem->field == CDataPlanOptions::StartDay) {
        m_startDay->selectAll();
        return m_startDay;
    }
    QLineEdit* field = problem->field == CDataPlanOptions::Allowance      ? m_allowance
                       : problem->field == CDataPlanOptions::OveragePerGB ? m_overage
                                                                          : m_warnAt;
    field->selectAll();
    return field;
}

void COptDataPlanPage::Save()
{
    Options().Store(m_store);
}

void COptDataPlanPage::Refresh()
{
    if (m_usage)
        m_usageLabel->setText(UsageText(m_usage()));
}

QString COptDataPlanPage::UsageText(const CCycleUsage& usage)
{
    if (usage.allowance <= 0)
        return tr("No data plan set");
    const QLocale locale;
    return QStringList{
        tr("Cycle: %1 to %2")
            .arg(locale.toString(usage.cycle.Start(), QLocale::ShortFormat),
                 locale.toString(usage.cycle.End(), QLocale::ShortFormat)),
        usage.Summary(),
        tr("At this rate: %1 by the cycle's end").arg(CCycleUsage::GBText(usage.projected)),
        tr("Daily budget: %1 a day").arg(CCycleUsage::GBText(usage.dailyQuota)),
        tr("Cost so far: %1, projected: %2")
            .arg(CTariff::FixedText(usage.cost, 2), CTariff::FixedText(usage.projectedCost, 2))}
        .join(u'\n');
}

void COptDataPlanPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh();
    m_refresh.start();
}

void COptDataPlanPage::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_refresh.stop();
}

CDataPlanOptions COptDataPlanPage::Options() const
{
    CDataPlanOptions options;
    options.startDay = QString::number(m_startDay->value());
    options.allowance = m_allowance->text();
    options.receivedOnly = m_counted->currentIndex() == 1;
    options.overagePerGB = m_overage->text();
    options.warnAt = m_warnAt->text();
    options.hangUpAtLimit = m_atLimit->currentIndex() == 1;
    return options;
}
