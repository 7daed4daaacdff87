// Opening the Advanced Settings panel: the variant for each model, the
// questions the camera is asked, the shape per class and screen, and what the
// panel shows, also when the camera does not answer everything.
#include <set>
#include <tuple>

#include "MainPanelFixture.h"
#include "camera/LinkQueue.h"

namespace {

TEST_F(AdvSetTest, EveryModelOpensTheVariantOfItsClassOnBothScreens)
{
    const struct {
        const char* model;
        int panel;
    } models[] = {{"VK-400", ADVSET},   {"EH-4000", ADVSET},   {"VK-405", ADVSET},   {"VKC-473", ADVSET_C},
                  {"VK-470", ADVSET_C}, {"VKC-475", ADVSET_C}, {"VK-473", ADVSET_C}, {"VK-475", ADVSET_C},
                  {"LS-370", ADVSET_C}, {"LS-373", ADVSET_C},  {"LS-375", ADVSET_C}, {"LSC-373", ADVSET_C},
                  {"LSC-375", ADVSET_C}};
    for (const auto& m : models) {
        for (int screen : {0, 1}) {
            SCOPED_TRACE(std::string(m.model) + (screen ? " factory" : " user"));
            start(m.model, screen);
            ASSERT_GT(open(), 0);
            EXPECT_EQ(title(pop_), "Advanced Settings");
            EXPECT_EQ(panelAttribute<int>(ATTR_LEGACY_618, pop_), 1);
            const bool of47x = m.panel == ADVSET_C;
            // A control only the variant has answers on its handle.
            int v = 0;
            EXPECT_EQ(GetCtrlAttribute(pop_, ADVSET_C_CUSTID, ATTR_VISIBLE, &v) == 0, of47x);
            EXPECT_EQ(popText(of47x ? ADVSET_C_MODEL : ADVSET_MODEL), m.model);
            EXPECT_EQ(popText(of47x ? ADVSET_C_HOSTVER : ADVSET_HOSTVER), "0.1");  // the project's version
            EXPECT_TRUE(popups().empty());
            ASSERT_EQ(uitest::Click(pop_, of47x ? ADVSET_C_OKBUTTON : ADVSET_OKBUTTON), 0);
            EXPECT_EQ(uitest::TopPopup(), 0);
        }
    }
}

TEST_F(AdvSetTest, OpeningAsksTheLimitsTheRecordThenTheIdentification)
{
    start("VK-400");
    open(true);
    // Each text the record keeps is read until two readings agree.
    EXPECT_EQ(sent(), (Lines{":VER?", ":VER?", ":FPGA?", ":FPGA?", ":VPS?", ":VPD?", ":VWC?"}));

    const Lines limits = {":WXN?", ":WYN?", ":WXX?", ":WYX?"};
    const Lines head = {":VER?", ":VER?", ":FPGA?", ":FPGA?", ":VPS?", ":VPD?"};
    const Lines tail = {":BTH?", ":BCT?", ":CD1?", ":CD2?", ":CD3?", ":CD4?", ":CDI?", ":ULX?", ":ULY?",
                        ":LRX?", ":LRY?", ":BTS?", ":DKS?", ":LAW?", ":IFC?", ":ESH?", ":BIN?", ":ALM?",
                        ":WDS?", ":SNO?", ":SNO?", ":CID?", ":CID?", ":SNO?", ":CID?", ":SB2?"};
    auto join = [](std::initializer_list<Lines> parts) {
        Lines all;
        for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    start("VK-470");
    open(true);
    EXPECT_EQ(sent(), join({limits, head, {":VWC?"}, tail}));

    start("VKC-475");
    open(true);
    EXPECT_EQ(sent(), join({limits,
                            head,
                            {":KR1?", ":KG1?", ":KB1?", ":KR2?", ":KG2?", ":KB2?", ":KR3?", ":KG3?", ":KB3?"},
                            tail}));

    // The other classes: as many questions as their group.
    for (const auto& [model, count] :
         {std::pair{"EH-4000", 7u}, std::pair{"VK-405", 7u}, std::pair{"VKC-473", 45u},
          std::pair{"VK-473", 37u}, std::pair{"VK-475", 37u}}) {
        start(model);
        open(true);
        EXPECT_EQ(sent().size(), count) << model;
    }
}

TEST_F(AdvSetTest, ShapeOfTheBasicAndAgcPanels)
{
    const std::vector<int> operatorPart = {ADVSET_MCPBOX, ADVSET_MCPTEXT, ADVSET_MGA,
                                           ADVSET_MDG,    ADVSET_MMD,     ADVSET_MLV};
    const std::vector<int> factoryPart = {ADVSET_MGN, ADVSET_MMG,    ADVSET_MXG, ADVSET_MBI,
                                          ADVSET_BRT, ADVSET_BRTBTN, ADVSET_MCT, ADVSET_MCPBOX2};
    const struct {
        const char* model;
        int screen;
        bool operatorShown, factoryShown;
    } cases[] = {{"VK-400", 1, false, false},
                 {"VK-405", 0, false, false},
                 {"EH-4000", 0, true, false},
                 {"EH-4000", 1, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " screen " + std::to_string(c.screen));
        start(c.model, c.screen);
        open();
        for (int control : operatorPart) EXPECT_EQ(popVisible(control), c.operatorShown) << control;
        for (int control : factoryPart) EXPECT_EQ(popVisible(control), c.factoryShown) << control;
        EXPECT_TRUE(popVisible(ADVSET_VPD));
        EXPECT_TRUE(popVisible(ADVSET_VWC));
        // No command reaches the intensifier: its group invites no change.
        if (c.operatorShown) {
            EXPECT_EQ(uitest::Commit(pop_, ADVSET_MMD, 1), UIEControlNotOperable);
        }
    }
}

TEST_F(AdvSetTest, ShapeOfThe47xPanelPerGroupAndScreen)
{
    const std::vector<int> ids = {ADVSET_C_FACTID, ADVSET_C_DATEID, ADVSET_C_REVID};
    const std::vector<int> defects = {
        ADVSET_C_BLEMISHBOX, ADVSET_C_COLDEFECTFRAME, ADVSET_C_BTH, ADVSET_C_BCT,  ADVSET_C_LOCATEDEFECTS,
        ADVSET_C_CD_ADDR1,   ADVSET_C_CD_ADDR4,       ADVSET_C_CDI, ADVSET_C_CDTXT};
    const std::vector<int> matrix = {ADVSET_C_COLCORR_BOX, ADVSET_C_COLCORR_TEXT, ADVSET_C_R1, ADVSET_C_B3};
    const std::vector<int> colourLocked = {ADVSET_C_WIN_ULX,    ADVSET_C_WIN_LRY, ADVSET_C_ULTEXT,
                                           ADVSET_C_ALCWINTEXT, ADVSET_C_WINDISP, ADVSET_C_HIGHSEN};
    for (const char* model : {"VK-470", "VKC-475"}) {
        const bool colour = model[2] == 'C';
        for (int screen : {0, 1}) {
            SCOPED_TRACE(std::string(model) + " screen " + std::to_string(screen));
            start(model, screen);
            open();
            EXPECT_FALSE(popVisible(ADVSET_C_HWREV));
            for (int c : ids) EXPECT_EQ(popDisplayOnly(c), screen == 0) << c;
            EXPECT_FALSE(popDisplayOnly(ADVSET_C_CUSTID));
            for (int c : defects) EXPECT_EQ(popVisible(c), screen == 1) << c;
            for (int c : matrix) EXPECT_EQ(popVisible(c), colour) << c;
            for (int c : colourLocked) EXPECT_EQ(popDimmed(c), colour) << c;
            EXPECT_EQ(popVisible(ADVSET_C_VPS), colour);
            EXPECT_EQ(popVisible(ADVSET_C_VPD), !colour);
            EXPECT_EQ(popVisible(ADVSET_C_VWC), !colour);
            EXPECT_EQ(items(ADVSET_C_ALCMODE, pop_), colour ? 1 : 3);
            EXPECT_EQ(popDisplayOnly(ADVSET_C_ALCMODE), colour);
            if (screen == 1) {
                // Access granted: blemishes usable; column defects only on mono cameras.
                EXPECT_FALSE(popDimmed(ADVSET_C_LOCATEDEFECTS));
                EXPECT_EQ(popDimmed(ADVSET_C_CD_ADDR1), colour);
                EXPECT_EQ(popDimmed(ADVSET_C_CDI), colour);
            }
        }
    }

    // The current hardware hides the pedestal switch instead, and its
    // pedestal is a fine scale.
    g_hardware_rev = 1;
    start("VKC-475");
    open();
    EXPECT_FALSE(popVisible(ADVSET_C_VPS));
    EXPECT_TRUE(popVisible(ADVSET_C_VPD));
    EXPECT_EQ(popLimit(ADVSET_C_VPD, ATTR_MAX_VALUE), 10.0);
    EXPECT_EQ(popLimit(ADVSET_C_VPD, ATTR_INCR_VALUE), 0.1);
    EXPECT_EQ(popAttr(ADVSET_C_VPD, ATTR_PRECISION), 1);
}

TEST_F(AdvSetTest, WindowLimitsComeFromTheCameraUnlessItFailsToSay)
{
    connect("VK-470");
    setRegs({{"WXN", 2}, {"WYN", 3}, {"WXX", 700}, {"WYX", 480}});
    camera().faults().refuse = {"WYX"};
    show();
    open();
    // The refused Y maximum stays as laid out, each control its own.
    for (const auto& [c, min, max] :
         {std::tuple{ADVSET_C_WIN_ULX, 2.0, 700.0}, std::tuple{ADVSET_C_WIN_LRX, 2.0, 700.0},
          std::tuple{ADVSET_C_WIN_ULY, 3.0, 492.0}, std::tuple{ADVSET_C_WIN_LRY, 3.0, 494.0}}) {
        EXPECT_EQ(popLimit(c, ATTR_MIN_VALUE), min) << c;
        EXPECT_EQ(popLimit(c, ATTR_MAX_VALUE), max) << c;
    }
    EXPECT_TRUE(popups().empty());
}

TEST_F(AdvSetTest, ShowsTheCameraValuesIdentificationAndLensParameters)
{
    connect("VKC-475", 1);
    camera().setText("SNO", "ABC12320261207R7");
    camera().setText("CID", "LAB 3");
    camera().setText("VER", "V9.87");
    // KG1 512 is 0.500224; BTH 255 is 25.5 %.
    setRegs({{"KG1", 512}, {"BTH", 255}, {"BCT", 17}, {"ULX", 30}, {"ESH", 1}, {"VPS", 0}});
    show();
    g_iris_fine = 2.5f;
    open();
    g_iris_fine = 1.0f;
    for (const auto& [c, text] :
         {std::pair{ADVSET_C_FACTID, "ABC123"}, std::pair{ADVSET_C_DATEID, "20261207"},
          std::pair{ADVSET_C_REVID, "R7"}, std::pair{ADVSET_C_CUSTID, "LAB 3"},
          std::pair{ADVSET_C_FW_VER, "V9.87"}, std::pair{ADVSET_C_FPGA_VER, "F3.02"}})
        EXPECT_EQ(popText(c), text) << c;
    EXPECT_NEAR(popReal(ADVSET_C_G1), 0.500224, 1e-5);
    EXPECT_NEAR(popReal(ADVSET_C_BTH), 25.5, 1e-5);
    EXPECT_EQ(popInt(ADVSET_C_BCT), 17);
    EXPECT_EQ(popInt(ADVSET_C_WIN_ULX), 30);
    EXPECT_EQ(popInt(ADVSET_C_ESHUTTER), 1);
    EXPECT_EQ(popInt(ADVSET_C_VPS), 0);
    EXPECT_DOUBLE_EQ(popReal(ADVSET_C_I_FINE), 2.5);

    // Mono 47x: white clip in millivolts, beyond the laid-out 255.
    start("VK-470");
    open();
    EXPECT_DOUBLE_EQ(popReal(ADVSET_C_VWC), 700.0);
    EXPECT_DOUBLE_EQ(popReal(ADVSET_C_VPD), 50.0);

    // Basic camera: the offset scales; 130 is 50 mV, 143 is 702.83 mV.
    start("VK-400");
    open();
    EXPECT_NEAR(popReal(ADVSET_VPD), 50.0, 1e-4);
    EXPECT_NEAR(popReal(ADVSET_VWC), 702.829, 1e-3);
}

TEST_F(AdvSetTest, WithoutBlemishAccessTheDefectControlsAreLockedAndNotFilled)
{
    start("VK-470", {{"SB2", 0}, {"BTH", 300}}, 1);
    open();
    for (int c : {ADVSET_C_BTH, ADVSET_C_BCT, ADVSET_C_LOCATEDEFECTS, ADVSET_C_CD_ADDR1, ADVSET_C_CD_ADDR4,
                  ADVSET_C_CDI, ADVSET_C_CDTXT})
        EXPECT_TRUE(popDimmed(c)) << c;
    EXPECT_DOUBLE_EQ(popReal(ADVSET_C_BTH), 50.0);  // as laid out, not the camera's 30 %
    EXPECT_EQ(attribute<std::string>(ADVSET_C_LOCATEDEFECTS, ATTR_DIMMED_REASON, pop_),
              "the camera's blemish user access is disabled (factory screen)");

    // An unanswered access query counts as no access.
    connect("VK-470", 1);
    camera().faults().refuse = {"SB2"};
    show();
    open();
    EXPECT_TRUE(popDimmed(ADVSET_C_LOCATEDEFECTS));
}

TEST_F(AdvSetTest, AFailedOpeningQueryShowsNoValueAndSaysSo)
{
    const struct {
        std::set<std::string> refused;
        const char* first;                               // the first refused query
        std::vector<std::pair<int, std::string>> marks;  // control, reason; "" for a value read
    } cases[] = {
        {{"VER", "DKS"},
         "VER",
         {{ADVSET_C_FW_VER, kNak},
          {ADVSET_C_DARK_SPD, kNak},
          {ADVSET_C_BRIGHT_SPD, ""},
          {ADVSET_C_FACTID, ""}}},
        // Four failures end the pass; the panel still opens and asks for the identification itself.
        {{"VER", "FPGA", "VPS", "VPD"},
         "VER",
         {{ADVSET_C_BRIGHT_SPD, kStopped}, {ADVSET_C_VWC, kStopped}, {ADVSET_C_FACTID, ""}}},
        {{"SNO"},
         "SNO",
         {{ADVSET_C_FACTID, kNak}, {ADVSET_C_DATEID, kNak}, {ADVSET_C_REVID, kNak}, {ADVSET_C_CUSTID, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.refused.begin());
        connect("VK-470", 1);
        camera().setReg("BTS", 9);
        camera().faults().refuse = c.refused;
        show();
        ASSERT_GT(open(), 0);
        EXPECT_EQ(popups(),
                  (std::vector<uitest::Popup>{Error("Failure querying camera for factory settings.\n"
                                                    "Camera returned error message NAK.\nReading " +
                                                    std::string(c.first) + ": the camera refused it.")}));
        for (const auto& [control, reason] : c.marks) EXPECT_EQ(noValue(control, pop_), reason) << control;
        EXPECT_NE(statusLine(pop_).find("could not be read"), std::string::npos) << statusLine(pop_);
    }
    EXPECT_EQ(popText(ADVSET_C_FACTID), "");
}

TEST_F(AdvSetTest, OpensOnceTheCameraIsFreeAndClosesByOkOrTheCloseBox)
{
    start("VK-400");
    {
        CommOperation busy;
        ASSERT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_ADVSET), 0);
        EXPECT_EQ(uitest::TopPopup(), 0);
    }
    EXPECT_EQ(uitest::TopPopup(), g_advset_panel);
    ASSERT_GT(open(), 0);
    ASSERT_EQ(uitest::ClosePanel(pop_), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    ASSERT_GT(open(), 0);
    ASSERT_EQ(uitest::Click(pop_, ADVSET_OKBUTTON), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
}

}  // namespace
