// The camera's device going away and coming back under the desktop program,
// over the real kinds of link: a pseudo-terminal reached through a link path
// that the simulator keeps, a TCP connection, and a serial device server
// (ser2net) in front of a pseudo-terminal.
#include <QDir>
#include <memory>

#include "AppFixture.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "resources/UlvoIccd.h"
#include "sim/EventWait.h"
#include "support/DeviceServer.h"
#include "support/SimProcess.h"
#include "support/UiTestDriver.h"

namespace {

class LinkReturn : public AppTest {
protected:
    QString inDir(const char* name) const { return QString::fromStdString(path(name)); }

    // Starts the program on port 1 mapped to device, which a camera serves.
    void startOnDevice(const QString& device)
    {
        SetComPortDevice(1, device);
        writeIni(1);
        ASSERT_EQ(start(), AppStartResult::Started);
        ASSERT_EQ(g_com_port, 1);
        ASSERT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    }

    void expectLost()
    {
        ASSERT_TRUE(WaitUntil(Mpnl_LookingForCamera, 3000)) << "the loss was not noticed";
        EXPECT_EQ(Comm_LinkLost(), 1);
        EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 1);
        EXPECT_NE(MainTitle().find(" - camera link lost, looking for the camera on COM1"), std::string::npos)
            << MainTitle();
    }

    void expectBack(const char* title)
    {
        ASSERT_TRUE(WaitUntil([] { return Comm_LinkLost() == 0 && !Mpnl_LookingForCamera(); }, 6000))
            << "the camera was not found again";
        EXPECT_EQ(MainTitle(), title);
        EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
        // Nothing was said while it looked; the message of the failed command
        // at the moment of loss is all.
        for (const uitest::Popup& p : uitest::Popups())
            EXPECT_EQ(p.text.find("No camera"), std::string::npos) << p.text;
    }
};

TEST_F(LinkReturn, APseudoTerminalThatComesBackAsAnotherModelOnItsLinkPath)
{
    const QString link = inDir("camera");
    auto sim = std::make_unique<SimProcess>(QStringList{"--pty", "--link", link, "--model", "VKC-475"});
    ASSERT_FALSE(sim->device().isEmpty());
    startOnDevice(link);
    EXPECT_EQ(g_cam_model_user_idx, 5);

    sim->kill();
    expectLost();

    sim = std::make_unique<SimProcess>(QStringList{"--pty", "--link", link, "--model", "VK-470"});
    ASSERT_FALSE(sim->device().isEmpty());
    expectBack("Ulvo VK-470 Camera Control - camera link restored");
    EXPECT_EQ(g_cam_model_user_idx, 4);
    EXPECT_EQ(Visible(g_mainpanel, MAIN_VSAT), 0);  // the monochrome shape
}

TEST_F(LinkReturn, ATcpCameraThatIsRestartedOnItsPort)
{
    const quint16 port = FreeTcpPort();
    ASSERT_NE(port, 0);
    const QString where = QStringLiteral("127.0.0.1:%1").arg(port);
    auto sim = std::make_unique<SimProcess>(QStringList{"--tcp", where, "--model", "VK-400"});
    ASSERT_EQ(sim->device(), "tcp:" + where);
    startOnDevice(sim->device());

    sim->kill();
    expectLost();
    PumpFor(1500);  // a refused connection or two while it is away
    EXPECT_EQ(Comm_LinkLost(), 1);

    sim = std::make_unique<SimProcess>(QStringList{"--tcp", where, "--model", "VK-400"});
    ASSERT_EQ(sim->device(), "tcp:" + where);
    expectBack("Ulvo VK-400 Camera Control - camera link restored");
}

TEST_F(LinkReturn, ADeviceServerRestartedMidSession)
{
    const QString link = inDir("camera");
    SimProcess sim({"--pty", "--link", link, "--model", "VK-475"});
    ASSERT_FALSE(sim.device().isEmpty());
    const quint16 port = FreeTcpPort();
    ASSERT_NE(port, 0);
    auto server =
        std::make_unique<DeviceServer>(link, port, QString::fromStdString(dir_->path().toStdString()));
    ASSERT_TRUE(server->start()) << server->error().toStdString();
    startOnDevice(server->deviceText());

    // A setting made before the restart is read back after it.
    uitest::Commit(g_mainpanel, MAIN_ALV, 61);
    server->stop();
    expectLost();

    server = std::make_unique<DeviceServer>(link, port, QString::fromStdString(dir_->path().toStdString()));
    ASSERT_TRUE(server->start()) << server->error().toStdString();
    expectBack("Ulvo VK-475 Camera Control - camera link restored");
    SetCtrlVal(g_mainpanel, MAIN_ALV, 0);
    uitest::Click(g_mainpanel, MAIN_REFRESH);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 61);
}

}  // namespace
