#pragma once

#include "billing/statisticstable.h"
#include "billing/usagestatistics.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>

class QChart;
class QColor;
class QPalette;

// Draws the charts of the statistics window from its figures. The series and bar sets
// carry fixed object names ("received", "sent", "used", "allowance", "projection", "cost")
// by which the window's tests find them; their values are in the chart's unit of bytes
// (MB or GB, whichever suits the largest bar) and in money without a currency.
class CStatisticsCharts {
    Q_DECLARE_TR_FUNCTIONS(CStatisticsCharts)

public:
    // The charts, in the order of the window's tabs.
    enum Chart { Days = 0, Cycles = 1, Hours = 2, TopDays = 3 };
    static constexpr int kChartCount = 4;
    static constexpr int kTopDays = 10;
    // Beyond this many days or cycles, bars would take long to draw and be too thin to
    // see: received, sent and the cost become lines of at most this many points, each
    // stretch of days or cycles drawn by its largest value.
    static constexpr int kMostBars = 400;

    struct Unit {
        double bytes = 1e6;
        QString name;
    };
    // MB below a GB, GB from there on (decimal units, as the data plan counts).
    static Unit UnitFor(qint64 largest);

    // A new chart of the figures, coloured after the palette. The figures are shared with
    // the tooltips, which show the exact values of the bar or point under the mouse.
    static QChart* Make(Chart chart, const std::shared_ptr<const CUsageStatistics>& stats,
                        const QPalette& palette);
    // The figures behind a chart, for export.
    static QByteArray Figures(Chart chart, const CUsageStatistics& stats,
                              CStatisticsTable::Format format);
    // The tooltip of bar or point index of a chart.
    static QString TipText(Chart chart, const CUsageStatistics& stats, int index);
    // Colours the chart's background, texts and grid after the palette, so that it reads
    // in a light and in a dark desktop alike.
    static void ApplyPalette(QChart* chart, const QPalette& palette);
    // The contrast ratio of two colours (1 to 21) as accessibility guidelines define it.
    static double Contrast(const QColor& a, const QColor& b);
};
