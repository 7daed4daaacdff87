// The lens buttons (a drive voltage while held, 0 V when let go), and commands
// that arrive while the link is busy.
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

namespace {

class MainPnlBusyLinkTest : public MainPanelTest {};

// A value committed while another command waits for its reply reaches the
// camera once the link is free.
TEST_F(MainPnlBusyLinkTest, ValueCommittedDuringAnotherCommandIsSentAfterIt)
{
    start("VK-470");
    camera().faults().replyDelayMs = 150;
    QTimer::singleShot(30, [] { uitest::Commit(g_mainpanel, MAIN_ALV, 77); });
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    PumpEvents(400);
    EXPECT_EQ(sent(), (std::vector<std::string>{":GAM=0", ":ALV=77"}));
    EXPECT_EQ(camera().reg("ALV"), 77);
}

}  // namespace
