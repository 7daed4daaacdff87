#include "support/SimLink.h"

#include <QTimer>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "sim/SimEndpoint.h"

void SimLinkTest::openSim(const char* model, int port)
{
    if (g_com_port != 0) Comm_ClosePort(g_com_port);
    SetComPortDevice(port, QStringLiteral("sim:") + QLatin1String(model));
    ASSERT_EQ(Comm_OpenPort(port, 9600), 0);
    g_com_port = port;
    g_prog_type = 0;
    ASSERT_EQ(Comm_QueryAndRecordModel(), COMM_OK);
    camera(port).clearLog();
}

void SimLinkTest::TearDown()
{
    Comm_SetTrafficHook(nullptr);
    Comm_SetReplyTimeout(0);
    Comm_DiscardQueuedActions();
    for (int port = 1; port <= kMaxComPort; ++port) Comm_ClosePort(port);
    g_com_port = 0;
    g_prog_type = 0;
    g_hardware_rev = 0;
    PumpEvents(0);
    ClearComPortDevices();
    ResetSimCameras();
}

sim::SimCamera& SimLinkTest::camera(int port)
{
    return SimCameraOnPort(port)->camera();
}

void SimLinkTest::injectLater(int delayMs, const std::string& bytes, int port)
{
    QTimer::singleShot(
        delayMs, [port, bytes] { ComInjectReceived(port, bytes.data(), static_cast<int>(bytes.size())); });
}

void PumpEvents(int ms)
{
    const double end = Timer() + ms / 1000.0;
    do {
        WaitForSystemEvents(end - Timer());
    } while (Timer() < end);
}
