#include "billing/dataplan.h"

#include "billing/tariff.h"
#include "common/settingsstore.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kMaxPercent = 1000;

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

CDataPlan CDataPlan::Load(const CSettingsStore& store)
{
    CDataPlan plan;
    plan.cycleStartDay = std::clamp(store.Read(Keys::CycleStartDay), 1, 31);
    plan.allowance = ParseAllowance(store.Read(Keys::Allowance)).value_or(0);
    plan.counting = store.Read(Keys::Counted) == ReceivedOnly ? ReceivedOnly : ReceivedAndSent;
    plan.overagePerGB =
        std::max(0.0, CTariff::ParseNumber(QStringView(store.Read(Keys::OveragePerGB))));
    // A bad entry among the thresholds drops that entry only.
    plan.warnAt.clear();
    for (const QString& part : store.Read(Keys::WarnAt).split(u',', Qt::SkipEmptyParts)) {
        if (const auto one = ParseThresholds(part); one && !one->isEmpty())
            plan.warnAt.append(one->first());
    }
    std::sort(plan.warnAt.begin(), plan.warnAt.end());
    plan.warnAt.erase(std::unique(plan.warnAt.begin(), plan.warnAt.end()), plan.warnAt.end());
    plan.hangUpAtLimit = store.Read(Keys::AtLimit) == 1;
    return plan;
}

qint64 CDataPlan::OverageBytes(qint64 countedBefore, qint64 callCounted) const
{
    if (!Active() || callCounted <= 0)
        return 0;
    const qint64 left = std::max<qint64>(0, allowance - std::max<qint64>(0, countedBefore));
    return std::max<qint64>(0, callCounted - left);
}

std::optional<qint64> CDataPlan::ParseAllowance(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return 0;
    // Whole GB and up to nine decimals, each read as digits so that 0.1 GB is exactly
    // 100,000,000 bytes.
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || fraction.size() > 9 || whole.size() > 9)
        return std::nullopt;
    qint64 gb = 0;
    for (const QChar c : whole) {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        gb = gb * 10 + (c.unicode() - u'0');
    }
    qint64 bytes = 0;
    qint64 scale = kBytesPerGB;
    for (const QChar c : fraction) {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        scale /= 10;
        bytes += (c.unicode() - u'0') * scale;
    }
    return gb * kBytesPerGB + bytes;
}

QString CDataPlan::AllowanceText(qint64 bytes)
{
    QString text = QString::number(bytes / kBytesPerGB);
    const qint64 rest = bytes % kBytesPerGB;
    if (rest > 0) {
        QString fraction = QStringLiteral("%1").arg(rest, 9, 10, QLatin1Char('0'));
        while (fraction.endsWith(u'0'))
            fraction.chop(1);
        text += u'.' + fraction;
    }
    return text;
}

std::optional<QList<int>> CDataPlan::ParseThresholds(QStringView text)
{
    QList<int> percentages;
    for (const QStringView part : text.split(u',')) {
        const QStringView number = part.trimmed();
        if (number.isEmpty())
            continue;
        bool ok = false;
        const int value = number.toInt(&ok);
        if (!ok || value < 1 || value > kMaxPercent ||
            !std::all_of(number.begin(), number.end(), IsAsciiDigit))
            return std::nullopt;
        percentages.append(value);
    }
    std::sort(percentages.begin(), percentages.end());
    percentages.erase(std::unique(percentages.begin(), percentages.end()), percentages.end());
    return percentages;
}

QString CDataPlan::ThresholdsText(const QList<int>& percentages)
{
    QStringList parts;
    for (const int value : percentages)
        parts.append(QString::number(value));
    return parts.join(u',');
}

std::optional<int> CDataPlan::ParseStartDay(QStringView text)
{
    const QStringView number = text.trimmed();
    bool ok = false;
    const int day = number.toInt(&ok);
    if (!ok || day < 1 || day > 31 || !std::all_of(number.begin(), number.end(), IsAsciiDigit))
        return std::nullopt;
    return day;
}
