// Snapshot benchmarks: a colour camera's main (56 transactions) and advanced
// (34) settings snapshot against the simulated camera, in-process and over a
// pseudo-terminal, and at 9600 baud against the time the bytes take on the
// wire.  Each benchmark repeats and reports the median; us_per_txn is the
// snapshot time divided by its transactions.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <string>
#include <vector>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "devices/DeviceTransports.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Timing.h"
#include "sim/SimEndpoint.h"
#include "support/BenchSupport.h"

#ifndef ICCD_BIN_DIR
#define ICCD_BIN_DIR "."
#endif

namespace {

constexpr int kMainTransactions = 56;
constexpr int kAdvancedTransactions = 34;
constexpr int kPtyPort = 2;

enum class Pass { Main, Advanced };

// Opens the port on device and identifies the camera, so the snapshot takes
// the colour camera's path.
void openCamera(int port, const QString& device)
{
    SetComPortDevice(port, device);
    if (Comm_OpenPort(port, 9600) != 0) std::abort();
    g_com_port = port;
    if (Comm_QueryAndRecordModel() != COMM_OK || g_cam_model_idx != 5) std::abort();
}

void closeCamera()
{
    Comm_ClosePort(g_com_port);
    g_com_port = 0;
    ProcessSystemEvents();
    ClearComPortDevices();
    ResetSimCameras();
}

bool snapshot(Pass pass)
{
    if (pass == Pass::Main) {
        CamMainSettings rec{};
        return Comm_QueryMainSettings(&rec) == 0;
    }
    CamAdvSettings rec{};
    return Comm_QueryAdvanced(&rec) == 0;
}

int transactions(Pass pass)
{
    return pass == Pass::Main ? kMainTransactions : kAdvancedTransactions;
}

void runSnapshots(benchmark::State& state, Pass pass)
{
    for (auto _ : state)
        if (!snapshot(pass)) state.SkipWithError("snapshot failed");
    state.counters["us_per_txn"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * transactions(pass),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SnapshotInProcess(benchmark::State& state, Pass pass)
{
    openCamera(1, QStringLiteral("sim:VKC-475"));
    runSnapshots(state, pass);
    closeCamera();
}

void BM_SnapshotOverPty(benchmark::State& state, Pass pass)
{
    QProcess sim;
    sim.start(QStringLiteral(ICCD_BIN_DIR "/iccdsim"), {"--model", "VKC-475", "--pty"});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        state.SkipWithError("iccdsim did not start");
        return;
    }
    openCamera(kPtyPort, QString::fromLocal8Bit(sim.readLine()).trimmed());
    runSnapshots(state, pass);
    closeCamera();
    sim.kill();
    sim.waitForFinished();
}

// Wire time of what the camera received and answered: 10 bit times per byte,
// command lines with their CR and the replies a camera of the same model gives.
double wireSeconds(const std::vector<std::string>& received, int baud)
{
    sim::SimCamera reference(5);
    double bytes = 0;
    for (const std::string& line : received)
        bytes += static_cast<double>(line.size() + 1 + reference.execute(line).size());
    return bytes * 10.0 / baud;
}

void BM_SnapshotPaced9600(benchmark::State& state, Pass pass)
{
    openCamera(1, QStringLiteral("sim:VKC-475,paced"));
    sim::SimCamera& camera = SimCameraOnPort(1)->camera();
    double total = 0;
    double wire = 0;
    for (auto _ : state) {
        camera.clearLog();
        const double start = Timer();
        if (!snapshot(pass)) state.SkipWithError("snapshot failed");
        total += Timer() - start;
        wire += wireSeconds(camera.log(), 9600);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire / n * 1e3;
    state.counters["run_ms"] = total / n * 1e3;
    state.counters["ratio_to_wire"] = total / wire;
    closeCamera();
}

BENCHMARK_CAPTURE(BM_SnapshotInProcess, main, Pass::Main)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SnapshotInProcess, advanced, Pass::Advanced)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SnapshotOverPty, main, Pass::Main)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SnapshotOverPty, advanced, Pass::Advanced)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SnapshotPaced9600, main, Pass::Main)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_SnapshotPaced9600, advanced, Pass::Advanced)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
