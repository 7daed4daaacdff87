// The main panel's value controls: each committed change goes to the camera at
// once (or, while the camera is busy, as soon as it is free), and where the
// camera rounds or decides, the value it holds is shown.
#include <algorithm>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"

namespace mainpnl {

namespace {

// The first failure of a command sequence is the one worth reporting: later
// queries that succeed must not hide a refused setting.
void keepFirst(int& status, int next)
{
    if (status == COMM_OK) status = next;
}

// The value of an access ring as the camera holds it, after a withdrawal that
// was not made.
void showAccess(int panel, int control, int (*get)(int*))
{
    int access = 0;
    if (get(&access) == COMM_OK) SetCtrlVal(panel, control, access);
}

}  // namespace

// Manual or automatic gain.  The mode decides which other controls make sense:
// in manual the gain and the shutter are the operator's, in automatic the
// camera's limits are.
int CommitMode(int panel, const Committed& value)
{
    const CamClassTraits& t = Comm_CurrentClass();
    int mode = value.i;
    int status = COMM_OK;
    if (t.agcMode) {
        keepFirst(status, Comm_SetAMD(mode));
        keepFirst(status, Comm_GetAMD(&mode));
    } else if (t.known) {
        keepFirst(status, Comm_SetAEC(mode));
        keepFirst(status, Comm_GetAEC(&mode));
        const int she = Comm_SetSHE(mode == 0 ? 0 : 1);
        keepFirst(status, she);
        if (she == COMM_OK) SetCtrlVal(panel, MAIN_SHE, mode == 0 ? 0 : 1);
        if (mode == 0) {
            float gain = 0.0f;
            const int agn = Comm_GetAGN(&gain);
            keepFirst(status, agn);
            if (agn == COMM_OK) ShowCameraValue(panel, MAIN_AGN, static_cast<double>(gain));
            int lines = 0;
            const int shs = Comm_GetSHS(&lines);
            keepFirst(status, shs);
            if (shs == COMM_OK) ShowShutterSpeed(panel, lines);
        }
    }
    SetCtrlVal(panel, MAIN_MODE, mode);
    State().mode = mode;
    State().shutterWant = mode;
    State().eshFromAdvanced = -1;
    ReadElectronicShutter();
    ApplyRules();
    return status;
}

int CommitShutterSpeed(int panel, const Committed& value)
{
    const int status = Comm_SetSHS(value.i);
    SettleCommitted(panel, MAIN_SHS, status);
    ShowDuration(panel);
    return status;
}

// The camera takes whole lines: a duration becomes the nearest count the lines
// control allows for the model, read from that control so that its range,
// which the model and the camera reshape, is laid down once.
void GatherLinesOfDuration(int panel, Committed& value)
{
    int lowest = 1;
    int longest = 1;
    GetCtrlAttribute(panel, MAIN_SHS, ATTR_MIN_VALUE, &lowest);
    GetCtrlAttribute(panel, MAIN_SHS, ATTR_MAX_VALUE, &longest);
    int lines = 0;
    if (!Comm_UserToCountChecked(CommRule::LineTime, static_cast<float>(value.d), &lines))
        lines = value.d > 0 ? longest : lowest;
    value.i = std::clamp(lines, lowest, longest);
}

int CommitDuration(int panel, const Committed& value)
{
    SetCtrlVal(panel, MAIN_SHS, value.i);
    return panelbind::Find(Bindings(), MAIN_SHS)->commit(panel, value);
}

// Pulse Width Mode: the trigger pulse sets the exposure, not the shutter.
int CommitTriggerMode(int panel, const Committed& value)
{
    const int status = Comm_SetTMD(value.i);
    SettleCommitted(panel, MAIN_TMD, status);
    if (status == COMM_OK) State().tmd = value.i;
    ApplyRules();
    return status;
}

int CommitModel(int panel, const Committed& value)
{
    const int row = value.i;
    if (Comm_SetModel(row) != COMM_OK) {
        MessagePopup("ERROR",
                     "          Failure setting camera model.\nSelected model may be incompatible with FPGA");
        SetCtrlVal(panel, MAIN_MODEL, g_cam_model_user_idx);
        return COMM_OK;  // reported already
    }
    Comm_RecordModel(row);
    Mpnl_ConfigForModel();
    Mpnl_Refresh(g_mainpanel);
    return COMM_OK;
}

// Withdrawing the ALC user access first puts the camera into manual gain, so
// the user screen is not left locked in automatic mode.  If the camera does
// not take the manual mode, the access stays as it was.
int CommitAgcAccess(int panel, const Committed& value)
{
    const int access = value.i;
    if (access == 0) {
        SetCtrlVal(g_mainpanel, MAIN_MODE, 0);
        Committed manual;
        manual.control = MAIN_MODE;
        const int forced = CommitMode(g_mainpanel, manual);
        if (forced != COMM_OK) {
            ReportCommStatus(forced);
            showAccess(panel, MAIN_AGC_ACCESS, Comm_GetAGC_Access);
            return COMM_OK;
        }
    }
    const int status = Comm_SetAGC_Access(access);
    if (status == COMM_OK) Mpnl_SetScreenforAccess(access);
    return status;
}

// Likewise the blemish user access: compensation off first (the AGC camera
// has none), then the access.
int CommitDfcAccess(int panel, const Committed& value)
{
    const int access = value.i;
    if (access == 0 && !Comm_CurrentClass().agcMode) {
        SetCtrlVal(g_mainpanel, MAIN_DFC, 0);
        const int forced = Comm_SetDFC(0);
        if (forced != COMM_OK) {
            ReportCommStatus(forced);
            showAccess(panel, MAIN_DFC_ACCESS, Comm_GetDFC_Access);
            return COMM_OK;
        }
    }
    const int status = Comm_SetDFC_Access(access);
    if (status == COMM_OK) {
        State().dfcAccess = access;
        ApplyRules();
    }
    return status;
}

int CommitWhiteBalance(int panel, const Committed&)
{
    const int status = Comm_SetAWB();
    const struct {
        int control;
        int (*get)(float*);
    } gains[] = {
        {MAIN_CGAIN_RED, Comm_GetCGR}, {MAIN_CGAIN_GREEN, Comm_GetCGG}, {MAIN_CGAIN_BLUE, Comm_GetCGB}};
    for (const auto& g : gains) {
        float gain = 0.0f;
        if (g.get(&gain) == COMM_OK) ShowCameraValue(panel, g.control, static_cast<double>(gain));
    }
    return status;
}

}  // namespace mainpnl
