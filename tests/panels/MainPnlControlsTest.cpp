// The main panel's value controls against the simulated camera: what each one
// sends, what the panel shows afterwards, the error pop-ups, the mode and
// access rules, and the model change.
#include <QTimer>

#include "MainPanelFixture.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "panels/MainPnl.h"

namespace {

using MainPnlControls = MainPanelTest;

// The status line says what the last change did, as the control shows it.
TEST_F(MainPnlControls, TheStatusLineSaysWhatEachChangeDid)
{
    start("VK-470", {{"AEC", 0}});
    const struct {
        int control;
        double value;
        const char* said;
    } cases[] = {
        {MAIN_DFC, 0, "White Blemish Compensation set to Off"},
        {MAIN_AGN, 12, "Manual Gain (dB) set to 12.00"},
        {MAIN_SHS, 300, "Shutter Speed (lines) set to 300"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(uitest::Commit(panel(), c.control, c.value), 0);
        EXPECT_EQ(lastAction(), c.said);
    }
    camera().faults().refuse = {"AGN="};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AGN, 6.0), 0);
    EXPECT_EQ(lastAction(), "Manual Gain (dB) not changed: Camera returned error message NAK.");
}

TEST_F(MainPnlControls, EachControlSendsItsCommand)
{
    struct Send {
        int control;
        double value;
        const char* line;
    };
    const auto expectSends = [this](std::initializer_list<Send> cases) {
        for (const Send& c : cases) EXPECT_EQ(sends(c.control, c.value), Lines{c.line}) << c.line;
    };
    // clang-format off
    // Manual: gain and shutter are the operator's.
    start("VK-470", {{"AEC", 0}});
    expectSends({{MAIN_GAM, 0, ":GAM=0"}, {MAIN_VMD, 1, ":VMD=1"}, {MAIN_SHE, 1, ":SHE=1"},
                 {MAIN_MFI, 2, ":MFI=2"}, {MAIN_MFT, 0, ":MFT=0"}, {MAIN_TMD, 1, ":TMD=1"},
                 {MAIN_DFC, 0, ":DFC=0"}, {MAIN_MIR, 1, ":MIR=1"}});

    start("VK-475", {{"AEC", 0}, {"SSX", 1200}});  // a shutter range of 1200 lines, so 1000 is open
    expectSends({{MAIN_SHS, 1000, ":SHS=1000"}});
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 63.56, 1e-9);

    // Automatic with the electronic shutter: the limits are.
    start("VK-470", {{"AEC", 1}, {"ESH", 1}});
    expectSends({{MAIN_ALV, 100, ":ALV=100"}, {MAIN_SMX, 200, ":SMX=200"}});

    start("VKC-475", 1);  // colour mode and gains are factory settings
    // Gains: 1 + (g - 0.001) x 1024.012, rounded; percentages of 63 and 255, truncated.
    expectSends({{MAIN_CMD, 0, ":CMD=0"}, {MAIN_IPH, 2, ":IPH=2"}, {MAIN_WBM, 1, ":WBM=1"},
                 {MAIN_CGAIN_RED, 1.5, ":CGR=1536"}, {MAIN_CGAIN_GREEN, 0.75, ":CGG=768"},
                 {MAIN_CGAIN_BLUE, 2.25, ":CGB=2304"}, {MAIN_HUE, 40.0, ":HUE=102"},
                 {MAIN_VSAT, 60.0, ":VSA=37"}, {MAIN_USAT, 70.0, ":USA=44"}, {MAIN_YGAIN, 80.0, ":YGA=50"}});
    // clang-format on
    EXPECT_EQ(camera().reg("VSA"), 37);
    EXPECT_TRUE(popups().empty());
    // Where the conversion rounds and nothing is read back, the panel shows
    // the count that went out, converted back, not the figure typed.
    EXPECT_NEAR(realVal(MAIN_VSAT), 58.730, 1e-3);         // 100 x 37 / 63
    EXPECT_NEAR(realVal(MAIN_YGAIN), 79.365, 1e-3);        // 100 x 50 / 63
    EXPECT_NEAR(realVal(MAIN_CGAIN_RED), 1.500006, 1e-4);  // 0.001 + 1535 x 0.00097655103
    // A refused value is reported; nothing went out to be shown converted back.
    camera().faults().refuse = {"USA"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_USAT, 70.0), 0);
    EXPECT_EQ(popups(), std::vector{Refused("Setting USA (U-Sat) to 69.84 % (count 44)")});
}

TEST_F(MainPnlControls, GainsShowTheValueTheCameraTook)
{
    start("VK-470", {{"AEC", 0}});
    // 30 dB: 852.27 counts under 28.409 per dB (a constant of 28.49 would give 855).
    EXPECT_EQ(sends(MAIN_AGN, 30.0), (Lines{":AGN=852", ":AGN?"}));
    EXPECT_NEAR(realVal(MAIN_AGN), 29.9904, 1e-4);  // 852 x 0.0352, not the 30 typed

    camera().setReg("AEC", 1);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_EQ(sends(MAIN_AMX, 20.0), (Lines{":AMX=568", ":AMX?"}));
    EXPECT_NEAR(realVal(MAIN_AMX), 19.9936, 1e-4);

    // Refused, and not readable either: the message, and the gain the camera
    // still holds, neither the refused 25 dB nor 0 dB.
    camera().faults().refuse = {"AMX"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AMX, 25.0), 0);
    EXPECT_EQ(popups(), std::vector{Error(
                            "Camera returned error message NAK.\n"
                            "Setting AMX (ALC Max Gain) to 24.99 dB (count 710): the camera refused it.")});
    EXPECT_NEAR(realVal(MAIN_AMX), 19.9936, 1e-4);

    // Answered with an overlong line, which is neither an acknowledgement nor
    // a count: whether the camera took the gain cannot be known, so the
    // message, and the gain last confirmed.
    camera().faults().refuse.clear();
    camera().faults().overlong = {"AMX"};
    Comm_SetReplyTimeout(0.2);
    popups().clear();
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AMX, 30.0), 0);
    Comm_SetReplyTimeout(0);
    EXPECT_EQ(camera().reg("AMX"), 852);
    EXPECT_FALSE(popups().empty());
    EXPECT_NEAR(realVal(MAIN_AMX), 19.9936, 1e-4);
}

TEST_F(MainPnlControls, FailuresShowTheStatusText)
{
    start("VK-470", {{"AEC", 0}});
    camera().faults().refuse = {"GAM"};
    camera().faults().garbage = {"MIR"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MIR, 1), 0);
    EXPECT_EQ(intVal(MAIN_GAM), 1);  // the camera's gamma, not the refused one
    camera().faults().silent = true;
    ASSERT_EQ(uitest::Commit(panel(), MAIN_SHS, 100), 0);
    EXPECT_EQ(intVal(MAIN_SHS), 525);                 // still the camera's speed
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 33.369, 1e-9);  // and its duration, 525 x 0.06356
    EXPECT_EQ(popups(),
              (std::vector{Refused("Setting GAM (Gamma) to 0"),
                           Error("Camera returned unrecognized response.\nSetting MIR (Mirror Image) to 1: "
                                 "the reply on COM1 (sim:VK-470) was not one the command can have."),
                           Error("Timeout error waiting for camera response.\nSetting SHS (Shutter Speed) "
                                 "to 100: no reply came on COM1 (sim:VK-470) within 2.0 s.")}));
}

TEST_F(MainPnlControls, ModeDecidesWhichControlsAreOpen)
{
    start("VK-470");  // automatic, electronic shutter off
    EXPECT_EQ(sends(MAIN_MODE, 0), (Lines{":AEC=0", ":AEC?", ":SHE=0", ":AGN?", ":SHS?", ":ESH?"}));
    EXPECT_EQ(intVal(MAIN_MODE), 0);
    EXPECT_EQ(intVal(MAIN_SHE), 0);
    EXPECT_FALSE(dimmed(MAIN_SHE));
    EXPECT_FALSE(dimmed(MAIN_AGN));
    EXPECT_NEAR(realVal(MAIN_AGN), 2.0064, 1e-4);  // 57 x 0.0352
    EXPECT_EQ(intVal(MAIN_SHS), 525);
    for (int c : {MAIN_ALV, MAIN_AMX, MAIN_SMX}) EXPECT_TRUE(dimmed(c)) << c;
    EXPECT_FALSE(dimmed(MAIN_SHS));

    camera().setReg("ESH", 1);
    EXPECT_EQ(sends(MAIN_MODE, 1), (Lines{":AEC=1", ":AEC?", ":SHE=1", ":ESH?"}));
    EXPECT_EQ(intVal(MAIN_SHE), 1);
    for (int c : {MAIN_SHE, MAIN_AGN, MAIN_SHS, MAIN_TIMEMS}) EXPECT_TRUE(dimmed(c)) << c;
    for (int c : {MAIN_ALV, MAIN_AMX, MAIN_SMX}) EXPECT_FALSE(dimmed(c)) << c;
    EXPECT_TRUE(popups().empty());

    // The EH-4000 switches its AGC and nothing else.
    start("EH-4000");
    EXPECT_EQ(sends(MAIN_MODE, 0), (Lines{":AMD=0", ":AMD?"}));
    EXPECT_FALSE(dimmed(MAIN_AGN));
    EXPECT_TRUE(dimmed(MAIN_ALV));

    // The mode is set, then read back; the read-back succeeding must not hide
    // that the camera refused the setting.
    start("VK-470");
    camera().faults().refuse = {"AEC"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MODE, 0), 0);
    EXPECT_EQ(popups(), std::vector{Refused("Setting AEC (ALC Mode) to 0")});
}

// Pulse Width Mode (3) locks the shutter speed and manual triggering (0) opens
// it again, following the same rule as the display: automatic mode with the
// electronic shutter on keeps it locked.
TEST_F(MainPnlControls, PulseWidthTriggerLocksTheShutterSpeed)
{
    const struct {
        const char* model;
        int aec, esh, tmdBefore;
        std::vector<int> chosen;
        bool locked;
    } cases[] = {
        {"VK-470", 0, 0, 0, {3}, true},
        {"VK-470", 0, 0, 0, {3, 0}, false},
        {"VK-470", 1, 1, 0, {3, 0}, true},
        {"VK-400", 0, 0, 3, {}, true},  // already in Pulse Width Mode: locked from the start
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " AEC " + std::to_string(c.aec) + ", " +
                     std::to_string(c.chosen.size()) + " trigger modes chosen");
        start(c.model, {{"AEC", c.aec}, {"ESH", c.esh}, {"TMD", c.tmdBefore}});
        for (int tmd : c.chosen) ASSERT_EQ(uitest::Commit(panel(), MAIN_TMD, tmd), 0);
        EXPECT_EQ(intVal(MAIN_TMD), c.chosen.empty() ? c.tmdBefore : c.chosen.back());
        for (int control : {MAIN_SHS, MAIN_TIMEMS}) EXPECT_EQ(dimmed(control), c.locked) << control;
    }
}

TEST_F(MainPnlControls, WithdrawingAlcAccessSetsManualFirst)
{
    start("VK-470", 1);
    ASSERT_EQ(intVal(MAIN_MODE), 1);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AGC_ACCESS, 0), 0);
    const Lines expected{":AEC=0", ":AEC?", ":SHE=0", ":AGN?", ":SHS?", ":ESH?", ":SB1=0"};
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(intVal(MAIN_MODE), 0);
    EXPECT_TRUE(dimmed(MAIN_MODE));
    EXPECT_EQ(camera().reg("AEC"), 0);
    EXPECT_EQ(camera().reg("SB1"), 0);

    EXPECT_EQ(sends(MAIN_AGC_ACCESS, 1), (Lines{":SB1=1"}));
    EXPECT_FALSE(dimmed(MAIN_MODE));
    EXPECT_TRUE(popups().empty());

    // A camera that stays in automatic keeps its access: the user screen must
    // not be locked in automatic mode.
    start("VK-470", 1);
    camera().faults().refuse = {"AEC"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AGC_ACCESS, 0), 0);
    EXPECT_EQ(camera().reg("SB1"), 1);
    EXPECT_EQ(intVal(MAIN_AGC_ACCESS), 1);
    EXPECT_FALSE(dimmed(MAIN_MODE));
    EXPECT_EQ(popups(), std::vector{Refused("Setting AEC (ALC Mode) to 0")});
}

TEST_F(MainPnlControls, WithdrawingBlemishAccessTurnsCompensationOffFirst)
{
    start("VK-473", 1);
    ASSERT_EQ(intVal(MAIN_DFC), 1);
    EXPECT_EQ(sends(MAIN_DFC_ACCESS, 0), (Lines{":DFC=0", ":SB2=0"}));
    EXPECT_EQ(intVal(MAIN_DFC), 0);
    EXPECT_TRUE(dimmed(MAIN_DFC));
    EXPECT_EQ(sends(MAIN_DFC_ACCESS, 1), (Lines{":SB2=1"}));
    EXPECT_FALSE(dimmed(MAIN_DFC));

    start("EH-4000", 1);
    EXPECT_EQ(sends(MAIN_DFC_ACCESS, 0), (Lines{":SB2=0"}));

    start("VK-473", 1);
    camera().faults().refuse = {"DFC"};
    EXPECT_EQ(sends(MAIN_DFC_ACCESS, 0), (Lines{":DFC=0", ":SB2?"}));
    EXPECT_EQ(intVal(MAIN_DFC_ACCESS), 1);
    EXPECT_EQ(popups(), std::vector{Refused("Setting DFC (White Blemish Compensation) to 0")});
}

TEST_F(MainPnlControls, WhiteBalanceOnceShowsTheNewGains)
{
    start("VKC-475");
    ASSERT_EQ(uitest::Click(panel(), MAIN_AWB), 0);
    EXPECT_EQ(sent(), (Lines{":AWB!", ":CGR?", ":CGG?", ":CGB?"}));
    // 0.001 + (count - 1) x 0.00097655103 for the counts 983, 1024 and 1071.
    EXPECT_NEAR(realVal(MAIN_CGAIN_RED), 0.959973, 1e-5);
    EXPECT_NEAR(realVal(MAIN_CGAIN_GREEN), 1.000012, 1e-5);
    EXPECT_NEAR(realVal(MAIN_CGAIN_BLUE), 1.045910, 1e-5);
}

TEST_F(MainPnlControls, ModelChangeAcceptedAndRefused)
{
    start("VKC-475", 1);
    ASSERT_EQ(uitest::Commit(panel(), MAIN_MODEL, 6), 0);  // VK-473
    EXPECT_GE(sent().size(), 3u);
    EXPECT_EQ(firstSent(2), (Lines{":CAM=6", ":SSX?"}));  // shaped for the new model, then read again
    EXPECT_EQ(g_cam_model_user_idx, 6);
    EXPECT_EQ(g_cam_model_idx, 6);
    EXPECT_EQ(title(), "Ulvo VK-473 Camera Control");
    EXPECT_EQ(minOf(MAIN_AGN), 3.0);
    EXPECT_EQ(intVal(MAIN_REF_ACTIVE), 0);
    EXPECT_TRUE(popups().empty());
    // The camera's shutter speed is beyond the new model's range: it and its
    // duration are shown, not the new limit, also after a refresh.
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(noValue(MAIN_SHS), "The camera holds 625, outside what this control sets (1 to 525).");
        EXPECT_NEAR(realVal(MAIN_TIMEMS), 39.725, 1e-9);  // 625 x 0.06356
        ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    }

    clearLog();
    camera().faults().refuse = {"CAM"};
    EXPECT_EQ(sends(MAIN_MODEL, 12), (Lines{":CAM=12"}));
    EXPECT_EQ(popups(), std::vector{Error("          Failure setting camera model.\n"
                                          "Selected model may be incompatible with FPGA")});
    EXPECT_EQ(intVal(MAIN_MODEL), 6);
    EXPECT_EQ(g_cam_model_user_idx, 6);
    EXPECT_EQ(title(), "Ulvo VK-473 Camera Control");
}

// A time in ms goes out as the nearest line count the lines control allows;
// both fields then show what the camera holds.
TEST_F(MainPnlControls, ExposureTypedInMillisecondsSetsTheNearestLineCount)
{
    const struct {
        double typed;
        int lines;
        double shown;
    } cases[] = {
        {30.0, 472, 30.00032},  // 471.995 lines
        {10.0, 157, 9.97892},   // 157.332 lines
        {0.0, 1, 0.06356},      // below one line: the shortest
        {5000.0, 525, 33.369},  // beyond the model's longest
    };
    start("VK-470", {{"AEC", 0}});
    for (const auto& c : cases) {
        ASSERT_EQ(uitest::Commit(panel(), MAIN_TIMEMS, c.typed), 0);
        EXPECT_EQ(camera().reg("SHS"), c.lines) << c.typed;
        EXPECT_EQ(intVal(MAIN_SHS), c.lines) << c.typed;
        EXPECT_NEAR(realVal(MAIN_TIMEMS), c.shown, 1e-9) << c.typed;
    }
    EXPECT_TRUE(popups().empty());

    // Refused: both fields keep the camera's 525 lines.
    camera().faults().refuse = {"SHS"};
    ASSERT_EQ(uitest::Commit(panel(), MAIN_TIMEMS, 20.0), 0);
    EXPECT_EQ(intVal(MAIN_SHS), 525);
    EXPECT_NEAR(realVal(MAIN_TIMEMS), 33.369, 1e-9);
    EXPECT_EQ(popups(), (std::vector{Refused("Setting SHS (Shutter Speed) to 315")}));  // 314.663 lines
}

}  // namespace
