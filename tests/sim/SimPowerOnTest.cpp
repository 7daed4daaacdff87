// The simulated camera's power-on values against what is known of each model,
// written here on their own so that the simulator cannot drift from them.
#include <gtest/gtest.h>

#include "sim/SimCamera.h"

namespace {

struct PowerOn {
    const char* model;
    int ssx;  // longest shutter speed: 525 or 625 lines, the older family's field lines 262 or 312
    int vpd;  // 50 mV: count 130 under the offset rule round(102 + 50 x 0.56), else 50 mV itself
    int vwc;  // about 700 mV: count 143 under round(112 + (700 - 228) x 0.06528662), else 700 mV itself
    int aec;  // ALC automatic, except on the EH-4000, which has its AGC mode instead
    int amd;
    int cmd;  // the colour models start in colour
};

constexpr PowerOn kModels[] = {
    {"VK-400", 262, 130, 143, 1, 0, 0}, {"EH-4000", 262, 130, 143, 0, 1, 0},
    {"VK-405", 312, 130, 143, 1, 0, 0}, {"VKC-473", 525, 50, 143, 1, 0, 1},
    {"VK-470", 525, 50, 700, 1, 0, 0},  {"VKC-475", 625, 50, 143, 1, 0, 1},
    {"VK-473", 525, 50, 700, 1, 0, 0},  {"VK-475", 625, 50, 700, 1, 0, 0},
    {"LS-370", 525, 50, 700, 1, 0, 0},  {"LS-373", 525, 50, 700, 1, 0, 0},
    {"LS-375", 625, 50, 700, 1, 0, 0},  {"LSC-373", 525, 50, 143, 1, 0, 1},
    {"LSC-375", 625, 50, 143, 1, 0, 1},
};
static_assert(std::size(kModels) == sim::kModelCount);

TEST(SimPowerOn, EachModelStartsWithItsKnownValues)
{
    for (const PowerOn& m : kModels) {
        SCOPED_TRACE(m.model);
        const int row = sim::ModelRowFromName(m.model);
        ASSERT_GE(row, 0);
        const sim::SimCamera camera(row);
        EXPECT_EQ(camera.reg("SSX"), m.ssx);
        EXPECT_EQ(camera.reg("VPD"), m.vpd);
        EXPECT_EQ(camera.reg("VWC"), m.vwc);
        EXPECT_EQ(camera.reg("AEC"), m.aec);
        EXPECT_EQ(camera.reg("AMD"), m.amd);
        EXPECT_EQ(camera.reg("CMD"), m.cmd);
    }
}

}  // namespace
