// Running iccdctl in-process against a simulated camera mapped to port 1.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimCamera.h"

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

/// Runs one iccdctl command line (without the program name) and collects its output.
CliResult RunIccdctlCommand(const std::vector<std::string>& args);

/// Port 1 stays mapped to a simulated camera that outlives each run, so a test
/// can set the camera up before a command and look at it after.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { use("VKC-475"); }
    void TearDown() override;

    /// Maps port 1 to a fresh simulated camera of this model.
    void use(const char* model);
    sim::SimCamera& camera();
    static CliResult run(const std::vector<std::string>& args) { return RunIccdctlCommand(args); }
};
