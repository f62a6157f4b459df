#include "billing/gui/statisticscharts.h"

#include "billing/gui/statisticschartbuilder.h"
#include "billing/tariff.h"

#include <QChart>
#include <QCoreApplication>
#include <QLineSeries>
#include <QLocale>
#include <QPalette>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

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

QChart* DaysChart(const std::shared_ptr<const CUsageStatistics>& stats)
{
    CStatisticsChartBuilder builder(CStatisticsCharts::Days, stats, false);
    QStringList labels;
    QList<qint64> received;
    QList<qint64> sent;
    QList<double> costs;
    // Days of more than one year name their year: the labels also tell the days apart.
    const bool years = !stats->days.isEmpty() &&
                       stats->days.constFirst().date.year() != stats->days.constLast().date.year();
    const QString format = years ? QStringLiteral("d MMM yy") : QStringLiteral("d MMM");
    for (const CUsageStatistics::Day& day : stats->days) {
        labels.append(QLocale().toString(day.date, format));
        received.append(day.received);
        sent.append(day.sent);
        costs.append(day.cost);
    }
    // One cycle: its use so far against the allowance, and where it is heading.
    const bool oneCycle = stats->range == CUsageStatistics::Range::ThisCycle ||
                          stats->range == CUsageStatistics::Range::LastCycle;
    qint64 linesTop = 0;
    if (oneCycle) {
        for (const CUsageStatistics::Day& day : stats->days)
            linesTop += day.counted;
        linesTop = std::max(linesTop, stats->allowance);
        if (const CCycleUsage* current = stats->CurrentCycle())
            linesTop = std::max(linesTop, current->projected);
    }
    builder.Bars(labels, received, sent, linesTop);
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
    CStatisticsChartBuilder builder(CStatisticsCharts::Cycles, stats, false);
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
    builder.Bars(labels, received, sent, stats->allowance);
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
    CStatisticsChartBuilder builder(CStatisticsCharts::Hours, stats, false);
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
    CStatisticsChartBuilder builder(CStatisticsCharts::TopDays, stats, true);
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
    builder.Bars(labels, received, sent, 0, [count](int index) { return count - 1 - index; });
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
