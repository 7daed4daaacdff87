// Showing the camera's main settings on the main panel, and the Refresh button
// that reads them again.
#include <string>

#include "camera/CommandSet.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"

namespace mainpnl {

int IntValue(int panel, int control)
{
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

float FloatValue(int panel, int control)
{
    float value = 0.0f;
    GetCtrlVal(panel, control, &value);
    return value;
}

void ShowShutterSpeed(int panel, int lines)
{
    SetCtrlVal(panel, MAIN_SHS, lines);
    // The control keeps within the camera's range; the duration is that of
    // the speed shown.
    SetCtrlVal(panel, MAIN_TIMEMS, IntValue(panel, MAIN_SHS) * kLineTimeMs);
}

void ReportStatus(int status)
{
    if (status != COMM_OK) MessagePopup("ERROR", Comm_GetMessageErrorStr(status));
}

}  // namespace mainpnl

using namespace mainpnl;

void Mpnl_DisplayMain(CamMainSettings* rec)
{
    const int panel = g_mainpanel;
    const CamClassTraits& t = Comm_CurrentClass();
    const bool factory = g_prog_type == 1;

    int count = 0;
    const MainBinding* bindings = Bindings(&count);
    for (int i = 0; i < count; ++i) {
        const MainBinding& b = bindings[i];
        const bool factoryRing = b.dimming == Dimming::FactoryRing;
        if ((factoryRing && !factory) || !FilledFor(b, t)) continue;
        if (b.control == MAIN_MODE) {
            SetCtrlVal(panel, MAIN_MODE, t.agcMode ? rec->amd : rec->aec);
        } else if (b.control == MAIN_SHS) {
            ShowShutterSpeed(panel, rec->shs);
        } else if (b.control == MAIN_MFI) {
            // The colour cameras' ring has no "Trigger Input"; such a camera
            // reporting it is shown (and kept) as "CSYNC Input".
            int items = 0;
            GetNumListItems(panel, MAIN_MFI, &items);
            if (items < rec->mfi + 1) rec->mfi -= 1;
            SetCtrlVal(panel, MAIN_MFI, rec->mfi);
        } else if (b.intField) {
            SetCtrlVal(panel, b.control, rec->*b.intField);
        } else if (b.realField) {
            SetCtrlVal(panel, b.control, static_cast<double>(rec->*b.realField));
        }
    }
    if (factory) SetCtrlVal(panel, MAIN_MODEL, g_cam_model_user_idx);

    RuleState& s = State();
    s.mode = t.agcMode ? rec->amd : rec->aec;
    s.agcAccess = rec->agc_access;
    s.dfcAccess = rec->dfc_access;
    s.tmd = rec->tmd;
    ReadElectronicShutter();
    ApplyRules();
}

void Mpnl_Refresh(int panel)
{
    if (g_com_port == 0) return;
    CommOperation operation;
    SetCtrlVal(panel, MAIN_REF_ACTIVE, 1);
    char name[kModelNameSize] = {};
    const int status = Comm_GetModel(name);
    if (status == COMM_OK) {
        Comm_RecordModelName(name);
        CamMainSettings rec{};
        SnapshotStats stats;
        if (Comm_QueryMainSettings(&rec, &stats) != 0) {
            // The text names what went wrong with the queries (a refusal is
            // not a time-out).
            std::string message = "Failure querying camera for current settings.\n";
            message += Comm_GetMessageErrorStr(stats.lastFailure);
            MessagePopup("ERROR", message.c_str());
        }
        Mpnl_ConfigForModel();
        Mpnl_DisplayMain(&rec);
    } else if (status == COMM_LINK_LOST) {
        MessagePopup("ERROR", Comm_GetMessageErrorStr(status));
    } else {
        MessagePopup("ERROR", "No camera found.\n");
    }
    SetCtrlVal(panel, MAIN_REF_ACTIVE, 0);
}

int Mpnl_RefreshButtonCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    // Pressed while the camera is busy: the refresh follows what is running.
    RunMainPanelAction(panel, MAIN_REFRESH, [panel] { Mpnl_Refresh(panel); });
    return 0;
}
