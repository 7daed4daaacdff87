// iccd-tango in front of iccdsim, driven by a TANGO client as a facility's
// control system drives it: no database, one server per camera.
#include <gtest/gtest.h>
#include <tango.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "support/DeviceServer.h"
#include "support/SimProcess.h"

namespace {

// One iccd-tango process and a client of its device.
class Server {
public:
    explicit Server(const QString& device, const QStringList& extra = {})
    {
        const QString port = QString::number(FreeTcpPort());
        const QString name = "lab/iccd/" + port;
        process_.setProcessEnvironment([] {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ASAN_OPTIONS", "detect_leaks=0");  // the ORB keeps what it made until exit
            return env;
        }());
        process_.start(BuiltProgram("iccd-tango"), QStringList{"t" + port, "--device", device} + extra +
                                                       QStringList{"-nodb", "-dlist", name, "-ORBendPoint",
                                                                   "giop:tcp:127.0.0.1:" + port});
        while (process_.waitForReadyRead(10000))
            if (process_.readAllStandardOutput().contains("Ready to accept request")) break;
        std::string address =
            "tango://127.0.0.1:" + port.toStdString() + "/" + name.toStdString() + "#dbase=no";
        proxy = std::make_unique<Tango::DeviceProxy>(address);
    }
    ~Server()
    {
        proxy.reset();
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(2000);
    }

    // The state once it is no longer INIT, or the last seen after timeoutMs.
    Tango::DevState waitFor(Tango::DevState wanted, int timeoutMs = 8000)
    {
        Tango::DevState state = Tango::UNKNOWN;
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            state = proxy->state();
            if (state == wanted) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return state;
    }

    std::string status() { return proxy->status(); }

    double readReal(const char* name)
    {
        Tango::DeviceAttribute value = proxy->read_attribute(name);
        Tango::DevDouble v = 0;
        value >> v;
        return v;
    }

    template <typename Value>
    void write(const char* name, Value value)
    {
        Tango::DeviceAttribute attribute(name, value);
        proxy->write_attribute(attribute);
    }

    template <typename Argument>
    Tango::DeviceData command(const char* name, Argument argument)
    {
        Tango::DeviceData data;
        data << argument;
        return proxy->command_inout(name, data);
    }

    // The description of the first error of a DevFailed the call raises.
    template <typename Call>
    std::string failure(Call call)
    {
        try {
            call();
        } catch (const Tango::DevFailed& e) {
            return std::string(e.errors[0].reason.in()) + ": " + e.errors[0].desc.in();
        }
        return "no failure";
    }

    std::unique_ptr<Tango::DeviceProxy> proxy;

private:
    QProcess process_;
};

QString readLog(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll());
}

struct ModelCase {
    const char* model;
    const char* agnMax;  // the count of the class's top gain, read back (dB)
    bool colour;
};

TEST(TangoServer, EachModelGetsItsOwnAttributesWithTheirLabelsUnitsAndRanges)
{
    // Mono: 36 dB is count 1022.7 -> 1023, read back as 1023 x 0.0352 = 36.0096.
    // Colour: 30 dB is count 852.3 -> 852, read back as 852 x 0.0352 = 29.9904,
    // inside the range, which keeps its end.
    for (const ModelCase& c : {ModelCase{"VK-470", "36.0096016", false}, ModelCase{"VKC-475", "30", true}}) {
        SCOPED_TRACE(c.model);
        SimProcess sim({"--model", c.model, "--tcp", "127.0.0.1:0"});
        Server server(sim.device());
        ASSERT_EQ(server.waitFor(Tango::ON), Tango::ON) << server.status();
        EXPECT_EQ(server.status(),
                  "Connected to the " + std::string(c.model) + " on " + sim.device().toStdString());

        const Tango::AttributeInfoEx agn = server.proxy->get_attribute_config("AGN");
        EXPECT_EQ(agn.label, "Manual Gain");
        EXPECT_EQ(agn.unit, "dB");
        EXPECT_EQ(agn.min_value, "0");
        EXPECT_EQ(agn.max_value, c.agnMax);
        EXPECT_EQ(agn.writable, Tango::READ_WRITE);

        std::string model;
        server.proxy->read_attribute("Model") >> model;
        EXPECT_EQ(model, c.model);

        const std::unique_ptr<std::vector<std::string>> list(server.proxy->get_attribute_list());
        const std::vector<std::string>& names = *list;
        const auto has = [&](const char* name) {
            return std::find(names.begin(), names.end(), name) != names.end();
        };
        EXPECT_EQ(has("CGR"), c.colour);   // colour gain: colour cameras only
        EXPECT_EQ(has("TMD"), !c.colour);  // trigger mode: monochrome only
        EXPECT_TRUE(has("RST_Neg"));       // one half of a composite, its blank made '_'
        EXPECT_FALSE(has("AFA"));          // registers are factory commands
        if (c.colour) {
            const Tango::AttributeInfoEx cgr = server.proxy->get_attribute_config("CGR");
            EXPECT_EQ(cgr.label, "Color Gain Red");
            EXPECT_EQ(cgr.unit, "x");
        }
    }
}

TEST(TangoServer, AWriteIsSentAndReadBackAValueOutsideTheRangeSendsNothingAndNoFactoryCommands)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("sim.log");
    SimProcess sim({"--model", "VKC-475", "--tcp", "127.0.0.1:0", "--log", log, "--refuse", "GAM"});
    Server server(sim.device());
    ASSERT_EQ(server.waitFor(Tango::ON), Tango::ON) << server.status();

    // 12 dB goes out as 12 / 0.0352 = 340.9 -> 341, which reads 12.0032 dB.
    server.write("AGN", 12.0);
    EXPECT_TRUE(readLog(log).endsWith(":AGN=341\n:AGN?\n")) << readLog(log).right(40).toStdString();
    EXPECT_NEAR(server.readReal("AGN"), 12.0032, 1e-4);

    const qsizetype before = readLog(log).size();
    // Beyond the attribute's range: TANGO refuses it before the device sees it.
    EXPECT_EQ(server.failure([&] { server.write("AGN", 40.0); }).rfind("API_WAttrOutsideLimit", 0), 0u);
    // Colour cameras meter on average only: the range is one value, held by the device itself.
    EXPECT_EQ(server.failure([&] { server.write("ALM", Tango::DevLong(1)); }),
              "ICCD_OutOfRange: ALM 1 is out of range: ALC Metering Mode takes 0 to 0 on the VKC-475");
    EXPECT_EQ(readLog(log).size(), before);

    // The camera's refusal is the client's failure, with the setting and the value.
    EXPECT_EQ(server.failure([&] { server.write("GAM", Tango::DevLong(1)); })
                  .rfind("ICCD_WriteFailed: GAM 1 was not set: Camera returned error message NAK.", 0),
              0u);

    // Without factory mode there are no factory commands.
    const std::unique_ptr<Tango::CommandInfoList> commands(server.proxy->command_list_query());
    for (const Tango::CommandInfo& command : *commands) {
        EXPECT_NE(command.cmd_name, "Raw");
        EXPECT_NE(command.cmd_name, "FactoryDefaults");
    }
    EXPECT_EQ(server.failure([&] { server.command("StoreUserSet", Tango::DevShort(0)); }),
              "ICCD_BadArgument: StoreUserSet takes 1 or 2 (FactoryDefaults stores set 0 in factory mode)");
}

// Then the camera goes: a lost link is a fault until it answers again on the same path.
TEST(TangoServer, ASavedFileLoadsBackTheFactoryCommandsNeedFactoryModeAndALostLinkIsAFault)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("camera.cfg").toStdString();
    const QString port = QString::number(FreeTcpPort());
    const QStringList simulator{"--model", "VK-470", "--tcp", "127.0.0.1:" + port};
    auto sim = std::make_unique<SimProcess>(simulator);
    Server server(sim->device(), {"--factory"});
    ASSERT_EQ(server.waitFor(Tango::ON), Tango::ON) << server.status();

    server.command("SaveSettingsFile", file);
    server.write("AGN", 20.0);  // 568 counts: 19.9936 dB
    std::vector<std::string> differences;
    server.command("CompareWithFile", file) >> differences;
    EXPECT_NE(std::find(differences.begin(), differences.end(), "AGN: file 2.006400, camera 19.993599"),
              differences.end());

    std::string summary;
    server.command("LoadSettingsFile", file) >> summary;
    EXPECT_EQ(summary, "read failures: 0\nsend failures: 0");
    // The power-on gain, 57 counts: 57 x 0.0352 = 2.0064 dB.
    EXPECT_NEAR(server.readReal("AGN"), 2.0064, 1e-4);
    EXPECT_EQ(server.proxy->state(), Tango::ON);

    const std::string missing = dir.filePath("none.cfg").toStdString();
    EXPECT_EQ(
        server.failure([&] { server.command("LoadSettingsFile", missing); }).rfind("ICCD_LoadFailed", 0), 0u);

    // Factory mode: Raw answers what the camera answers, and refuses a second line.
    std::string reply;
    server.command("Raw", std::string(":AGN?")) >> reply;
    EXPECT_EQ(reply, "AGN 57");
    EXPECT_EQ(server.failure([&] { server.command("Raw", std::string(":AGN?\r:AGN=5")); }),
              "ICCD_BadArgument: Raw takes one command line without control characters");
    EXPECT_EQ(server.proxy->command_query("Raw").disp_level, Tango::EXPERT);

    sim.reset();
    EXPECT_EQ(server.waitFor(Tango::FAULT), Tango::FAULT);
    EXPECT_EQ(server.status(),
              "Camera link lost, looking for the camera on tcp:127.0.0.1:" + port.toStdString());
    EXPECT_EQ(server.failure([&] { server.readReal("AGN"); })
                  .rfind("ICCD_ReadFailed: AGN (Manual Gain) could not be read: Camera link lost", 0),
              0u);

    sim = std::make_unique<SimProcess>(simulator);
    EXPECT_EQ(server.waitFor(Tango::ON), Tango::ON) << server.status();
    EXPECT_NEAR(server.readReal("AGN"), 2.0064, 1e-4);
}

TEST(TangoServer, TwoServersDriveTwoCamerasAtOnce)
{
    QTemporaryDir dir;
    SimProcess mono({"--model", "VK-470", "--tcp", "127.0.0.1:0", "--log", dir.filePath("mono.log")});
    SimProcess colour({"--model", "VKC-475", "--tcp", "127.0.0.1:0", "--log", dir.filePath("colour.log")});
    Server first(mono.device());
    Server second(colour.device());
    ASSERT_EQ(first.waitFor(Tango::ON), Tango::ON) << first.status();
    ASSERT_EQ(second.waitFor(Tango::ON), Tango::ON) << second.status();

    // 10 dB: 284 counts; 8 dB: 227 counts.
    std::thread other([&] { second.write("AGN", 8.0); });
    first.write("AGN", 10.0);
    other.join();
    EXPECT_TRUE(readLog(dir.filePath("mono.log")).contains(":AGN=284\n"));
    EXPECT_FALSE(readLog(dir.filePath("mono.log")).contains(":AGN=227\n"));
    EXPECT_TRUE(readLog(dir.filePath("colour.log")).contains(":AGN=227\n"));
    EXPECT_NEAR(first.readReal("AGN"), 9.9968, 1e-4);   // 284 x 0.0352
    EXPECT_NEAR(second.readReal("AGN"), 7.9904, 1e-4);  // 227 x 0.0352
}

}  // namespace
