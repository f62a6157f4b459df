#include "billing/gui/optpricepage.h"

#include "billing/priceoptions.h"
#include "common/messagebox.h"
#include "gui/fieldwidth.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

COptPricePage::COptPricePage(CSettingsStore& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_pricePerDial(new QLineEdit)
    , m_costPerMinute(new QLineEdit)
    , m_cheapCost(new QLineEdit)
    , m_from(new QComboBox)
    , m_to(new QComboBox)
    , m_saturday(new QCheckBox(tr("Always cheap time on Saturdays")))
    , m_sunday(new QCheckBox(tr("Always cheap time on Sundays")))
    , m_minimum(new QLineEdit)
    , m_block(new QLineEdit)
    , m_freeTime(new QLineEdit)
{
    for (int i = 0; i < CPriceOptions::kTimeCount; ++i) {
        m_from->addItem(CPriceOptions::FromTime(i));
        m_to->addItem(CPriceOptions::ToTime(i));
    }

    for (QLineEdit* field :
         {m_pricePerDial, m_costPerMinute, m_cheapCost, m_minimum, m_block, m_freeTime})
        CFieldWidth::Fit(field, QStringLiteral("0000.00"));
    auto* money = new QFormLayout;
    money->addRow(tr("Price per dial"), m_pricePerDial);
    money->addRow(tr("Cost per minute"), m_costPerMinute);
    money->addRow(tr("Cheap cost per minute"), m_cheapCost);
    auto* window = new QHBoxLayout;
    window->addWidget(new QLabel(tr("Cheap time from")));
    window->addWidget(m_from);
    window->addWidget(new QLabel(QStringLiteral("to")));
    window->addWidget(m_to);
    window->addStretch(1);

    auto* minimumLabel = new QLabel(QStringLiteral(
        "Minimal connections time (mins) If it is less than x mins, it will be counted as x "
        "mins connection"));
    minimumLabel->setWordWrap(true);
    // The long explanation gets the page's whole width, its field the line below it.
    auto* times = new QFormLayout;
    times->addRow(minimumLabel);
    times->addRow(QString(), m_minimum);
    times->addRow(tr("Connection block step (mins)"), m_block);
    auto* freeLabel = new QLabel(tr("Free time in each month (please use hh:mm format)"));
    times->addRow(freeLabel, m_freeTime);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(money);
    layout->addLayout(window);
    layout->addWidget(m_saturday);
    layout->addWidget(m_sunday);
    layout->addLayout(times);
    layout->addStretch(1);

    const CPriceOptions options = CPriceOptions::Load(m_store);
    m_pricePerDial->setText(options.pricePerDial);
    m_costPerMinute->setText(options.costPerMinute);
    m_cheapCost->setText(options.cheapCostPerMinute);
    m_from->setCurrentIndex(options.fromIndex);
    m_to->setCurrentIndex(options.toIndex);
    m_saturday->setChecked(options.cheapInSat);
    m_sunday->setChecked(options.cheapInSun);
    m_minimum->setText(options.minConTime);
    m_block->setText(options.connectionBlock);
    m_freeTime->setText(options.freeMonthTime);
}

QWidget* COptPricePage::Check()
{
    const std::optional<CPriceOptions::MoneyField> refused = Options().Refused();
    if (!refused)
        return nullptr;
    CMessageBox::Inform(QString::fromLatin1(CPriceOptions::kNotANumber));
    QLineEdit* field = *refused == CPriceOptions::PricePerDial         ? m_pricePerDial
                       : *refused == CPriceOptions::CheapCostPerMinute ? m_cheapCost
                                                                       : m_costPerMinute;
    field->selectAll();
    return field;
}

void COptPricePage::Save()
{
    Options().Store(m_store);
}

CPriceOptions COptPricePage::Options() const
{
    CPriceOptions options;
    options.pricePerDial = m_pricePerDial->text();
    options.costPerMinute = m_costPerMinute->text();
    options.cheapCostPerMinute = m_cheapCost->text();
    options.fromIndex = m_from->currentIndex();
    options.toIndex = m_to->currentIndex();
    options.cheapInSat = m_saturday->isChecked();
    options.cheapInSun = m_sunday->isChecked();
    options.minConTime = m_minimum->text();
    options.connectionBlock = m_block->text();
    options.freeMonthTime = m_freeTime->text();
    return options;
}
