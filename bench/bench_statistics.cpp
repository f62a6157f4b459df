// The statistics of generated logs: the one pass over the log alone, and the window opened
// until its charts are drawn, offscreen. Today is a day inside the generated calls, so
// every range holds some.
#include "loggen.h"
#include "support/exampletariff.h"

#include "billing/dataplan.h"
#include "billing/gui/statisticsdlg.h"
#include "billing/tariff.h"
#include "billing/usagestatistics.h"
#include "common/clock.h"
#include "common/settingsstore.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class CFixedClock : public CClock {
protected:
    QDateTime CurrentDateTime() const override
    {
        return QDateTime(QDate(2025, 6, 20), QTime(12, 0));
    }
};

// A generated log of count calls with its settings: the example tariff and a 5 GB plan
// whose cycles start on the 15th.
struct CBenchLog {
    QTemporaryDir dir;
    std::unique_ptr<CSettingsStore> store;
    bool written = false;

    explicit CBenchLog(qint64 count)
    {
        written = CLogGenerator::Write(dir.filePath(QStringLiteral("logfile.log")), count);
        store = std::make_unique<CSettingsStore>(dir.filePath(QStringLiteral("ov.ini")));
        store->Write(Keys::IniPath, dir.path());
        CExampleTariff::WriteTo(*store);
        store->Write(Keys::CycleStartDay, 15);
        store->Write(Keys::Allowance, QStringLiteral("5"));
        store->Write(Keys::OveragePerGB, QStringLiteral("2"));
    }
};

void BM_StatisticsPass(benchmark::State& state)
{
    CFixedClock clock;
    CClock::Install(&clock);
    CBenchLog log(state.range(0));
    if (!log.written) {
        state.SkipWithError("cannot write the log");
        return;
    }
    const CDataPlan plan = CDataPlan::Load(*log.store);
    const CTariff tariff = CTariff::Load(*log.store);
    const auto range = CUsageStatistics::Range(state.range(1));
    for (auto _ : state) {
        const CUsageStatistics stats =
            CUsageStatistics::Pass(log.dir.filePath(QStringLiteral("logfile.log")), plan, tariff,
                                   range, CClock::Now().date());
        benchmark::DoNotOptimize(stats.calls);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    CClock::Install(nullptr);
}

void BM_OpenStatistics(benchmark::State& state)
{
    CFixedClock clock;
    CClock::Install(&clock);
    CBenchLog log(state.range(0));
    if (!log.written) {
        state.SkipWithError("cannot write the log");
        return;
    }
    log.store->Write(Keys::StatisticsRange, int(state.range(1)));
    for (auto _ : state) {
        CStatisticsDlg dlg(*log.store);
        QEventLoop loop;
        QObject::connect(&dlg, &CStatisticsDlg::Loaded, &loop, &QEventLoop::quit);
        loop.exec();
        dlg.show();
        dlg.repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dlg.Statistics());
        state.PauseTiming();
        dlg.hide();
        state.ResumeTiming();
    }
    CClock::Install(nullptr);
}

} // namespace

// The second argument is the range: 0 this cycle, 2 the last 12 cycles, 3 the whole log.
BENCHMARK(BM_StatisticsPass)
    ->Args({100'000, 2})
    ->Args({100'000, 3})
    ->Args({1'000'000, 2})
    ->Args({1'000'000, 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_OpenStatistics)
    ->Args({100'000, 0})
    ->Args({100'000, 2})
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 2})
    ->Args({1'000'000, 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
