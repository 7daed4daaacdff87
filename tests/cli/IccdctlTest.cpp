// iccdctl: options, exit statuses and the identify and raw commands.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>

#include "CliTest.h"
#include "camera/Link.h"
#include "platform/Rs232.h"
#include "support/SimProcess.h"

namespace {

using IccdctlTest = CliTest;

// Whole runs: a device that is not there (raw opens the port without asking
// for a camera: the system's reason), raw's lines in order, and options named
// as written, not as the parser knows them.
TEST_F(IccdctlTest, RunsGiveTheirStatusOutputAndErrors)
{
    const std::pair<std::vector<std::string>, CliResult> runs[] = {
        {{"--port", "7", "--device", "/nonexistent/tty", "identify"},
         {1, "",
          "No Camera Communication Link Found\nCOM7 (/nonexistent/tty): Cannot open port: No such file or "
          "directory.\n"}},
        {{"--port", "7", "--device", "/nonexistent/tty", "raw", ":CAM?"},
         {1, "",
          "Failed to Open Comm Port 7 (/nonexistent/tty): Cannot open port: No such file or directory.\n"}},
        {{"--device", "sim:EH-4000", "raw", ":ALV=12", ":ALV?", ":CAM?"}, {0, "\nALV 12\nEH-4000\n", ""}},
        {{"--device", "sim:EH-4000", "raw", ":NOPE?", ":CAM?"},
         {1, "ERROR: Camera returned error message NAK.\nEH-4000\n",
          "Reading NOPE: the camera refused it.\n"}},
        {{"-bogus=1", "identify"}, {2, "", "iccdctl: unknown option -bogus=1 (see iccdctl --help)\n"}},
        {{"--baud", "9600", "--port"}, {2, "", "iccdctl: --port needs a value (see iccdctl --help)\n"}},
    };
    for (const auto& [args, result] : runs) EXPECT_EQ(run(args), result) << args[0] << " " << args.back();
}

TEST_F(IccdctlTest, UsageErrorsExitWithTwo)
{
    const std::vector<std::string> usages[] = {{},
                                               {"--port"},
                                               {"--port", "0", "identify"},
                                               {"--port", "33", "identify"},
                                               {"--port", "x", "identify"},
                                               {"--baud", "-5", "identify"},
                                               {"--bogus", "identify"},
                                               {"--device", "", "identify"},
                                               {"--as-model", "VK-999", "snapshot"},
                                               {"frobnicate"},
                                               {"raw"},
                                               {"identify", "extra"}};
    for (const std::vector<std::string>& args : usages) {
        const CliResult r = run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(r.err.empty());
    }
    const CliResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("identify"), std::string::npos);
    EXPECT_NE(help.out.find("raw LINE..."), std::string::npos);
}

// The two programs as a user runs them: iccdsim on a pseudo-terminal, iccdctl
// against the device it printed.
TEST(IccdctlProgramTest, IdentifyAndSnapshotAgainstTheSimulatorOnAPty)
{
    SimProcess sim({"--model", "VKC-475", "--pty"});
    ASSERT_FALSE(sim.device().isEmpty());
    for (const char* command : {"identify", "snapshot"}) {
        QProcess ctl;
        ctl.start(BuiltProgram("iccdctl"), {"--device", sim.device(), command});
        ASSERT_TRUE(ctl.waitForFinished(10000));
        EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
        const QString out = QString::fromLocal8Bit(ctl.readAllStandardOutput());
        if (command == std::string("identify")) {
            // The five lines, the firmware and FPGA versions as the camera tells them.
            EXPECT_EQ(out,
                      QStringLiteral("model: VKC-475\nrow: 5\nclass: 5\nfirmware: V2.21\nfpga: F3.02\n"));
        } else {
            EXPECT_EQ(out.count(QLatin1Char('\n')), 57 + 35);
            EXPECT_TRUE(out.contains(QStringLiteral("\nsno: C4752120250317C2\n"))) << out.toStdString();
        }
    }
}

// A device another program holds is refused by name, whoever runs the second
// program and by whatever name it reaches the device: two programs on one line
// would take each other's replies.
TEST(IccdctlProgramTest, ADeviceInUseIsRefusedByName)
{
    SimProcess sim({"--model", "VK-470", "--pty"});
    ASSERT_FALSE(sim.device().isEmpty());
    SetComPortDevice(5, sim.device());
    ASSERT_EQ(Comm_OpenPort(5, 9600), 0);  // this process holds it now

    const QString link =
        QDir::tempPath() + QStringLiteral("/iccd-inuse-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(sim.device(), link));
    SetComPortDevice(6, link);
    EXPECT_EQ(Comm_OpenPort(6, 9600), kRS_PortInUse);

    QProcess ctl;
    ctl.start(BuiltProgram("iccdctl"), {"--port", "3", "--device", link, "identify"});
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitCode(), 1);
    EXPECT_EQ(QString::fromLocal8Bit(ctl.readAllStandardError()).toStdString(),
              "No Camera Communication Link Found\nCOM3 (" + link.toStdString() +
                  "): The device is in use by another program.\n");

    Comm_ClosePort(5);
    ClearComPortDevices();
    QFile::remove(link);
}

}  // namespace
