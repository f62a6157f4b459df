#include "billing/gui/statisticsdlg.h"

#include "billing/dataplan.h"
#include "billing/tariff.h"
#include "common/apppaths.h"
#include "common/clock.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "gui/windowframe.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultWidth = 760;
constexpr int kDefaultHeight = 500;
constexpr int kSmallest = 200;

} // namespace

// What a pass needs and gives; shared with its thread, which may outlive the window.
struct CStatisticsDlg::Pass {
    int number = 0;
    QString logPath;
    CDataPlan plan;
    CTariff tariff;
    CUsageStatistics::Range range = CUsageStatistics::Range::ThisCycle;
    QDate today;
    std::shared_ptr<const CUsageStatistics> stats; // written by the thread
};

CStatisticsDlg::CStatisticsDlg(CSettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_store(store)
{
    setObjectName(QStringLiteral("statisticsDialog"));
    setWindowTitle(tr("Statistics"));

    m_range = new QComboBox(this);
    m_range->setObjectName(QStringLiteral("statisticsRange"));
    m_range->addItems({tr("This cycle"), tr("Last cycle"), tr("Last 12 cycles"), tr("All")});
    m_range->setCurrentIndex(std::clamp(m_store.Read(Keys::StatisticsRange), 0, 3));
    auto* rangeLabel = new QLabel(tr("&Range:"), this);
    rangeLabel->setBuddy(m_range);
    auto* top = new QHBoxLayout;
    top->addWidget(rangeLabel);
    top->addWidget(m_range);
    top->addStretch();

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("statisticsTabs"));
    const QString titles[CStatisticsCharts::kChartCount] = {tr("&Days"), tr("C&ycles"),
                                                            tr("&Hours"), tr("&Top days")};
    for (int index = 0; index < CStatisticsCharts::kChartCount; ++index) {
        m_views[index] = new QChartView(new QChart, m_tabs);
        m_views[index]->setRenderHint(QPainter::Antialiasing);
        m_tabs->addTab(m_views[index], titles[index]);
    }

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("statisticsMessage"));
    m_message->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    auto* png = buttons->addButton(tr("Save chart as &PNG..."), QDialogButtonBox::ActionRole);
    auto* csv = buttons->addButton(tr("Save figures as &CSV..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    for (QAbstractButton* button : buttons->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(button))
            push->setAutoDefault(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_message);
    layout->addWidget(buttons);

    const int width = m_store.Read(Keys::StatisticsWidth);
    const int height = m_store.Read(Keys::StatisticsHeight);
    setMinimumSize(kSmallest * 2, kSmallest);
    resize(width >= kSmallest * 2 ? width : kDefaultWidth,
           height >= kSmallest ? height : kDefaultHeight);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(png, &QPushButton::clicked, this, &CStatisticsDlg::ChooseAndSavePng);
    connect(csv, &QPushButton::clicked, this, &CStatisticsDlg::ChooseAndSaveCsv);
    connect(m_range, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_store.Write(Keys::StatisticsRange, index);
        StartPass();
    });
    m_range->setFocus();
    StartPass();
    CWindowFrame::Apply(this);
}

CStatisticsDlg::~CStatisticsDlg()
{
    ReleaseCharts();
}

void CStatisticsDlg::StartPass()
{
    auto pass = std::make_shared<Pass>();
    pass->number = ++m_awaited;
    pass->logPath = CAppPaths::LogFile(m_store);
    pass->plan = CDataPlan::Load(m_store);
    pass->tariff = CTariff::Load(m_store);
    pass->range = Range();
    pass->today = CClock::Now().date();
    m_message->setText(tr("Reading the log..."));
    QThread* thread = QThread::create([pass] {
        pass->stats = std::make_shared<const CUsageStatistics>(CUsageStatistics::Pass(
            pass->logPath, pass->plan, pass->tariff, pass->range, pass->today));
    });
    thread->setObjectName(QStringLiteral("statistics pass"));
    // Only the figures of the pass last started are shown; an earlier one that ends late
    // is dropped, and so is any once the window has gone.
    connect(thread, &QThread::finished, this, [this, pass] {
        if (pass->number == m_awaited && !m_closed)
            Show(pass->stats);
        else if (pass->number == m_awaited)
            m_shown = m_awaited;
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_thread = thread;
    thread->start();
}

void CStatisticsDlg::Show(const std::shared_ptr<const CUsageStatistics>& stats)
{
    m_shown = m_awaited;
    m_stats = stats;
    for (int index = 0; index < CStatisticsCharts::kChartCount; ++index)
        SetChart(index, CStatisticsCharts::Make(CStatisticsCharts::Chart(index), stats, palette()));
    if (stats->IsEmpty()) {
        m_message->setText(tr("No calls in this range"));
    } else {
        QString text = tr("%n call(s) from %1 to %2", "", stats->calls)
                           .arg(QLocale().toString(stats->first, QLocale::ShortFormat),
                                QLocale().toString(stats->last, QLocale::ShortFormat));
        if (stats->undated > 0)
            text += u' ' + tr("(%n line(s) without a valid date left out)", "", stats->undated);
        m_message->setText(text);
    }
    emit Loaded();
}

void CStatisticsDlg::SetChart(int index, QChart* chart)
{
    QChart* old = m_views[index]->chart();
    m_views[index]->setChart(chart);
    delete old;
}

void CStatisticsDlg::ReleaseCharts()
{
    for (int index = 0; index < CStatisticsCharts::kChartCount; ++index)
        SetChart(index, new QChart);
    m_stats.reset();
}

QChart* CStatisticsDlg::Chart(CStatisticsCharts::Chart chart) const
{
    return m_views[chart]->chart();
}

CStatisticsCharts::Chart CStatisticsDlg::ShownChart() const
{
    return CStatisticsCharts::Chart(m_tabs->currentIndex());
}

void CStatisticsDlg::ShowChart(CStatisticsCharts::Chart chart)
{
    m_tabs->setCurrentIndex(chart);
}

CUsageStatistics::Range CStatisticsDlg::Range() const
{
    return CUsageStatistics::Range(m_range->currentIndex());
}

void CStatisticsDlg::SetRange(CUsageStatistics::Range range)
{
    m_range->setCurrentIndex(int(range));
}

QString CStatisticsDlg::Message() const
{
    return m_message->text();
}

bool CStatisticsDlg::SavePng(const QString& path)
{
    if (m_views[ShownChart()]->grab().save(path, "PNG"))
        return true;
    CMessageBox::Error(tr("The file %1 could not be written.").arg(path));
    return false;
}

bool CStatisticsDlg::SaveCsv(const QString& path)
{
    const QByteArray figures =
        m_stats ? CStatisticsCharts::Figures(ShownChart(), *m_stats, CStatisticsTable::Format::Csv)
                : QByteArray();
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(figures) == figures.size() && file.flush())
        return true;
    CMessageBox::Error(tr("The file %1 could not be written.").arg(path));
    return false;
}

void CStatisticsDlg::ChooseAndSavePng()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save chart"), QString(), tr("PNG images (*.png)"));
    if (!path.isEmpty())
        SavePng(path);
}

void CStatisticsDlg::ChooseAndSaveCsv()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save figures"), QString(), tr("CSV files (*.csv)"));
    if (!path.isEmpty())
        SaveCsv(path);
}

void CStatisticsDlg::done(int result)
{
    // The size is kept for the next opening; the figures and charts go now, not when the
    // window object does.
    m_store.Write(Keys::StatisticsWidth, width());
    m_store.Write(Keys::StatisticsHeight, height());
    ReleaseCharts();
    m_closed = true;
    QDialog::done(result);
}

void CStatisticsDlg::showEvent(QShowEvent* event)
{
    // Opened again after closing: the figures are read anew.
    if (m_closed) {
        m_closed = false;
        StartPass();
    }
    QDialog::showEvent(event);
}

void CStatisticsDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        for (QChartView* view : m_views) {
            if (view)
                CStatisticsCharts::ApplyPalette(view->chart(), palette());
        }
    }
    QDialog::changeEvent(event);
}
