// The split-screen, colour-processing, AFE and FPGA pop-ups against the
// simulated camera: what opening each asks, what each control sends and what
// the panel shows afterwards, and what a failed query or command leaves.
#include <set>

#include "MainPanelFixture.h"
#include "panels/PanelCommit.h"
#include "panels/ServicePnls.h"

namespace {

using uitest::Popup;

class ServicePnls : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        ServicePnl_RegisterCallbacks();
    }

    int commit(int control, int value)
    {
        clearLog();
        return uitest::Commit(pop_, control, value);
    }
};

TEST_F(ServicePnls, EachOpensFromItsMenuItemAskingTheCameraInOrder)
{
    // What opening asks, in order; the title, attribute 618 only for colour
    // processing, and OK or the close box closes each.
    const struct {
        int item, ok;
        const char* title;
        int legacy618;
        Lines asked;
    } panels[] = {
        // clang-format off
        {MAINMNU_FILE_SPLIT, SPLITSCRN_OKBUTTON, "Split Screen Control", 0,
         {":SSE?", ":HSM?", ":HSL?", ":HSR?", ":SSA?", ":SLT?", ":SLR?", ":SLT?", ":SLG?", ":SLT?", ":SLB?",
          ":SRT?", ":SRR?", ":SRT?", ":SRG?", ":SRT?", ":SRB?"}},
        {MAINMNU_COLORPROC, CPROC_OKBUTTON, "Color Processing", 1,
         {":SAC?", ":SAC?", ":SHA?", ":SHG?", ":SEN?"}},
        {MAINMNU_FILE_AFEACC, AFEACC_OKBUTTON, "AFE Access", 0,
         {":AFA?", ":SHP?", ":SHD?", ":DOU?", ":RSE?"}},
        {MAINMNU_FILE_FTEST, FTEST_OKBUTTON, "FPGA Access", 0,
         {":FPA?", ":FPR?", ":FPA=46", ":FPR?", ":FPA=47", ":FPR?", ":FPA=48", ":FPR?", ":FPA=49", ":FPR?"}},
        // clang-format on
    };
    start("VKC-475", 1);
    for (const auto& p : panels) {
        SCOPED_TRACE(p.title);
        clearLog();
        openPopup(p.item);
        EXPECT_EQ(sent(), p.asked);
        EXPECT_TRUE(popups().empty());
        EXPECT_EQ(title(pop_), p.title);
        EXPECT_EQ(panelAttribute<int>(ATTR_LEGACY_618, pop_), p.legacy618);
        ASSERT_EQ(uitest::Click(pop_, p.ok), 0);
        EXPECT_EQ(uitest::TopPopup(), 0);
        openPopup(p.item);
        ASSERT_EQ(uitest::ClosePanel(pop_), 0);
        EXPECT_EQ(uitest::TopPopup(), 0);
    }
}

TEST_F(ServicePnls, SplitScreenLineTravelsTogetherAndShowsWhatTheCameraMadeOfIt)
{
    // Position 50 %, left 20 %, right 10 %.
    start("VK-470", {{"HSM", 90}, {"HSL", 72}, {"HSR", 99}});
    openPopup(MAINMNU_FILE_SPLIT);
    ASSERT_EQ(popInt(SPLITSCRN_LLT), 20);
    // 27 % of the 360 units left of the line: 97 whole units, count (360 - 97) / 4 = 65.75,
    // rounded 66, which the camera reads back as 100 - 40000 x 66 / 36000 = 26.67: 26 %.
    EXPECT_EQ(popSends(SPLITSCRN_LLT, 27),
              (Lines{":HSM=90", ":HSL=66", ":HSR=99", ":HSM?", ":HSL?", ":HSR?"}));
    EXPECT_EQ(popInt(SPLITSCRN_LLT), 26);
    EXPECT_EQ(popInt(SPLITSCRN_SSP), 50);
    EXPECT_EQ(popInt(SPLITSCRN_RLT), 10);

    // Refused in part: the line is read back and shows what the camera took.
    // 40 % of 360 units is 144, count (360 - 144) / 4 = 54, read back as 40 %.
    camera().faults().refuse = {"HSM="};
    EXPECT_EQ(popSends(SPLITSCRN_LLT, 40),
              (Lines{":HSM=90", ":HSL=54", ":HSR=99", ":HSM?", ":HSL?", ":HSR?"}));
    EXPECT_EQ(popInt(SPLITSCRN_LLT), 40);
    EXPECT_EQ(popInt(SPLITSCRN_SSP), 50);
    EXPECT_EQ(popups(), std::vector<Popup>{Refused("Setting HSM to 90")});
    // Refused and not to be read back: nothing shown is known to be the camera's.
    camera().faults().refuse = {"HSL"};
    ASSERT_EQ(commit(SPLITSCRN_LLT, 30), 0);
    for (int c : {SPLITSCRN_SSP, SPLITSCRN_LLT, SPLITSCRN_RLT}) EXPECT_EQ(noValue(c, pop_), kNak) << c;
}

TEST_F(ServicePnls, SplitScreenColoursCarryTheirHalfsTransparency)
{
    // At half transparency SLR 50 is level 100, SLG 25 level 50.
    start("VK-470", {{"SLT", 50}, {"SLR", 50}, {"SLG", 25}, {"SRT", 0}});
    openPopup(MAINMNU_FILE_SPLIT);
    ASSERT_EQ(popInt(SPLITSCRN_SLR), 100);
    // The camera keeps each level scaled by the transparency: all three go again.
    EXPECT_EQ(popSends(SPLITSCRN_SLT, 20),
              (Lines{":SLT=20", ":SLR=80", ":SLT=20", ":SLG=40", ":SLT=20", ":SLB=0"}));
    ASSERT_EQ(commit(SPLITSCRN_SRG, 200), 0);
    EXPECT_EQ(sent(), (Lines{":SRT=0", ":SRG=200"}));
    EXPECT_EQ(popAttr(SPLITSCRN_RIGHT_SWATCH, ATTR_TEXT_BGCOLOR), 0x00C800);  // green 200 of the right half

    // A refused colour says nothing, and the level goes back to the camera's.
    camera().faults().refuse = {"SRG"};
    ASSERT_EQ(commit(SPLITSCRN_SRG, 10), 0);
    EXPECT_EQ(popInt(SPLITSCRN_SRG), 200);
    EXPECT_TRUE(popups().empty());
}

TEST_F(ServicePnls, ColourProcessingKeepsTheOtherSaturationAndLocksTheLegacyHue)
{
    // SAC: Cb byte 64, Cr byte 192.
    start("VKC-475", {{"SAC", 0x40C0}, {"CBH", 40}});
    openPopup(MAINMNU_COLORPROC);
    EXPECT_NEAR(popReal(CPROC_BYSAT), 1.0 + 64 / 255.0, 1e-6);
    EXPECT_NEAR(popReal(CPROC_RYSAT), 1.0 + 192 / 255.0, 1e-6);
    for (int c : {CPROC_CHUE_LBL, CPROC_CBHUE, CPROC_CRHUE}) EXPECT_TRUE(popDimmed(c)) << c;
    EXPECT_DOUBLE_EQ(popReal(CPROC_CBHUE), 0.0);  // not read: as laid out

    // 1.5 is byte ceil(127.5) = 128; the Cr byte stays: 0x80C0.
    EXPECT_EQ(popSends(CPROC_BYSAT, 1.5), (Lines{":SAC?", ":SAC=32960"}));
    EXPECT_NEAR(popReal(CPROC_BYSAT), 1.0 + 128 / 255.0, 1e-6);

    g_hardware_rev = 1;  // the current hardware reads and sets the hue
    openPopup(MAINMNU_COLORPROC);
    EXPECT_FALSE(popDimmed(CPROC_CBHUE));
    EXPECT_EQ(sent().back(), ":CRH?");
}

TEST_F(ServicePnls, AfeWritesTheRegisterEachTimeAndSendsBothResetEdges)
{
    start("VK-470", 1);
    openPopup(MAINMNU_FILE_AFEACC);
    ASSERT_EQ(popInt(AFEACC_RSTPOS), 3);
    ASSERT_EQ(commit(AFEACC_AFA, 0x10), 0);
    EXPECT_TRUE(sent().empty());  // the address alone sends nothing
    ASSERT_EQ(uitest::Commit(pop_, AFEACC_AFW, 0xFF), 0);
    ASSERT_EQ(uitest::Commit(pop_, AFEACC_AFW, 0xFF), 0);
    EXPECT_EQ(sent(), (Lines{":AFA=16", ":AFW=255", ":AFA=16", ":AFW=255"}));
    EXPECT_EQ(camera().afeRegister(16), 255);
    EXPECT_EQ(popSends(AFEACC_RSTNEG, 7),
              (Lines{":RSE=775", ":RSE?"}));  // 3 x 256 + 7, then what the camera holds
    // The negative edge has the low byte only: more would carry into the positive edge.
    EXPECT_EQ(commit(AFEACC_RSTNEG, 300), 0);
    EXPECT_EQ(sent(), (Lines{":RSE=1023", ":RSE?"}));  // 3 x 256 + 255
    EXPECT_EQ(popInt(AFEACC_RSTPOS), 3);
    EXPECT_EQ(popInt(AFEACC_RSTNEG), 255);
}

TEST_F(ServicePnls, FpgaSwitchesComposeAValueThatOnlyWriteSends)
{
    start("VK-470", 1);
    openPopup(MAINMNU_FILE_FTEST);
    ASSERT_EQ(commit(FTEST_NEWVALUE, 0x0001), 0);
    ASSERT_EQ(commit(FTEST_WR_BIT15, 1), 0);
    EXPECT_EQ(popInt(FTEST_NEWVALUE), 0x8001);
    ASSERT_EQ(commit(FTEST_NEWVALUE, 0x00FF), 0);
    for (int bit = 0; bit < 16; ++bit) EXPECT_EQ(popInt(FTEST_WR_BIT0 - bit), bit < 8 ? 1 : 0) << bit;
    EXPECT_TRUE(sent().empty());

    EXPECT_EQ(popSends(FTEST_FADDR, 0x20), (Lines{":FPA=32", ":FPR?"}));
    clearLog();
    ASSERT_EQ(uitest::Commit(pop_, FTEST_NEWVALUE, 0x1234), 0);
    ASSERT_EQ(uitest::Click(pop_, FTEST_WRITEFPGA), 0);
    EXPECT_EQ(sent(), (Lines{":FPA=32", ":FPR=4660", ":FPR?"}));
    EXPECT_EQ(camera().fpgaRegister(0x20), 0x1234);
    EXPECT_EQ(popInt(FTEST_FVALUE), 0x1234);
    EXPECT_EQ(popInt(FTEST_RD_BIT2), 1);  // 0x1234 has bit 2
    EXPECT_EQ(popInt(FTEST_RD_BIT0), 0);
    EXPECT_EQ(popSends(FTEST_VAL30, 0x0042), (Lines{":FPA=48", ":FPR=66"}));
    EXPECT_TRUE(popups().empty());

    // A value wider than 16 bits: whole in the numbers, its low bits on the lamps.
    camera().setFpgaRegister(0x21, 0x18001);
    ASSERT_EQ(commit(FTEST_FADDR, 0x21), 0);
    EXPECT_EQ(popInt(FTEST_FVALUE), 0x18001);
    EXPECT_EQ(popInt(FTEST_RD_BIT15), 1);
    EXPECT_EQ(popInt(FTEST_RD_BIT0), 1);
    EXPECT_EQ(popInt(FTEST_RD_BIT14), 0);
}

TEST_F(ServicePnls, FpgaRefusalsAddressSilentlyWriteAloud)
{
    start("VK-470", 1);
    openPopup(MAINMNU_FILE_FTEST);
    const int shown = popInt(FTEST_FVALUE);
    camera().faults().refuse = {"FPA"};
    EXPECT_EQ(popSends(FTEST_FADDR, 0x22), (Lines{":FPA=34"}));
    EXPECT_EQ(popInt(FTEST_FADDR), 0);  // the address the camera holds
    EXPECT_EQ(popInt(FTEST_FVALUE), shown);
    EXPECT_TRUE(popups().empty());

    // "Write to FPGA" says when the address or the data did not go in.
    ASSERT_EQ(uitest::Click(pop_, FTEST_WRITEFPGA), 0);
    camera().faults().refuse = {"FPR"};
    ASSERT_EQ(uitest::Click(pop_, FTEST_WRITEFPGA), 0);
    EXPECT_EQ(popups(), (std::vector<Popup>{Refused("Setting FPA (FPGA Register Address) to 0"),
                                            Refused("Setting FPR (FPGA Register Value) to 18755")}));
}

TEST_F(ServicePnls, AFailedQueryShowsNoValueAndGivesOneMessage)
{
    connect("VKC-475");
    camera().setReg("SSA", 56);  // would read as 2 degrees
    camera().faults().refuse = {"SSA", "SRT"};
    show();
    const struct {
        int item;
        std::set<std::string> refused;
        std::vector<int> unread;
        std::string count;
        std::string first;  // the first refused query, as the message names it
    } cases[] = {
        // Each right colour is asked with the half's transparency.
        {MAINMNU_FILE_SPLIT,
         {"SSA", "SRT"},
         {SPLITSCRN_SSA, SPLITSCRN_SRR, SPLITSCRN_SRG, SPLITSCRN_SRB, SPLITSCRN_SRT},
         "5 settings could not be read",
         "SSA (Split Screen Angle)"},
        {MAINMNU_COLORPROC,
         {"SAC", "SHA", "SHG", "SEN"},
         {CPROC_BYSAT, CPROC_RYSAT, CPROC_SHA, CPROC_SHG, CPROC_SEN},
         "5 settings could not be read",
         "SAC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        camera().faults().refuse = c.refused;
        uitest::ClearPopups();
        openPopup(c.item);
        EXPECT_EQ(popups(),
                  std::vector<Popup>{Error("Camera returned error message NAK.\nReading " + c.first +
                                           ": the camera refused it.")});  // one, not one per query
        for (int control : c.unread) EXPECT_EQ(noValue(control, pop_), kNak) << control;
        EXPECT_EQ(statusLine(pop_).find(c.count), 0u) << statusLine(pop_);
    }
    // Read again, nothing is left unread and the status line says nothing.
    camera().faults().refuse.clear();
    RenewCameraPopups(true);
    EXPECT_EQ(statusLine(pop_), "");
    EXPECT_EQ(noValue(CPROC_SHA, pop_), "");
}

}  // namespace
