// The iccdsim program: its command line, and a camera served on a
// pseudo-terminal and on a TCP port to a client in this process.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "sim/SimOptions.h"

namespace {

const QString kProgram = QStringLiteral(ICCD_BIN_DIR "/iccdsim");

// iccdsim running in the background; stopped with SIGTERM at the end.
class Simulator {
public:
    explicit Simulator(const QStringList& args)
    {
        process_.start(kProgram, args);
        process_.waitForStarted(5000);
        firstLine_ = nextLine();
    }
    ~Simulator() { stop(); }

    const QString& firstLine() const { return firstLine_; }

    /// Processor time the simulator has used so far, in milliseconds.
    long cpuMs() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(process_.processId()));
        if (!stat.open(QIODevice::ReadOnly)) return -1;
        // Fields after the command name: state is the 3rd, utime the 14th, stime the 15th.
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        const long ticks = fields.value(11).toLong() + fields.value(12).toLong();
        return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
    }

    QString nextLine(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!process_.canReadLine() && process_.state() == QProcess::Running && t.elapsed() < timeoutMs)
            process_.waitForReadyRead(50);
        return QString::fromLocal8Bit(process_.readLine()).trimmed();
    }

    /// SIGTERM, then the exit status (-1 if it did not end normally).
    int stop()
    {
        if (process_.state() == QProcess::NotRunning) return process_.exitCode();
        ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QProcess process_;
    QString firstLine_;
};

// A client of the terminal, opened the way a terminal program would.
class PtyClient {
public:
    explicit PtyClient(const QString& path)
    {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
        if (fd_ < 0) return;
        termios tio;
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    ~PtyClient()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }

    /// Sends bytes and returns the first line of the reply.
    QByteArray ask(const QByteArray& bytes)
    {
        EXPECT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
        return readLine();
    }

    /// Bytes up to and including the next CR; stops early at a hang-up or timeout.
    QByteArray readLine(int timeoutMs = 2000)
    {
        QByteArray line;
        QElapsedTimer t;
        t.start();
        while (!line.endsWith('\r') && t.elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char c;
            if (::read(fd_, &c, 1) != 1) {
                hungUp_ = true;
                break;
            }
            line += c;
        }
        return line;
    }
    bool hungUp() const { return hungUp_; }

private:
    int fd_ = -1;
    bool hungUp_ = false;
};

QByteArray TcpAsk(QTcpSocket& socket, const QByteArray& line)
{
    socket.write(line);
    QByteArray reply;
    QElapsedTimer t;
    t.start();
    while (!reply.endsWith('\r') && t.elapsed() < 2000) {
        socket.waitForReadyRead(50);
        reply += socket.readAll();
    }
    return reply;
}

}  // namespace

TEST(IccdsimOptions, SwitchesFillTheFaultsAndTheTransport)
{
    QString error;
    auto opts = sim::ParseSimOptions(
        {"--model",  "LS-373", "--pty",    "--link=/tmp/cam", "--baud",         "9600", "--silent",
         "--delay",  "15",     "--refuse", "agn,:ALV",        "--late-ms",      "700",  "--overlong",
         "VER,FPGA", "--junk", "##",       "--byte-by-byte",  "--hangup-after", "4"},
        &error);
    ASSERT_TRUE(opts) << error.toStdString();
    EXPECT_EQ(opts->modelRow, 9);
    EXPECT_EQ(opts->linkPath, "/tmp/cam");
    EXPECT_EQ(opts->baud, 9600);
    const sim::Faults& f = opts->faults;
    EXPECT_TRUE(f.silent && f.byteByByte && !f.duplicateReplies);
    EXPECT_EQ(f.replyDelayMs, 15);
    EXPECT_EQ(f.refuse, (std::set<std::string>{"AGN", "ALV"}));
    EXPECT_EQ(f.overlong, (std::set<std::string>{"VER", "FPGA"}));
    EXPECT_EQ(f.lateDelayMs, 700);
    EXPECT_EQ(f.junkBeforeColon, "##");
    EXPECT_EQ(f.hangupAfter, 4);

    opts = sim::ParseSimOptions({"--tcp", "127.0.0.1:0", "--noise", "30", "--noise-byte", "nul", "--web"},
                                &error);
    ASSERT_TRUE(opts) << error.toStdString();
    EXPECT_EQ(opts->faults.noiseRate, 30);
    EXPECT_EQ(opts->faults.noiseByte, sim::NoiseByte::Nul);
    EXPECT_TRUE(opts->faults.web);
    EXPECT_EQ(opts->tcpHost, "127.0.0.1");
    EXPECT_EQ(opts->tcpPort, 0);
    EXPECT_EQ(opts->modelRow, 5);  // the VKC-475 unless told
    EXPECT_EQ(sim::ParseSimOptions({"--pty", "--noise-byte", "random"}, &error)->faults.noiseByte,
              sim::NoiseByte::Random);
    EXPECT_EQ(sim::ParseSimOptions({"--pty"}, &error)->faults.noiseByte, sim::NoiseByte::Letter);
}

TEST(IccdsimOptions, UsageErrorsAreRejectedWithAReason)
{
    for (const char* line :
         {"", "--pty --tcp 127.0.0.1:5000", "--tcp 127.0.0.1:5000 --link /tmp/x", "--pty --model",
          "--pty --model VK-999", "--pty --baud 0", "--pty --delay -5", "--pty --hangup-after 0",
          "--pty --refuse AGN,,ALV", "--pty --noise 0", "--pty --noise fast", "--pty --noise-byte X",
          "--tcp 127.0.0.1", "--tcp 127.0.0.1:70000", "--pty --silent=1", "--pty extra"}) {
        const QStringList args = QString(line).split(' ', Qt::SkipEmptyParts);
        QString error;
        EXPECT_FALSE(sim::ParseSimOptions(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains('\n'));
    }
}

TEST(IccdsimProgram, HelpListsEverySwitchAndUsageErrorsExitTwo)
{
    QProcess help;
    help.start(kProgram, {"--help"});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char* name :
         {"--model",      "--pty",   "--link",         "--tcp",       "--log",          "--baud",
          "--silent",     "--delay", "--refuse",       "--garbage",   "--late",         "--late-ms",
          "--overlong",   "--junk",  "--byte-by-byte", "--duplicate", "--hangup-after", "--noise",
          "--noise-byte", "--web",   "--help"})
        EXPECT_TRUE(text.contains(QByteArray("\n  ") + name + ' ')) << name;

    // A log that cannot be written is an error too, not a silent loss.
    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"--model", "XYZ", "--pty"},
                                    QStringList{"--pty", "--log", "/nonexistent/dir/iccdsim.log"}}) {
        QProcess p;
        p.start(kProgram, args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_EQ(p.readAllStandardError().count('\n'), 1);
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    }
}

// The terminal answers client after client, comes back under its link after a
// hang-up, and is cleaned up on SIGTERM.
TEST(IccdsimProgram, AnswersOnAPseudoTerminalThroughAHangupAndCleansUpOnSigterm)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("camera");
    const QString log = dir.filePath("commands.log");
    Simulator simulator({"--model", "VK-470", "--pty", "--link", link, "--log", log, "--hangup-after", "3"});
    // A terminal the simulator printed: the link points at it and a client on it is answered.
    const auto expectServedOn = [&](const QString& device) {
        ASSERT_TRUE(device.startsWith("/dev/")) << device.toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);
        PtyClient client(device);
        ASSERT_TRUE(client.isOpen());
        EXPECT_EQ(client.ask(":CAM?\r"), ":oVK-470\r");
    };
    expectServedOn(simulator.firstLine());
    // With no client on the terminal the simulator idles instead of spinning on
    // a hung-up master.
    const long cpuBefore = simulator.cpuMs();
    ::usleep(300 * 1000);
    EXPECT_LT(simulator.cpuMs() - cpuBefore, 100);

    {
        PtyClient again(link);  // a second client after the first has closed
        ASSERT_TRUE(again.isOpen());
        EXPECT_EQ(again.ask(":AGN=60\r\n:AGN?\r"), ":o\r");
        EXPECT_EQ(again.readLine(), ":oAGN 60\r");  // the third reply: the camera hangs up
        again.readLine(1000);
        EXPECT_TRUE(again.hungUp());
    }
    expectServedOn(simulator.nextLine());

    EXPECT_EQ(simulator.stop(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(":CAM?\n:AGN=60\n:AGN?\n:CAM?\n"));
}

TEST(IccdsimProgram, ServesTcpClientsOneAfterAnother)
{
    Simulator simulator({"--tcp", "127.0.0.1:0", "--model", "LSC-373", "--hangup-after", "2"});
    const QString address = simulator.firstLine();
    ASSERT_TRUE(address.startsWith("tcp:127.0.0.1:")) << address.toStdString();
    const quint16 port = quint16(address.section(':', 2).toUInt());
    ASSERT_NE(port, 0);

    QTcpSocket first;
    first.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(first.waitForConnected(2000));
    EXPECT_EQ(TcpAsk(first, ":CAM?\r"), ":oLSC-373\r");
    EXPECT_EQ(TcpAsk(first, ":ALV=77\r"), ":o\r");
    // The camera hangs up after its second answer: the connection closes.
    if (first.state() == QAbstractSocket::ConnectedState) first.waitForDisconnected(2000);
    EXPECT_EQ(first.state(), QAbstractSocket::UnconnectedState);

    QTcpSocket second;
    second.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(second.waitForConnected(2000));
    EXPECT_EQ(TcpAsk(second, ":ALV?\r"), ":oALV 77\r");
    EXPECT_EQ(simulator.stop(), 0);
}
