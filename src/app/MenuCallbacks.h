// The menu bar's commands other than Preferences and Exit: the camera's user
// sets and settings files.
#pragma once

#include <string>

/// Makes the menu commands and the callbacks of their dialogs known by name.
void RegisterMenuCallbacks();

/// The folder the first settings-file dialog opens in (later ones open
/// where the last one left off); "" is the program's own folder.
void SetSettingsFileFolder(const std::string& folder);

/// Shows the stages of a settings-file load on the LOADPROG panel, failures in
/// pop-ups, and refreshes the main panel at its end (installed at start-up).
void InstallSettingsFileUi();
void UninstallSettingsFileUi();

// File, Load Settings / Save Settings: the camera's user sets.
void MMnu_FileLoadCallback(int menuBar, int menuItem, void* callbackData, int panel);
void MMnu_FileSaveCallback(int menuBar, int menuItem, void* callbackData, int panel);
int LoadSet_OKCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int SaveSet_OKCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int LoadSave_CancelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                            int eventData2);

/// Loads the settings file into the camera once the link is idle, keeping the
/// camera's settings first (Restore.h); the summary offers the way back.
void LoadSettingsFromFile(const std::string& path);
/// Saves the camera's settings to the file (replaced only by a complete new
/// one); 0 when saved, else as SaveSettingsFile (the message shown).
int SaveSettingsToFile(const std::string& path, const std::string& comment);

// File, Load Settings File / Save Settings File.
void MMnu_FileLoadFrmFileCallback(int menuBar, int menuItem, void* callbackData, int panel);
void MMnu_FileSaveToFileCallback(int menuBar, int menuItem, void* callbackData, int panel);
/// View > Refresh (F5): what the main panel's Refresh button does.
void MMnu_RefreshCallback(int menuBar, int menuItem, void* callbackData, int panel);
int F_SaveSet_OKCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
/// Cancel on the load's progress panel: the sending stops after the step
/// under way; the camera is still re-read and the steps sent are reported.
int LoadProg_CancelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                            int eventData2);

int F_LoadSave_CancelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                              int eventData2);
