// Running iccdctl in-process against a simulated camera mapped to port 1.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Iccdctl.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "sim/SimCamera.h"
#include "sim/SimEndpoint.h"

struct CliResult {
    int status;
    std::string out;
    std::string err;
    bool operator==(const CliResult&) const = default;
};

inline void PrintTo(const CliResult& r, std::ostream* os)
{
    *os << "status " << r.status << ", out \"" << r.out << "\", err \"" << r.err << '"';
}

/// Runs one iccdctl command line (without the program name) and collects its output.
inline CliResult RunIccdctlCommand(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = IccdctlMain(args, out, err);
    return {status, out.str(), err.str()};
}

/// Port 1 stays mapped to a simulated camera that outlives each run, so a test
/// can set the camera up before a command and look at it after.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { use("VKC-475"); }
    void TearDown() override
    {
        ClearComPortDevices();
        ResetSimCameras();
    }

    /// Maps port 1 to a fresh simulated camera of this model.
    void use(const char* model)
    {
        ResetSimCameras();
        SetComPortDevice(1, QStringLiteral("sim:") + QLatin1String(model));
    }
    sim::SimCamera& camera() { return SimCameraOnPort(1)->camera(); }
    static CliResult run(const std::vector<std::string>& args) { return RunIccdctlCommand(args); }
};
