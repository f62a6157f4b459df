#include "support/exampletariff.h"

#include "common/settingsstore.h"

void CExampleTariff::WriteTo(CSettingsStore& store)
{
    store.Write(Keys::PricePerDial, QStringLiteral("0.1000000000"));
    store.Write(Keys::CostPerMinute, QStringLiteral("0.6000000000"));
    store.Write(Keys::CheapCostPerMinute, QStringLiteral("0.3000000000"));
    store.Write(Keys::CheapTimeStart, QStringLiteral("23:00"));
    store.Write(Keys::CheapTimeEnd, QStringLiteral("05:59"));
    store.Write(Keys::MinConTime, QStringLiteral("00:01"));
    store.Write(Keys::ConnectionBlock, QStringLiteral("00:01"));
    store.Write(Keys::CheapInSat, 1);
    store.Write(Keys::CheapInSun, 1);
}
