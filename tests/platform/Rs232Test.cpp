// Serial services: the port map, the input queue and its callback, and the
// serial-device transport on a pseudo-terminal made by the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "support/SimLink.h"

namespace {

TEST(ComPortMapTest, DefaultsEnvironmentAndOverrides)
{
    ClearComPortDevices();
    for (const auto& [port, device] : {std::pair{1, "/dev/ttyS0"},
                                       {8, "/dev/ttyS7"},
                                       {9, "/dev/ttyUSB0"},
                                       {16, "/dev/ttyUSB7"},
                                       {17, "/dev/ttyACM0"},
                                       {24, "/dev/ttyACM7"},
                                       {25, ""}})
        EXPECT_EQ(DefaultComPortDevice(port), device) << port;
    EXPECT_EQ(ComPortDevice(0) + ComPortDevice(33), "");

    qputenv("ICCD_COM5", "tcp:10.0.0.9:4001");
    EXPECT_EQ(ComPortDevice(5), "tcp:10.0.0.9:4001");
    SetComPortDevice(5, QStringLiteral("sim:VK-400"));
    EXPECT_EQ(ComPortDevice(5), "sim:VK-400");
    ClearComPortDevices();
    EXPECT_EQ(ComPortDevice(5), "tcp:10.0.0.9:4001");
    qunsetenv("ICCD_COM5");
    EXPECT_EQ(ComPortDevice(5), "/dev/ttyS4");
}

TEST(Rs232Test, ParametersAreChecked)
{
    SetComPortDevice(3, QStringLiteral("sim:VK-400"));
    EXPECT_EQ(OpenComConfig(0, "", 9600, 0, 8, 1, 512, 512), kRS_InvalidPortNum);
    EXPECT_EQ(OpenComConfig(3, "", 0, 0, 8, 1, 512, 512), kRS_InvalidBaudRate);
    EXPECT_EQ(OpenComConfig(3, "", 9600, 5, 8, 1, 512, 512), kRS_InvalidParity);
    EXPECT_EQ(OpenComConfig(3, "", 9600, 0, 9, 1, 512, 512), kRS_InvalidDataBits);
    EXPECT_EQ(OpenComConfig(3, "", 9600, 0, 8, 3, 512, 512), kRS_InvalidStopBits);
    EXPECT_EQ(OpenComConfig(25, "COM25", 9600, 0, 8, 1, 512, 512), kRS_NoPortFound);
    EXPECT_EQ(OpenComConfig(3, "tcp:nohost", 9600, 0, 8, 1, 512, 512), kRS_CanNotOpenPort);
    for (int (*call)(int) : {&CloseCom, &GetInQLen, &ComRdByte, &FlushInQ, &FlushOutQ})
        EXPECT_EQ(call(3), kRS_PortNotOpen);
    EXPECT_EQ(ComWrt(3, "x", 1), kRS_PortNotOpen);
    EXPECT_STREQ(GetRS232ErrorString(kRS_CanNotOpenPort), "Cannot open port.");
    ClearComPortDevices();
}

struct Received {
    static inline std::string bytes;
    static inline int calls = 0;
    static void take(int port, int, void*)
    {
        ++calls;
        const int n = GetInQLen(port);
        for (int i = 0; i < n; ++i) bytes += static_cast<char>(ComRdByte(port));
    }
    static void closeFromInside(int port, int, void*)
    {
        ++calls;
        CloseCom(port);
    }
};

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Received::bytes.clear();
        Received::calls = 0;
        SetComPortDevice(3, QStringLiteral("sim:VK-400"));
        ASSERT_EQ(OpenComConfig(3, "COM3", 9600, 0, 8, 1, 512, 512), 0);
    }
    void TearDown() override
    {
        CloseCom(3);
        PumpEvents(0);
        ClearComPortDevices();
        ResetSimCameras();
    }
};

TEST_F(QueueTest, BytesAreQueuedInOrderAndAFullQueueDropsTheExcess)
{
    const std::string big(600, 'x');
    ComInjectReceived(3, "abc", 3);
    EXPECT_EQ(GetInQLen(3), 3);
    std::vector<int> bytes = {ComRdByte(3), ComRdByte(3)};
    ComInjectReceived(3, "\xff", 1);
    for (int i = 0; i < 3; ++i) bytes.push_back(ComRdByte(3));
    EXPECT_EQ(bytes, (std::vector<int>{'a', 'b', 'c', 0xff, kRS_TimeOutErr}));  // bytes come back unsigned
    ComInjectReceived(3, big.data(), static_cast<int>(big.size()));
    EXPECT_EQ(GetInQLen(3), 512);
    FlushInQ(3);
    EXPECT_EQ(GetInQLen(3), 0);
}

TEST_F(QueueTest, CallbackRunsOncePerArrivalWhenEnoughBytesWait)
{
    ASSERT_EQ(InstallComCallback(3, LWRS_RECEIVE, 3, 0, &Received::take, nullptr), 0);
    ComInjectReceived(3, "ab", 2);
    EXPECT_EQ(Received::calls, 0);
    ComInjectReceived(3, "c", 1);
    EXPECT_EQ(Received::calls, 1);
    EXPECT_EQ(Received::bytes, "abc");
    InstallComCallback(3, 0, 0, 0, nullptr, nullptr);
    ComInjectReceived(3, "def", 3);
    EXPECT_EQ(Received::calls, 1);
    EXPECT_EQ(GetInQLen(3), 3);
}

TEST_F(QueueTest, SimulatedCameraAnswersThroughTheEventLoopOnlyAndACallbackMayCloseItsPort)
{
    InstallComCallback(3, LWRS_RXCHAR, 1, 0, &Received::take, nullptr);
    ASSERT_EQ(ComWrt(3, ":CAM?\r", 6), 6);
    EXPECT_EQ(Received::calls, 0);  // never from inside the write
    PumpEvents(20);
    EXPECT_EQ(Received::bytes, ":oVK-400\r");

    Received::calls = 0;
    InstallComCallback(3, LWRS_RXCHAR, 1, 0, &Received::closeFromInside, nullptr);
    ComInjectReceived(3, "x", 1);
    PumpEvents(10);
    EXPECT_EQ(Received::calls, 1);
    EXPECT_EQ(GetInQLen(3), kRS_PortNotOpen);
}

// A pseudo-terminal standing in for a serial device: the test holds the
// master side and plays the camera.
class PtyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Received::bytes.clear();
        Received::calls = 0;
        int slave = -1;
        char name[128];
        ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        close(slave);  // the port must be free for the exclusive open
        SetComPortDevice(6, QString::fromLocal8Bit(name));
    }
    void TearDown() override
    {
        CloseCom(6);
        PumpEvents(0);
        if (master_ >= 0) close(master_);
        ClearComPortDevices();
    }
    void fromCamera(const char* text) { ASSERT_GT(write(master_, text, strlen(text)), 0); }
    std::string toCamera()
    {
        std::string got;
        char buffer[256];
        fcntl(master_, F_SETFL, O_NONBLOCK);
        for (ssize_t n; (n = read(master_, buffer, sizeof buffer)) > 0;)
            got.append(buffer, static_cast<size_t>(n));
        return got;
    }
    int master_ = -1;
};

TEST_F(PtyTest, BytesTravelBothWaysAndOldInputIsDiscardedOnOpen)
{
    fromCamera("stale bytes\r");
    PumpEvents(20);
    ASSERT_EQ(OpenComConfig(6, "COM6", 9600, 0, 8, 1, 16384, 512), 0);
    InstallComCallback(6, LWRS_RXCHAR, 1, 0, &Received::take, nullptr);
    PumpEvents(20);
    EXPECT_EQ(Received::bytes, "");

    fromCamera(":o\r");
    for (int i = 0; i < 50 && Received::bytes.size() < 3; ++i) PumpEvents(5);
    EXPECT_EQ(Received::bytes, ":o\r");

    EXPECT_EQ(ComWrt(6, ":ALV?\r", 6), 6);
    PumpEvents(50);
    EXPECT_EQ(toCamera(), ":ALV?\r");
}

TEST_F(PtyTest, VanishedDeviceReportsLinkDownAndCanBeOpenedAgainLater)
{
    ASSERT_EQ(OpenComConfig(6, "COM6", 9600, 0, 8, 1, 16384, 512), 0);
    InstallComCallback(6, LWRS_RXCHAR, 1, 0, &Received::take, nullptr);
    close(master_);
    master_ = -1;
    for (int i = 0; i < 100 && !IsComLinkDown(6); ++i) PumpEvents(10);
    EXPECT_EQ(IsComLinkDown(6), 1);
    EXPECT_LT(ComWrt(6, "x", 1), 0);
    EXPECT_EQ(CloseCom(6), 0);

    // The device comes back (a new pseudo-terminal behind the same port).
    SetUp();
    ASSERT_EQ(OpenComConfig(6, "COM6", 9600, 0, 8, 1, 16384, 512), 0);
    EXPECT_EQ(IsComLinkDown(6), 0);
    EXPECT_EQ(ComWrt(6, "y", 1), 1);
}

TEST(TimingTest, WaitReturnsAsSoonAsAnEventArrives)
{
    bool fired = false;
    QTimer::singleShot(10, [&fired] { fired = true; });
    const double start = Timer();
    while (!fired && Timer() - start < 2.0) WaitForSystemEvents(2.0);
    EXPECT_TRUE(fired);
    EXPECT_LT(Timer() - start, 1.0);
}

}  // namespace
