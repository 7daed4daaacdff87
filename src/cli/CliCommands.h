// The commands iccdctl offers; each group of commands lives in its own file
// and adds itself to the table in Iccdctl.cpp.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// What every command gets: the chosen port and baud rate, and the streams.
struct CliContext {
    int port = 1;
    int baud = 9600;
    std::ostream& out;
    std::ostream& err;
    int asModel = -1;  ///< --as-model: the row a camera of an unknown model is taken as
};

struct CliCommand {
    const char* name;
    const char* usage;  ///< arguments, as shown in --help
    const char* help;   ///< one line
    int (*run)(CliContext& context, const std::vector<std::string>& args);
};

/// Commands for talking to the link: identify, raw.
std::vector<CliCommand> LinkCommands();

/// Commands for the camera's settings: get, set, snapshot.
std::vector<CliCommand> SettingsCommands();

/// The settings table of the camera's model: list.
std::vector<CliCommand> TableCommands();

/// Commands for settings files and user sets: save, load, diff, load-set, save-set.
std::vector<CliCommand> FileCommands();

/// Opens the chosen port as the camera link (g_com_port) without asking the
/// model.  On failure writes the reason to err and returns false.
bool OpenLink(CliContext& context);

/// Opens the chosen port and identifies the camera there (no scan), whose
/// class decides conversions and what a snapshot reads.  On failure writes
/// the reason to err ("No Camera Communication Link Found", after the device
/// that another program holds, if that was why) and returns false.
bool OpenCameraLink(CliContext& context);

/// OpenCameraLink for the commands that read or write every setting, whose
/// shape is the model's: a camera that names an unknown model is refused
/// (the reason on err) unless --as-model gave the model to take it as.
bool OpenCameraOfKnownModel(CliContext& context);

/// Writes "ERROR: " or a plain message with the status text of a camera
/// operation to err and returns the failure exit status.
int ReportFailure(CliContext& context, int status);
