#pragma once

#include "billing/gui/statisticscharts.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class QAbstractAxis;
class QChart;
class QLineSeries;
class QValueAxis;

// Puts one chart of the statistics together: received and sent bytes by category as
// stacked bars (or as lines where there are too many bars to draw), lines on the bytes'
// axis, and the cost on an axis of its own. A bar or point under the mouse shows its exact
// figures in a tooltip.
class CStatisticsChartBuilder {
public:
    CStatisticsChartBuilder(CStatisticsCharts::Chart kind,
                            std::shared_ptr<const CUsageStatistics> stats, bool horizontal);

    // The bars, in bytes; each category a label. tipIndex turns a bar's index into the
    // index TipText takes. linesTop: the most bytes a line of the chart will show (the
    // allowance, the projection), so that the unit fits them as well. Call first.
    void Bars(const QStringList& categories, const QList<qint64>& received,
              const QList<qint64>& sent, qint64 linesTop = 0,
              std::function<int(int)> tipIndex = {});
    // A line of bytes over the categories, on the bytes' axis: (category, bytes) points.
    QLineSeries* BytesLine(const char* name, const QString& title,
                           const QList<std::pair<int, qint64>>& points);
    // A line of money, one value per category, on an axis of its own on the right.
    void CostLine(const QList<double>& costs);
    // The chart, its axes fitted to what it shows; the caller owns it.
    QChart* Finish(const QString& title);

    // The points of a line over many categories: where there are more than a chart can
    // show, each stretch of categories is drawn by its largest value, at its own place, so
    // peaks stay visible and the tooltip still names one day or cycle.
    template <typename T> static QList<std::pair<int, T>> Busiest(const QList<T>& values)
    {
        const int step =
            int((values.size() + CStatisticsCharts::kMostBars - 1) / CStatisticsCharts::kMostBars);
        QList<std::pair<int, T>> points;
        for (int first = 0; first < values.size(); first += std::max(step, 1)) {
            int best = first;
            for (int i = first + 1; i < std::min<int>(first + step, values.size()); ++i) {
                if (values[i] > values[best])
                    best = i;
            }
            points.append({best, values[best]});
        }
        return points;
    }

private:
    double Scaled(qint64 bytes) const { return double(bytes) / m_unit.bytes; }
    // Received and sent as lines over an axis that names a category now and then.
    void Lines(const QStringList& categories, const QList<qint64>& received,
               const QList<qint64>& sent);
    QLineSeries* Line(const char* name, const QString& title);

    CStatisticsCharts::Chart m_kind;
    std::shared_ptr<const CUsageStatistics> m_stats;
    QChart* m_chart;
    bool m_horizontal;
    CStatisticsCharts::Unit m_unit;
    double m_top = 0.0;
    QAbstractAxis* m_x = nullptr;
    QValueAxis* m_bytes = nullptr;
};
