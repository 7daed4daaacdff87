// The link over real transports: the iccdsim program on a pseudo-terminal
// (through the serial-port transport) and on a TCP port.
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <memory>

#include "camera/Connect.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "support/SimLink.h"
#include "support/SimProcess.h"

namespace {

struct Transport {
    const char* name;
    QStringList args;
};

void PrintTo(const Transport& transport, std::ostream* os)
{
    *os << transport.name;
}

class EndToEndTest : public ::testing::TestWithParam<Transport> {
protected:
    void TearDown() override
    {
        if (g_com_port) Comm_ClosePort(g_com_port);
        g_com_port = 0;
        PumpEvents(0);
        ClearComPortDevices();
    }

    // Starts iccdsim with the transport's arguments plus extra, and opens the
    // camera through port 2.
    std::unique_ptr<SimProcess> start(QStringList extra)
    {
        auto sim = std::make_unique<SimProcess>(GetParam().args + extra);
        EXPECT_FALSE(sim->device().isEmpty()) << "iccdsim did not start";
        SetComPortDevice(2, sim->device());
        EXPECT_EQ(OpenCamera(2, 9600, 0), 0);
        return sim;
    }
};

TEST_P(EndToEndTest, IdentifyQueryAndRefusal)
{
    auto sim = start({"--model", "LS-375", "--refuse", "AGN"});
    EXPECT_EQ(g_com_port, 2);
    EXPECT_EQ(g_cam_model_user_idx, 10);
    EXPECT_EQ(g_cam_model_idx, 7);
    EXPECT_EQ(Comm_SetIntVal(":ALV=", 140), COMM_OK);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    EXPECT_EQ(value, 140);
    EXPECT_EQ(Comm_SetIntVal(":AGN=", 3), COMM_NAK);
}

// A duplicate that has not begun to arrive when the next command goes out is
// indistinguishable from that command's answer; what matters is that no value
// is ever misread and that the link is back in step at once.
TEST_P(EndToEndTest, MisbehavingCameraNeverKnocksTheLinkOutOfStep)
{
    auto sim = start({"--junk", "##", "--byte-by-byte", "--duplicate"});
    for (int i = 0; i < 8; ++i) {
        Comm_SetIntVal(":SHS=", 10 + i);
        int value = -1;
        const int status = Comm_GetIntVal(":SHS?\r", &value);
        ASSERT_TRUE(status == COMM_OK || status == COMM_UNRECOGNIZED) << status;
        if (status == COMM_OK) {
            EXPECT_EQ(value, 10 + i);
        }
    }
    PumpEvents(50);
    int value = -1;
    EXPECT_EQ(Comm_GetIntVal(":SHS?\r", &value), COMM_OK);
    EXPECT_EQ(value, 17);
}

// A text 600 ms past its time-out: the second asking takes it, and the
// second asking's own answer, as late, is no answer to what follows.
TEST_P(EndToEndTest, LateTextIsTakenOnceAndItsEchoByNoOne)
{
    auto sim = start({"--late", "VER", "--late-ms", "2600"});
    char version[kReplySize] = "";
    EXPECT_EQ(Comm_GetFWVer(version, sizeof version), COMM_OK);
    EXPECT_STREQ(version, "V2.21");
    char fpga[kReplySize] = "";
    EXPECT_EQ(Comm_GetFPGAVer(fpga, sizeof fpga), COMM_OK);
    EXPECT_STREQ(fpga, "F3.02");
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
}

TEST_P(EndToEndTest, HangUpMidTransactionEndsTheWaitAsLost)
{
    auto sim = start({"--delay", "1500"});
    QTimer::singleShot(200, [&sim] { sim->kill(); });
    const double begin = Timer();
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);
    EXPECT_LT(Timer() - begin, 1.2);                               // the dead device ends the wait early
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);  // nothing can be written
    EXPECT_EQ(IsComLinkDown(2), 1);
}

INSTANTIATE_TEST_SUITE_P(Transports, EndToEndTest,
                         ::testing::Values(Transport{"pty", {"--pty"}},
                                           Transport{"tcp", {"--tcp", "127.0.0.1:0"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PtyReconnectTest, CameraThatComesBackOnItsLinkIsFoundAgain)
{
    const QString link =
        QDir::tempPath() + QStringLiteral("/iccd-e2e-%1").arg(QCoreApplication::applicationPid());
    SimProcess sim({"--pty", "--link", link, "--hangup-after", "1"});
    ASSERT_FALSE(sim.device().isEmpty());
    SetComPortDevice(2, link);
    ASSERT_EQ(OpenCamera(2, 9600, 0), 0);  // the model query is command 1; then the camera hangs up
    PumpEvents(100);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);
    EXPECT_EQ(Comm_LinkLost(), 1);
    ASSERT_FALSE(sim.nextLine().isEmpty());  // the simulator announces its new device
    EXPECT_EQ(Comm_Reconnect(), COMM_OK);    // the model, asked on the new device
    EXPECT_EQ(Comm_LinkLost(), 0);
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);
    Comm_ClosePort(2);
    g_com_port = 0;
    ClearComPortDevices();
}

TEST(PtyReconnectTest, NothingOnTheLinkPathLeavesTheLinkLostAndThePortClosed)
{
    const QString link =
        QDir::tempPath() + QStringLiteral("/iccd-e2e-gone-%1").arg(QCoreApplication::applicationPid());
    auto sim = std::make_unique<SimProcess>(QStringList{"--pty", "--link", link});
    ASSERT_FALSE(sim->device().isEmpty());
    SetComPortDevice(2, link);
    ASSERT_EQ(OpenCamera(2, 9600, 0), 0);
    sim.reset();  // gone, and its link path with it
    PumpEvents(100);
    EXPECT_EQ(Comm_LinkLost(), 1);
    EXPECT_EQ(Comm_Reconnect(), COMM_LINK_LOST);
    EXPECT_EQ(Comm_LinkLost(), 1);
    EXPECT_EQ(GetInQLen(2), kRS_PortNotOpen);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_LINK_LOST);
    EXPECT_EQ(g_com_port, 2);  // still the camera's port, to be tried again
    g_com_port = 0;
    ClearComPortDevices();
}

}  // namespace
