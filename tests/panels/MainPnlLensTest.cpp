// The lens buttons: a drive voltage while held, 0 V when let go.
#include <QTimer>

#include "MainPanelFixture.h"
#include "resources/UlvoIccd.h"

namespace {

class MainPnlLensTest : public MainPanelTest {};

TEST_F(MainPnlLensTest, HeldButtonDrivesItsAxisAndLettingGoStopsIt)
{
    start("VK-470");
    g_focus_maxv = 6.0f;
    g_focus_coarse = 50.0f;
    for (int control : {MAIN_IRC_SMALLDOWN, MAIN_ZM_BIGUP, MAIN_FOC_BIGDOWN}) {
        ASSERT_EQ(uitest::Press(panel(), control), 0);
        ASSERT_EQ(uitest::Release(panel(), control), 0);
    }
    g_focus_maxv = 9.0f;
    g_focus_coarse = 10.0f;
    // -0.09 V and 0.9 V with the initial speeds; -3.0 V from 6 V at 50 %.
    EXPECT_EQ(sent(),
              (std::vector<std::string>{":IRC=-1", ":IRC=0", ":ZMC=13", ":ZMC=0", ":FOC=-42", ":FOC=0"}));
    EXPECT_TRUE(popups().empty());  // lens commands report nothing
}

TEST_F(MainPnlLensTest, ButtonLetGoDuringThePressCommandStillStopsTheAxis)
{
    start("VK-470");
    camera().faults().replyDelayMs = 150;
    QTimer::singleShot(30, [] { uitest::Release(g_mainpanel, MAIN_ZM_SMALLUP); });
    ASSERT_EQ(uitest::Press(panel(), MAIN_ZM_SMALLUP), 0);  // returns once its reply came
    PumpEvents(400);
    EXPECT_EQ(sent(), (std::vector<std::string>{":ZMC=1", ":ZMC=0"}));
}

}  // namespace
