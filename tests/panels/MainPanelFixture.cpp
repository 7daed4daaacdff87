#include "MainPanelFixture.h"

#include "camera/CamTypes.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Snapshot.h"
#include "devices/SimPorts.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "resources/UlvoIccd.h"

void MainPanelTest::SetUp()
{
    RegisterUlvoIccdResources();
    uitest::Reset();
    SimLinkTest::SetUp();
    Mpnl_RegisterCallbacks();
}

void MainPanelTest::TearDown()
{
    uitest::Reset();
    g_mainpanel = 0;
    g_mainmnuhandle = 0;
    g_hardware_rev = 0;
    SimLinkTest::TearDown();
}

void MainPanelTest::connect(const char* model, int screen)
{
    // A camera as it comes from the factory, whatever the test before did.
    if (g_com_port != 0) Comm_ClosePort(g_com_port);
    g_com_port = 0;
    ResetSimCameras();
    openSim(model);
    g_prog_type = screen;
}

void MainPanelTest::show()
{
    if (g_mainpanel > 0) DiscardPanel(g_mainpanel);
    g_mainpanel = LoadPanel(0, kUlvoIccdUir, MAIN);
    ASSERT_GT(g_mainpanel, 0);
    g_mainmnuhandle = LoadMenuBar(g_mainpanel, kUlvoIccdUir, MAINMNU);
    ASSERT_GT(g_mainmnuhandle, 0);
    ASSERT_EQ(DisplayPanel(g_mainpanel), 0);
    laidOutFrame_ = height(MAIN_DEC_VK47X);

    Mpnl_ConfigForModel();
    CamMainSettings rec{};
    SnapshotStats stats;
    ASSERT_EQ(Comm_QueryMainSettings(&rec, &stats), 0);
    Mpnl_DisplayMain(&rec, &stats);
    clearLog();
    uitest::ClearPopups();
}

int MainPanelTest::items(int control, int onPanel)
{
    int n = -1;
    EXPECT_EQ(GetNumListItems(onPanel, control, &n), 0);
    return n;
}

bool MainPanelTest::menuDimmed(int item)
{
    int v = -1;
    EXPECT_EQ(GetMenuBarAttribute(g_mainmnuhandle, item, ATTR_DIMMED, &v), 0);
    return v != 0;
}
