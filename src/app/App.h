// The desktop program's frame: the command line, start-up, the event loop and
// shutdown, and the three ways out of the main window.
//
// main() is AppStart, AppRun and AppStop in a row; tests run the steps one by
// one so that they can act on the window between start-up and shutdown
// without a blocking event loop.
#pragma once

#include <string>
#include <vector>

/// What the command line asks for besides "/fac".  Developer switches start
/// with "--"; every other argument is ignored, as the program always did.
struct AppOptions {
    bool factory = false;               ///< --factory: factory mode, like "/fac" as first argument
    std::string simModel;               ///< --model NAME: COM1 is the simulated camera NAME
    bool quitAfterStart = false;        ///< --quit-after-start: quit once the window is filled
    std::string screenshot;             ///< --screenshot FILE: save the main window as PNG, then quit
    std::string open;                   ///< --open PANEL: choose that panel's menu item once started
    std::string instanceKey;            ///< --instance-key KEY: copies with other keys run side by side
    std::string configDir;              ///< --config-dir DIR: "ICCD.ini" in DIR
    bool checkInstance = true;          ///< refuse a second copy (tests turn it off)
    bool help = false;                  ///< --help
    bool version = false;               ///< --version
    std::vector<std::string> warnings;  ///< what was ignored, for stderr
};

/// Reads the developer switches.  Returns 0, or 2 with a one-line reason in
/// *error for a missing value or an unknown model.  An unknown "--" switch is
/// ignored with a warning in options->warnings.
int ParseAppOptions(int argc, char** argv, AppOptions* options, std::string* error);

/// The usage text printed by --help.
const char* AppUsage();

/// Sets g_prog_type to 1 when the first argument is exactly "/fac".  Always 0.
int ProcessCommandLineArguments(int argc, char** argv);

enum class AppStartResult {
    Started,    ///< the main window is on screen; run the loop, then AppStop
    Duplicate,  ///< another copy runs: refused with a message, exit status 0
    Failed,     ///< no run time or no main panel: exit status -1
};

/// Start-up up to the running event loop: run time, single-instance check,
/// factory switch, main panel and menu bar, preferences and camera, the
/// panel's shape and values, the Preferences dialog when no camera was found.
AppStartResult AppStart(int argc, char** argv, const AppOptions& options);

/// Runs the event loop until a quit path ends it.
int AppRun();

/// Shutdown: discards the main window, saves "ICCD.ini" and closes the link.
void AppStop();

/// The whole program: options, AppStart, AppRun, AppStop.  The exit status.
int RunIccdControl(int argc, char** argv);

/// Reads "ICCD.ini" and looks for the camera (preferred port, then 1 to 8).
/// 0 when a camera answered, 1 (after a "WARNING" message) when none did.
int SystemInit();

/// Fills the main panel from the camera.  0 on success or without a link,
/// 1 when the settings query failed (after an "ERROR" message).
int CameraInit();

/// Writes "ICCD.ini" and closes the link.
void SystemClose();

/// The quit paths: the main panel's close box, its Quit button, File Exit.
int M_PnlCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int M_QuitButtonCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
void MMnu_QuitProg(int menuBar, int menuItem, void* callbackData, int panel);

/// Makes every callback of the application frame known by the name the
/// resource gives it.
void RegisterAppCallbacks();
