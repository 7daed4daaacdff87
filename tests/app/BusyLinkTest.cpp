// The operator acting again while the camera is still answering: every menu
// item, dialog button and value control is used a second time during a slow
// reply.  Nothing is taken from a refused transaction; the second action is
// either carried out afterwards or visibly refused (its button is dimmed).
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Pref.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "resources/UlvoIccd.h"
#include "settingsfile/SettingsFile.h"
#include "sim/EventWait.h"
#include "support/UiTestDriver.h"

namespace {

using Lines = std::vector<std::string>;

class BusyLink : public AppTest {
protected:
    // Runs second 20 ms into first, with the camera answering after 35 ms or more.
    static void during(const std::function<void()>& first, std::function<void()> second)
    {
        QTimer::singleShot(20, std::move(second));
        first();
        for (int i = 0; i < 20; ++i) pump();
    }

    int dimmed(int control) const { return Dimmed(g_mainpanel, control); }
    const Lines& log() { return camera(1).log(); }
};

TEST_F(BusyLink, EveryDialogButtonIsRefusedWhileItsActionRuns)
{
    startOn("VK-470", {"/fac"});
    camera(1).faults().replyDelayMs = 35;
    const struct {
        int menuItem;
        int ok, cancel;
    } dialogs[] = {
        {MAINMNU_FILE_LOAD, LOADSET_OKBUTTON, LOADSET_CANCEL},
        {MAINMNU_FILE_SAVESET, SAVESET_OKBUTTON, SAVESET_CANCEL},
        {MAINMNU_FILE_SAVEFILE, F_SAVESET_OK, F_SAVESET_CANCEL},
        {MAINMNU_FILE_SETUP, PREF_OKBUTTON, PREF_CANCEL},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.menuItem);
        const int dialog = choose(d.menuItem);
        ASSERT_GT(dialog, 0);
        uitest::AnswerFileDialog("busy.cfg");
        int second = 0, cancel = 0;
        during([&] { uitest::Click(dialog, d.ok); },
               [&] {
                   second = uitest::Click(dialog, d.ok);
                   cancel = uitest::Click(dialog, d.cancel);
               });
        EXPECT_EQ(second, UIEControlNotOperable);
        EXPECT_EQ(cancel, UIEControlNotOperable);
        EXPECT_EQ(uitest::TopPopup(), 0);
    }
    EXPECT_EQ(CountSent(log(), ":LSTA="), 1);
    EXPECT_EQ(CountSent(log(), ":WSTA="), 1);
    // A second OK on a slow Load Settings once recorded the unanswered model
    // query as the first model of the table.
    EXPECT_EQ(g_cam_model_user_idx, 4);
    EXPECT_EQ(g_cam_model_idx, 4);
    EXPECT_EQ(MainTitle(), "Ulvo VK-470 Camera Control");
    EXPECT_TRUE(uitest::Popups().empty());

    // The port probe of the Preferences dialog holds OK and Cancel too.
    const int pref = choose(MAINMNU_FILE_SETUP);
    int ok = 0;
    // The probe starts once the ring has rested; OK is tried while it runs.
    QTimer::singleShot(kPortProbeDelayMs + 15, Qt::PreciseTimer,
                       [pref, &ok] { ok = uitest::Click(pref, PREF_OKBUTTON); });
    uitest::Commit(pref, PREF_COM_LIST, 1);
    PumpFor(kPortProbeDelayMs + 300);
    EXPECT_EQ(ok, UIEControlNotOperable);
    EXPECT_EQ(Dimmed(pref, PREF_OKBUTTON), 0);  // open again once the probe is over
    ASSERT_EQ(uitest::Click(pref, PREF_CANCEL), 0);
}

// A value committed during another command's wait goes out afterwards, with
// the value committed, in the order given.
TEST_F(BusyLink, EveryValueControlCommittedAgainIsCarriedOutAfterwards)
{
    startOn("VKC-475", {"/fac"});
    camera(1).setReg("AEC", 0);
    ASSERT_EQ(uitest::Click(g_mainpanel, MAIN_REFRESH), 0);
    camera(1).faults().replyDelayMs = 35;
    const struct {
        int control;
        double first, second;
        const char* mnemonic;
        int count;  // the camera's register after both
    } cases[] = {
        {MAIN_AGN, 10.0, 30.0, "AGN", 852},  // 30 x 28.409, rounded
        {MAIN_MFT, 1, 0, "MFT", 0},          {MAIN_GAM, 1, 0, "GAM", 0},
        {MAIN_MFI, 0, 1, "MFI", 1},          {MAIN_SHS, 100, 200, "SHS", 200},
        {MAIN_DFC, 0, 1, "DFC", 1},          {MAIN_MIR, 1, 0, "MIR", 0},
        {MAIN_CMD, 0, 1, "CMD", 1},          {MAIN_CGAIN_RED, 1.5, 2.25, "CGR", 2304},
        {MAIN_IPH, 1, 2, "IPH", 2},          {MAIN_WBM, 1, 0, "WBM", 0},
        {MAIN_YGAIN, 50.0, 80.0, "YGA", 50},  // 80 % of 63, truncated
        {MAIN_HUE, 20.0, 40.0, "HUE", 102},   // 40 % of 255, truncated
        {MAIN_AGC_ACCESS, 0, 1, "SB1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mnemonic);
        camera(1).clearLog();
        int second = -1;
        during([&] { uitest::Commit(g_mainpanel, c.control, c.first); },
               [&] { second = uitest::Commit(g_mainpanel, c.control, c.second); });
        EXPECT_EQ(second, 0);
        EXPECT_EQ(*camera(1).reg(c.mnemonic), c.count);
        EXPECT_GE(CountSent(log(), std::string(":") + c.mnemonic + "="), 2);
    }
    EXPECT_TRUE(uitest::Popups().empty());

    // A different control committed meanwhile follows in turn.
    camera(1).clearLog();
    during([] { uitest::Commit(g_mainpanel, MAIN_GAM, 1); },
           [] {
               uitest::Commit(g_mainpanel, MAIN_MFT, 1);
               uitest::Click(g_mainpanel, MAIN_AWB);
           });
    EXPECT_EQ(log(), (Lines{":GAM=1", ":MFT=1", ":AWB!", ":CGR?", ":CGG?", ":CGB?"}));
}

TEST_F(BusyLink, MenuItemsAndRefreshDuringASlowReplyFollowIt)
{
    startOn("VK-470");
    ASSERT_EQ(SaveSettingsFile(path("a.cfg").c_str(), "busy"), 0);
    camera(1).faults().replyDelayMs = 10;
    camera(1).clearLog();

    // A settings file chosen while one is loading is loaded after it.
    uitest::AnswerFileDialog("a.cfg");
    uitest::AnswerFileDialog("a.cfg");
    during([] { uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_FILE_LOADFILE); },
           [] { uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_FILE_LOADFILE); });
    EXPECT_EQ(CountSent(log(), ":AGN="), 2);
    EXPECT_EQ(CountSent(log(), ":CAM?"), 2);  // each load ends with its refresh
    // and its comparison with the file.
    EXPECT_EQ(uitest::Popups(),
              (std::vector<uitest::Popup>(
                  2, {"Load Settings From File", "The camera took every setting of the file."})));
    uitest::ClearPopups();

    // Refresh pressed during a refresh runs once the first is over.
    camera(1).clearLog();
    during([] { uitest::Click(g_mainpanel, MAIN_REFRESH); },
           [] { uitest::Click(g_mainpanel, MAIN_REFRESH); });
    EXPECT_EQ(CountSent(log(), ":CAM?"), 2);
    EXPECT_EQ(log()[0], ":CAM?");
    EXPECT_EQ(g_cam_model_user_idx, 4);

    // The dialogs open at once: opening them sends nothing.
    camera(1).clearLog();
    during([] { uitest::Commit(g_mainpanel, MAIN_GAM, 0); },
           [] { uitest::Click(choose(MAINMNU_FILE_LOAD), LOADSET_CANCEL); });
    EXPECT_EQ(log(), Lines{":GAM=0"});
}

// Preferences confirmed with nothing changed once unlocked Manual Gain, the
// ALC maximum shutter speed and the trigger mode of a colour camera in
// automatic mode; a Pulse Width Mode chosen then stuck after a refresh.
TEST_F(BusyLink, PreferencesOkKeepsEveryLock)
{
    startOn("VKC-475");
    for (int c : {MAIN_AGN, MAIN_SMX, MAIN_TMD}) ASSERT_EQ(dimmed(c), 1) << c;
    ASSERT_EQ(uitest::Click(choose(MAINMNU_FILE_SETUP), PREF_OKBUTTON), 0);
    for (int c : {MAIN_AGN, MAIN_SMX, MAIN_TMD}) EXPECT_EQ(dimmed(c), 1) << c;
    EXPECT_EQ(uitest::Commit(g_mainpanel, MAIN_TMD, 3), UIEControlNotOperable);
    ASSERT_EQ(uitest::Click(g_mainpanel, MAIN_REFRESH), 0);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_TMD), 0);
    EXPECT_EQ(*camera(1).reg("TMD"), 0);
    EXPECT_TRUE(uitest::Popups().empty());
}

}  // namespace
