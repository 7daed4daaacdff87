// Start-up and shutdown of the desktop program, and the quit paths.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "app/App.h"
#include "app/MenuCallbacks.h"
#include "app/Pref.h"
#include "app/Prefs.h"
#include "app/Presets.h"
#include "app/ProgramIcon.h"
#include "app/Restore.h"
#include "camera/Connect.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/AdvSetPnl.h"
#include "panels/MainPnl.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/ServicePnls.h"
#include "platform/Rs232.h"
#include "platform/TextFile.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace {

constexpr char kDuplicateMessage[] = "Another copy of this program is already running.";
constexpr char kNoLinkMessage[] = "No Camera Communication Link Found";

// Told once per name and run: every refresh asks the model again.
void reportUnknownModel(const char* name)
{
    static std::set<std::string> told;
    if (!told.insert(name).second) return;
    MessagePopup("WARNING", Comm_UnknownModelText(name).c_str());
}

}  // namespace

int ProcessCommandLineArguments(int argc, char** argv)
{
    if (argc > 1 && argv && argv[1] && std::strcmp(argv[1], "/fac") == 0) g_prog_type = 1;
    return 0;
}

int SystemInit()
{
    InitState();
    const int result = OpenCamera(g_com_port, g_com_baud, 1) != 0 ? 1 : 0;
    if (g_com_port == 0) {
        // Every port tried is named with the reason it gave no camera: a
        // missing device, one in use, silence and a stranger's answer each
        // call for something else.
        const std::string report = Comm_OpenCameraReport();
        MessagePopup("WARNING",
                     (std::string(kNoLinkMessage) + (report.empty() ? "" : "\n" + report)).c_str());
    }
    return result;
}

int CameraInit()
{
    if (g_com_port == 0) return 0;
    return Mpnl_ReadAndShowMain();
}

void SystemClose()
{
    // The operator's preferences are never lost without a word.
    if (SaveState() != 0) {
        std::string text = "Failure saving the preferences to \"" + PrefsFilePath() + "\".\n";
        text += RT_LastErrorText();
        std::fprintf(stderr, "iccd-control: %s\n", text.c_str());
        MessagePopup("ERROR", text.c_str());
    }
    if (g_com_port != 0) Comm_ClosePort(g_com_port);
}

int M_PnlCallback(int, int, int event, void*, int, int)
{
    if (event == EVENT_CLOSE) QuitUserInterface(0);
    return 0;
}

int M_QuitButtonCallback(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) QuitUserInterface(0);
    return 0;
}

void MMnu_QuitProg(int, int, void*, int)
{
    QuitUserInterface(0);
}

void RegisterAppCallbacks()
{
    RegisterUiCallback("M_PnlCallback", M_PnlCallback);
    RegisterUiCallback("M_QuitButtonCallback", M_QuitButtonCallback);
    RegisterUiCallback("MMnu_QuitProg", MMnu_QuitProg);

    RegisterUiCallback("MMnu_FilePrefCallback", MMnu_FilePrefCallback);
    RegisterUiCallback("Pref_ComListCallback", Pref_ComListCallback);
    RegisterUiCallback("Pref_ResetLabelCallback", Pref_ResetLabelCallback);
    RegisterUiCallback("Pref_OKCallback", Pref_OKCallback);
    RegisterUiCallback("Pref_CancelCallback", Pref_CancelCallback);

    RegisterMenuCallbacks();
    AdvSetPnl_RegisterCallbacks();
    ServicePnl_RegisterCallbacks();
    Comm_SetUnknownModelHook(reportUnknownModel);
}

AppStartResult AppStart(int argc, char** argv, const AppOptions& options)
{
    if (!InitRunTime(nullptr, argv, 0)) return AppStartResult::Failed;
    QApplication::setWindowIcon(ProgramIcon());

    if (options.checkInstance) {
        if (!options.instanceKey.empty()) SetAppInstanceKey(options.instanceKey.c_str());
        int duplicate = 0;
        if (CheckForDuplicateAppInstance(0, &duplicate) == 0 && duplicate) {
            // The message first, above everything; the first copy's window
            // comes forward once it has been read.
            MessagePopup("ERROR", kDuplicateMessage);
            ActivateOtherAppInstance();
            return AppStartResult::Duplicate;
        }
    }

    g_prog_type = 0;
    if (argc > 1) ProcessCommandLineArguments(argc, argv);
    if (options.factory) g_prog_type = 1;

    RegisterUlvoIccdResources();
    RegisterAppCallbacks();
    g_mainpanel = LoadPanel(0, kUlvoIccdUir, MAIN);
    if (g_mainpanel < 0) {
        g_mainpanel = 0;
        return AppStartResult::Failed;
    }
    g_mainmnuhandle = LoadMenuBar(g_mainpanel, kUlvoIccdUir, MAINMNU);
    ShowRecentFiles();
    ForgetPreviousSettings();
    // The panel's own callbacks, and its traffic monitor, which must see the
    // model query of the search below.
    Mpnl_RegisterCallbacks();
    InstallSettingsFileUi();

    if (SystemInit() == 0) {
        CameraInit();
        Mpnl_ReadIdentity();
    } else {
        Mpnl_ConfigForScreen();
        DimMainPnlCtrls(1);
        DimMainPnlMenus(1);
        Mpnl_ShowLinkState();
    }

    if (g_prog_type == 0) {
        DiscardMenuItem(g_mainmnuhandle, MAINMNU_FILE_SEPARATOR);
        DiscardMenuItem(g_mainmnuhandle, MAINMNU_FILE_FTEST);
        DiscardMenuItem(g_mainmnuhandle, MAINMNU_FILE_AFEACC);
    }
    DisplayPanel(g_mainpanel);
    if (g_com_port == 0) MMnu_FilePrefCallback(g_mainmnuhandle, MAINMNU_FILE_SETUP, nullptr, g_mainpanel);
    return AppStartResult::Started;
}

int AppRun()
{
    return RunUserInterface();
}

void AppStop()
{
    // A dialog still open (the window was closed behind it) goes first.
    RemovePopup(1);
    ForgetCameraPopups();
    Mpnl_StopWatchingLink();
    if (g_mainpanel > 0) DiscardPanel(g_mainpanel);
    g_mainpanel = 0;
    g_mainmnuhandle = 0;
    UninstallSettingsFileUi();
    SystemClose();
    // The loop has ended: what the closed port held is freed here.
    ReleaseClosedPorts();
}
