#include "dialer/gui/timerpage.h"
#include "gui/fieldwidth.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CTimerPage::CTimerPage(CScheduleTicker& ticker, CSettingsStore& store,
                       CScheduleTicker::Sequence sequence, const Texts& texts, QWidget* parent)
    : QWidget(parent)
    , m_ticker(ticker)
    , m_store(store)
    , m_sequence(sequence)
    , m_atTime(new QRadioButton(texts.atTime))
    , m_after(new QRadioButton(texts.after))
    , m_time(new QLineEdit)
    , m_interval(new QLineEdit)
    , m_unit(new QComboBox)
    , m_start(new QPushButton(texts.start))
    , m_stop(new QPushButton(texts.stop))
    , m_status(new QLabel(texts.status))
{
    // The two choices exclude each other, but both may be unmarked.
    auto* choices = new QButtonGroup(this);
    choices->addButton(m_atTime);
    choices->addButton(m_after);
    m_unit->addItems({tr("Seconds"), tr("Minutes"), tr("Hours")});
    m_time->setMaximumWidth(80);
    m_interval->setMaximumWidth(60);
    CFieldWidth::Fit(m_time, QStringLiteral("00:00:00"));
    CFieldWidth::Fit(m_interval, QStringLiteral("0000"));

    auto* grid = new QGridLayout;
    grid->addWidget(m_atTime, 0, 0);
    grid->addWidget(m_time, 0, 1);
    grid->addWidget(m_after, 1, 0);
    grid->addWidget(m_interval, 1, 1);
    grid->addWidget(m_unit, 1, 2);
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addStretch(1);

    const CTimerPageOptions options = CTimerPageOptions::Load(m_store, m_sequence);
    m_atTime->setChecked(options.atTime);
    m_after->setChecked(options.after);
    m_time->setText(options.time);
    m_interval->setText(options.interval);
    m_unit->setCurrentIndex(options.unit);

    connect(m_start, &QPushButton::clicked, this,
            [this] { m_ticker.Start(m_sequence, Options().Request()); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_ticker.Stop(m_sequence); });
    connect(&m_refresh, &QTimer::timeout, this, &CTimerPage::RefreshStatus);
    m_refresh.start(500);
}

void CTimerPage::Save()
{
    Options().Store(m_store, m_sequence);
}

CTimerPageOptions CTimerPage::Options() const
{
    CTimerPageOptions options;
    options.atTime = m_atTime->isChecked();
    options.after = m_after->isChecked();
    options.time = m_time->text();
    options.interval = m_interval->text();
    options.unit = m_unit->currentIndex();
    return options;
}

void CTimerPage::RefreshStatus()
{
    m_status->setText(m_ticker.Status(m_sequence));
}
