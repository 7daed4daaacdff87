// The operator's preferences in "ICCD.ini": fifteen lines in a fixed order,
// read once at start-up and written once at exit.
//
// Port, baud rate, user set, the lens drives' maximum voltages and step sizes
// and the three lens captions.  Any line that cannot be read makes the whole
// file count as unreadable and every value takes its default.  The file is
// written with CR LF line ends to a temporary file that replaces the old one
// only when complete.
#pragma once

#include <string_view>

#include "panels/PanelGlobals.h"

/// The file, in the working directory.
inline constexpr char kPrefsFileName[] = "ICCD.ini";

/// The captions Reset Labels puts into the Preferences dialog.
inline constexpr char kShortLabel1[] = "Zoom";
inline constexpr char kShortLabel2[] = "Focus";
inline constexpr char kShortLabel3[] = "Iris";

/// Reads kPrefsFileName into the globals.  Returns 0 when the file was read,
/// 1 when it was missing or unreadable and the defaults were applied.
int InitState();

/// Writes the globals to kPrefsFileName.  Returns 0, or -1 when the file
/// could not be written (the old file, if any, is then left as it was).
int SaveState();

/// Reads and writes a given path (InitState and SaveState use the file in
/// the working directory).
int ReadPrefsFile(const char* path);
int WritePrefsFile(const char* path);

/// Puts every preference to its default: port 1, 9600 baud, set 1, 9.0 V,
/// coarse step 10, fine step 1, "Zoom Control", "Focus Control", "Iris Control".
void SetDefaultPrefs();

/// Copies a caption into its global, cut to kLabelMax characters.
void SetLensLabel(char (&label)[kLabelMax + 1], std::string_view text);
