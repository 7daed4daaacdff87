#include "cli/Iccdctl.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>

#include "camera/Connect.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "cli/CliCommands.h"
#include "devices/DeviceTransports.h"
#include "platform/ComPortMap.h"
#include "platform/CommandLine.h"
#include "platform/Rs232.h"
#include "platform/Version.h"

namespace {

std::vector<CliCommand> allCommands()
{
    std::vector<CliCommand> commands = LinkCommands();
    for (const CliCommand& c : SettingsCommands()) commands.push_back(c);
    for (const CliCommand& c : TableCommands()) commands.push_back(c);
    for (const CliCommand& c : FileCommands()) commands.push_back(c);
    return commands;
}

void printHelp(std::ostream& out)
{
    out << "Usage: iccdctl [--port N | --device DEVICE] [--baud RATE] [--as-model NAME] COMMAND [ARG...]\n"
           "\n"
           "Controls an ICCD camera over its serial link.\n"
           "\n"
           "Options:\n"
           "  --port N          port number 1..32 of the camera link (default 1); the port map\n"
           "                    (ICCD_COM<N>, else the platform default) names its device\n"
           "  --device DEVICE   use DEVICE for the port: a serial device, tcp:HOST:PORT or sim:MODEL\n"
           "  --baud RATE       baud rate (default 9600)\n"
           "  --as-model NAME   take a camera that names an unknown model as NAME (get, set,\n"
           "                    snapshot, save, load and diff refuse such a camera otherwise)\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "\n"
           "Commands:\n";
    for (const CliCommand& c : allCommands()) {
        std::string head = std::string(c.name) + (c.usage[0] ? " " : "") + c.usage;
        out << "  " << head << std::string(head.size() < 29 ? 29 - head.size() : 1, ' ') << c.help << "\n";
    }
    out << "\nExit status: 0 success, 1 camera or link failure, 2 usage error.\n";
}

bool parseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int usageError(std::ostream& err, const std::string& message)
{
    err << "iccdctl: " << message << " (see iccdctl --help)\n";
    return kExitUsage;
}

}  // namespace

bool OpenLink(CliContext& context)
{
    const int status = Comm_OpenPort(context.port, context.baud);
    if (status != 0) {
        context.err << "Failed to Open Comm Port " << context.port << " ("
                    << ComPortDevice(context.port).toStdString() << "): " << GetComOpenErrorText() << "\n";
        return false;
    }
    g_com_port = context.port;
    return true;
}

bool OpenCameraLink(CliContext& context)
{
    g_com_port = context.port;
    if (OpenCamera(context.port, context.baud, 0) == 0) return true;
    const std::string report = Comm_OpenCameraReport();
    context.err << "No Camera Communication Link Found\n";
    if (!report.empty()) context.err << report << "\n";
    return false;
}

bool OpenCameraOfKnownModel(CliContext& context)
{
    if (!OpenCameraLink(context)) return false;
    if (Comm_LastModelKnown()) return true;
    if (context.asModel >= 0) {
        Comm_RecordModel(context.asModel);
        context.err << "iccdctl: taken as " << g_cam_models[context.asModel] << " (--as-model)\n";
        return true;
    }
    // Read or written in another model's shape, its settings would be wrong.
    context.err << "iccdctl: the camera names an unknown model '" << Comm_LastModelName()
                << "'; --as-model NAME takes it as one of the known models\n";
    return false;
}

int ReportFailure(CliContext& context, int status)
{
    context.err << Comm_FailureText(status) << "\n";
    return kExitFailure;
}

namespace {

std::ostream* s_warnings = nullptr;

void warnUnknownModel(const char* name)
{
    if (s_warnings) *s_warnings << "iccdctl: " << Comm_UnknownModelText(name) << "\n";
}

}  // namespace

int IccdctlMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    struct Warnings {
        explicit Warnings(std::ostream& err)
        {
            s_warnings = &err;
            Comm_SetUnknownModelHook(warnUnknownModel);
        }
        ~Warnings()
        {
            Comm_SetUnknownModelHook(nullptr);
            s_warnings = nullptr;
        }
    } warnings(err);
    CliContext context{1, 9600, out, err};
    // Only what stands before the command is ours: the command's own
    // arguments ("set SSA -10") pass through as they are.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("N"));
    const QCommandLineOption deviceOption(QStringLiteral("device"), QString(), QStringLiteral("DEVICE"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QString(), QStringLiteral("RATE"));
    const QCommandLineOption asModelOption(QStringLiteral("as-model"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption helpOption(QStringLiteral("help"));
    const QCommandLineOption versionOption(QStringLiteral("version"));
    QStringList qargs;
    for (const std::string& arg : args) qargs.append(QString::fromStdString(arg));
    const CommandLine line = ParseCommandLine(
        parser, {portOption, deviceOption, baudOption, asModelOption, helpOption, versionOption}, qargs);
    if (!line.unknown.isEmpty())
        return usageError(err, "unknown option " + line.unknown.first().toStdString());
    if (!line.missingValue.isEmpty())
        return usageError(err, line.missingValue.toStdString() + " needs a value");
    if (!line.parsed) return usageError(err, parser.errorText().toStdString());
    if (parser.isSet(helpOption)) {
        printHelp(out);
        return kExitOk;
    }
    if (parser.isSet(versionOption)) {
        out << "iccdctl " << ProgramVersion() << "\n";
        return kExitOk;
    }
    const std::string device = parser.value(deviceOption).toStdString();
    // An empty name would quietly fall back to the port's default device.
    if (parser.isSet(deviceOption) && device.empty()) return usageError(err, "--device needs a device name");
    if (parser.isSet(asModelOption)) {
        context.asModel = Comm_ModelRow(parser.value(asModelOption).toStdString());
        if (context.asModel < 0) return usageError(err, "--as-model takes a model name, such as VKC-475");
    }
    if (parser.isSet(portOption) && (!parseInt(parser.value(portOption).toStdString(), context.port) ||
                                     context.port < 1 || context.port > kMaxComPort))
        return usageError(err, "--port takes a number from 1 to 32");
    if (parser.isSet(baudOption) &&
        (!parseInt(parser.value(baudOption).toStdString(), context.baud) || context.baud <= 0))
        return usageError(err, "--baud takes a positive number");
    const std::size_t i = args.size() - static_cast<std::size_t>(parser.positionalArguments().size());
    if (i >= args.size()) return usageError(err, "no command given");

    const std::string name = args[i];
    const std::vector<std::string> commandArgs(args.begin() + static_cast<long>(i) + 1, args.end());
    const std::vector<CliCommand> commands = allCommands();
    const auto command =
        std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return name == c.name; });
    if (command == commands.end()) return usageError(err, "unknown command " + name);

    if (!device.empty()) SetComPortDevice(context.port, QString::fromStdString(device));
    const int result = command->run(context, commandArgs);
    if (g_com_port != 0) {
        Comm_ClosePort(g_com_port);
        g_com_port = 0;
    }
    if (!device.empty()) SetComPortDevice(context.port, QString());
    ReleaseClosedPorts();
    return result;
}

int RunIccdctl(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    InstallDeviceTransports();
    std::vector<std::string> args(argv + 1, argv + argc);
    return IccdctlMain(args, std::cout, std::cerr);
}
