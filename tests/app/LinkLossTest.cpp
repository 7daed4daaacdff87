// The camera's device going away under a running program and coming back:
// the window dims and says so, a waiting command ends at once, the port is
// tried again by itself, and the camera that answers there is shown afresh.
// Here the device is the simulated camera in this process; LinkReturnTest
// does the same over pseudo-terminals, TCP and a serial device server.
#include <QTimer>

#include "AppFixture.h"
#include "app/Pref.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "devices/SimPorts.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "resources/UlvoIccd.h"
#include "sim/EventWait.h"
#include "sim/SimEndpoint.h"
#include "support/UiTestDriver.h"

namespace {

using uitest::Popup;

const char kLost[] = "Camera link lost (the device was removed or closed).";
const char kLostTitle[] =
    "Ulvo VKC-475 Camera Control - camera link lost, looking for the camera on COM1 "
    "(/nonexistent/unplugged)";

class LinkLoss : public AppTest {
protected:
    // Pulls the camera's cable: the link drops and the port's device cannot be
    // opened until plugIn.  Waits for the program to look for the camera.
    void unplug(bool wait = true)
    {
        sim::SimEndpoint* endpoint = SimCameraOnPort(1);
        SetComPortDevice(1, QStringLiteral("/nonexistent/unplugged"));
        endpoint->dropLink();
        if (wait) {
            ASSERT_TRUE(WaitUntil([] { return Mpnl_LookingForCamera(); }, 1000));
        }
    }
    void plugIn(const char* model) { putCamera(1, model); }
    static bool restored() { return !Comm_LinkLost(); }
    // The camera plugged in again, holding reg's value, and found by the program.
    void comeBack(const char* model, const char* reg = nullptr, int value = 0)
    {
        plugIn(model);
        if (reg) camera(1).setReg(reg, value);
        ASSERT_TRUE(WaitUntil(restored, 3000));
        pump();
    }
};

TEST_F(LinkLoss, ACommandWaitingWhenTheDeviceGoesEndsAtOnceAsLostAndTheWindowDims)
{
    startOn("VKC-475");
    EXPECT_EQ(MainStatus(), "COM1 (sim:VKC-475)    Connected    VKC-475    firmware V2.21    FPGA F3.02");
    camera(1).faults().silent = true;  // the gain change waits for its reply
    QTimer::singleShot(150, [this] { unplug(false); });
    uitest::Commit(g_mainpanel, MAIN_ALV, 50);
    pump();

    // Not "Timeout": the wait ended with the loss, long before its 2 s.
    ASSERT_EQ(uitest::Popups().size(), 1u);
    EXPECT_EQ(uitest::Popups()[0].text.find(kLost) != std::string::npos, true) << uitest::Popups()[0].text;
    EXPECT_EQ(Comm_LinkLost(), 1);
    for (int c : {MAIN_ALV, MAIN_VSAT, MAIN_AGN, MAIN_HUE, MAIN_ZM_BIGUP})
        EXPECT_EQ(Dimmed(g_mainpanel, c), 1) << c;
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_REFRESH), 0);  // still tries the port
    EXPECT_EQ(MainTitle(), kLostTitle);
    EXPECT_EQ(MainStatus(), "COM1 (/nonexistent/unplugged)    Link lost, looking for the camera");
    EXPECT_TRUE(Mpnl_LookingForCamera());

    // Looking costs the operator no pop-ups.
    uitest::ClearPopups();
    PumpFor(2300);
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(Comm_LinkLost(), 1);
}

TEST_F(LinkLoss, TheCameraComingBackIsFoundByItselfAndShownInItsNewShape)
{
    startOn("VKC-475");
    unplug();
    EXPECT_EQ(Visible(g_mainpanel, MAIN_VSAT), 1);

    // Another model comes back on the same port, with its own settings.
    comeBack("VK-400", "ALV", 93);

    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_FALSE(Mpnl_LookingForCamera());
    EXPECT_EQ(g_cam_model_user_idx, 0);
    EXPECT_EQ(MainTitle(), "Ulvo VK-400 Camera Control - camera link restored");
    EXPECT_EQ(MainStatus(), "COM1 (sim:VK-400)    Connected    VK-400    firmware V1.32    FPGA F1.05");
    EXPECT_EQ(Visible(g_mainpanel, MAIN_VSAT), 0);  // a monochrome camera has no saturation
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 93);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    EXPECT_EQ(CountSent(camera(1).log(), ":CAM?"), 1);
    EXPECT_GE(CountSent(camera(1).log(), ":ALV?"), 1);
}

// Refresh and the Preferences probe of the link's port each try the port at
// once rather than waiting for the next look; only an answering camera ends the loss.
TEST_F(LinkLoss, RefreshAndThePreferencesProbeFindACameraThatCameBackAndOnlyOneThatAnswers)
{
    startOn("VKC-475");
    unplug();

    uitest::Click(g_mainpanel, MAIN_REFRESH);
    pump();
    ASSERT_EQ(uitest::Popups().size(), 1u);
    EXPECT_EQ(uitest::Popups()[0],
              (Popup{"ERROR",
                     "No camera found.\nThe link to the camera on COM1 (/nonexistent/unplugged) is lost; "
                     "the program keeps looking for the camera there."}));

    uitest::ClearPopups();
    plugIn("VKC-475");
    uitest::Click(g_mainpanel, MAIN_REFRESH);
    pump();
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(Comm_LinkLost(), 0);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    EXPECT_EQ(MainTitle(), "Ulvo VKC-475 Camera Control - camera link restored");

    unplug();
    plugIn("VKC-475");
    const int pref = choose(MAINMNU_FILE_SETUP);
    ASSERT_EQ(PanelName(pref), "PREF");
    uitest::Commit(pref, PREF_COM_LIST, 1);
    PumpFor(kPortProbeDelayMs + 100);
    EXPECT_TRUE(uitest::Popups().empty());  // not "Camera Not Found on This Port"
    EXPECT_EQ(Comm_LinkLost(), 0);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);

    uitest::Click(pref, PREF_OKBUTTON);
    pump();
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(g_com_port, 1);

    // A device that opens but where no camera answers is still lost.
    unplug();
    plugIn("VKC-475");
    camera(1).faults().silent = true;  // a device server whose camera is off
    Comm_SetReplyTimeout(0.2);
    PumpFor(2500);
    Comm_SetReplyTimeout(0);
    EXPECT_EQ(Comm_LinkLost(), 1);
    EXPECT_TRUE(Mpnl_LookingForCamera());
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_GE(CountSent(camera(1).log(), ":CAM?"), 1);

    camera(1).faults().silent = false;
    ASSERT_TRUE(WaitUntil(restored, 3000));
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
}

// A camera pop-up open while the link was lost: the same model coming back
// fills it again from the camera; another model closes it, since its
// controls were laid out for the camera that went away.
TEST_F(LinkLoss, AnOpenCameraPanelIsFilledAgainOrClosedWhenTheCameraReturns)
{
    startOn("VKC-475");
    camera(1).setReg("BCT", 17);
    const int adv = choose(MAINMNU_ADVSET);
    ASSERT_EQ(PanelName(adv), "ADVSET_C");
    EXPECT_EQ(CtrlInt(adv, ADVSET_C_BCT), 17);

    unplug();
    comeBack("VKC-475", "BCT", 42);  // switched off and on: not what the panel showed
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(uitest::TopPopup(), adv);
    EXPECT_EQ(CtrlInt(adv, ADVSET_C_BCT), 42);

    unplug();
    comeBack("VK-400");
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(MainTitle(), "Ulvo VK-400 Camera Control - camera link restored");

    // Opened again, it has the new camera's shape.
    const int again = choose(MAINMNU_ADVSET);
    ASSERT_EQ(PanelName(again), "ADVSET");
    EXPECT_EQ(Visible(again, ADVSET_VPD), 1);
}

}  // namespace
