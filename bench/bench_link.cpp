// Link benchmarks: transaction rate and overhead against the simulated camera
// (in-process and over a pseudo-terminal), CPU used while waiting out a reply
// time-out, and a run of 56 queries at 9600 baud against the wire time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstring>
#include <string>
#include <vector>

#include "camera/Globals.h"
#include "camera/Link.h"
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

// The integer queries of a colour camera's main settings pass.
const std::vector<std::string>& mainQueries()
{
    static const std::vector<std::string> queries = [] {
        std::vector<std::string> q;
        for (const char* m :
             {"SB1", "SB2", "SHE", "AEC", "SHS", "SMX", "DFC", "MIR", "CMD", "CGB", "CGG", "CGR",
              "IPH", "AWW", "YGA", "USA", "VSA", "HUE", "WBM", "AGN", "ALV", "AMX", "GAM", "VMD",
              "MFI", "MFT", "TMD", "FOC", "IRC", "ZMC", "DOU", "SHP", "SHD", "SAC", "SAC", "RSE",
              "SHA", "SEN", "SHG", "SSE", "HSM", "HSL", "HSR", "SSA", "SLT", "SLR", "SLT", "SLG",
              "SLT", "SLB", "SRT", "SRR", "SRT", "SRG", "SRT", "SRB"})
            q.push_back(std::string(":") + m + "?\r");
        return q;
    }();
    return queries;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void openLink(int port, const QString& device)
{
    SetComPortDevice(port, device);
    if (Comm_OpenPort(port, 9600) != 0) std::abort();
    g_com_port = port;
}

void closeLink()
{
    Comm_ClosePort(g_com_port);
    g_com_port = 0;
    ProcessSystemEvents();
    ClearComPortDevices();
}

void runQueries(benchmark::State& state)
{
    int value = 0;
    const auto& queries = mainQueries();
    size_t i = 0;
    for (auto _ : state) {
        if (Comm_GetIntVal(queries[i].c_str(), &value) != COMM_OK) state.SkipWithError("query failed");
        i = (i + 1) % queries.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_QueryInProcess(benchmark::State& state)
{
    openLink(1, QStringLiteral("sim:VKC-475"));
    const double cpu0 = cpuSeconds();
    runQueries(state);
    state.counters["cpu_us_per_txn"] = (cpuSeconds() - cpu0) * 1e6 / static_cast<double>(state.iterations());
    closeLink();
}
BENCHMARK(BM_QueryInProcess)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The simulator's own share of an in-process transaction, to be subtracted
// from the figure above to get the link's overhead.
void BM_SimulatorExecuteOnly(benchmark::State& state)
{
    sim::SimCamera camera(5);
    const auto& queries = mainQueries();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(camera.receive(queries[i]));
        i = (i + 1) % queries.size();
    }
}
BENCHMARK(BM_SimulatorExecuteOnly)->Unit(benchmark::kMicrosecond);

void BM_QueryOverPty(benchmark::State& state)
{
    QProcess sim;
    sim.start(QStringLiteral(ICCD_BIN_DIR "/iccdsim"), {"--model", "VKC-475", "--pty"});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        state.SkipWithError("iccdsim did not start");
        return;
    }
    openLink(2, QString::fromLocal8Bit(sim.readLine()).trimmed());
    const double cpu0 = cpuSeconds();
    runQueries(state);
    state.counters["cpu_us_per_txn"] = (cpuSeconds() - cpu0) * 1e6 / static_cast<double>(state.iterations());
    closeLink();
    sim.kill();
    sim.waitForFinished();
}
BENCHMARK(BM_QueryOverPty)->Unit(benchmark::kMicrosecond)->UseRealTime();

// CPU spent by one transaction that waits the full 2 seconds for a reply
// that never comes.
void BM_TimeoutWaitCpu(benchmark::State& state)
{
    openLink(1, QStringLiteral("sim:VKC-475"));
    SimCameraOnPort(1)->camera().faults().silent = true;
    double cpu = 0;
    for (auto _ : state) {
        int value = 0;
        const double cpu0 = cpuSeconds();
        if (Comm_GetIntVal(":AGN?\r", &value) != COMM_TIMEOUT) state.SkipWithError("expected a time-out");
        cpu += cpuSeconds() - cpu0;
    }
    state.counters["cpu_ms_per_timeout"] = cpu * 1e3 / static_cast<double>(state.iterations());
    closeLink();
    ResetSimCameras();
}
BENCHMARK(BM_TimeoutWaitCpu)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// 56 queries on a line paced at 9600 baud, against the time their bytes take
// on the wire (10 bit times per byte, command and reply).
void BM_56QueriesAt9600Baud(benchmark::State& state)
{
    openLink(1, QStringLiteral("sim:VKC-475,paced"));
    sim::SimCamera reference(5);
    double wireSeconds = 0;
    for (const std::string& q : mainQueries()) {
        const std::string reply = reference.execute(q.substr(0, q.size() - 1));
        wireSeconds += static_cast<double>(q.size() + reply.size()) * 10.0 / 9600.0;
    }
    double total = 0;
    for (auto _ : state) {
        const double start = Timer();
        int value = 0;
        for (const std::string& q : mainQueries())
            if (Comm_GetIntVal(q.c_str(), &value) != COMM_OK) state.SkipWithError("query failed");
        total += Timer() - start;
    }
    const double perRun = total / static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wireSeconds * 1e3;
    state.counters["run_ms"] = perRun * 1e3;
    state.counters["ratio_to_wire"] = perRun / wireSeconds;
    closeLink();
    ResetSimCameras();
}
BENCHMARK(BM_56QueriesAt9600Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
