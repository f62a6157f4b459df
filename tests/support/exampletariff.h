#pragma once

class CSettingsStore;

// The tariff of the help's worked example, used by tests and benchmarks that price calls:
// 0.10 a dial, 0.60 a minute, 0.30 a minute from 23:00 to 05:59 and all weekend, a minimum
// of one minute charged in blocks of one minute, no free time.
class CExampleTariff {
public:
    static void WriteTo(CSettingsStore& store);
};
