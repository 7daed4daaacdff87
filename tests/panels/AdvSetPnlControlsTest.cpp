// The Advanced Settings panel's controls: what each sends, what the panel
// shows afterwards, the ALC window checks, the unit identification, blemish
// location, the electronic shutter's effect on the main panel, the lens
// parameters, and refused or delayed changes.

#include "MainPanelFixture.h"
#include "camera/LinkQueue.h"
#include "panels/AdvSetPnlInternal.h"

namespace {

// The colour matrix is in 1024ths; the blemish threshold in tenths of a
// percent, which the camera holds rounded.  On a basic camera 51 mV is count
// round(102 + 51 x 0.56) = 131, read back as 51.79 mV, and 650 mV is
// round(112 + 422 x 0.06528662) = 140, read back as 656.88 mV.
TEST_F(AdvSetTest, EachControlSendsItsCommandAndShowsWhatTheCameraHolds)
{
    const struct {
        const char* model;
        int control;
        double value;
        Lines lines;
        double shown = -1;  // what the control shows afterwards; < 0: not checked
    } cases[] = {
        // clang-format off
        {"VKC-475", ADVSET_C_BRIGHT_SPD, 12, {":BTS=12"}}, {"VKC-475", ADVSET_C_DARK_SPD, 13, {":DKS=13"}},
        {"VKC-475", ADVSET_C_LOGAVG_WT, 14, {":LAW=14"}}, {"VKC-475", ADVSET_C_IMPULSE_FLT, 15, {":IFC=15"}},
        {"VKC-475", ADVSET_C_VPS, 0, {":VPS=0"}}, {"VKC-475", ADVSET_C_R1, 1.5, {":KR1=1536"}},
        {"VKC-475", ADVSET_C_B2, 0.25, {":KB2=256"}}, {"VKC-475", ADVSET_C_G3, 3.992, {":KG3=4088"}},
        {"VKC-475", ADVSET_C_BTH, 12.34, {":BTH=123"}, 12.3},
        {"VK-470", ADVSET_C_WINDISP, 1, {":WDS=1"}}, {"VK-470", ADVSET_C_ALCMODE, 2, {":ALM=2"}},
        {"VK-470", ADVSET_C_HIGHSEN, 1, {":BIN=1"}}, {"VK-470", ADVSET_C_CD_ADDR3, 517, {":CD3=517"}},
        {"VK-470", ADVSET_C_CDI, 1, {":CDI=1"}},
        {"VK-400", ADVSET_VPD, 51.0, {":VPD=131", ":VPD?"}, 51.7857},
        {"VK-400", ADVSET_VWC, 650.0, {":VWC=140", ":VWC?"}, 656.878},
        // clang-format on
    };
    std::string model;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        if (model != c.model) {
            start(c.model, 1);
            open();
            model = c.model;
        }
        EXPECT_EQ(popSends(c.control, c.value), c.lines);
        if (c.shown >= 0) {
            EXPECT_NEAR(popReal(c.control), c.shown, 1e-3);
        }
        EXPECT_TRUE(popups().empty());
    }
}

TEST_F(AdvSetTest, TheAlcWindowNeverTurnsEmptyOrInverted)
{
    start("VK-470", {{"ULX", 100}, {"ULY", 50}, {"LRX", 600}, {"LRY", 400}, {"WXX", 700}, {"WYX", 480}});
    open();
    const struct {
        int control, value, shownAfter;
        const char* message;
    } refused[] = {
        {ADVSET_C_WIN_ULX, 600, 100, "Upper left X must be less than lower right X"},
        {ADVSET_C_WIN_ULY, 450, 50, "Upper left Y must be less than lower right Y"},
        {ADVSET_C_WIN_LRX, 100, 600, "Lower right X must be greater than upper left X"},
        {ADVSET_C_WIN_LRY, 20, 400, "Lower right Y must be greater than upper left Y"},
    };
    for (const auto& r : refused) {
        uitest::ClearPopups();
        ASSERT_EQ(uitest::Commit(pop_, r.control, r.value), 0);
        EXPECT_EQ(popups(), std::vector<uitest::Popup>{Error(r.message)});
        EXPECT_EQ(popInt(r.control), r.shownAfter);
    }
    EXPECT_TRUE(sent().empty());

    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_WIN_ULX, 599), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_WIN_ULY, 60), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_WIN_LRX, 640), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_WIN_LRY, 401), 0);
    EXPECT_EQ(sent(), (Lines{":ULX=599", ":ULY=60", ":LRX=640", ":LRY=401"}));
}

TEST_F(AdvSetTest, UnitIdentificationIsAlwaysSixteenPrintableCharacters)
{
    using advpnl::JoinUnitIdentification;
    EXPECT_EQ(JoinUnitIdentification("AB", "2026", "R"), "AB    2026    R ");
    EXPECT_EQ(JoinUnitIdentification("ABCDEFGH", "2026120799", "R7X"), "ABCDEF20261207R7");
    EXPECT_EQ(JoinUnitIdentification("C47521", "20250317", "C2"),
              "C47521"
              "20250317C2");
    EXPECT_EQ(JoinUnitIdentification("A\rB\x7f", "\x01", ""), "AB              ");

    start("VKC-475", 1);
    open();
    EXPECT_EQ(popSends(ADVSET_C_CUSTID, "Bench 4"), (Lines{":CID=Bench 4"}));
    EXPECT_EQ(popSends(ADVSET_C_FACTID, "XY"), (Lines{":WSF=XY    20250317C2"}));
    EXPECT_EQ(popText(ADVSET_C_FACTID), "XY    ");
    clearLog();
    // What cannot be typed never reaches the field.
    EXPECT_EQ(popSends(ADVSET_C_REVID, "\tQ\r9Z"), (Lines{":WSF=XY    20250317Q9"}));
    EXPECT_EQ(popAttr(ADVSET_C_DATEID, ATTR_MAX_ENTRY_LENGTH), 8);
    EXPECT_EQ(popAttr(ADVSET_C_CUSTID, ATTR_MAX_ENTRY_LENGTH), 16);

    camera().faults().refuse = {"WSF"};
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_DATEID, "1999"), 0);
    EXPECT_EQ(popText(ADVSET_C_DATEID), "20250317");  // what the camera still holds
    EXPECT_EQ(popups(), std::vector<uitest::Popup>{
                            Error("Camera returned error message NAK.\n"
                                  "Setting WSF to \"XY    1999    Q9\": the camera refused it.")});
}

TEST_F(AdvSetTest, LocatingBlemishesAsksFirstAndRestartsCompensationThatIsOn)
{
    const auto locate = [this](bool ok) {
        uitest::AnswerConfirm(ok);
        return uitest::Click(pop_, ADVSET_C_LOCATEDEFECTS);
    };
    // A threshold of 50 %: (1000 - 500) / 25 + 1 = 21 blemishes.
    start("VK-470", {{"BTH", 500}}, 1);
    ASSERT_EQ(intVal(MAIN_DFC), 1);
    open();
    // The map the camera holds is replaced only when the operator agrees.
    ASSERT_EQ(locate(false), 0);
    EXPECT_TRUE(sent().empty());
    ASSERT_EQ(locate(true), 0);
    EXPECT_EQ(sent(), (Lines{":LDF!", ":BCT?", ":DFC=0", ":DFC=1"}));
    EXPECT_EQ(popInt(ADVSET_C_BCT), 21);
    EXPECT_EQ(lastAction(), "Locate Blemishes done");

    start("VK-470", {{"DFC", 0}}, 1);
    open();
    ASSERT_EQ(locate(true), 0);
    EXPECT_EQ(sent(), (Lines{":LDF!", ":BCT?"}));

    // Pressed while the camera is busy: done once it is free.
    clearLog();
    {
        CommOperation busy;
        ASSERT_EQ(locate(true), 0);
        EXPECT_TRUE(sent().empty());
    }
    EXPECT_EQ(sent(), (Lines{":LDF!", ":BCT?"}));

    // A refused location is not passed over in silence.
    camera().faults().refuse = {"LDF"};
    uitest::ClearPopups();
    ASSERT_EQ(locate(true), 0);
    ASSERT_EQ(popups().size(), 2u);  // the question, then the refusal
    EXPECT_EQ(popups()[1], Refused("Sending LDF!"));
    EXPECT_EQ(lastAction(), "Locate Blemishes failed: Camera returned error message NAK.");
}

// On, the ALC's shutter limit opens and the shutter speed is locked while the
// camera, asked again, says it is on; off, the limit is locked.  In either mode.
TEST_F(AdvSetTest, ElectronicShutterDecidesTheMainPanelsShutterControls)
{
    const struct {
        int aec, before, box;
        const char* refused;
        int shown;
        bool limitDimmed, speedDimmed;
    } cases[] = {
        {1, 0, 1, nullptr, 1, false, true}, {1, 1, 0, nullptr, 0, true, false},
        {0, 0, 1, nullptr, 1, false, true}, {0, 1, 0, nullptr, 0, true, false},
        {0, 1, 0, "ESH=", 1, false, true},  // refused: the box shows the camera's state again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("AEC " + std::to_string(c.aec) + " box " + std::to_string(c.box));
        start("VK-470", {{"AEC", c.aec}, {"ESH", c.before}});
        open();
        if (c.refused) camera().faults().refuse = {c.refused};
        uitest::ClearPopups();
        EXPECT_EQ(popSends(ADVSET_C_ESHUTTER, c.box), (Lines{":ESH=" + std::to_string(c.box), ":ESH?"}));
        EXPECT_EQ(popInt(ADVSET_C_ESHUTTER), c.shown);
        EXPECT_EQ(dimmed(MAIN_SMX), c.limitDimmed);
        EXPECT_EQ(dimmed(MAIN_SHS), c.speedDimmed);
        EXPECT_EQ(dimmed(MAIN_TIMEMS), c.speedDimmed);
        EXPECT_EQ(popups().size(), c.refused ? 1u : 0u);
    }
}

TEST_F(AdvSetTest, PedestalSwitchLocksThePedestalAndARefusalKeepsItLocked)
{
    start("VKC-475", 1);
    open();
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_VPS, 0), 0);
    EXPECT_TRUE(popDimmed(ADVSET_C_VPD));
    camera().faults().refuse = {"VPS"};
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_VPS, 1), 0);
    EXPECT_EQ(popInt(ADVSET_C_VPS), 0);  // refused: still off, and the pedestal stays locked
    EXPECT_TRUE(popDimmed(ADVSET_C_VPD));
}

TEST_F(AdvSetTest, LensParametersChangeOnlyTheProgramAndReachTheLensButtons)
{
    start("VK-470");
    open();
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_Z_MAXV, 6.0), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_Z_COARSE, 50.0), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_I_FINE, 4.0), 0);
    EXPECT_TRUE(sent().empty());
    EXPECT_FLOAT_EQ(g_zoom_maxv, 6.0f);
    EXPECT_FLOAT_EQ(g_iris_fine, 4.0f);
    ASSERT_EQ(uitest::Click(pop_, ADVSET_C_OKBUTTON), 0);
    // 50 % of 6 V is 3 V: count round(3 x 14.111111) = 42.
    ASSERT_EQ(uitest::Press(panel(), MAIN_ZM_BIGUP), 0);
    EXPECT_EQ(sent(), Lines{":ZMC=42"});
    uitest::Release(panel(), MAIN_ZM_BIGUP);
    g_zoom_maxv = 9.0f, g_zoom_coarse = 10.0f, g_iris_fine = 1.0f;
}

TEST_F(AdvSetTest, AChangeWaitingForTheCameraIsSentEvenIfThePanelClosesFirst)
{
    start("VK-470");
    open();
    {
        CommOperation busy;
        ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_BRIGHT_SPD, 20), 0);
        ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_BRIGHT_SPD, 30), 0);  // replaces the waiting one
        ASSERT_EQ(uitest::Click(pop_, ADVSET_C_OKBUTTON), 0);
    }
    EXPECT_EQ(sent(), Lines{":BTS=30"});
    EXPECT_EQ(camera().reg("BTS"), 30);

    // A refused change: the camera's value again (asked back where the panel
    // converts), and the reason.
    open();
    camera().faults().refuse = {"DKS", "VPD"};
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_DARK_SPD, 50), 0);
    ASSERT_EQ(uitest::Commit(pop_, ADVSET_C_VPD, 80.0), 0);
    EXPECT_EQ(popInt(ADVSET_C_DARK_SPD), 4);
    EXPECT_DOUBLE_EQ(popReal(ADVSET_C_VPD), 50.0);
    EXPECT_EQ(popups(),
              (std::vector<uitest::Popup>{Refused("Setting DKS (Dark Speed) to 50"),
                                          Refused("Setting VPD (Video Pedestal) to 80.00 mV (count 80)")}));
}

}  // namespace
