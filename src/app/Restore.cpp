#include "app/Restore.h"

#include <cstdint>
#include <string>

#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "settingsfile/SettingsSnapshot.h"
#include "ui/Ui.h"

namespace {

constexpr const char* kTitle = "Restore Previous Settings";

struct Previous {
    CameraSnapshot snapshot;
    std::string action;
    std::uint64_t link = 0;  // the link they came from (Comm_LinkSerial)
    bool kept = false;
};
Previous s_previous;

void showMenuState()
{
    if (g_mainmnuhandle > 0)
        SetMenuBarAttribute(g_mainmnuhandle, MAINMNU_EDIT_RESTORE, ATTR_DIMMED,
                            HavePreviousSettings() ? 0 : 1);
}

void restoreNow()
{
    if (!HavePreviousSettings()) {
        MessagePopup(kTitle, "There are no previous settings to restore.");
        return;
    }
    const Previous& previous = s_previous;
    const int row = previous.snapshot.modelRow;
    if (row >= 0 && row != g_cam_model_user_idx) {
        std::string text = "The settings were kept from a ";
        text += g_cam_models[row];
        text += "; the camera is now a ";
        text += g_cam_models[g_cam_model_user_idx];
        text += ".\nSend them to this camera?";
        if (ConfirmPopup(kTitle, text.c_str()) != 1) return;
    }
    const SnapshotRestore restore = RestoreCameraSnapshot(previous.snapshot);
    if (restore.sending.linkLost) return;  // said so already
    const std::string failures = RestoreFailureSummary(previous.snapshot, restore);
    std::string text;
    if (failures.empty()) {
        text = "The camera is back at the settings it had before " + previous.action + ".";
        Mpnl_NoteAction("Restored the settings from before " + previous.action);
    } else {
        text = "The camera is back at the settings it had before " + previous.action +
               ", except for these:\n" + failures;
        Mpnl_NoteAction("Restored the settings from before " + previous.action + ", not all of them");
    }
    MessagePopup(kTitle, text.c_str());
}

}  // namespace

bool KeepSettingsBefore(const std::string& action)
{
    CameraSnapshot snapshot;
    const int status = TakeCameraSnapshot(&snapshot);
    if (status != 0) {
        std::string text =
            "The camera's present settings could not be read, so there would be no way back to "
            "them.\n";
        text += Comm_FailureText(status);
        text += "\nGo on without a way back?";
        if (ConfirmPopup(kTitle, text.c_str()) != 1) return false;
        // The older settings are not from just before this action: going
        // back to them would undo more than the operator expects.
        ForgetPreviousSettings();
        return true;
    }
    s_previous = {std::move(snapshot), action, Comm_LinkSerial(), true};
    showMenuState();
    return true;
}

bool HavePreviousSettings()
{
    return s_previous.kept && s_previous.link == Comm_LinkSerial();
}

void ForgetPreviousSettings()
{
    s_previous = {};
    showMenuState();
}

void RestorePreviousSettings()
{
    Comm_WhenLinkIdle(restoreNow);
}

void MMnu_RestoreCallback(int, int, void*, int)
{
    RestorePreviousSettings();
}
