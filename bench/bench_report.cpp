// Opening the report window on generated logs: the log read (on the window's thread for
// small logs, on a thread of its own for large ones), the rows in the model, the columns
// sized and the first paint, offscreen. The RSS counters are the process's resident memory
// with the last window open, and before the first one.
#include "loggen.h"
#include "support/exampletariff.h"

#include "billing/gui/reportdlg.h"
#include "billing/gui/reportmodel.h"
#include "common/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// VmRSS of /proc/self/status in MiB (0 when it cannot be read).
double ResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void BM_OpenReport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("logfile.log"));
    if (!CLogGenerator::Write(log, state.range(0))) {
        state.SkipWithError("cannot write the log");
        return;
    }
    CSettingsStore store(dir.filePath(QStringLiteral("ov.ini")));
    store.Write(Keys::IniPath, dir.path());
    CExampleTariff::WriteTo(store);

    const double before = ResidentMiB();
    double open = 0;
    for (auto _ : state) {
        CReportDlg dlg(store);
        if (dlg.Loading()) {
            QEventLoop loop;
            QObject::connect(&dlg, &CReportDlg::Loaded, &loop, &QEventLoop::quit);
            loop.exec();
        }
        dlg.show();
        dlg.repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dlg.Model().rowCount());
        open = ResidentMiB();
        state.PauseTiming();
        dlg.hide();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["rss_before_MiB"] = before;
    state.counters["rss_open_MiB"] = open;
}

} // namespace

BENCHMARK(BM_OpenReport)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
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
