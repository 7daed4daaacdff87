// The main panel's access and dimming rules for each group of models, from
// the camera's state: mode, user access, electronic shutter, trigger mode,
// and whether there is a link at all.
#include <QWidget>
#include <cstdio>

#include "MainPanelFixture.h"

namespace {

// One camera state, set in the simulated camera before the panel is shown.
struct CameraState {
    const char* name;
    int mode;  // AEC, or AMD on the EH-4000
    int esh, agcAccess, dfcAccess, tmd;
};

const CameraState kManual{"manual", 0, 0, 1, 1, 0};
const CameraState kAutoEsh{"automatic, electronic shutter on", 1, 1, 1, 1, 0};
const CameraState kAuto{"automatic, electronic shutter off", 1, 0, 1, 1, 0};
const CameraState kNoAccess{"manual, both user accesses withdrawn", 0, 0, 0, 0, 0};
const CameraState kPulseWidth{"manual, Pulse Width Mode", 0, 0, 1, 1, 3};

// The governed controls, in the order of the rows below.
const int kGoverned[] = {MAIN_MODE, MAIN_AGN,    MAIN_ALV, MAIN_AMX, MAIN_SHE,
                         MAIN_SHS,  MAIN_TIMEMS, MAIN_SMX, MAIN_DFC, MAIN_TMD};

// Dimmed (1) or not (0) per governed control; a control the group does not
// show is not looked at.
struct Row {
    const char* model;
    const CameraState* state;
    std::vector<int> dimmed;
};

// Worked out by hand from the rules: manual gain only in manual mode, the
// automatic limits only in automatic mode, the shutter switch locked in
// automatic, the shutter speed locked in Pulse Width Mode and in automatic
// mode where the class follows the mode (VK-400) or the electronic shutter is
// on (47x), the shutter limit open in automatic mode with the electronic
// shutter on, the colour cameras' trigger mode always locked.
const Row kRows[] = {
    //                               MODE AGN ALV AMX SHE SHS ms  SMX DFC TMD
    {"VK-400", &kManual, {0, 0, 1, 1, 0, 0, 0, 1, 1, 0}},
    {"VK-400", &kAutoEsh, {0, 1, 0, 0, 1, 1, 1, 1, 1, 0}},
    {"VK-400", &kAuto, {0, 1, 0, 0, 1, 1, 1, 1, 1, 0}},
    {"VK-400", &kNoAccess, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0}},
    {"VK-400", &kPulseWidth, {0, 0, 1, 1, 0, 1, 1, 1, 1, 0}},
    {"EH-4000", &kManual, {0, 0, 1, 1, 0, 0, 0, 1, 1, 0}},
    {"EH-4000", &kAutoEsh, {0, 1, 0, 0, 1, 0, 0, 1, 1, 0}},
    {"EH-4000", &kNoAccess, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0}},
    {"VK-470", &kManual, {0, 0, 1, 1, 0, 0, 0, 1, 0, 0}},
    {"VK-470", &kAutoEsh, {0, 1, 0, 0, 1, 1, 1, 0, 0, 0}},
    {"VK-470", &kAuto, {0, 1, 0, 0, 1, 0, 0, 1, 0, 0}},
    {"VK-470", &kNoAccess, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0}},
    {"VK-470", &kPulseWidth, {0, 0, 1, 1, 0, 1, 1, 1, 0, 0}},
    {"VKC-475", &kManual, {0, 0, 1, 1, 0, 0, 0, 1, 0, 1}},
    {"VKC-475", &kAutoEsh, {0, 1, 0, 0, 1, 1, 1, 0, 0, 1}},
    {"VKC-475", &kAuto, {0, 1, 0, 0, 1, 0, 0, 1, 0, 1}},
    {"VKC-475", &kNoAccess, {1, 0, 1, 1, 0, 0, 0, 1, 1, 1}},
    {"VK-405", &kAuto, {0, 1, 0, 0, 1, 1, 1, 1, 1, 0}},
    {"VK-473", &kAutoEsh, {0, 1, 0, 0, 1, 1, 1, 0, 0, 0}},
};

class MainPnlRules : public MainPanelTest {
protected:
    void showIn(const char* model, const CameraState& s, int screen = 0)
    {
        start(model,
              {{"AEC", s.mode},
               {"AMD", s.mode},
               {"ESH", s.esh},
               {"SB1", s.agcAccess},
               {"SB2", s.dfcAccess},
               {"TMD", s.tmd}},
              screen);
    }

    static void expectMenus(std::initializer_list<int> items, bool dim)
    {
        for (int item : items) EXPECT_EQ(menuDimmed(item), dim) << item;
    }

    void expectRow(const Row& row)
    {
        for (std::size_t i = 0; i < std::size(kGoverned); ++i) {
            const int c = kGoverned[i];
            if (!visible(c)) continue;
            EXPECT_EQ(dimmed(c), row.dimmed[i] != 0) << "control " << c;
        }
    }
};

TEST_F(MainPnlRules, EachGroupInEachCameraState)
{
    for (const Row& row : kRows)
        for (int screen : {0, 1}) {
            SCOPED_TRACE(std::string(row.model) + ", " + row.state->name + (screen ? ", factory" : ", user"));
            showIn(row.model, *row.state, screen);
            expectRow(row);
            // Applied again after everything that reshapes the panel or changes
            // the link, so nothing they lock is unlocked on the way.
            DimMainPnlCtrls(1);
            DimMainPnlCtrls(0);
            expectRow(row);
            Mpnl_ConfigForModel();
            expectRow(row);
            // Controls no rule locks are open with a link.
            for (int c : {MAIN_GAM, MAIN_VMD, MAIN_MFI, MAIN_MFT, MAIN_MIR, MAIN_WBM, MAIN_AWB, MAIN_REFRESH,
                          MAIN_ZM_BIGUP, MAIN_IRC_SMALLDOWN, MAIN_YGAIN, MAIN_CGAIN_RED})
                if (visible(c)) {
                    EXPECT_FALSE(dimmed(c)) << c;
                }
        }
}

std::string Tooltip(int control)
{
    return uitest::ControlWidget(g_mainpanel, control)->toolTip().toStdString();
}

// A control says in its tooltip what it does, its range, and why it is greyed;
// the reason goes when the lock does.
TEST_F(MainPnlRules, ControlsSayWhatTheyDoWhyTheyAreGreyedAndTheirRange)
{
    std::snprintf(g_label2, sizeof g_label2, "%s", "Focus Near/Far");
    showIn("VKC-475", kAuto);
    // A lens button names its axis, direction and step.
    for (const auto& [control, tip] : {std::pair{MAIN_ZM_SMALLDOWN, "Zoom Control: down, fine"},
                                       std::pair{MAIN_FOC_BIGUP, "Focus Near/Far: up, coarse"},
                                       std::pair{MAIN_IRC_SMALLUP, "Iris Control: up, fine"}})
        EXPECT_EQ(Tooltip(control), std::string(tip) + ". Hold to drive the lens, let go to stop it.");
    std::snprintf(g_label2, sizeof g_label2, "%s", "Focus Control");
    EXPECT_EQ(Tooltip(MAIN_AGN),
              "From 0.00 to 30.00 dB\nGreyed: ALC Mode is Automatic; choose Manual to set the gain by hand");
    EXPECT_EQ(Tooltip(MAIN_TMD), "Greyed: the colour cameras have no trigger mode to set");
    EXPECT_EQ(Tooltip(MAIN_ALV), "From 20 to 255");  // the 47x family's lowest level

    uitest::Commit(g_mainpanel, MAIN_MODE, 0);  // Manual
    EXPECT_EQ(Tooltip(MAIN_AGN), "From 0.00 to 30.00 dB");
    EXPECT_EQ(Tooltip(MAIN_ALV), "From 20 to 255\nGreyed: ALC Mode is Manual; choose Automatic to use it");

    showIn("VK-400", kPulseWidth);
    EXPECT_EQ(Tooltip(MAIN_SHS).substr(Tooltip(MAIN_SHS).find('\n') + 1),
              "Greyed: Trigger Mode is Pulse Width Mode: the trigger pulse sets the exposure");

    DimMainPnlCtrls(1);
    g_com_port = 0;
    Mpnl_ConfigForScreen();
    EXPECT_EQ(Tooltip(MAIN_ZM_BIGUP),
              "Zoom Control: up, coarse. Hold to drive the lens, let go to stop it.\n"
              "Greyed: no camera is connected (File > Preferences chooses its port)");
}

const std::initializer_list<int> kCameraMenus = {MAINMNU_ADVSET, MAINMNU_FILE_LOAD, MAINMNU_FILE_SAVESET,
                                                 MAINMNU_COLORPROC};

TEST_F(MainPnlRules, WithoutALinkEveryCameraControlIsDimmed)
{
    for (const char* model : {"VK-400", "EH-4000", "VK-470", "VKC-475"})
        for (int screen : {0, 1}) {
            SCOPED_TRACE(std::string(model) + (screen ? ", factory" : ", user"));
            start(model, screen);
            DimMainPnlCtrls(1);
            DimMainPnlMenus(1);
            for (int c = MAIN_MODE; c <= MAIN_IRC_SMALLDOWN; ++c) EXPECT_TRUE(dimmed(c)) << c;
            expectDimmed({MAIN_AWB, MAIN_HUE, MAIN_VSAT, MAIN_USAT, MAIN_YGAIN, MAIN_TIMEMS}, true);
            // The model can still be chosen on the factory screen.
            expectDimmed({MAIN_MODEL, MAIN_AGC_ACCESS, MAIN_DFC_ACCESS, MAIN_FACBOX}, screen == 0);
            expectDimmed({MAIN_REFRESH, MAIN_QUIT}, false);
            expectMenus(kCameraMenus, true);
            expectMenus({MAINMNU_FILE_SETUP, MAINMNU_FILE_LOADFILE, MAINMNU_FILE_SAVEFILE, MAINMNU_FILE_SPLIT,
                         MAINMNU_FILE_EXIT},
                        false);
        }

    // An operator cannot reach a dimmed control: a click on a slider does
    // not end in a message per step.
    EXPECT_EQ(uitest::Commit(panel(), MAIN_HUE, 50.0), UIEControlNotOperable);
    EXPECT_EQ(uitest::Press(panel(), MAIN_ZM_BIGUP), UIEControlNotOperable);
    EXPECT_TRUE(popups().empty());
    EXPECT_TRUE(sent().empty());

    // Back with a link: the menus follow the camera again.
    DimMainPnlMenus(0);
    expectMenus(kCameraMenus, false);
}

// Called with the state a caller wants (the automatic mode, or the electronic
// shutter the advanced panel has just sent).
TEST_F(MainPnlRules, ShutterSpeedAccessByTriggerModeClassAndElectronicShutter)
{
    const struct {
        const char* model;
        int tmd, esh, dim;
        bool dimmed, asksEsh;
    } cases[] = {
        {"VKC-475", 3, 0, 0, true, false},  // Pulse Width Mode dims whatever the caller wants
        {"VK-400", 3, 1, 0, true, false},   //
        {"VK-400", 0, 1, 0, false, false},  // the basic cameras take the caller's state
        {"VK-405", 1, 0, 1, true, false},   //
        {"VKC-475", 0, 1, 1, true, true},   // electronic shutter on: the caller's state
        {"VK-470", 2, 1, 0, false, true},   //
        {"VK-470", 0, 0, 1, false, true},   // electronic shutter off: always usable
        {"VK-475", 0, 0, 1, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " tmd " + std::to_string(c.tmd) + " esh " +
                     std::to_string(c.esh));
        start(c.model, {{"AEC", 0}, {"TMD", c.tmd}});
        camera().setReg("ESH", c.esh);
        clearLog();
        Comm_AdjustShutterSpeedAccess(c.dim);
        EXPECT_EQ(dimmed(MAIN_SHS), c.dimmed);
        EXPECT_EQ(dimmed(MAIN_TIMEMS), c.dimmed);
        EXPECT_EQ(sent(), c.asksEsh ? std::vector<std::string>{":ESH?"} : std::vector<std::string>{});
    }

    // An unreadable electronic shutter counts as off.
    start("VKC-475", {{"AEC", 0}});
    camera().setReg("ESH", 1);
    camera().faults().refuse = {"ESH"};
    EXPECT_EQ(Comm_AdjustShutterSpeedAccess(1), COMM_NAK);
    EXPECT_FALSE(dimmed(MAIN_SHS));
}

}  // namespace
