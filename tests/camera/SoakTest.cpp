// A shortened soak (tests/support/Soak.h) with a fixed seed: mixed traffic
// over a line that mangles replies, with a device that goes away and comes
// back.  bench/soak runs the same for longer and prints the figures.
#include "camera/Link.h"
#include "support/SimLink.h"
#include "support/Soak.h"

namespace {

class SoakTest : public SimLinkTest {
protected:
    void TearDown() override
    {
        Comm_SetReplyTimeout(0);
        SimLinkTest::TearDown();
    }
};

TEST_F(SoakTest, MixedTrafficOverABadLineNeverTakesAReplyForTheWrongCommand)
{
    // A fast line and a short time-out keep the silent steps cheap; the
    // time-out is twice bench/soak's, so that a busy build machine seldom
    // holds a reply back past it.
    Comm_ClosePort(1);
    ASSERT_EQ(Comm_OpenPort(1, 115200), 0);
    Comm_SetReplyTimeout(0.1);
    SoakRun soak(1, 20261207, 115200);
    soak.run(12000);
    const SoakCounts& c = soak.counts();
    EXPECT_EQ(c.steps, 12000);
    EXPECT_EQ(c.wrong, 0) << c.firstWrong;

    // Every loss of the device ended at once as lost, never as a time-out or
    // a success, and the link came back.
    EXPECT_GT(c.losses, 0);
    EXPECT_EQ(c.lossesOk, 0);
    EXPECT_EQ(c.lossesLinkLost, c.losses);

    // A transaction tried while another waits is refused and sends nothing.
    EXPECT_GT(c.nestedTries, 0);
    EXPECT_EQ(c.nestedRefused, c.nestedTries);
    EXPECT_EQ(c.busy, 0);

    // Each kind of fault was met, and it was the faults that made the
    // failures (a reply the loaded machine held past the time-out is counted
    // apart; a snapshot it stalls counts as unexplained, hence the margin).
    // About 3 % of the steps meet a fault or a window corner beyond the
    // camera's limits, so nine in ten succeed with room to spare.
    EXPECT_GT(c.lateLines, 0);
    EXPECT_GT(c.silentSteps, 0);
    EXPECT_GT(c.refusals, 0);
    EXPECT_GT(c.garbageLines, 0);
    EXPECT_GT(c.snapshots, 0);
    EXPECT_LE(c.unexplainedFailures, 12);
    EXPECT_GT(c.ok, 10800);
}

}  // namespace
