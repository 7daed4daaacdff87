// What TANGO adds to a camera transaction.  Two simulated cameras paced like
// a 115200-baud line: one is driven directly through the link, as iccdctl
// drives it; the other through iccd-tango by TANGO clients.  Prints the time
// of one read and one write each way, the wire time, and the reads per
// second that 10 clients together get from one server.
//   tango_bench [--seconds S]
#include <tango.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Connect.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "devices/DeviceTransports.h"
#include "platform/ComPortMap.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 115200;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QString program(const char* name)
{
    return QStringLiteral(ICCD_BIN_DIR "/") + QLatin1String(name);
}

// iccdsim paced at the line's rate; device() is what it serves.
class Sim {
public:
    Sim()
    {
        process_.start(program("iccdsim"),
                       {"--model", "VK-470", "--tcp", "127.0.0.1:0", "--baud", QString::number(kBaud)});
        process_.waitForReadyRead(5000);
        device_ = QString::fromLatin1(process_.readLine()).trimmed();
    }
    ~Sim()
    {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    const QString& device() const { return device_; }

private:
    QProcess process_;
    QString device_;
};

// The median of n runs of what, in milliseconds.
template <typename What>
double median(int n, What what)
{
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        const Clock::time_point start = Clock::now();
        what(i);
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Bytes of the exchange at 10 bits a byte: ":AGN?" CR and "oAGN 57" CR.
double wireMs(int bytes)
{
    return bytes * 10.0 * 1000.0 / kBaud;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 3.0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    QCoreApplication app(argc, argv);
    InstallDeviceTransports();
    constexpr int kRuns = 300;

    // Directly: the link in this process, one transaction per call.
    Sim direct;
    SetComPortDevice(1, direct.device());
    if (OpenCamera(1, kBaud, 0) != 0) {
        std::fprintf(stderr, "tango_bench: no camera on %s\n", qPrintable(direct.device()));
        return 1;
    }
    float gain = 0;
    const double directRead = median(kRuns, [&](int) { Comm_GetAGN(&gain); });
    const double directWrite = median(kRuns, [&](int i) { Comm_SetAGN(i % 2 ? 10.0f : 12.0f); });

    // iccdctl as a script calls it: a process per transaction.
    Comm_ClosePort(g_com_port);
    g_com_port = 0;
    const double iccdctlRead = median(20, [&](int) {
        QProcess iccdctl;
        iccdctl.start(program("iccdctl"),
                      {"--device", direct.device(), "--baud", QString::number(kBaud), "get", "AGN"});
        iccdctl.waitForFinished(10000);
    });

    // Through TANGO: the server in front of its own simulated camera.
    Sim served;
    const QString port = QString::number(freePort());
    QProcess server;
    server.start(program("iccd-tango"),
                 {"bench", "--device", served.device(), "--baud", QString::number(kBaud), "-nodb", "-dlist",
                  "lab/iccd/bench", "-ORBendPoint", "giop:tcp:127.0.0.1:" + port});
    while (server.waitForReadyRead(10000))
        if (server.readAllStandardOutput().contains("Ready to accept request")) break;
    std::string address = "tango://127.0.0.1:" + port.toStdString() + "/lab/iccd/bench#dbase=no";
    Tango::DeviceProxy proxy(address);
    for (int i = 0; i < 100 && proxy.state() != Tango::ON; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const double tangoRead = median(kRuns, [&](int) { proxy.read_attribute("AGN"); });
    const double tangoWrite = median(kRuns, [&](int i) {
        Tango::DeviceAttribute value("AGN", i % 2 ? 10.0 : 12.0);
        proxy.write_attribute(value);
    });

    // Ten clients at once, each its own proxy, for the given time.
    std::atomic<long> reads{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    for (int c = 0; c < 10; ++c)
        clients.emplace_back([&] {
            std::string each = address;
            Tango::DeviceProxy client(each);
            client.set_timeout_millis(10000);
            while (!stop) {
                client.read_attribute("AGN");
                ++reads;
            }
        });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    for (std::thread& t : clients) t.join();
    server.terminate();
    server.waitForFinished(5000);

    const double wireRead = wireMs(6 + 8);
    const double wireWrite = wireMs(9 + 2) + wireRead;  // ":AGN=341" CR, "o" CR, and the read-back
    std::printf("VK-470 simulated at %d baud, median of %d\n\n", kBaud, kRuns);
    std::printf("%-22s %10s %10s %10s %10s\n", "transaction (ms)", "wire", "direct", "TANGO", "added");
    std::printf("%-22s %10.3f %10.3f %10.3f %10.3f\n", "read AGN", wireRead, directRead, tangoRead,
                tangoRead - directRead);
    std::printf("%-22s %10.3f %10.3f %10.3f %10.3f\n", "write AGN + read-back", wireWrite,
                directWrite + directRead, tangoWrite, tangoWrite - directWrite - directRead);
    // iccdctl finds the camera (asks its model) before its one query.
    std::printf("%-22s %10.3f %10.3f %10s %10s\n", "iccdctl get AGN", wireRead, iccdctlRead, "-", "-");
    std::printf("\n10 clients, one server, %.1f s: %.0f reads/s (one transaction at a time: %.0f/s)\n",
                seconds, reads / seconds, 1000.0 / directRead);
    return 0;
}
