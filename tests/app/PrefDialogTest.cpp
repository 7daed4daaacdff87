// The Preferences dialog against simulated cameras: the port probe, the
// captions, and OK moving the link (or refusing to).
#include "AppFixture.h"
#include "app/Pref.h"
#include "camera/CamTypes.h"
#include "camera/Globals.h"
#include "camera/Models.h"
#include "devices/PortDescriptions.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "resources/UlvoIccd.h"
#include "sim/EventWait.h"
#include "support/UiTestDriver.h"

namespace {

using uitest::Popup;

// The program runs on a VKC-475 at port 1; port 2 has an EH-4000, port 4 a
// camera that refuses to say its model, port 3 nothing at all.
class PrefDialog : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        putCamera(1, "VKC-475");
        putCamera(2, "EH-4000");
        putCamera(4, "VK-400");
        camera(4).faults().refuse = {"CAM"};
        ASSERT_EQ(start(), AppStartResult::Started);
        ASSERT_EQ(g_com_port, 1);
        open();
    }

    void open()
    {
        pref_ = choose(MAINMNU_FILE_SETUP);
        ASSERT_EQ(PanelName(pref_), "PREF");
        uitest::ClearPopups();
        camera(1).clearLog();
    }

    // The operator picks a port in the ring and leaves it there.
    void choosePort(int port)
    {
        ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, port), 0);
        PumpFor(kPortProbeDelayMs + 100);
    }

    // The link stays on the VKC-475 at port 1.
    static void expectLinkKept()
    {
        EXPECT_EQ(g_com_port, 1);
        EXPECT_EQ(g_cam_model_user_idx, 5);
        EXPECT_TRUE(PortOpen(1));
    }

    int pref_ = 0;
};

TEST_F(PrefDialog, OpensWithTheCurrentPortCaptionsDevicesAndRate)
{
    SetComPortDevice(5, QStringLiteral("/dev/null"));  // a device file that is there
    SetComPortDevice(6, QStringLiteral("/dev/ttyUSB77"));
    SetComPortDevice(7, QStringLiteral("tcp:192.0.2.7:4001"));
    RemovePopup(0);
    open();
    EXPECT_EQ(CtrlInt(pref_, PREF_COM_LIST), 1);
    EXPECT_EQ(CtrlText(pref_, PREF_LABEL2), "Focus Control");
    const std::pair<int, const char*> labels[] = {{0, "COM1: sim:VKC-475 (simulated camera)"},
                                                  {2, "COM3: /nonexistent/iccd-test-com3 (not present)"},
                                                  {4, "COM5: /dev/null (present)"},
                                                  {5, "COM6: /dev/ttyUSB77 (not present)"},
                                                  {6, "COM7: tcp:192.0.2.7:4001 (network)"}};
    for (const auto& [index, text] : labels) {
        std::string label;
        GetLabelFromIndex(pref_, PREF_COM_LIST, index, &label);
        EXPECT_EQ(label, text);
    }
    // What a serial device says of itself, and a port without a device.
    PortDescription usb{9,
                        QStringLiteral("/dev/ttyUSB0"),
                        true,
                        QStringLiteral("FT232R USB UART"),
                        QStringLiteral("FTDI"),
                        QStringLiteral("A10K3XQ")};
    EXPECT_EQ(PortLabel(usb), "COM9: /dev/ttyUSB0 (present: FT232R USB UART, FTDI, serial A10K3XQ)");
    usb.manufacturer.clear();
    usb.serialNumber.clear();
    EXPECT_EQ(PortLabel(usb), "COM9: /dev/ttyUSB0 (present: FT232R USB UART)");
    EXPECT_EQ(PortLabel({25, QString(), false, {}, {}, {}}), "COM25: no device");
    EXPECT_EQ(CtrlInt(pref_, PREF_BAUD), 9600);
    int rates = 0;
    GetNumListItems(pref_, PREF_BAUD, &rates);
    EXPECT_EQ(rates, 8);
}

// A rate the ring does not offer, kept in the file, is shown as it is; OK
// at another rate opens the line afresh at it and keeps it in the file; a
// rate nothing answers at leaves the link as it was.
TEST_F(PrefDialog, TheRateIsChosenAndTakenOnlyWhereTheCameraAnswers)
{
    RemovePopup(0);
    g_com_baud = 250000;
    open();
    EXPECT_EQ(CtrlInt(pref_, PREF_BAUD), 250000);

    ASSERT_EQ(uitest::Commit(pref_, PREF_BAUD, 115200), 0);
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(g_com_baud, 115200);
    EXPECT_EQ(g_com_port, 1);
    EXPECT_TRUE(PortOpen(1));
    ASSERT_FALSE(camera(1).log().empty());
    EXPECT_EQ(camera(1).log()[0], ":CAM?");
    EXPECT_GT(camera(1).log().size(), 10u);  // read afresh

    open();
    camera(1).faults().silent = true;
    ASSERT_EQ(uitest::Commit(pref_, PREF_BAUD, 1200), 0);
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"ERROR", "Camera Not Found on This Port"}}));
    EXPECT_EQ(uitest::TopPopup(), pref_);
    EXPECT_EQ(g_com_baud, 115200);
    EXPECT_TRUE(PortOpen(1));
    camera(1).faults().silent = false;
    RemovePopup(0);
    quit();
    EXPECT_EQ(iniLines().at(1), "Camera Baud Rate: 115200");
}

// The link's port cannot be opened again after a rate nothing answered at:
// the program has no link then, and says so, rather than showing one.
TEST_F(PrefDialog, ALinkThatCannotBeOpenedAgainIsNotShownAsConnected)
{
    ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, 3), 0);
    ASSERT_EQ(uitest::Commit(pref_, PREF_BAUD, 19200), 0);
    SetComPortDevice(1, QStringLiteral("/nonexistent/gone"));  // unplugged meanwhile
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    ASSERT_EQ(uitest::Popups().size(), 2u);
    EXPECT_EQ(uitest::Popups()[1].text.rfind("Failed to Open Comm Port\nCOM1 (/nonexistent/gone): ", 0), 0u)
        << uitest::Popups()[1].text;
    EXPECT_EQ(g_com_port, 0);
    EXPECT_EQ(g_com_baud, 9600);
    EXPECT_EQ(MainStatus(), "No camera");
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 1);
}

TEST_F(PrefDialog, ProbingAPortReportsOnlyWhenThereIsNoCameraAndChangesNothingResetLabelsWaitsForOK)
{
    choosePort(2);
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(camera(2).log(), std::vector<std::string>{":CAM?"});
    EXPECT_FALSE(PortOpen(2));

    choosePort(3);
    choosePort(4);
    // The port's device is missing: the message names it and the system's reason.
    ASSERT_EQ(uitest::Popups().size(), 2u);
    EXPECT_EQ(
        uitest::Popups()[0].text,
        "Failed to Open Comm Port\nCOM3 (/nonexistent/iccd-test-com3): Cannot open port: No such file or "
        "directory.");
    EXPECT_EQ(uitest::Popups()[1], (Popup{"ERROR", "Camera Not Found on This Port"}));
    EXPECT_FALSE(PortOpen(4));

    // The port of the link is asked over the open link.
    uitest::ClearPopups();
    camera(1).clearLog();
    choosePort(1);
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(camera(1).log(), std::vector<std::string>{":CAM?"});
    expectLinkKept();
    char model[kModelNameSize] = "";
    EXPECT_EQ(Comm_GetModel(model), COMM_OK);  // the link still answers
    EXPECT_STREQ(model, "VKC-475");

    // Reset Labels takes effect only with OK.
    ASSERT_EQ(uitest::Click(pref_, PREF_RESETLABELS), 0);
    EXPECT_EQ(CtrlText(pref_, PREF_LABEL1), "Zoom");
    EXPECT_EQ(CtrlText(pref_, PREF_LABEL3), "Iris");
    ASSERT_EQ(uitest::Click(pref_, PREF_CANCEL), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_STREQ(g_label1, "Zoom Control");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Control");

    open();
    ASSERT_EQ(uitest::Click(pref_, PREF_RESETLABELS), 0);
    ASSERT_EQ(uitest::Commit(pref_, PREF_LABEL3, "Aperture of the main lens group"), 0);
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_STREQ(g_label1, "Zoom");
    EXPECT_STREQ(g_label2, "Focus");
    EXPECT_STREQ(g_label3, "Aperture of the main le");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L3), g_label3);
    // Same port: the camera is asked who it is over the open link, not re-read.
    EXPECT_EQ(camera(1).log(), std::vector<std::string>{":CAM?"});
    EXPECT_TRUE(PortOpen(1));
}

// Arrow keys commit every port they pass: only the last one is asked.
TEST_F(PrefDialog, ArrowingThroughThePortsAsksOnlyThePortItStaysOn)
{
    for (int port : {2, 3, 4}) ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, port), 0);
    PumpFor(kPortProbeDelayMs / 2);
    EXPECT_TRUE(camera(4).log().empty());  // still moving, as far as anyone knows
    PumpFor(kPortProbeDelayMs);
    EXPECT_TRUE(camera(2).log().empty());
    EXPECT_EQ(camera(4).log(), std::vector<std::string>{":CAM?"});
    EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"ERROR", "Camera Not Found on This Port"}}));

    // OK asks the port itself; the probe waiting for the ring is dropped.
    uitest::ClearPopups();
    ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, 2), 0);
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    PumpFor(kPortProbeDelayMs + 100);
    EXPECT_EQ(g_com_port, 2);
    EXPECT_EQ(CountSent(camera(2).log(), ":CAM?"), 1);
    EXPECT_TRUE(uitest::Popups().empty());
}

// OK to a port without a camera keeps the dialog and the link; OK to another
// camera then moves the link and reads it.
TEST_F(PrefDialog, OKMovesTheLinkOnlyToAPortWithACamera)
{
    camera(2).setReg("ALV", 99);
    ASSERT_EQ(uitest::Commit(pref_, PREF_LABEL1, "Tele"), 0);
    for (int port : {3, 4}) {
        ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, port), 0);
        uitest::ClearPopups();
        ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
        EXPECT_EQ(uitest::Popups().size(), 1u);
        EXPECT_EQ(uitest::TopPopup(), pref_);
        EXPECT_FALSE(PortOpen(port));
    }
    EXPECT_EQ(uitest::Popups().back().text, "Camera Not Found on This Port");
    EXPECT_STREQ(g_label1, "Zoom Control");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Control");
    expectLinkKept();

    ASSERT_EQ(uitest::Commit(pref_, PREF_COM_LIST, 2), 0);
    ASSERT_EQ(uitest::Click(pref_, PREF_OKBUTTON), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(g_com_port, 2);
    EXPECT_EQ(g_cam_model_user_idx, 1);
    EXPECT_FALSE(PortOpen(1));  // not left open behind the new link
    EXPECT_TRUE(PortOpen(2));
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 99);
    EXPECT_STREQ(g_label1, "Tele");
    EXPECT_EQ(MainTitle(), "Ulvo EH-4000 Camera Control");
    EXPECT_EQ(MainStatus(), "COM2 (sim:EH-4000)    Connected    EH-4000    firmware V1.08    FPGA F1.02");

    quit();
    EXPECT_EQ(iniLines().at(0), "Camera Comm Port: 2");
}

using PrefWithoutCamera = AppTest;

TEST_F(PrefWithoutCamera, ACameraFoundLaterBringsTheWindowToLife)
{
    ASSERT_EQ(start(), AppStartResult::Started);
    const int pref = uitest::TopPopup();
    ASSERT_EQ(PanelName(pref), "PREF");
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 1);

    putCamera(6, "VK-470");  // plugged in while the dialog is open
    ASSERT_EQ(uitest::Commit(pref, PREF_COM_LIST, 6), 0);
    ASSERT_EQ(uitest::Click(pref, PREF_OKBUTTON), 0);
    EXPECT_EQ(g_com_port, 6);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    EXPECT_EQ(MenuDimmed(MAINMNU_FILE_LOAD), 0);
    EXPECT_EQ(MainTitle(), "Ulvo VK-470 Camera Control");
}

}  // namespace
