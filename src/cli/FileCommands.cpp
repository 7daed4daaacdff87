// save, load, diff, load-set, save-set: settings files and the camera's user sets.
#include <cstdio>
#include <ostream>
#include <string>

#include "camera/Composite.h"
#include "camera/Connect.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Snapshot.h"
#include "cli/CliCommands.h"
#include "cli/Iccdctl.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"

namespace {

// The desktop program's progress panel and pop-ups, as lines on stderr.
class StderrUi final : public SettingsFileUi {
public:
    explicit StderrUi(std::ostream& err) : err_(err) {}
    void progress(const char* message) override { err_ << message << "\n"; }
    void progressDone() override {}
    void error(const char*, const char* message) override { err_ << message << "\n"; }
    bool confirm(const char* warning) override
    {
        err_ << "iccdctl: warning: " << warning << "\n";
        return true;
    }
    void refresh() override {}

private:
    std::ostream& err_;
};

// Installs a StderrUi for the lifetime of a command.
struct UiScope {
    explicit UiScope(std::ostream& err) : ui(err) { SetSettingsFileUi(&ui); }
    ~UiScope() { SetSettingsFileUi(nullptr); }
    StderrUi ui;
};

int usage(CliContext& context, const char* text)
{
    context.err << "iccdctl: usage: " << text << "\n";
    return kExitUsage;
}

// Opens the port and identifies the camera, whose class decides conversions.
bool connect(CliContext& context)
{
    return OpenCameraOfKnownModel(context);
}

int save(CliContext& context, const std::vector<std::string>& args)
{
    std::string path;
    std::string comment;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--comment" && i + 1 < args.size()) {
            comment = args[++i];
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            return usage(context, "save FILE [--comment TEXT]");
        }
    }
    if (path.empty()) return usage(context, "save FILE [--comment TEXT]");
    if (!connect(context)) return kExitFailure;
    UiScope ui(context.err);
    return SaveSettingsFile(path.c_str(), comment.c_str()) == 0 ? kExitOk : kExitFailure;
}

// The arguments of load and diff: a file, and --factory.
struct FileArgs {
    std::string path;
    bool factory = false;
};

bool parseFileArgs(const std::vector<std::string>& args, FileArgs* out)
{
    for (const std::string& arg : args) {
        if (arg == "--factory") {
            out->factory = true;
        } else if (out->path.empty() && arg.rfind("--", 0) != 0) {
            out->path = arg;
        } else {
            return false;
        }
    }
    return !out->path.empty();
}

// Factory mode (the camera ID string is sent and compared) for one command.
class ProgramMode {
public:
    explicit ProgramMode(bool factory) : saved_(g_prog_type) { g_prog_type = factory ? 1 : 0; }
    ~ProgramMode() { g_prog_type = saved_; }
    ProgramMode(const ProgramMode&) = delete;
    ProgramMode& operator=(const ProgramMode&) = delete;

private:
    int saved_;
};

int load(CliContext& context, const std::vector<std::string>& args)
{
    FileArgs file;
    if (!parseFileArgs(args, &file)) return usage(context, "load FILE [--factory]");
    const int handle = RT_OpenFile(file.path.c_str(), RT_READ);
    if (handle <= 0) {
        context.err << SettingsFileOpenFailure(file.path.c_str()) << "\n";
        return kExitFailure;
    }
    if (!connect(context)) {
        RT_CloseFile(handle);
        return kExitFailure;
    }
    const ProgramMode mode(file.factory);
    UiScope ui(context.err);
    const SettingsLoadResult result = LoadSettingsFile(handle);
    context.out << "read failures: " << result.readFailures << "\n";
    if (!result.readAborted) context.out << "send failures: " << result.sendFailures << "\n";
    context.err << LoadFailureSummary(result);
    return result.failed() ? kExitFailure : kExitOk;
}

int diff(CliContext& context, const std::vector<std::string>& args)
{
    FileArgs file;
    if (!parseFileArgs(args, &file)) return usage(context, "diff FILE [--factory]");
    // A file that cannot be opened needs no camera.  Its values are read once
    // the camera is known: their ranges are its model's.
    const int handle = RT_OpenFile(file.path.c_str(), RT_READ);
    if (handle <= 0) {
        context.err << SettingsFileOpenFailure(file.path.c_str()) << "\n";
        return kExitFailure;
    }
    RT_CloseFile(handle);
    if (!connect(context)) return kExitFailure;
    const ProgramMode mode(file.factory);
    const SettingsComparison comparison = CompareCameraWithFile(file.path.c_str());
    if (comparison.outcome != SettingsComparison::Outcome::Compared) {
        context.err << comparison.reason << "\n";
        return kExitFailure;
    }
    for (const SettingsDifference& d : comparison.differences)
        context.out << d.name << ": file " << d.fileValue << ", camera " << d.cameraValue << "\n";
    return comparison.differences.empty() ? kExitOk : kExitFailure;
}

int userSet(CliContext& context, const std::vector<std::string>& args, bool store)
{
    const char* form = store ? "save-set N (0..2)" : "load-set N (0..2)";
    if (args.size() != 1 || args[0].size() != 1 || args[0][0] < '0' || args[0][0] > '2')
        return usage(context, form);
    if (!OpenCameraLink(context)) return kExitFailure;
    const int set = args[0][0] - '0';
    const int status = store ? Comm_SaveSet(set) : Comm_LoadSet(set);
    if (status != 0) {
        context.err << (store ? "Error on Save Set" : "Error on Load Set") << "\n";
        return ReportFailure(context, status);
    }
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> FileCommands()
{
    return {
        {"save", "FILE [--comment TEXT]", "write all settings of the camera to a settings file", save},
        {"load", "FILE [--factory]", "send a settings file to the camera (--factory: also its camera ID)",
         load},
        {"diff", "FILE [--factory]",
         "list the settings whose file value differs from the camera's (--factory: also its camera ID)",
         diff},
        {"load-set", "N", "make the camera load its user set N (0 factory defaults, 1, 2)",
         [](CliContext& c, const std::vector<std::string>& a) { return userSet(c, a, false); }},
        {"save-set", "N", "make the camera store its live settings in user set N",
         [](CliContext& c, const std::vector<std::string>& a) { return userSet(c, a, true); }},
    };
}
