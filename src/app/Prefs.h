// The operator's preferences in "ICCD.ini": fifteen lines in a fixed order,
// read once at start-up and written once at exit.
//
// Port, baud rate, user set, the lens drives' maximum voltages and step sizes
// and the three lens captions.  Any line that cannot be read makes the whole
// file count as unreadable and every value takes its default.  The file is
// written with CR LF line ends to a temporary file that replaces the old one
// only when complete.
#pragma once

#include <string>
#include <string_view>

#include "panels/PanelGlobals.h"

/// The file's name; it lives in the preferences folder.
inline constexpr char kPrefsFileName[] = "ICCD.ini";

/// Where InitState and SaveState keep the file: "" (the default) is the
/// working directory, as the program always did from its own folder; an
/// installed program keeps it in the user's configuration folder, and
/// --config-dir names any folder.  The folder is made when the file is written.
void SetPrefsFolder(const std::string& folder);

/// The file InitState and SaveState use: "ICCD.ini" or FOLDER/ICCD.ini.
std::string PrefsFilePath();

/// Whether the program at exePath runs from the build tree buildDir (then it
/// keeps "ICCD.ini" in the working directory) rather than from where it was
/// installed.
bool RunsFromBuildTree(const std::string& exePath, const std::string& buildDir);

/// The captions Reset Labels puts into the Preferences dialog.
inline constexpr char kShortLabel1[] = "Zoom";
inline constexpr char kShortLabel2[] = "Focus";
inline constexpr char kShortLabel3[] = "Iris";

/// Reads PrefsFilePath() into the globals.  Returns 0 when the file was read,
/// 1 when it was missing or unreadable and the defaults were applied.
int InitState();

/// Writes the globals to PrefsFilePath().  Returns 0, or -1 when the file
/// could not be written (the old file, if any, is then left as it was).
int SaveState();

/// Reads and writes a given path.
int ReadPrefsFile(const char* path);
int WritePrefsFile(const char* path);

/// Puts every preference to its default: port 1, 9600 baud, set 1, 9.0 V,
/// coarse step 10, fine step 1, "Zoom Control", "Focus Control", "Iris Control".
void SetDefaultPrefs();

/// Copies a caption into its global, cut to kLabelMax characters.
void SetLensLabel(char (&label)[kLabelMax + 1], std::string_view text);
