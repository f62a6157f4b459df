#include "billing/gui/statisticscharts.h"

#include "billing/bytecount.h"
#include "billing/tariff.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QCursor>
#include <QHorizontalStackedBarSeries>
#include <QLineSeries>
#include <QLocale>
#include <QPalette>
#include <QPen>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The points of a line over many categories: where there are more than a chart can show,
// each stretch of categories is drawn by its largest value, at its own place, so peaks
// stay visible and the tooltip still names one day or cycle.
template <typename T> QList<std::pair<int, T>> Busiest(const QList<T>& values)
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

QString BytesText(qint64 bytes)
{
    const CStatisticsCharts::Unit unit = CStatisticsCharts::UnitFor(bytes);
    return CTariff::FixedText(double(bytes) / unit.bytes, 2) + u' ' + unit.name;
}

QString DateText(QDate date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

// The lines of a tooltip: the bytes, the calls and, where there is one, the cost.
QString FiguresText(const QString& heading, qint64 received, qint64 sent, int calls,
                    const QString& cost)
{
    QString text = heading + u'\n' +
                   CStatisticsCharts::tr("Received: %1").arg(BytesText(received)) + u'\n' +
                   CStatisticsCharts::tr("Sent: %1").arg(BytesText(sent)) + u'\n' +
                   CStatisticsCharts::tr("Calls: %1").arg(calls);
    if (!cost.isNull())
        text += u'\n' + CStatisticsCharts::tr("Cost: %1").arg(cost);
    return text;
}

void ShowTip(const QString& text, bool show)
{
    if (show)
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}

// Builds one chart: stacked bars of received and sent bytes by category, with lines on
// the same axes or on a second axis for money.
class CChartBuilder {
public:
    CChartBuilder(CStatisticsCharts::Chart kind, std::shared_ptr<const CUsageStatistics> stats,
                  bool horizontal)
        : m_kind(kind)
        , m_stats(std::move(stats))
        , m_chart(new QChart)
        , m_horizontal(horizontal)
    {
        m_chart->setAnimationOptions(QChart::NoAnimation);
        m_chart->legend()->setAlignment(Qt::AlignBottom);
    }

    // The bars, in bytes; each category a label. tipIndex turns a bar's index into the
    // index TipText takes. Too many bars to draw quickly become two lines.
    void Bars(const QStringList& categories, const QList<qint64>& received,
              const QList<qint64>& sent, std::function<int(int)> tipIndex = {})
    {
        qint64 largest = 0;
        for (qsizetype i = 0; i < received.size(); ++i)
            largest = std::max(largest, CByteCount::Add(received[i], sent[i]));
        m_unit = CStatisticsCharts::UnitFor(largest);
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
                                 ShowTip(CStatisticsCharts::TipText(
                                             kind, *stats, tipIndex ? tipIndex(index) : index),
                                         status);
                             });
        }
        auto* axis = new QBarCategoryAxis;
        axis->append(categories);
        axis->setLabelsVisible(categories.size() <= CStatisticsCharts::kMostLabelled);
        m_x = axis;
        m_chart->addAxis(m_x, m_horizontal ? Qt::AlignLeft : Qt::AlignBottom);
        m_chart->addAxis(m_bytes, m_horizontal ? Qt::AlignBottom : Qt::AlignLeft);
        series->attachAxis(m_x);
        series->attachAxis(m_bytes);
    }

    // A line of bytes over the categories, on the bytes' axis.
    QLineSeries* BytesLine(const char* name, const QString& title,
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

    // A line of money over the categories, on an axis of its own on the right.
    void CostLine(const QList<double>& costs)
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

    QChart* Finish(const QString& title)
    {
        m_chart->setTitle(title);
        m_bytes->setRange(0.0, m_top > 0.0 ? m_top * 1.1 : 1.0);
        return m_chart;
    }

private:
    double Scaled(qint64 bytes) const { return double(bytes) / m_unit.bytes; }

    // Received and sent as lines over an axis that names a category now and then.
    void Lines(const QStringList& categories, const QList<qint64>& received,
               const QList<qint64>& sent)
    {
        auto* axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        const int step = int(categories.size() / CStatisticsCharts::kMostLabelled) + 1;
        for (int i = 0; i < categories.size(); i += step)
            axis->append(categories[i], i);
        axis->setRange(0, double(categories.size() - 1));
        m_x = axis;
        m_chart->addAxis(m_x, Qt::AlignBottom);
        m_chart->addAxis(m_bytes, Qt::AlignLeft);
        BytesLine("received", CStatisticsCharts::tr("Received"), Busiest(received));
        BytesLine("sent", CStatisticsCharts::tr("Sent"), Busiest(sent));
    }

    QLineSeries* Line(const char* name, const QString& title)
    {
        auto* line = new QLineSeries;
        line->setObjectName(QLatin1String(name));
        line->setName(title);
        m_chart->addSeries(line);
        QObject::connect(
            line, &QLineSeries::hovered, m_chart,
            [kind = m_kind, stats = m_stats](const QPointF& point, bool state) {
                ShowTip(CStatisticsCharts::TipText(kind, *stats, int(std::lround(point.x()))),
                        state);
            });
        return line;
    }

    CStatisticsCharts::Chart m_kind;
    std::shared_ptr<const CUsageStatistics> m_stats;
    QChart* m_chart;
    bool m_horizontal;
    CStatisticsCharts::Unit m_unit;
    double m_top = 0.0;
    QAbstractAxis* m_x = nullptr;
    QValueAxis* m_bytes = nullptr;
};

QChart* DaysChart(const std::shared_ptr<const CUsageStatistics>& stats)
{
    CChartBuilder builder(CStatisticsCharts::Days, stats, false);
    QStringList labels;
    QList<qint64> received;
    QList<qint64> sent;
    QList<double> costs;
    for (const CUsageStatistics::Day& day : stats->days) {
        labels.append(QLocale().toString(day.date, QStringLiteral("d MMM")));
        received.append(day.received);
        sent.append(day.sent);
        costs.append(day.cost);
    }
    builder.Bars(labels, received, sent);
    // One cycle: its use so far against the allowance, and where it is heading.
    const bool oneCycle = stats->range == CUsageStatistics::Range::ThisCycle ||
                          stats->range == CUsageStatistics::Range::LastCycle;
    if (oneCycle && !stats->days.isEmpty()) {
        QList<std::pair<int, qint64>> used;
        qint64 sum = 0;
        for (int i = 0; i < stats->days.size() && stats->days[i].date <= stats->today; ++i) {
            sum += stats->days[i].counted;
            used.append({i, sum});
        }
        builder.BytesLine("used", CStatisticsCharts::tr("Used"), used);
        const int lastIndex = int(stats->days.size()) - 1;
        if (stats->allowance > 0) {
            builder.BytesLine("allowance", CStatisticsCharts::tr("Allowance"),
                              {{0, stats->allowance}, {lastIndex, stats->allowance}});
        }
        const CCycleUsage* current = stats->CurrentCycle();
        if (current && !used.isEmpty() && used.constLast().first < lastIndex) {
            QLineSeries* projection =
                builder.BytesLine("projection", CStatisticsCharts::tr("Projection"),
                                  {used.constLast(), {lastIndex, current->projected}});
            QPen pen = projection->pen();
            pen.setStyle(Qt::DashLine);
            projection->setPen(pen);
        }
    }
    builder.CostLine(costs);
    return builder.Finish(CStatisticsCharts::tr("By day"));
}

QChart* CyclesChart(const std::shared_ptr<const CUsageStatistics>& stats)
{
    CChartBuilder builder(CStatisticsCharts::Cycles, stats, false);
    QStringList labels;
    QList<qint64> received;
    QList<qint64> sent;
    QList<double> costs;
    for (const CCycleUsage& usage : stats->cycles) {
        labels.append(usage.cycle.Start().day() == 1
                          ? QLocale().toString(usage.cycle.Start(), QStringLiteral("MMM yyyy"))
                          : QLocale().toString(usage.cycle.Start(), QStringLiteral("d MMM yy")));
        received.append(usage.received);
        sent.append(usage.sent);
        costs.append(usage.cost);
    }
    builder.Bars(labels, received, sent);
    if (stats->allowance > 0 && !stats->cycles.isEmpty()) {
        builder.BytesLine(
            "allowance", CStatisticsCharts::tr("Allowance"),
            {{0, stats->allowance}, {int(stats->cycles.size()) - 1, stats->allowance}});
    }
    builder.CostLine(costs);
    return builder.Finish(CStatisticsCharts::tr("By billing cycle"));
}

QChart* HoursChart(const std::shared_ptr<const CUsageStatistics>& stats)
{
    CChartBuilder builder(CStatisticsCharts::Hours, stats, false);
    QStringList labels;
    QList<qint64> received;
    QList<qint64> sent;
    for (int hour = 0; hour < int(stats->hours.size()); ++hour) {
        labels.append(QString::number(hour));
        received.append(stats->hours[hour].received);
        sent.append(stats->hours[hour].sent);
    }
    builder.Bars(labels, received, sent);
    return builder.Finish(CStatisticsCharts::tr("By hour of the day"));
}

QChart* TopDaysChart(const std::shared_ptr<const CUsageStatistics>& stats)
{
    CChartBuilder builder(CStatisticsCharts::TopDays, stats, true);
    // The top day at the top: horizontal bars are laid out from the bottom.
    QList<CUsageStatistics::Day> top = stats->TopDays(CStatisticsCharts::kTopDays);
    std::reverse(top.begin(), top.end());
    QStringList labels;
    QList<qint64> received;
    QList<qint64> sent;
    for (const CUsageStatistics::Day& day : top) {
        labels.append(DateText(day.date));
        received.append(day.received);
        sent.append(day.sent);
    }
    const int count = int(top.size());
    builder.Bars(labels, received, sent, [count](int index) { return count - 1 - index; });
    return builder.Finish(CStatisticsCharts::tr("Top days"));
}

// The relative luminance of a colour.
double Luminance(const QColor& color)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

} // namespace

CStatisticsCharts::Unit CStatisticsCharts::UnitFor(qint64 largest)
{
    if (largest >= 1000000000)
        return {1e9, QStringLiteral("GB")};
    return {1e6, QStringLiteral("MB")};
}

QChart* CStatisticsCharts::Make(Chart chart, const std::shared_ptr<const CUsageStatistics>& stats,
                                const QPalette& palette)
{
    QChart* made = nullptr;
    switch (chart) {
    case Days:
        made = DaysChart(stats);
        break;
    case Cycles:
        made = CyclesChart(stats);
        break;
    case Hours:
        made = HoursChart(stats);
        break;
    case TopDays:
        made = TopDaysChart(stats);
        break;
    }
    ApplyPalette(made, palette);
    return made;
}

QByteArray CStatisticsCharts::Figures(Chart chart, const CUsageStatistics& stats,
                                      CStatisticsTable::Format format)
{
    switch (chart) {
    case Days:
        return CStatisticsTable::Days(stats.days, format);
    case Cycles:
        return CStatisticsTable::Cycles(stats.cycles, format);
    case Hours:
        return CStatisticsTable::Hours(stats, format);
    case TopDays:
        break;
    }
    return CStatisticsTable::Days(stats.TopDays(kTopDays), format);
}

QString CStatisticsCharts::TipText(Chart chart, const CUsageStatistics& stats, int index)
{
    switch (chart) {
    case Days:
    case TopDays: {
        const QList<CUsageStatistics::Day> days =
            chart == Days ? stats.days : stats.TopDays(kTopDays);
        if (index < 0 || index >= days.size())
            return QString();
        const CUsageStatistics::Day& day = days[index];
        return FiguresText(DateText(day.date), day.received, day.sent, day.calls,
                           CTariff::PriceText(day.cost));
    }
    case Cycles: {
        if (index < 0 || index >= stats.cycles.size())
            return QString();
        const CCycleUsage& usage = stats.cycles[index];
        QString text = FiguresText(
            tr("%1 to %2").arg(DateText(usage.cycle.Start()), DateText(usage.cycle.End())),
            usage.received, usage.sent, usage.calls, CTariff::PriceText(usage.cost));
        if (usage.allowance > 0)
            text += u'\n' +
                    tr("Used: %1 of %2").arg(BytesText(usage.counted), BytesText(usage.allowance));
        return text;
    }
    case Hours:
        if (index < 0 || index >= int(stats.hours.size()))
            return QString();
        return FiguresText(tr("%1:00 to %2:00").arg(index).arg(index + 1),
                           stats.hours[index].received, stats.hours[index].sent,
                           stats.hours[index].calls, QString());
    }
    return QString();
}

void CStatisticsCharts::ApplyPalette(QChart* chart, const QPalette& palette)
{
    const QColor background = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    const bool dark = background.lightnessF() < 0.5;
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setBackgroundBrush(background);
    chart->setBackgroundRoundness(0);
    chart->setTitleBrush(text);
    chart->legend()->setLabelColor(text);
    QColor grid = text;
    grid.setAlphaF(0.2);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsBrush(text);
        axis->setTitleBrush(text);
        axis->setGridLineColor(grid);
        axis->setLinePenColor(palette.color(QPalette::Mid));
    }
}

double CStatisticsCharts::Contrast(const QColor& a, const QColor& b)
{
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}
