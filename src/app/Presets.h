// Named settings files in the user's presets folder (File > Presets…), and
// the File menu's list of the settings files last loaded or saved.  Both go
// through the same writer, reader and comparison as File > Load Settings
// File and Save Settings File.
#pragma once

#include <string>
#include <vector>

/// The folder the presets folder and the recent-file list live in (an
/// installed program: the user's data folder; "" is the working directory).
/// Reads the recent-file list kept there.
void SetUserDataFolder(const std::string& folder);
/// "<data folder>/presets".
std::string PresetsFolder();

/// The presets' names (their files without ".cfg"), sorted.
std::vector<std::string> PresetNames();
/// Whether the text may name a preset: 1 to 60 letters, digits, blanks, '-',
/// '_' and '.', not starting with '.' or a blank.
bool ValidPresetName(const std::string& name);
/// The file of the preset.
std::string PresetPath(const std::string& name);

/// The settings files last loaded or saved, most recent first (at most
/// kRecentFileItems).
std::vector<std::string> RecentFiles();
/// Puts the file first in the list, keeps the list and shows it in the menu.
void NoteRecentFile(const std::string& path);
/// Takes a file that is no longer there off the list.
void ForgetRecentFile(const std::string& path);
/// Shows the list in the File menu (after the menu bar was loaded).
void ShowRecentFiles();

/// File > Presets…: the dialog (once; chosen again while open, nothing).
void OpenPresetsDialog();

/// Registers the callbacks of the Presets dialog and the recent-file items.
void RegisterPresetCallbacks();
