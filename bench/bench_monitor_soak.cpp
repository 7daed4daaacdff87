// A long factory session: the desktop program on the factory screen, its
// traffic monitor on, refreshing from the simulated camera over and over for
// a number of minutes (default 30), with a lens button pressed and released
// now and then.  Prints the resident memory once a minute; the monitor keeps
// its last lines only, so memory must stay flat after the first minute.
//   build/bench/bench_monitor_soak [MINUTES] [--user]
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/App.h"
#include "camera/Globals.h"
#include "devices/DeviceTransports.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "platform/Timing.h"
#include "resources/UlvoIccd.h"
#include "support/BenchSupport.h"
#include "ui/Ui.h"

namespace {

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(256, '\n');
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const double minutes = argc > 1 ? std::atof(argv[1]) : 30.0;
    // --user: the same session on the user screen, without the monitor, to
    // tell the monitor's memory from the rest.
    const bool factory = !(argc > 2 && std::string(argv[2]) == "--user");
    DesktopOnSim desktop(argc, argv, factory);
    if (!desktop.started()) {
        std::fprintf(stderr, "the program did not start on its screen with the camera\n");
        return 1;
    }

    const double start = Timer();
    long refreshes = 0;
    long firstMinuteKb = 0;
    long highestKb = 0;
    int minute = 0;
    std::printf("minute  resident KB  refreshes  monitor lines\n");
    while (Timer() - start < minutes * 60.0) {
        Mpnl_Refresh(g_mainpanel);
        ++refreshes;
        if (refreshes % 10 == 0) {
            Mpnl_ZFICallback(g_mainpanel, MAIN_ZM_SMALLUP, EVENT_LEFT_CLICK, nullptr, 0, 0);
            Mpnl_ZFICallback(g_mainpanel, MAIN_ZM_SMALLUP, EVENT_COMMIT, nullptr, 0, 0);
        }
        ProcessSystemEvents();
        if (Timer() - start >= (minute + 1) * 60.0) {
            ++minute;
            const long kb = residentKb();
            if (minute == 1) firstMinuteKb = kb;
            if (kb > highestKb) highestKb = kb;
            int lines = 0;
            GetNumTextBoxLines(g_mainpanel, MAIN_RS232, &lines);
            std::printf("%6d  %11ld  %9ld  %13d\n", minute, kb, refreshes, lines);
            std::fflush(stdout);
        }
    }
    std::printf(
        "growth after the first minute: %ld KB (highest %ld KB, after minute 1 %ld KB); %ld refreshes\n",
        highestKb - firstMinuteKb, highestKb, firstMinuteKb, refreshes);
    QuitUserInterface(0);
    AppRun();
    AppStop();
    return 0;
}
