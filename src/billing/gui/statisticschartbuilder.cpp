#include "billing/gui/statisticschartbuilder.h"

#include "billing/bytecount.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
// The most labels that stand upright under a chart at the window's smallest width.
constexpr qsizetype kMostUprightLabels = 8;

void ShowTip(const QString& text, bool show)
{
    if (show)
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}

} // namespace

CStatisticsChartBuilder::CStatisticsChartBuilder(CStatisticsCharts::Chart kind,
                                                 std::shared_ptr<const CUsageStatistics> stats,
                                                 bool horizontal)
    : m_kind(kind)
    , m_stats(std::move(stats))
    , m_chart(new QChart)
    , m_horizontal(horizontal)
{
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
}

void CStatisticsChartBuilder::Bars(const QStringList& categories, const QList<qint64>& received,
                                   const QList<qint64>& sent, qint64 linesTop,
                                   std::function<int(int)> tipIndex)
{
    qint64 largest = 0;
    for (qsizetype i = 0; i < received.size(); ++i)
        largest = std::max(largest, CByteCount::Add(received[i], sent[i]));
    m_unit = CStatisticsCharts::UnitFor(std::max(largest, linesTop));
    m_top = Scaled(largest);
    m_bytes = new QValueAxis;
    m_bytes->setTitleText(CStatisticsCharts::tr("Data (%1)").arg(m_unit.name));
    m_bytes->setLabelFormat(QStringLiteral("%.1f"));
    if (categories.size() > CStatisticsCharts::kMostBars) {
        Lines(categories, received, sent);
        return;
    }
    auto* receivedSet = new QBarSet(CStatisticsCharts::tr("Received"));
    receivedSet->setObjectName(QStringLiteral("received"));
    auto* sentSet = new QBarSet(CStatisticsCharts::tr("Sent"));
    sentSet->setObjectName(QStringLiteral("sent"));
    for (qsizetype i = 0; i < received.size(); ++i) {
        receivedSet->append(Scaled(received[i]));
        sentSet->append(Scaled(sent[i]));
    }
    QAbstractBarSeries* series =
        m_horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                     : new QStackedBarSeries;
    series->append(receivedSet);
    series->append(sentSet);
    m_chart->addSeries(series);
    for (QBarSet* set : {receivedSet, sentSet}) {
        QObject::connect(set, &QBarSet::hovered, m_chart,
                         [kind = m_kind, stats = m_stats, tipIndex](bool status, int index) {
                             ShowTip(CStatisticsCharts::TipText(kind, *stats,
                                                                tipIndex ? tipIndex(index) : index),
                                     status);
                         });
    }
    if (m_horizontal || categories.size() <= kMostUprightLabels) {
        auto* axis = new QBarCategoryAxis;
        axis->append(categories);
        m_x = axis;
    } else {
        // Under many bars a label of each would be cut to "...": every few bars get one.
        auto* axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        const qsizetype step = (categories.size() + kMostUprightLabels - 1) / kMostUprightLabels;
        for (qsizetype i = 0; i < categories.size(); i += step)
            axis->append(categories[i], double(i));
        axis->setRange(-0.5, double(categories.size()) - 0.5);
        m_x = axis;
    }
    m_chart->addAxis(m_x, m_horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    m_chart->addAxis(m_bytes, m_horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(m_x);
    series->attachAxis(m_bytes);
}

QLineSeries* CStatisticsChartBuilder::BytesLine(const char* name, const QString& title,
                                                const QList<std::pair<int, qint64>>& points)
{
    auto* line = Line(name, title);
    QList<QPointF> scaled;
    scaled.reserve(points.size());
    for (const auto& [index, bytes] : points) {
        scaled.append(QPointF(index, Scaled(bytes)));
        m_top = std::max(m_top, Scaled(bytes));
    }
    line->append(scaled);
    line->attachAxis(m_x);
    line->attachAxis(m_bytes);
    return line;
}

void CStatisticsChartBuilder::CostLine(const QList<double>& costs)
{
    auto* line = Line("cost", CStatisticsCharts::tr("Cost"));
    double top = 0.0;
    QList<QPointF> points;
    for (const auto& [index, cost] : Busiest(costs)) {
        points.append(QPointF(double(index), cost));
        top = std::max(top, cost);
    }
    line->append(points);
    auto* money = new QValueAxis;
    money->setTitleText(CStatisticsCharts::tr("Cost"));
    money->setLabelFormat(QStringLiteral("%.2f"));
    money->setRange(0.0, top > 0.0 ? top * 1.1 : 1.0);
    m_chart->addAxis(money, Qt::AlignRight);
    line->attachAxis(m_x);
    line->attachAxis(money);
}

QChart* CStatisticsChartBuilder::Finish(const QString& title)
{
    m_chart->setTitle(title);
    m_bytes->setRange(0.0, m_top > 0.0 ? m_top * 1.1 : 1.0);
    return m_chart;
}

void CStatisticsChartBuilder::Lines(const QStringList& categories, const QList<qint64>& received,
                                    const QList<qint64>& sent)
{
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const qsizetype step = (categories.size() + kMostUprightLabels - 1) / kMostUprightLabels;
    for (qsizetype i = 0; i < categories.size(); i += step)
        axis->append(categories[i], double(i));
    axis->setRange(0, double(categories.size() - 1));
    m_x = axis;
    m_chart->addAxis(m_x, Qt::AlignBottom);
    m_chart->addAxis(m_bytes, Qt::AlignLeft);
    BytesLine("received", CStatisticsCharts::tr("Received"), Busiest(received));
    BytesLine("sent", CStatisticsCharts::tr("Sent"), Busiest(sent));
}

QLineSeries* CStatisticsChartBuilder::Line(const char* name, const QString& title)
{
    auto* line = new QLineSeries;
    line->setObjectName(QLatin1String(name));
    line->setName(title);
    m_chart->addSeries(line);
    QObject::connect(
        line, &QLineSeries::hovered, m_chart,
        [kind = m_kind, stats = m_stats](const QPointF& point, bool state) {
            ShowTip(CStatisticsCharts::TipText(kind, *stats, int(std::lround(point.x()))), state);
        });
    return line;
}
