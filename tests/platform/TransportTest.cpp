// Which transport a port opens: what the serial services reach by themselves,
// what an installed factory decides, and the factory the programs install.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

#include "devices/DeviceTransports.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "platform/Transport.h"

namespace {

struct Asked {
    static inline QString device;
    static inline int port = 0;
};

std::unique_ptr<Transport> refuseEverything(const QString& device, int port)
{
    Asked::device = device;
    Asked::port = port;
    return nullptr;
}

// Each test starts without a factory; the one the test program installed
// comes back afterwards.
class TransportFactoryTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = SetTransportFactory(nullptr); }
    void TearDown() override
    {
        for (int port : {3, 4}) CloseCom(port);
        ReleaseClosedPorts();
        ClearComPortDevices();
        ResetSimCameras();
        SetTransportFactory(saved_);
    }
    TransportFactory saved_ = nullptr;
};

TEST_F(TransportFactoryTest, WithoutOneRealDevicesStillOpenButTheSimulatedCameraDoesNot)
{
    ASSERT_NE(saved_, nullptr);  // the test program installed the programs' factory

    SetComPortDevice(3, QStringLiteral("sim:VK-400"));
    EXPECT_EQ(OpenComConfig(3, "COM3", 9600, 0, 8, 1, 512, 512), kRS_CanNotOpenPort);

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    SetComPortDevice(4, QStringLiteral("tcp:127.0.0.1:%1").arg(server.serverPort()));
    ASSERT_EQ(OpenComConfig(4, "COM4", 9600, 0, 8, 1, 512, 512), kRS_Ok);
    // The open waited in the event loop, where the server took the connection.
    ASSERT_TRUE(server.hasPendingConnections());
    QTcpSocket* device = server.nextPendingConnection();
    ASSERT_EQ(ComWrt(4, ":CAM?\r", 6), 6);
    for (int i = 0; i < 200 && device->bytesAvailable() < 6; ++i) {
        WaitForSystemEvents(0.01);
        device->waitForReadyRead(0);
    }
    EXPECT_EQ(device->readAll(), QByteArray(":CAM?\r"));
}

TEST_F(TransportFactoryTest, AnInstalledFactoryIsAskedForEveryPortItOpens)
{
    EXPECT_EQ(SetTransportFactory(&refuseEverything), nullptr);

    SetComPortDevice(4, QStringLiteral("tcp:127.0.0.1:1"));
    EXPECT_EQ(OpenComConfig(4, "COM4", 9600, 0, 8, 1, 512, 512), kRS_CanNotOpenPort);
    EXPECT_EQ(Asked::device, QStringLiteral("tcp:127.0.0.1:1"));
    EXPECT_EQ(Asked::port, 4);

    EXPECT_EQ(OpenComConfig(3, "/dev/ttyS9", 9600, 0, 8, 1, 512, 512), kRS_CanNotOpenPort);
    EXPECT_EQ(Asked::device, QStringLiteral("/dev/ttyS9"));
    EXPECT_EQ(Asked::port, 3);

    EXPECT_EQ(SetTransportFactory(nullptr), &refuseEverything);
}

// A device under the test's control: it can refuse writes or go away.
class FakeDevice final : public Transport {
public:
    static inline FakeDevice* last = nullptr;
    FakeDevice() { last = this; }
    ~FakeDevice() override
    {
        if (last == this) last = nullptr;
    }
    int open(long, int, int, int) override { return kRS_Ok; }
    int write(const char*, int count) override { return refuse ? kRS_UnknownIOError : count; }
    void close() override {}
    void vanish()
    {
        if (onLinkDown) onLinkDown();
    }
    bool refuse = false;
};

std::unique_ptr<Transport> makeFake(const QString&, int)
{
    return std::make_unique<FakeDevice>();
}

struct DownReports {
    static inline int linkDown = 0;
    static inline int other = 0;
    static void take(int, int events, void*)
    {
        if (events == LWRS_LINKDOWN)
            ++linkDown;
        else
            ++other;
    }
};

class LinkDownTest : public TransportFactoryTest {
protected:
    void SetUp() override
    {
        TransportFactoryTest::SetUp();
        SetTransportFactory(&makeFake);
        DownReports::linkDown = DownReports::other = 0;
        ASSERT_EQ(OpenComConfig(3, "/fake", 9600, 0, 8, 1, 512, 512), kRS_Ok);
        InstallComCallback(3, LWRS_RXCHAR | LWRS_LINKDOWN, 1, 0, &DownReports::take, nullptr);
    }
    static void pump()
    {
        for (int i = 0; i < 3; ++i) WaitForSystemEvents(0.002);
    }
};

TEST_F(LinkDownTest, ARefusedWriteIsALostDeviceReportedOnceFromTheEventLoop)
{
    FakeDevice::last->refuse = true;
    EXPECT_EQ(ComWrt(3, "x", 1), kRS_UnknownIOError);
    EXPECT_EQ(IsComLinkDown(3), 1);
    EXPECT_EQ(DownReports::linkDown, 0);  // not from inside the write
    EXPECT_EQ(ComWrt(3, "y", 1), kRS_LinkDown);
    FakeDevice::last->vanish();  // and the device's own word on it
    pump();
    EXPECT_EQ(DownReports::linkDown, 1);
    EXPECT_EQ(DownReports::other, 0);
}

TEST_F(LinkDownTest, AReportForAPortOpenedAgainMeanwhileIsDropped)
{
    FakeDevice::last->vanish();
    ASSERT_EQ(OpenComConfig(3, "/fake", 9600, 0, 8, 1, 512, 512), kRS_Ok);
    InstallComCallback(3, LWRS_RXCHAR | LWRS_LINKDOWN, 1, 0, &DownReports::take, nullptr);
    pump();
    EXPECT_EQ(DownReports::linkDown, 0);
    EXPECT_EQ(IsComLinkDown(3), 0);

    // Without LWRS_LINKDOWN in its mask, a callback hears nothing of it.
    InstallComCallback(3, LWRS_RXCHAR, 1, 0, &DownReports::take, nullptr);
    FakeDevice::last->vanish();
    pump();
    EXPECT_EQ(DownReports::linkDown + DownReports::other, 0);
    EXPECT_EQ(IsComLinkDown(3), 1);
}

// The programs' factory sends "sim:" texts to the simulated camera and leaves
// every other text to the serial services, malformed ones included.
TEST(DeviceTransportsTest, SimulatedCameraTextsAndTheRest)
{
    EXPECT_NE(MakeDeviceTransport(QStringLiteral("sim:VK-400"), 3), nullptr);
    EXPECT_NE(MakeDeviceTransport(QStringLiteral("sim:VK-400,paced"), 4), nullptr);
    EXPECT_EQ(MakeDeviceTransport(QStringLiteral("sim:NO-SUCH"), 3), nullptr);
    EXPECT_EQ(MakeDeviceTransport(QStringLiteral("sim:VK-400"), 33), nullptr);
    EXPECT_EQ(MakeDeviceTransport(QStringLiteral("tcp:host:0"), 3), nullptr);
    EXPECT_EQ(MakeDeviceTransport(QStringLiteral("tcp::4001"), 3), nullptr);
    EXPECT_EQ(MakeDeviceTransport(QString(), 3), nullptr);
    ResetSimCameras();
}

}  // namespace
