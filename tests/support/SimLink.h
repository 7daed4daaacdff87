// A camera link to the in-process simulated camera, for tests of everything
// that talks to the camera.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "sim/SimCamera.h"

/// Maps a port to "sim:MODEL", opens it as the camera link (g_com_port) and
/// records the model.  Everything is undone by TearDown.
class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override { openSim("VKC-475"); }
    void TearDown() override;

    /// (Re)opens the link on port to a simulated camera of the given model.
    void openSim(const char* model, int port = 1);

    sim::SimCamera& camera(int port = 1);
    /// Command lines the camera received since the last clearLog().
    const std::vector<std::string>& sent(int port = 1) { return camera(port).log(); }
    void clearLog(int port = 1) { camera(port).clearLog(); }

    /// Delivers bytes to the link as if the camera sent them, delayMs from now.
    void injectLater(int delayMs, const std::string& bytes, int port = 1);
};

/// Runs the event loop for ms milliseconds.
void PumpEvents(int ms);
