// The way back: the camera's settings kept before a settings-file load, a
// user-set recall or the factory defaults, and Edit, Restore Previous
// Settings, which sends them back.
#pragma once

#include <string>

/// Keeps the camera's settings before the action (said in messages as
/// "before <action>": "the load of \"lab.cfg\"", "the recall of user set 1").
/// Run where the link is held (a queued action).  When the camera's settings
/// cannot be read, asks whether to go on without a way back; false: do not.
bool KeepSettingsBefore(const std::string& action);

/// Whether there are settings to go back to.
bool HavePreviousSettings();
/// Forgets them (a camera of another link is not the one they came from).
void ForgetPreviousSettings();

/// Sends the kept settings back (once the link is idle), then says what it
/// could not restore, or that everything came back.
void RestorePreviousSettings();

/// Edit > Restore Previous Settings.
void MMnu_RestoreCallback(int menuBar, int menuItem, void* callbackData, int panel);

/// The label of the button that offers the way back in a load's summary.
inline constexpr const char* kRestoreButtonLabel = "__Restore Previous Settings";
