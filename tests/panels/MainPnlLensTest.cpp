// The lens buttons (a drive voltage while held, 0 V when let go), and commands
// that arrive while the link is busy.
#include <QTimer>

#include "MainPanelFixture.h"
#include "platform/Timing.h"

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
    EXPECT_EQ(sent(), (Lines{":IRC=-1", ":IRC=0", ":ZMC=13", ":ZMC=0", ":FOC=-42", ":FOC=0"}));
    EXPECT_TRUE(popups().empty());  // lens commands raise no pop-up
    // The status line tells the last move, and a stop the camera refused.
    EXPECT_EQ(lastAction(), "Focus Control driven down, coarse, then stopped");
    ASSERT_EQ(uitest::Press(panel(), MAIN_ZM_BIGUP), 0);
    camera().faults().refuse = {"ZMC"};
    ASSERT_EQ(uitest::Release(panel(), MAIN_ZM_BIGUP), 0);
    EXPECT_EQ(lastAction(),
              "Zoom Control driven up, coarse; the stop failed: Camera returned error message NAK.");
}

TEST_F(MainPnlLensTest, ButtonLetGoDuringThePressCommandStillStopsTheAxis)
{
    start("VK-470");
    camera().faults().replyDelayMs = 150;
    QTimer::singleShot(30, [] { uitest::Release(g_mainpanel, MAIN_ZM_SMALLUP); });
    ASSERT_EQ(uitest::Press(panel(), MAIN_ZM_SMALLUP), 0);  // returns once its reply came
    PumpEvents(400);
    EXPECT_EQ(sent(), (Lines{":ZMC=1", ":ZMC=0"}));
}

// A zoom let go while a slow camera is being refreshed (about ten seconds):
// the stop goes out at the very next gap, not after the refresh.
TEST_F(MainPnlLensTest, StopGoesOutInTheMiddleOfALongRefresh)
{
    start("VK-470");
    ASSERT_EQ(uitest::Press(panel(), MAIN_ZM_BIGUP), 0);
    ASSERT_EQ(sent(), Lines{":ZMC=13"});
    camera().faults().replyDelayMs = 220;  // 46 queries: a refresh of about 10 s
    double releasedAt = 0;
    QTimer::singleShot(500, [&releasedAt] {
        releasedAt = Timer();
        uitest::Release(g_mainpanel, MAIN_ZM_BIGUP);
    });
    const double begin = Timer();
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_GT(Timer() - begin, 9.0);

    const std::vector<std::string>& lines = sent();
    const auto stop = std::find(lines.begin(), lines.end(), ":ZMC=0");
    ASSERT_NE(stop, lines.end());
    // Released during the third query's wait (0.44 s to 0.66 s): the stop
    // follows that query, ahead of the fourth.
    EXPECT_EQ(stop - lines.begin(), 4);
    EXPECT_EQ(lines[1], ":CAM?");
    EXPECT_EQ(lines[3], ":SB2?");
    EXPECT_EQ(lines[5], ":SHE?");
    EXPECT_NE(std::find(stop, lines.end(), ":SRB?"), lines.end());  // the refresh went on to its end
    EXPECT_GT(releasedAt, begin);
}

// A press and release, then a value, all made while the camera is busy: the
// lens moves only as briefly as the operator asked, and each goes out in
// turn once the link is free.
TEST_F(MainPnlLensTest, PressReleaseAndValueWhileBusyFollowInTurn)
{
    start("VK-470");
    camera().faults().replyDelayMs = 50;
    QTimer::singleShot(10, [] {
        uitest::Press(g_mainpanel, MAIN_FOC_SMALLUP);
        uitest::Release(g_mainpanel, MAIN_FOC_SMALLUP);
        uitest::Commit(g_mainpanel, MAIN_ALV, 77);
    });
    ASSERT_EQ(uitest::Commit(panel(), MAIN_GAM, 0), 0);
    PumpEvents(300);
    EXPECT_EQ(sent(), (Lines{":GAM=0", ":FOC=1", ":FOC=0", ":ALV=77"}));
    EXPECT_EQ(camera().reg("ALV"), 77);
}

}  // namespace
