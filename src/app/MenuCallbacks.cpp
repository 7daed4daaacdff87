// Settings files from the File menu, the progress display of a load, and the
// registration of every menu command.
#include "app/MenuCallbacks.h"

#include "app/Help.h"
#include "app/Presets.h"
#include "app/Restore.h"

#include <QFileInfo>
#include <string>

#include "camera/LinkQueue.h"
#include "panels/MainPnl.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "platform/TextFile.h"
#include "platform/Timing.h"
#include "resources/UlvoIccd.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"
#include "ui/Ui.h"

namespace {

// A load's stages on the LOADPROG panel, its failures in pop-ups, and the
// refresh of the main panel at its end.
class PanelSettingsUi final : public SettingsFileUi {
public:
    void progress(const char* message) override
    {
        if (panel_ <= 0) {
            panel_ = LoadPanel(0, kUlvoIccdUir, LOADPROG);
            cancelAsked_ = false;
        }
        if (panel_ <= 0) return;
        SetCtrlVal(panel_, LOADPROG_MESSAGE, message);
        // Cancel stops the sending; reading and the refresh cannot be cut short.
        SetCtrlAttribute(panel_, LOADPROG_CANCEL, ATTR_DIMMED,
                         std::string(message) == kSendingMessage && !cancelAsked_ ? 0 : 1);
        DisplayPanel(panel_);
        ProcessSystemEvents();  // painted before the camera keeps the program busy
    }
    void progressDone() override
    {
        if (panel_ > 0) DiscardPanel(panel_);
        panel_ = 0;
    }
    bool stepDone(int step, int) override
    {
        if (panel_ > 0) SetCtrlVal(panel_, LOADPROG_PROGRESS, step);
        return !cancelAsked_;
    }
    void askCancel()
    {
        cancelAsked_ = true;
        if (panel_ <= 0) return;
        SetCtrlVal(panel_, LOADPROG_MESSAGE, "Cancelling after the step under way...");
        SetCtrlAttribute(panel_, LOADPROG_CANCEL, ATTR_DIMMED, 1);
    }
    void error(const char* title, const char* message) override { MessagePopup(title, message); }
    bool confirm(const char* warning) override
    {
        return ConfirmPopup("Load Settings From File",
                            (std::string(warning) + "\nSend its settings to this camera?").c_str()) == 1;
    }
    void refresh() override
    {
        if (g_mainpanel > 0) Mpnl_Refresh(g_mainpanel);
    }

private:
    int panel_ = 0;
    bool cancelAsked_ = false;
};

PanelSettingsUi s_panel_ui;

// The settings-file dialogs open where the last one left off; the first one
// in the folder the program was given (an installed program: the user's
// documents), else the program's own folder.
std::string g_settingsFolder;

std::string dialogFolder()
{
    if (!g_settingsFolder.empty()) return g_settingsFolder;
    std::string dir;
    GetProjectDir(&dir);
    return dir;
}

void noteFolderOf(const char* path)
{
    g_settingsFolder = QFileInfo(QString::fromLocal8Bit(path)).absolutePath().toStdString();
}

// Whether the camera took the file: what `iccdctl diff` would list.
std::string comparisonText(const std::string& path)
{
    constexpr std::size_t kListed = 20;
    const SettingsComparison comparison = CompareCameraWithFile(path.c_str());
    std::string text;
    if (comparison.outcome != SettingsComparison::Outcome::Compared) {
        text = "The camera could not be compared with the file.\n" + comparison.reason;
    } else if (comparison.differences.empty()) {
        text = "The camera took every setting of the file.";
    } else {
        text = "The camera did not take these settings of the file:";
        for (std::size_t i = 0; i < comparison.differences.size() && i < kListed; ++i) {
            const SettingsDifference& d = comparison.differences[i];
            text += "\n" + d.name + ": file " + d.fileValue + ", camera " + d.cameraValue;
        }
        if (comparison.differences.size() > kListed)
            text += "\n... and " + std::to_string(comparison.differences.size() - kListed) + " more";
    }
    return text;
}

// "\"lab.cfg\"": the file's name as messages quote it.
std::string quotedName(const std::string& path)
{
    std::string name = "\"";
    name += QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName().toStdString();
    name += '"';
    return name;
}

// The load of a chosen file, once the link is idle: the camera's settings
// are kept first, so that the summary can offer the way back.
void loadNow(const std::string& path)
{
    const int file = RT_OpenFile(path.c_str(), RT_READ);
    if (file <= 0) {
        MessagePopup("ERROR", SettingsFileOpenFailure(path.c_str()).c_str());
        ForgetRecentFile(path);
        return;
    }
    const std::string name = quotedName(path);
    if (!KeepSettingsBefore("the load of " + name)) {
        RT_CloseFile(file);
        return;
    }
    const SettingsLoadResult result = LoadSettingsFile(file);
    NoteRecentFile(path);
    if (result.readAborted) {
        Mpnl_NoteAction("Could not load " + name + ": nothing was sent");
        return;
    }
    if (result.linkLost) return;  // said so already; the camera cannot be compared
    if (!result.failedLines.empty() || !result.failedSteps.empty())
        MessagePopup("Load Settings From File",
                     ("These lines and steps of the file failed:\n" + LoadFailureSummary(result)).c_str());
    if (result.cancelled && result.stepsDone == 0) {
        Mpnl_NoteAction("Load of " + name + " cancelled: nothing was sent");
        return;
    }
    std::string text =
        result.cancelled ? "The steps sent before the cancel stay in the camera." : comparisonText(path);
    Mpnl_NoteAction((result.cancelled
                         ? "Load of " + name + " cancelled after step " + std::to_string(result.stepsDone)
                     : result.failed() ? "Loaded " + name + ", not every setting"
                                       : "Loaded " + name));
    if (HavePreviousSettings()) {
        if (ActionMessagePopup("Load Settings From File", text.c_str(), kRestoreButtonLabel) == 1)
            RestorePreviousSettings();
    } else {
        MessagePopup("Load Settings From File", text.c_str());
    }
}

}  // namespace

void SetSettingsFileFolder(const std::string& folder)
{
    g_settingsFolder = folder;
}

void InstallSettingsFileUi()
{
    SetSettingsFileUi(&s_panel_ui);
}

void UninstallSettingsFileUi()
{
    s_panel_ui.progressDone();
    SetSettingsFileUi(nullptr);
}

void LoadSettingsFromFile(const std::string& path)
{
    // Chosen while the camera is busy: the load follows what is running.
    Comm_WhenLinkIdle([path] { loadNow(path); });
}

int SaveSettingsToFile(const std::string& path, const std::string& comment)
{
    // The camera is asked first; an existing file is replaced only by a
    // complete new one.
    const int status = SaveSettingsFile(path.c_str(), comment.c_str());
    const std::string name = quotedName(path);
    if (status == 0) {
        NoteRecentFile(path);
        Mpnl_NoteAction("Saved the settings to " + name);
    } else {
        Mpnl_NoteAction("Could not save the settings to " + name);
    }
    return status;
}

void MMnu_FileLoadFrmFileCallback(int, int, void*, int)
{
    char path[MAX_PATHNAME_LEN];
    if (FileSelectPopup(dialogFolder().c_str(), "*.cfg", "", "Load Camera Settings From File",
                        VAL_LOAD_BUTTON, 0, 0, 1, 1, path) <= 0)
        return;
    noteFolderOf(path);
    LoadSettingsFromFile(path);
}

void MMnu_FileSaveToFileCallback(int, int, void*, int)
{
    const int panel = LoadPanel(0, kUlvoIccdUir, F_SAVESET);
    if (panel < 0) return;
    SetPanelAttribute(panel, ATTR_LEGACY_618, 1);
    InstallPopup(panel);
}

int F_SaveSet_OKCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    RunDialogAction(panel, {F_SAVESET_OK, F_SAVESET_CANCEL}, [panel] {
        char path[MAX_PATHNAME_LEN];
        if (FileSelectPopup(dialogFolder().c_str(), "*.cfg", "", "Save Camera Settings to File",
                            VAL_SAVE_BUTTON, 0, 0, 1, 1, path) > 0) {
            noteFolderOf(path);
            std::string comment;
            GetCtrlVal(panel, F_SAVESET_COMMENT, &comment);
            SaveSettingsToFile(path, comment);
        }
        RemovePopup(0);
    });
    return 0;
}

int LoadProg_CancelCallback(int, int, int event, void*, int, int)
{
    // Not queued behind the load like other actions: it is what the load
    // asks about between its steps.
    if (event == EVENT_COMMIT) s_panel_ui.askCancel();
    return 0;
}

// View > Refresh (F5): as the panel's Refresh button.
void MMnu_RefreshCallback(int, int, void*, int panel)
{
    Mpnl_RefreshButtonCallback(panel, MAIN_REFRESH, EVENT_COMMIT, nullptr, 0, 0);
}

int F_LoadSave_CancelCallback(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) RemovePopup(0);
    return 0;
}

void RegisterMenuCallbacks()
{
    RegisterHelpCallbacks();
    RegisterPresetCallbacks();
    RegisterUiCallback("MMnu_RestoreCallback", MMnu_RestoreCallback);
    RegisterUiCallback("MMnu_RefreshCallback", MMnu_RefreshCallback);
    RegisterUiCallback("MMnu_FileLoadCallback", MMnu_FileLoadCallback);
    RegisterUiCallback("MMnu_FileSaveCallback", MMnu_FileSaveCallback);
    RegisterUiCallback("LoadSet_OKCallback", LoadSet_OKCallback);
    RegisterUiCallback("SaveSet_OKCallback", SaveSet_OKCallback);
    RegisterUiCallback("LoadSave_CancelCallback", LoadSave_CancelCallback);

    RegisterUiCallback("MMnu_FileLoadFrmFileCallback", MMnu_FileLoadFrmFileCallback);
    RegisterUiCallback("MMnu_FileSaveToFileCallback", MMnu_FileSaveToFileCallback);
    RegisterUiCallback("F_SaveSet_OKCallback", F_SaveSet_OKCallback);
    RegisterUiCallback("F_LoadSave_CancelCallback", F_LoadSave_CancelCallback);
    RegisterUiCallback("LoadProg_CancelCallback", LoadProg_CancelCallback);
}
