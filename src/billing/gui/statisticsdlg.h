#pragma once

#include "billing/gui/statisticscharts.h"
#include "billing/usagestatistics.h"

#include <QDialog>
#include <QPointer>
#include <QThread>

#include <array>
#include <memory>

class CSettingsStore;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;

// The statistics window: where the data and the money went, in charts by day, by billing
// cycle, by hour of the day and for the top days, over a range of cycles. The figures come
// from one pass over the log on a thread of their own, never on the window's; the window
// lets go of them when it closes. It follows the desktop's palette and remembers its size
// and the range last chosen.
class CStatisticsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CStatisticsDlg(CSettingsStore& store, QWidget* parent = nullptr);
    ~CStatisticsDlg() override;

    // Whether a pass is running whose figures the window waits for.
    bool Loading() const { return m_awaited != m_shown; }
    QThread* LoadThread() const { return m_thread; }
    // The figures shown; null while the first pass runs and once the window has closed.
    const CUsageStatistics* Statistics() const { return m_stats.get(); }
    QChart* Chart(CStatisticsCharts::Chart chart) const;
    CStatisticsCharts::Chart ShownChart() const;
    void ShowChart(CStatisticsCharts::Chart chart);
    CUsageStatistics::Range Range() const;
    // Chooses the range as the chooser does: a new pass starts.
    void SetRange(CUsageStatistics::Range range);
    // The line under the charts: what they show, or that the range has no calls.
    QString Message() const;

    // The chart shown as a picture, and its figures as CSV; false (after a message box)
    // when the file cannot be written.
    bool SavePng(const QString& path);
    bool SaveCsv(const QString& path);

signals:
    // The figures of the pass last started are in the charts.
    void Loaded();

public slots:
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Pass;

    void StartPass();
    void Show(const std::shared_ptr<const CUsageStatistics>& stats);
    void ReleaseCharts();
    void SetChart(int index, QChart* chart);
    void ChooseAndSavePng();
    void ChooseAndSaveCsv();

    CSettingsStore& m_store;
    QComboBox* m_range = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::array<QChartView*, CStatisticsCharts::kChartCount> m_views{};
    QLabel* m_message = nullptr;
    std::shared_ptr<const CUsageStatistics> m_stats;
    QPointer<QThread> m_thread;
    int m_awaited = 0; // the number of the pass last started
    int m_shown = 0;   // the number of the pass whose figures are shown
    bool m_closed = false;
};
