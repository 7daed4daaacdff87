// How quickly the desktop program answers its operator, in-process on the
// simulated camera:
//  - from a committed control to its command handed to the port (the value
//    callback, the queue, the conversion and the write), over many commits
//    30 ms apart, as an operator's are;
//  - the longest the event loop goes unserved while a command waits out its
//    2-second time-out on a camera that never answers (a 1 ms timer measures
//    the gaps; repaints and a lens button's release need the same loop).
//   build/bench/bench_responsiveness [COMMITS]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/App.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "devices/DeviceTransports.h"
#include "devices/SimPorts.h"
#include "panels/Bindings.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "platform/Timing.h"
#include "resources/UlvoIccd.h"
#include "sim/SimEndpoint.h"
#include "support/BenchSupport.h"
#include "ui/Ui.h"

namespace {

QElapsedTimer g_clock;
qint64 g_sentNs = -1;

// The link tells the monitor hook right after the port took the line.
void noteSent(const char*, int received)
{
    if (!received && g_sentNs < 0) g_sentNs = g_clock.nsecsElapsed();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv)
{
    const int commits = argc > 1 ? std::max(10, std::atoi(argv[1])) : 500;
    DesktopOnSim desktop(argc, argv, true);
    if (!desktop.started()) {
        std::fprintf(stderr, "the program did not start with the camera\n");
        return 1;
    }
    // Factory mode feeds the hook; the monitor itself is not what is timed.
    Comm_SetTrafficHook(noteSent);
    g_clock.start();

    std::vector<double> us;
    for (int i = 0; i < commits; ++i) {
        SetCtrlVal(g_mainpanel, MAIN_ALV, 20 + i % 200);
        g_sentNs = -1;
        const qint64 start = g_clock.nsecsElapsed();
        panelbind::BoundValueCallback(g_mainpanel, MAIN_ALV, EVENT_COMMIT, nullptr, 0, 0);
        if (g_sentNs >= 0) us.push_back(static_cast<double>(g_sentNs - start) / 1000.0);
        // An operator's commits are far apart: the line is quiet again, and
        // the guard pause after a set's reply (against a late duplicate) is over.
        WaitForSystemEvents(0.03);
        ProcessSystemEvents();
    }
    std::printf(
        "commit to first byte handed to the port (%zu commits of ALC Level): median %.1f us, "
        "99th percentile %.1f us, longest %.1f us\n",
        us.size(), percentile(us, 0.5), percentile(us, 0.99), percentile(us, 1.0));

    // A camera that never answers: one query waits its whole time-out.
    SimCameraOnPort(1)->camera().faults().silent = true;
    qint64 last = g_clock.nsecsElapsed(), longest = 0;
    long ticks = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = g_clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++ticks;
    });
    tick.start(1);
    int value = 0;
    const qint64 waitStart = g_clock.nsecsElapsed();
    const int status = Comm_GetALV(&value);
    const double waited = static_cast<double>(g_clock.nsecsElapsed() - waitStart) / 1e9;
    tick.stop();
    std::printf(
        "a query waiting %.2f s for a reply that never comes (status %d): the event loop ran %ld times "
        "for a 1 ms timer; longest gap %.2f ms\n",
        waited, status, ticks, static_cast<double>(longest) / 1e6);

    QuitUserInterface(0);
    AppRun();
    AppStop();
    return 0;
}
