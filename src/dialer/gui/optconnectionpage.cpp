#include "dialer/gui/optconnectionpage.h"
#include "gui/fieldwidth.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

COptConnectionPage::COptConnectionPage(CSettingsStore& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_action(new QComboBox)
    , m_interval(new QLineEdit)
    , m_browser(new QCheckBox(tr("Launch default WEB browser after connection")))
    , m_url(new QLineEdit)
    , m_redial(new QCheckBox(tr("Automatically redial when connection is closed by remote server")))
    , m_busy(new QButtonGroup(this))
    , m_redialTimes(new QLineEdit)
{
    m_action->addItems({tr("Do nothing"), tr("Auto hangup"), tr("Stay online")});
    m_interval->setMaximumWidth(50);
    m_redialTimes->setMaximumWidth(50);
    CFieldWidth::Fit(m_interval, QStringLiteral("0000"));
    CFieldWidth::Fit(m_redialTimes, QStringLiteral("0000"));

    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(m_action);
    actionRow->addWidget(new QLabel(tr("after")));
    actionRow->addWidget(m_interval);
    actionRow->addWidget(new QLabel(tr("mins inactive/active")));
    actionRow->addStretch(1);

    auto* urlRow = new QHBoxLayout;
    urlRow->addWidget(new QLabel(tr("Default URL:")));
    urlRow->addWidget(m_url, 1);

    auto* busyBox = new QGroupBox(tr("If line is busy:"));
    auto* busyGrid = new QGridLayout(busyBox);
    const std::array<QString, 3> busyTexts = {
        tr("Redial a maximum of"), tr("Redial until connected"), tr("Do not redial at all")};
    for (int i = 0; i < 3; ++i) {
        auto* choice = new QRadioButton(busyTexts[i]);
        m_busy->addButton(choice, CHangupOptions::RedialTimes + i);
        busyGrid->addWidget(choice, i, 0);
    }
    auto* timesRow = new QHBoxLayout;
    timesRow->addWidget(m_redialTimes);
    timesRow->addWidget(new QLabel(tr("times")));
    timesRow->addStretch(1);
    busyGrid->addLayout(timesRow, 0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(actionRow);
    layout->addWidget(m_browser);
    layout->addLayout(urlRow);
    layout->addWidget(m_redial);
    layout->addWidget(busyBox);
    layout->addStretch(1);

    const CHangupOptions options = CHangupOptions::Load(m_store);
    m_action->setCurrentIndex(options.action);
    m_interval->setText(options.interval);
    m_browser->setChecked(options.launchBrowser);
    m_url->setText(options.url);
    m_redial->setChecked(options.redial);
    if (QAbstractButton* busy = m_busy->button(options.busy))
        busy->setChecked(true);
    m_redialTimes->setText(options.redialTimes);
}

void COptConnectionPage::Save()
{
    Options().Store(m_store);
}

QAbstractButton* COptConnectionPage::BusyButton(int choice) const
{
    return m_busy->button(choice);
}

CHangupOptions COptConnectionPage::Options() const
{
    CHangupOptions options;
    options.action = m_action->currentIndex();
    options.interval = m_interval->text();
    options.launchBrowser = m_browser->isChecked();
    options.url = m_url->text();
    options.redial = m_redial->isChecked();
    const int busy = m_busy->checkedId();
    options.busy = busy < 0 ? CHangupOptions::NoChoice : busy;
    options.redialTimes = m_redialTimes->text();
    return options;
}
