// The link against the wire and against a plain pyserial loop.
//
// Against the wire: iccdsim paces a pseudo-terminal like a serial line at
// 1200, 9600, 38400 and 115200 baud; each operation (snapshot, save, load,
// 200 sets, 1,000 raw queries) is timed and held against the time its bytes,
// both ways, take on such a line (10 bit times per byte).  The bytes are
// counted from what the link actually sent and received.
//
// Against pyserial: 1,000 raw queries on an unpaced pseudo-terminal, wall
// time and CPU per transaction, next to bench/pyserial_loop.py doing the same.
//
//   bench_wire [--quick] [--rates 1200,9600,...] [--no-pyserial]
// --quick runs a tenth of the sets and queries (the wire figures stay ratios).
// Both tables are printed: over a pty to iccdsim, where the kernel's and the
// simulator's round trip is part of every transaction, and against the same
// paced camera inside this process, which leaves the link's own share.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "devices/DeviceTransports.h"
#include "platform/ComPortMap.h"
#include "platform/TextFile.h"
#include "platform/Timing.h"
#include "settingsfile/SettingsFile.h"

#ifndef ICCD_BIN_DIR
#define ICCD_BIN_DIR "."
#endif
#ifndef ICCD_SOURCE_DIR
#define ICCD_SOURCE_DIR "."
#endif

namespace {

constexpr int kPort = 1;
long long g_wire_bytes = 0;
long long g_commands = 0;

void countTraffic(const char* text, int received)
{
    g_wire_bytes += static_cast<long long>(std::strlen(text));
    if (!received) ++g_commands;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The link open on a camera: iccdsim on a pseudo-terminal, or the simulated
// camera inside this process, which paces the same way but leaves out the
// round trip through the kernel and the other process.
class Camera {
public:
    Camera(int baud, bool inProcess)
    {
        if (inProcess) {
            device_ = QStringLiteral("sim:VKC-475,paced");
        } else {
            QStringList args{"--model", "VKC-475", "--pty"};
            if (baud > 0) args << "--baud" << QString::number(baud);
            sim_.start(QStringLiteral(ICCD_BIN_DIR "/iccdsim"), args);
            if (!sim_.waitForStarted(5000) || !sim_.waitForReadyRead(5000)) {
                std::fprintf(stderr, "bench_wire: iccdsim did not start\n");
                std::exit(1);
            }
            device_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
        }
        SetComPortDevice(kPort, device_);
        if (Comm_OpenPort(kPort, baud > 0 ? baud : 115200) != 0) {
            std::fprintf(stderr, "bench_wire: cannot open %s\n", qPrintable(device_));
            std::exit(1);
        }
        g_com_port = kPort;
        if (Comm_QueryAndRecordModel() != COMM_OK) {
            std::fprintf(stderr, "bench_wire: no camera on %s\n", qPrintable(device_));
            std::exit(1);
        }
    }
    ~Camera()
    {
        release();
        if (sim_.state() != QProcess::NotRunning) {
            sim_.kill();
            sim_.waitForFinished();
        }
    }

    /// Closes the link; the camera stays for another program to use.
    void release()
    {
        if (g_com_port == 0) return;
        Comm_ClosePort(kPort);
        g_com_port = 0;
        ProcessSystemEvents();
        ClearComPortDevices();
    }
    const QString& device() const { return device_; }

private:
    QProcess sim_;
    QString device_;
};

bool pyserial(const QString& device, int count, double* wallUs, double* cpuUs);

struct Figure {
    double seconds = 0;
    long long bytes = 0;
    long long transactions = 0;
    bool ok = true;
};

// Runs op, which is true when every transaction succeeded, and counts its bytes.
Figure measure(const std::function<bool()>& op)
{
    g_wire_bytes = 0;
    g_commands = 0;
    Figure f;
    const double start = Timer();
    f.ok = op();
    f.seconds = Timer() - start;
    f.bytes = g_wire_bytes;
    f.transactions = g_commands;
    return f;
}

bool snapshot()
{
    CamMainSettings main{};
    CamAdvSettings adv{};
    return Comm_QueryMainSettings(&main) == 0 && Comm_QueryAdvanced(&adv) == 0;
}

bool sets(int count)
{
    bool ok = true;
    for (int i = 0; i < count; ++i) ok = Comm_SetIntVal(":ALV=", 20 + i % 200) == COMM_OK && ok;
    return ok;
}

bool rawQueries(int count)
{
    bool ok = true;
    char reply[kReplySize];
    for (int i = 0; i < count; ++i) ok = Comm_Raw(":AGN?\r", reply) == COMM_OK && ok;
    return ok;
}

void againstTheWire(const std::vector<int>& rates, int setCount, int queryCount, const QString& file,
                    bool inProcess)
{
    std::printf("Against the wire: %s, VKC-475; wire time = bytes both ways x 10 bits / baud\n",
                inProcess ? "the simulated camera in this process, paced" : "iccdsim --baud on a pty");
    std::printf("%-22s %7s %8s %11s %11s %7s %12s\n", "operation", "baud", "bytes", "wire ms", "run ms",
                "ratio", "us/txn over");
    const std::string setsName = std::to_string(setCount) + " sets";
    const std::string rawName = std::to_string(queryCount) + " raw queries";
    const QByteArray path = file.toLocal8Bit();
    for (int baud : rates) {
        Camera camera(baud, inProcess);
        struct Op {
            std::string name;
            std::function<bool()> run;
        };
        const std::vector<Op> ops = {
            {"snapshot", snapshot},
            {"save", [&] { return SaveSettingsFile(path.constData(), "bench") == 0; }},
            {"load",
             [&] {
                 const int handle = RT_OpenFile(path.constData(), RT_READ);
                 if (handle <= 0) return false;
                 const SettingsLoadResult result = LoadSettingsFile(handle);
                 return !result.failed();
             }},
            {setsName, [&] { return sets(setCount); }},
            {rawName, [&] { return rawQueries(queryCount); }},
        };
        for (const Op& op : ops) {
            const Figure f = measure(op.run);
            const double wire = static_cast<double>(f.bytes) * 10.0 / baud;
            std::printf(
                "%-22s %7d %8lld %11.1f %11.1f %7.3f %12.1f%s\n", op.name.c_str(), baud, f.bytes, wire * 1e3,
                f.seconds * 1e3, f.seconds / wire,
                (f.seconds - wire) * 1e6 / static_cast<double>(std::max<long long>(f.transactions, 1)),
                f.ok ? "" : "  (failed)");
            std::fflush(stdout);
        }
        // The same raw queries from a plain pyserial loop on the same line:
        // what the pseudo-terminal and the simulator cost any program.
        double wallUs = 0;
        double cpuUs = 0;
        camera.release();
        if (!inProcess && pyserial(camera.device(), queryCount, &wallUs, &cpuUs)) {
            const double wire = 15.0 * 10.0 / baud;  // ":AGN?\r" and ":oAGN 57\r"
            std::printf("%-22s %7d %8d %11.1f %11.1f %7.3f %12.1f\n", "  pyserial, same", baud,
                        queryCount * 15, wire * queryCount * 1e3, wallUs * queryCount * 1e-3,
                        wallUs * 1e-6 / wire, wallUs - wire * 1e6);
        }
    }
}

// What bench/pyserial_loop.py prints: "wall_us cpu_us" per transaction.
bool pyserial(const QString& device, int count, double* wallUs, double* cpuUs)
{
    // Debian's interpreter, which has the python3-serial package, before any other.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                    ? QStringLiteral("/usr/bin/python3")
                                    : QStringLiteral("python3");
    QProcess python;
    python.start(interpreter,
                 {QStringLiteral(ICCD_SOURCE_DIR "/bench/pyserial_loop.py"), device, QString::number(count)});
    // At 1200 baud a thousand queries take two minutes of wire time.
    if (!python.waitForFinished(600000) || python.exitCode() != 0) {
        std::fprintf(stderr, "bench_wire: pyserial loop failed: %s\n",
                     python.readAllStandardError().constData());
        return false;
    }
    return std::sscanf(python.readAllStandardOutput().constData(), "%lf %lf", wallUs, cpuUs) == 2;
}

void againstPyserial(int count)
{
    std::printf("\nAgainst pyserial (%d raw queries :AGN? on an unpaced pty to iccdsim, per transaction)\n",
                count);
    std::printf("%-12s %10s %10s\n", "", "wall us", "CPU us");
    double wall = 0;
    double cpu = 0;
    {
        Camera camera(0, false);
        rawQueries(count / 10);  // warm up
        const double cpu0 = cpuSeconds();
        const Figure f = measure([&] { return rawQueries(count); });
        cpu = (cpuSeconds() - cpu0) * 1e6 / count;
        wall = f.seconds * 1e6 / count;
        std::printf("%-12s %10.1f %10.1f%s\n", "link", wall, cpu, f.ok ? "" : "  (failed)");
    }
    QProcess sim;
    sim.start(QStringLiteral(ICCD_BIN_DIR "/iccdsim"), {"--model", "VKC-475", "--pty"});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) return;
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    double pyWall = 0;
    double pyCpu = 0;
    if (pyserial(device, count, &pyWall, &pyCpu)) {
        std::printf("%-12s %10.1f %10.1f\n", "pyserial", pyWall, pyCpu);
        std::printf("%-12s %10.2f %10.2f\n", "link/pyserial", wall / pyWall, cpu / pyCpu);
    }
    sim.kill();
    sim.waitForFinished();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InstallDeviceTransports();
    std::vector<int> rates = {1200, 9600, 38400, 115200};
    bool quick = false;
    bool withPyserial = true;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--quick") {
            quick = true;
        } else if (args[i] == "--no-pyserial") {
            withPyserial = false;
        } else if (args[i] == "--rates" && i + 1 < args.size()) {
            rates.clear();
            for (const QString& rate : args[++i].split(',')) rates.push_back(rate.toInt());
        } else {
            std::fprintf(stderr, "usage: bench_wire [--quick] [--rates 1200,9600,...] [--no-pyserial]\n");
            return 2;
        }
    }
    // The traffic hook reports every line, both ways, in factory mode.
    g_prog_type = 1;
    Comm_SetTrafficHook(countTraffic);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.txt"));
    againstTheWire(rates, quick ? 20 : 200, quick ? 100 : 1000, file, false);
    std::printf("\n");
    againstTheWire(rates, quick ? 20 : 200, quick ? 100 : 1000, file, true);
    if (withPyserial) againstPyserial(quick ? 300 : 1000);
    return 0;
}
