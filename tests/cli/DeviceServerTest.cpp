// iccdctl in front of real kinds of link: a simulated camera's
// pseudo-terminal behind a serial device server (ser2net, raw TCP), and a
// device that goes away while a command waits for its reply.
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "CliTest.h"
#include "support/DeviceServer.h"
#include "support/SimProcess.h"

namespace {

TEST(DeviceServerTest, EveryCommandWorksThroughSer2net)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("camera"));
    SimProcess sim({"--pty", "--link", link, "--model", "VK-470"});
    ASSERT_FALSE(sim.device().isEmpty());
    const quint16 port = FreeTcpPort();
    ASSERT_NE(port, 0);
    DeviceServer server(link, port, dir.path());
    ASSERT_TRUE(server.start()) << server.error().toStdString();
    const std::string device = server.deviceText().toStdString();
    const std::string file = dir.filePath(QStringLiteral("vk470.cfg")).toStdString();
    const auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--device", device});
        return RunIccdctlCommand(args);
    };

    const CliResult identify = ctl({"identify"});
    EXPECT_EQ(identify.status, 0) << identify.err;
    EXPECT_EQ(identify.out.substr(0, identify.out.find("firmware")), "model: VK-470\nrow: 4\nclass: 4\n");
    EXPECT_EQ(ctl({"raw", ":ALV=77"}), (CliResult{0, "\n", ""}));
    const CliResult snapshot = ctl({"snapshot"});
    EXPECT_EQ(snapshot.status, 0) << snapshot.err;
    EXPECT_NE(snapshot.out.find("alv: 77\n"), std::string::npos) << snapshot.out;

    ASSERT_EQ(ctl({"save", file}).status, 0);
    EXPECT_EQ(ctl({"raw", ":ALV=12"}).status, 0);
    // The file differs from the camera in the one setting changed since.
    EXPECT_EQ(ctl({"diff", file}), (CliResult{1, "ALV: file 77, camera 12\n", ""}));
    EXPECT_EQ(ctl({"load", file}), (CliResult{0, "read failures: 0\nsend failures: 0\n",
                                              "Reading Settings from File...\nSending Settings to Camera...\n"
                                              "Refreshing displayed values...\n"}));
    EXPECT_EQ(ctl({"diff", file}), (CliResult{0, "", ""}));
}

TEST(DeviceServerTest, ADeviceGoneWhileACommandWaitsIsReportedAsLost)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("camera"));
    // Every reply comes after 800 ms: the model query is answered, and the
    // device goes while the gain query waits.
    auto sim = std::make_unique<SimProcess>(QStringList{"--pty", "--link", link, "--delay", "800"});
    ASSERT_FALSE(sim->device().isEmpty());
    QTimer::singleShot(1200, [&sim] { sim->kill(); });
    EXPECT_EQ(
        RunIccdctlCommand({"--device", link.toStdString(), "get", "AGN"}),
        (CliResult{1, "",
                   "AGN: Camera link lost (the device was removed or closed).\nReading AGN (Manual Gain): "
                   "the device behind COM1 (" +
                       link.toStdString() + ") went away.\n"}));
}

}  // namespace
