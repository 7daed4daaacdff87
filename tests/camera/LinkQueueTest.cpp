// Operator actions that find the link in use: queued in order behind the
// running operation, never squeezed between its transactions and never
// dropped; a lens stop goes out at the very next gap.
#include <QTimer>
#include <string>
#include <vector>

#include "camera/CamTypes.h"
#include "camera/Composite.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "support/SimLink.h"

namespace {

using Lines = std::vector<std::string>;

class LinkQueueTest : public SimLinkTest {
protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        camera().faults().replyDelayMs = 30;
    }

    // An operation of three transactions, with something done during the
    // first one's wait.
    void runOperation(std::function<void()> duringFirstWait)
    {
        QTimer::singleShot(10, std::move(duringFirstWait));
        CommOperation operation;
        Comm_SetIntVal(":ALV=", 1);
        Comm_SetIntVal(":ALV=", 2);
        Comm_SetIntVal(":ALV=", 3);
    }
};

TEST_F(LinkQueueTest, ActionsDuringAnOperationFollowItInTheOrderGiven)
{
    int queuedDuringWait = -1;
    bool ranAtOnce = true;
    runOperation([&] {
        ranAtOnce = Comm_WhenLinkIdle([] { Comm_SetIntVal(":GAM=", 1); });
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":VMD=", 1); });
        queuedDuringWait = Comm_QueuedActionCount();
    });
    EXPECT_FALSE(ranAtOnce);
    EXPECT_EQ(queuedDuringWait, 2);
    EXPECT_EQ(sent(), (Lines{":ALV=1", ":ALV=2", ":ALV=3", ":GAM=1", ":VMD=1"}));
    EXPECT_EQ(Comm_QueuedActionCount(), 0);
    EXPECT_FALSE(Comm_LinkInUse());

    // With the link idle an action runs at once.
    clearLog();
    EXPECT_TRUE(Comm_WhenLinkIdle([] { Comm_SetIntVal(":GAM=", 0); }));
    EXPECT_EQ(sent(), Lines{":GAM=0"});
}

TEST_F(LinkQueueTest, ActionsQueuedByAQueuedActionRunAfterIt)
{
    runOperation([] {
        Comm_WhenLinkIdle([] {
            // This action's own wait lets the operator act again.
            QTimer::singleShot(10, [] { Comm_WhenLinkIdle([] { Comm_SetIntVal(":MIR=", 1); }); });
            Comm_SetIntVal(":GAM=", 1);
            Comm_SetIntVal(":VMD=", 1);
        });
    });
    EXPECT_EQ(sent(), (Lines{":ALV=1", ":ALV=2", ":ALV=3", ":GAM=1", ":VMD=1", ":MIR=1"}));
}

TEST_F(LinkQueueTest, ControlCommittedAgainWhileWaitingIsCarriedOutOnce)
{
    static const char gain = 0, gamma = 0;
    runOperation([] {
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":AGN=", 10); }, &gain);
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":AGN=", 20); }, &gain);  // replaces the one before
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":GAM=", 1); }, &gamma);
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":AGN=", 30); }, &gain);  // after another: kept in order
    });
    EXPECT_EQ(sent(), (Lines{":ALV=1", ":ALV=2", ":ALV=3", ":AGN=20", ":GAM=1", ":AGN=30"}));
}

TEST_F(LinkQueueTest, LensStopGoesOutAtTheNextGapAheadOfEverythingElse)
{
    runOperation([] {
        Comm_WhenLinkIdle([] { Comm_SetIntVal(":GAM=", 1); });
        Comm_AtNextGap([] { Comm_SetIntVal(":ZMC=", 0); });
    });
    EXPECT_EQ(sent(), (Lines{":ALV=1", ":ZMC=0", ":ALV=2", ":ALV=3", ":GAM=1"}));

    // Between transactions the gap is now.
    clearLog();
    Comm_AtNextGap([] { Comm_SetIntVal(":FOC=", 0); });
    EXPECT_EQ(sent(), Lines{":FOC=0"});
}

TEST_F(LinkQueueTest, MultiLineCommandsAreOneOperation)
{
    // Three split-line counts go out together; an action waits for all three.
    QTimer::singleShot(10, [] { Comm_WhenLinkIdle([] { Comm_SetIntVal(":SSE=", 1); }); });
    EXPECT_EQ(Comm_SetSSPosThick(50, 10, 10), COMM_OK);
    EXPECT_EQ(sent(), (Lines{":HSM=90", ":HSL=81", ":HSR=99", ":SSE=1"}));
}

}  // namespace
