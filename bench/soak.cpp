// The soak: a long run of mixed camera traffic against the in-process
// simulated camera over a line that mangles replies at random (see
// tests/support/Soak.h), with figures for what a day of traffic would show:
// replies taken for the wrong command, resident memory after the warm-up,
// processor time per transaction, and how the transactions ended.
//
//   soak [--transactions N] [--seed S]      (default 100000 and 20261207)
//
// Exits with 3 when any transaction returned COMM_OK with what the camera did
// not give that command, or a lost device was reported as an answer.
#include <sys/resource.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "devices/DeviceTransports.h"
#include "platform/ComPortMap.h"
#include "platform/Timing.h"
#include "support/Soak.h"

namespace {

// The simulated camera needs no wire time; a fast rate keeps the allowance
// for a text reply's wire time from stretching every text time-out.
constexpr int kBaud = 115200;
constexpr double kReplyTimeout = 0.05;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    long transactions = 100000;
    unsigned seed = 20261207;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--transactions") == 0) {
            transactions = std::strtol(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        } else {
            std::fprintf(stderr, "usage: soak [--transactions N] [--seed S]\n");
            return 2;
        }
    }
    if (transactions < 10) transactions = 10;

    InstallDeviceTransports();
    SetComPortDevice(1, QStringLiteral("sim:VKC-475"));
    if (Comm_OpenPort(1, kBaud) != 0) return 1;
    g_com_port = 1;
    if (Comm_QueryAndRecordModel() != COMM_OK) return 1;
    Comm_SetReplyTimeout(kReplyTimeout);

    SoakRun soak(1, seed, kBaud);
    const double cpuStart = CpuSeconds();
    const double wallStart = Timer();
    const long warmUp = transactions / 10;
    soak.run(warmUp);
    const long rssWarm = ResidentKiB();
    soak.run(transactions - warmUp);
    const long rssEnd = ResidentKiB();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = Timer() - wallStart;
    const SoakCounts& c = soak.counts();

    std::printf("soak: seed %u, %ld transactions (%ld command lines), reply time-out %.0f ms, %d baud\n",
                seed, c.steps, c.commandLines, kReplyTimeout * 1000, kBaud);
    std::printf("wrong matches: %ld%s%s\n", c.wrong,
                c.firstWrong.empty() ? "" : ", first: ", c.firstWrong.c_str());
    std::printf("outcomes: ok %ld, nak %ld, timeout %ld, unrecognized %ld, lost %ld, busy %ld, other %ld\n",
                c.ok, c.nak, c.timeout, c.unrecognized, c.lost, c.busy, c.other);
    std::printf("device losses: %ld (link lost %ld, time-out %ld, other failure %ld, ok %ld)\n", c.losses,
                c.lossesLinkLost, c.lossesTimeout, c.lossesOtherFailure, c.lossesOk);
    std::printf("nested transactions during a wait: %ld, refused busy %ld\n", c.nestedTries, c.nestedRefused);
    std::printf(
        "line faults: late %ld, silent steps %ld, refusals %ld, garbage lines %ld, noise %ld, split %ld; "
        "snapshots %ld\n",
        c.lateLines, c.silentSteps, c.refusals, c.garbageLines, c.noiseChunks, c.splitLines, c.snapshots);
    std::printf("failures without a fault: %ld; time-outs of a process not run in time: %ld\n",
                c.unexplainedFailures, c.heldBackByMachine);
    std::printf("resident memory: %ld KiB after the first %ld transactions, %ld KiB at the end (%+ld KiB)\n",
                rssWarm, warmUp, rssEnd, rssEnd - rssWarm);
    std::printf("time: %.1f s wall, %.2f s CPU: %.1f us CPU per transaction, %.1f us per command line\n",
                wall, cpu, cpu / double(c.steps) * 1e6, cpu / double(c.commandLines) * 1e6);

    Comm_ClosePort(1);
    return c.wrong == 0 && c.lossesOk == 0 ? 0 : 3;
}
