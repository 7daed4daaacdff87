// Start-up of the desktop program: from nothing to a main window filled from
// the camera (model query, shaping, the settings snapshot, the display),
// in-process against the simulated camera, without and with the factory
// screen's traffic monitor, and at 9600 baud against the wire time.  Then the
// program itself, started and ended whole, for its wall time and the memory
// it holds once started (peak resident set of the process).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/App.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "devices/DeviceTransports.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "support/BenchSupport.h"
#include "ui/Ui.h"

#ifndef ICCD_BIN_DIR
#define ICCD_BIN_DIR "."
#endif

namespace {

// One start and stop of the program's frame, in a working directory of its own.
class StartupRun {
public:
    explicit StartupRun(const char* device)
    {
        QDir::setCurrent(dir_.path());
        SetComPortDevice(1, QString::fromLatin1(device));
    }
    ~StartupRun()
    {
        ResetSimCameras();
        ClearComPortDevices();
        QDir::setCurrent(old_);
    }

    bool start(bool factory)
    {
        static char name[] = "iccd-control";
        static char fac[] = "/fac";
        char* argv[] = {name, factory ? fac : nullptr, nullptr};
        AppOptions options;
        options.checkInstance = false;
        return AppStart(factory ? 2 : 1, argv, options) == AppStartResult::Started && g_com_port == 1;
    }

    static void stop()
    {
        QuitUserInterface(0);
        AppRun();
        AppStop();
        ProcessSystemEvents();
    }

private:
    QString old_ = QDir::currentPath();
    QTemporaryDir dir_;
};

void BM_StartupInProcess(benchmark::State& state, bool factory)
{
    StartupRun run("sim:VKC-475");
    for (auto _ : state) {
        if (!run.start(factory)) state.SkipWithError("no camera found");
        state.PauseTiming();
        StartupRun::stop();
        state.ResumeTiming();
    }
}

// The same against a camera paced like a 9600-baud line: what an operator waits
// for with a real camera, nearly all of it wire time.
void BM_StartupPaced9600(benchmark::State& state)
{
    StartupRun run("sim:VKC-475,paced");
    for (auto _ : state) {
        if (!run.start(false)) state.SkipWithError("no camera found");
        state.PauseTiming();
        StartupRun::stop();
        state.ResumeTiming();
    }
}

// The program started as a process: wall time from start to exit and the peak
// resident set, taken from the kernel's accounting of finished children.
void BM_ProgramStartPeakRss(benchmark::State& state)
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("ICCD_COM1");
    const QStringList args = {"--model", "VKC-475", "--quit-after-start", "--instance-key",
                              QStringLiteral("bench-startup-%1").arg(QCoreApplication::applicationPid())};
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(ICCD_BIN_DIR "/iccd-control"), args);
        if (!program.waitForFinished(20000) || program.exitCode() != 0) {
            state.SkipWithError("iccd-control did not start and quit");
            break;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK_CAPTURE(BM_StartupInProcess, user, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_StartupInProcess, factory, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_StartupPaced9600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ProgramStartPeakRss)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(1);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, true);
}
