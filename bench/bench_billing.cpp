#include "loggen.h"
#include "support/exampletariff.h"

#include "billing/dataplan.h"
#include "billing/logreader.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "billing/totalscache.h"
#include "billing/usagecache.h"
#include "common/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

// Generated logs and a settings file, made once per process and removed at exit.
class CBenchFiles {
public:
    static CBenchFiles& Instance()
    {
        static CBenchFiles files;
        return files;
    }

    QString Log(qint64 records)
    {
        auto found = m_logs.find(records);
        if (found != m_logs.end())
            return found->second;
        // Each log in a folder of its own under the name the program uses.
        const QString folder = m_dir.filePath(QString::number(records));
        const QString path = folder + QStringLiteral("/logfile.log");
        if (!QDir().mkpath(folder) || !CLogGenerator::Write(path, records))
            return {};
        m_logs.emplace(records, path);
        return path;
    }

    // A store whose log is the generated one of that size.
    CSettingsStore Store(qint64 records)
    {
        const QString ini = m_dir.filePath(QStringLiteral("ov-%1.ini").arg(records));
        CSettingsStore store(ini);
        CExampleTariff::WriteTo(store);
        store.Write(Keys::FreeMonthTime, QStringLiteral("02:00"));
        store.Write(Keys::SummaryWhen, 1);
        store.Write(Keys::IniPath, QFileInfo(Log(records)).absolutePath());
        return store;
    }

private:
    CBenchFiles() = default;

    QTemporaryDir m_dir;
    std::map<qint64, QString> m_logs;
};

void SetUpCounters(benchmark::State& state, const QString& path)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

void BM_ReadAll(benchmark::State& state)
{
    const QString path = CBenchFiles::Instance().Log(state.range(0));
    for (auto _ : state) {
        qint64 records = 0;
        CLogReader::ReadAll(path,
                            [&](const CLogRecord& record) { records += record.startSecs != -1; });
        benchmark::DoNotOptimize(records);
    }
    SetUpCounters(state, path);
}

// The same records pulled from a reader, without the function object per record.
void BM_Reader(benchmark::State& state)
{
    const QString path = CBenchFiles::Instance().Log(state.range(0));
    for (auto _ : state) {
        qint64 records = 0;
        CLogReader reader;
        CLogRecord record;
        if (reader.Open(path)) {
            while (reader.Next(record))
                records += record.startSecs != -1;
        }
        benchmark::DoNotOptimize(records);
    }
    SetUpCounters(state, path);
}

void BM_TotalsPass(benchmark::State& state)
{
    const QString path = CBenchFiles::Instance().Log(state.range(0));
    CSettingsStore store = CBenchFiles::Instance().Store(state.range(0));
    const CTariff tariff = CTariff::Load(store);
    for (auto _ : state) {
        const CTotals totals = CTotals::Pass(path, CTotals::All, "15-06-2024", tariff);
        benchmark::DoNotOptimize(totals.totalCost);
    }
    SetUpCounters(state, path);
}

void BM_TotalsCompute(benchmark::State& state)
{
    const QString path = CBenchFiles::Instance().Log(state.range(0));
    CSettingsStore store = CBenchFiles::Instance().Store(state.range(0));
    for (auto _ : state) {
        const CTotals totals = CTotals::Compute(store);
        benchmark::DoNotOptimize(totals.totalCost);
    }
    SetUpCounters(state, path);
}

// The monitor's check every minute when nothing changed: no read of the log.
void BM_TotalsCacheUnchanged(benchmark::State& state)
{
    CSettingsStore store = CBenchFiles::Instance().Store(state.range(0));
    CTotalsCache cache;
    cache.Compute(store);
    for (auto _ : state) {
        const CTotals totals = cache.Compute(store);
        benchmark::DoNotOptimize(totals.totalCost);
    }
    state.counters["log_reads"] = double(cache.Passes());
}

// A totals pass under a data plan: every call's bytes also go to the cycles' ledger.
void BM_TotalsPassPlan(benchmark::State& state)
{
    const QString path = CBenchFiles::Instance().Log(state.range(0));
    CSettingsStore store = CBenchFiles::Instance().Store(state.range(0));
    const CTariff tariff = CTariff::Load(store);
    CDataPlan plan;
    plan.allowance = 30 * CDataPlan::kBytesPerGB;
    plan.overagePerGB = 2.0;
    plan.cycleStartDay = 15;
    for (auto _ : state) {
        const CTotals totals = CTotals::Pass(path, CTotals::All, "15-06-2024", tariff, plan);
        benchmark::DoNotOptimize(totals.totalCost);
    }
    SetUpCounters(state, path);
}

// What the tooltip, the Data plan page and the warnings ask every second during a call
// when the log has not changed: no read of the log.
void BM_UsageCacheUnchanged(benchmark::State& state)
{
    CSettingsStore store = CBenchFiles::Instance().Store(state.range(0));
    store.Write(Keys::Allowance, QStringLiteral("30"));
    CUsageCache cache;
    cache.FromLog(store);
    for (auto _ : state) {
        const CCycleUsage usage = cache.FromLog(store);
        benchmark::DoNotOptimize(usage.counted);
    }
    state.counters["log_reads"] = double(cache.Passes());
    store.Write(Keys::Allowance, QString());
}

} // namespace

BENCHMARK(BM_ReadAll)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reader)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotalsPass)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotalsCompute)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotalsCacheUnchanged)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TotalsPassPlan)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UsageCacheUnchanged)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
