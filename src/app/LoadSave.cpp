// The camera's user sets: File, Load Settings and File, Save Settings.
#include "app/MenuCallbacks.h"
#include "app/Restore.h"

#include <string>

#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/MainPnl.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace {

int openSetDialog(int panelResource, int ring)
{
    const int panel = LoadPanel(0, kUlvoIccdUir, panelResource);
    if (panel < 0) return panel;
    SetCtrlVal(panel, ring, g_set_no);
    return panel;
}

std::string setName(int set)
{
    return set == 0 ? std::string("the factory defaults") : "user set " + std::to_string(set);
}

void showDialog(int panel)
{
    SetPanelAttribute(panel, ATTR_LEGACY_618, 1);
    InstallPopup(panel);
}

}  // namespace

void MMnu_FileLoadCallback(int, int, void*, int)
{
    const int panel = openSetDialog(LOADSET, LOADSET_SETNO);
    if (panel < 0) return;
    showDialog(panel);
}

void MMnu_FileSaveCallback(int, int, void*, int)
{
    const int panel = openSetDialog(SAVESET, SAVESET_SETNO);
    if (panel < 0) return;
    // Only the factory may overwrite the camera's defaults.
    if (g_prog_type == 1) InsertListItem(panel, SAVESET_SETNO, 0, "Factory Defaults", 0);
    showDialog(panel);
}

int LoadSet_OKCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    int set = 0;
    GetCtrlVal(panel, LOADSET_SETNO, &set);
    RunDialogAction(panel, {LOADSET_OKBUTTON, LOADSET_CANCEL}, [set] {
        const std::string what = setName(set);
        if (!KeepSettingsBefore("the recall of " + what)) {
            RemovePopup(0);
            return;
        }
        if (Comm_LoadSet(set) != 0) {
            MessagePopup("Error", "Error on Load Set");
            Mpnl_NoteAction("Could not recall " + what);
        } else {
            // A set may hold another model; the panel takes the camera's shape.
            Comm_QueryAndRecordModel();
            Mpnl_ReadAndShowMain();
            Mpnl_NoteAction("Recalled " + what);
        }
        RemovePopup(0);
    });
    return 0;
}

int SaveSet_OKCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    int set = 0;
    GetCtrlVal(panel, SAVESET_SETNO, &set);
    RunDialogAction(panel, {SAVESET_OKBUTTON, SAVESET_CANCEL}, [set] {
        if (Comm_SaveSet(set) != 0) {
            MessagePopup("Error", "Error on Save Set");
            Mpnl_NoteAction("Could not store in " + setName(set));
        } else {
            Mpnl_NoteAction("Stored in " + setName(set));
        }
        RemovePopup(0);
    });
    return 0;
}

int LoadSave_CancelCallback(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) RemovePopup(0);
    return 0;
}
