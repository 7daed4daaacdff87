// The main panel's value controls: each committed change goes to the camera at
// once, and where the camera rounds or decides, its answer is shown.
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"

using namespace mainpnl;

namespace {

constexpr int kPulseWidthMode = 3;

int intValue(int panel, int control)
{
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

float floatValue(int panel, int control)
{
    float value = 0.0f;
    GetCtrlVal(panel, control, &value);
    return value;
}

// The first failure of a command sequence is the one worth reporting: later
// queries that succeed must not hide a refused setting.
void keepFirst(int& status, int next)
{
    if (status == COMM_OK) status = next;
}

// Manual or automatic gain.  The mode decides which other controls make sense:
// in manual the gain and the shutter are the operator's, in automatic the
// camera's limits are.
int applyMode(int panel, int mode)
{
    const ModelGroup g = CurrentGroup();
    int status = COMM_OK;
    if (g.agc) {
        keepFirst(status, Comm_SetAMD(mode));
        keepFirst(status, Comm_GetAMD(&mode));
        SetCtrlVal(panel, MAIN_MODE, mode);
    } else if (g.known) {
        keepFirst(status, Comm_SetAEC(mode));
        keepFirst(status, Comm_GetAEC(&mode));
        if (mode == 0) {
            const int she = Comm_SetSHE(0);
            keepFirst(status, she);
            if (she == COMM_OK) SetCtrlVal(panel, MAIN_SHE, 0);
            Dim(panel, MAIN_SHE, false);
            float gain = 0.0f;
            const int agn = Comm_GetAGN(&gain);
            keepFirst(status, agn);
            if (agn == COMM_OK) SetCtrlVal(panel, MAIN_AGN, gain);
            int lines = 0;
            const int shs = Comm_GetSHS(&lines);
            keepFirst(status, shs);
            if (shs == COMM_OK) ShowShutterSpeed(panel, lines);
        } else {
            const int she = Comm_SetSHE(1);
            keepFirst(status, she);
            if (she == COMM_OK) {
                SetCtrlVal(panel, MAIN_SHE, 1);
                Dim(panel, MAIN_SHE, true);
            }
        }
        SetCtrlVal(panel, MAIN_MODE, mode);
        Comm_AdjustShutterSpeedAccess(mode);
    }
    Dim(panel, MAIN_AGN, mode != 0);
    Dim(panel, MAIN_ALV, mode == 0);
    Dim(panel, MAIN_AMX, mode == 0);
    if (g.family) {
        int esh = 0;
        Comm_GetESH(&esh);
        Dim(panel, MAIN_SMX, !(mode == 1 && esh == 1));
    }
    return status;
}

// A gain the camera keeps in steps of its own: show the value it took.  When
// it cannot be read back the operator's value stays.
template <typename Set, typename Get>
int setGain(int panel, int control, Set set, Get get)
{
    const int status = set(floatValue(panel, control));
    float taken = 0.0f;
    if (get(&taken) == COMM_OK) SetCtrlVal(panel, control, taken);
    return status;
}

void showColourGain(int panel, int control, int (*get)(float*))
{
    float gain = 0.0f;
    if (get(&gain) == COMM_OK) SetCtrlVal(panel, control, gain);
}

// The value of an access ring as the camera holds it, after a withdrawal that
// was not made.
void showAccess(int panel, int control, int (*get)(int*))
{
    int access = 0;
    if (get(&access) == COMM_OK) SetCtrlVal(panel, control, access);
}

int changeModel(int panel, int row)
{
    if (Comm_SetModel(row) != COMM_OK) {
        MessagePopup("ERROR",
                     "          Failure setting camera model.\nSelected model may be incompatible with FPGA");
        SetCtrlVal(panel, MAIN_MODEL, g_cam_model_user_idx);
        return COMM_OK;  // reported already
    }
    g_cam_model_user_idx = row;
    g_cam_model_idx = Comm_FuncEquivalentModel(row);
    Mpnl_ConfigForModel();
    Mpnl_RefreshButtonCallback(g_mainpanel, MAIN_REFRESH, EVENT_COMMIT, nullptr, 0, 0);
    return COMM_OK;
}

// Withdrawing the ALC user access first puts the camera into manual gain, so
// the user screen is not left locked in automatic mode.  If the camera does
// not take the manual mode, the access stays as it was.
int changeAgcAccess(int panel, int access)
{
    if (access == 0) {
        SetCtrlVal(g_mainpanel, MAIN_MODE, 0);
        const int forced = applyMode(g_mainpanel, 0);
        if (forced != COMM_OK) {
            ReportStatus(forced);
            showAccess(panel, MAIN_AGC_ACCESS, Comm_GetAGC_Access);
            return COMM_OK;
        }
    }
    const int status = Comm_SetAGC_Access(access);
    if (status == COMM_OK) Mpnl_SetScreenforAccess(access);
    return status;
}

// Likewise the blemish user access: compensation off first (the EH-4000 has
// none), then the access.
int changeDfcAccess(int panel, int access)
{
    if (access == 0 && g_cam_model_idx != 1) {
        SetCtrlVal(g_mainpanel, MAIN_DFC, 0);
        const int forced = Comm_SetDFC(0);
        if (forced != COMM_OK) {
            ReportStatus(forced);
            showAccess(panel, MAIN_DFC_ACCESS, Comm_GetDFC_Access);
            return COMM_OK;
        }
    }
    const int status = Comm_SetDFC_Access(access);
    if (status == COMM_OK) Dim(g_mainpanel, MAIN_DFC, access == 0);
    return status;
}

int changeTriggerMode(int panel, int mode)
{
    const int status = Comm_SetTMD(mode);
    // Pulse Width Mode: the trigger pulse sets the exposure, not the shutter.
    const bool dimmed = mode == kPulseWidthMode || intValue(panel, MAIN_MODE) != 0;
    Dim(panel, MAIN_SHS, dimmed);
    Dim(panel, MAIN_TIMEMS, dimmed);
    return status;
}

int whiteBalanceOnce(int panel)
{
    const int status = Comm_SetAWB();
    showColourGain(panel, MAIN_CGAIN_RED, Comm_GetCGR);
    showColourGain(panel, MAIN_CGAIN_GREEN, Comm_GetCGG);
    showColourGain(panel, MAIN_CGAIN_BLUE, Comm_GetCGB);
    return status;
}

}  // namespace

int Mpnl_ValCallback(int panel, int control, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    if (Comm_IsBusy()) {
        // Committed while another command waits: the link would refuse this
        // one and the camera would never get the operator's value.
        WhenLinkFree([panel, control] {
            if (panel == g_mainpanel) Mpnl_ValCallback(panel, control, EVENT_COMMIT, nullptr, 0, 0);
        });
        return 0;
    }
    int status = COMM_OK;
    switch (control) {
        case MAIN_MODE:
            status = applyMode(panel, intValue(panel, control));
            break;
        case MAIN_ALV:
            status = Comm_SetALV(intValue(panel, control));
            break;
        case MAIN_AGN:
            status = setGain(panel, control, Comm_SetAGN, Comm_GetAGN);
            break;
        case MAIN_AMX:
            status = setGain(panel, control, Comm_SetAMX, Comm_GetAMX);
            break;
        case MAIN_GAM:
            status = Comm_SetGAM(intValue(panel, control));
            break;
        case MAIN_VMD:
            status = Comm_SetVMD(intValue(panel, control));
            break;
        case MAIN_SHE:
            status = Comm_SetSHE(intValue(panel, control));
            break;
        case MAIN_SMX:
            status = Comm_SetSMX(intValue(panel, control));
            break;
        case MAIN_SHS: {
            const int lines = intValue(panel, control);
            status = Comm_SetSHS(lines);
            SetCtrlVal(panel, MAIN_TIMEMS, lines * kLineTimeMs);
            break;
        }
        case MAIN_MFI:
            status = Comm_SetMFI(intValue(panel, control));
            break;
        case MAIN_WBM:
            status = Comm_SetWBM(intValue(panel, control));
            break;
        case MAIN_MFT:
            status = Comm_SetMFT(intValue(panel, control));
            break;
        case MAIN_TMD:
            status = changeTriggerMode(panel, intValue(panel, control));
            break;
        case MAIN_DFC:
            status = Comm_SetDFC(intValue(panel, control));
            break;
        case MAIN_MIR:
            status = Comm_SetMIR(intValue(panel, control));
            break;
        case MAIN_CMD:
            status = Comm_SetCMD(intValue(panel, control));
            break;
        case MAIN_CGAIN_RED:
            status = Comm_SetCGR(floatValue(panel, control));
            break;
        case MAIN_CGAIN_GREEN:
            status = Comm_SetCGG(floatValue(panel, control));
            break;
        case MAIN_CGAIN_BLUE:
            status = Comm_SetCGB(floatValue(panel, control));
            break;
        case MAIN_IPH:
            status = Comm_SetIPH(intValue(panel, control));
            break;
        case MAIN_MODEL:
            status = changeModel(panel, intValue(panel, control));
            break;
        case MAIN_AGC_ACCESS:
            status = changeAgcAccess(panel, intValue(panel, control));
            break;
        case MAIN_DFC_ACCESS:
            status = changeDfcAccess(panel, intValue(panel, control));
            break;
        case MAIN_AWB:
            status = whiteBalanceOnce(panel);
            break;
        case MAIN_HUE:
            status = Comm_SetHUE(floatValue(panel, control));
            break;
        case MAIN_VSAT:
            status = Comm_SetVSA(floatValue(panel, control));
            break;
        case MAIN_USAT:
            status = Comm_SetUSA(floatValue(panel, control));
            break;
        case MAIN_YGAIN:
            status = Comm_SetYGA(floatValue(panel, control));
            break;
        default:
            break;
    }
    ReportStatus(status);
    return 0;
}
