#include "CliTest.h"

#include <QString>
#include <sstream>

#include "cli/Iccdctl.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "sim/SimEndpoint.h"

CliResult RunIccdctlCommand(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = IccdctlMain(args, out, err);
    return {status, out.str(), err.str()};
}

void CliTest::TearDown()
{
    ClearComPortDevices();
    ResetSimCameras();
}

void CliTest::use(const char* model)
{
    ResetSimCameras();
    SetComPortDevice(1, QStringLiteral("sim:") + QLatin1String(model));
}

sim::SimCamera& CliTest::camera()
{
    return SimCameraOnPort(1)->camera();
}
