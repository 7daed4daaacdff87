// Snapshots over a bad line, for as long as one likes: pairs of snapshots
// (main, advanced) against the in-process simulated camera behind a relay that
// delays, repeats, splits and garbles reply lines at random (see
// tests/support/ReplyRelay.h).  Prints how many runs gave the camera's true
// values, how many reported a failure, and how many gave a wrong value with
// success.
//
//   bench_link_integrity [SEED [PAIRS [TIMEOUT_MS [LATE_MS]]]]
//
// TIMEOUT_MS replaces the 2 s reply time-out (default 100); a late line comes
// LATE_MS and 5 to 50 ms more after its time (default TIMEOUT_MS + 30, past
// an integer query's time-out but within a text query's, whose wait allows
// for a 225-byte line).  A LATE_MS beyond the text queries' wait shows what
// no rule can catch: a late text taken by the next text query.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "devices/DeviceTransports.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Timing.h"
#include "support/ReplyRelay.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InstallDeviceTransports();
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 20261207;
    const int pairs = argc > 2 ? std::atoi(argv[2]) : 5000;
    const int timeoutMs = argc > 3 ? std::atoi(argv[3]) : 100;
    const int lateMs = argc > 4 ? std::atoi(argv[4]) : timeoutMs + 30;

    SetComPortDevice(1, QStringLiteral("sim:VKC-475"));
    if (Comm_OpenPort(1, 9600) != 0) return 1;
    g_com_port = 1;
    if (Comm_QueryAndRecordModel() != COMM_OK) return 1;
    CamMainSettings mainTruth{};
    CamAdvSettings advTruth{};
    if (Comm_QueryMainSettings(&mainTruth) != 0 || Comm_QueryAdvanced(&advTruth) != 0) return 1;

    Comm_SetReplyTimeout(timeoutMs / 1000.0);
    ReplyRelay relay(*SimCameraOnPort(1), 1, seed, lateMs);
    SnapshotTally tally;
    const double start = Timer();
    RunSnapshots(pairs, mainTruth, advTruth, tally);
    std::printf(
        "seed %u, reply time-out %d ms, late lines %d ms: %d runs, %d true, %d reported failures, %d wrong "
        "(%d with only texts wrong) in %.1f s\n",
        seed, timeoutMs, lateMs, tally.runs, tally.trueResults, tally.reportedFailures, tally.wrongResults,
        tally.wrongTexts, Timer() - start);
    std::printf("lines late %d, repeated %d, lost %d\n", relay.late, relay.duplicated, relay.lost);
    if (!tally.firstWrong.empty()) std::printf("first wrong field: %s\n", tally.firstWrong.c_str());
    Comm_ClosePort(1);
    return tally.wrongResults == 0 ? 0 : 3;
}
