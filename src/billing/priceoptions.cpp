#include "billing/priceoptions.h"

#include "billing/tariff.h"
#include "common/settingsstore.h"

#include <QLocale>

#include <cmath>

namespace {
QString ClockText(int minutes)
{
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// A stored amount as the field shows it: "0.6000000000" is shown as 0.6.
QString MoneyShown(const QString& stored)
{
    return QString::number(CTariff::ParseNumber(QStringView(stored)), 'g', 15);
}

QString MoneyStored(const QString& shown)
{
    return QString::asprintf("%.10f", CPriceOptions::ParseMoney(shown).value_or(0.0));
}

int ListIndex(int stored, int fallback)
{
    return stored >= 0 && stored < CPriceOptions::kTimeCount ? stored : fallback;
}
} // namespace

QString CPriceOptions::FromTime(int index)
{
    return ClockText(index * 15);
}

QString CPriceOptions::ToTime(int index)
{
    return ClockText(index * 15 + 14);
}

CPriceOptions CPriceOptions::Load(const CSettingsStore& store)
{
    CPriceOptions options;
    options.pricePerDial = MoneyShown(store.Read(Keys::PricePerDial));
    options.costPerMinute = MoneyShown(store.Read(Keys::CostPerMinute));
    options.cheapCostPerMinute = MoneyShown(store.Read(Keys::CheapCostPerMinute));
    options.fromIndex = ListIndex(store.Read(Keys::CheapTimeFromComboState),
                                  Keys::CheapTimeFromComboState.defaultValue);
    options.toIndex = ListIndex(store.Read(Keys::CheapTimeToComboState),
                                Keys::CheapTimeToComboState.defaultValue);
    options.cheapInSat = store.Read(Keys::CheapInSat) == 1;
    options.cheapInSun = store.Read(Keys::CheapInSun) == 1;
    options.minConTime = store.Read(Keys::MinConTime);
    options.connectionBlock = store.Read(Keys::ConnectionBlock);
    options.freeMonthTime = store.Read(Keys::FreeMonthTime);
    return options;
}

std::optional<CPriceOptions::MoneyField> CPriceOptions::Refused() const
{
    if (!ParseMoney(pricePerDial))
        return PricePerDial;
    if (!ParseMoney(cheapCostPerMinute))
        return CheapCostPerMinute;
    if (!ParseMoney(costPerMinute))
        return CostPerMinute;
    return std::nullopt;
}

void CPriceOptions::Store(CSettingsStore& store) const
{
    store.Write(Keys::PricePerDial, MoneyStored(pricePerDial));
    store.Write(Keys::CheapCostPerMinute, MoneyStored(cheapCostPerMinute));
    store.Write(Keys::CostPerMinute, MoneyStored(costPerMinute));
    store.Write(Keys::ConnectionBlock, connectionBlock);
    store.Write(Keys::FreeMonthTime, freeMonthTime);
    store.Write(Keys::MinConTime, minConTime);
    store.Write(Keys::CheapTimeFromComboState, fromIndex);
    store.Write(Keys::CheapTimeStart, FromTime(fromIndex));
    store.Write(Keys::CheapTimeToComboState, toIndex);
    store.Write(Keys::CheapTimeEnd, ToTime(toIndex));
    store.Write(Keys::CheapInSat, cheapInSat ? 1 : 0);
    store.Write(Keys::CheapInSun, cheapInSun ? 1 : 0);
}

std::optional<double> CPriceOptions::ParseMoney(const QString& text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
