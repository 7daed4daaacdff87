// Showing the camera's main settings on the main panel, and the Refresh button
// that reads them again.
#include <QTimer>
#include <string>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"

namespace mainpnl {

void ShowShutterSpeed(int panel, int lines)
{
    SetCtrlVal(panel, MAIN_SHS, lines);
    SetCtrlVal(panel, MAIN_TIMEMS, lines * kLineTimeMs);
}

void ReportStatus(int status)
{
    if (status != COMM_OK) MessagePopup("ERROR", Comm_GetMessageErrorStr(status));
}

namespace {

constexpr int kLinkPollMs = 10;
constexpr int kLinkGiveUpMs = 5000;  // longer than any one command's wait

void whenLinkFree(std::function<void()> action, int waitedMs)
{
    if (!Comm_IsBusy()) {
        action();
        return;
    }
    if (waitedMs >= kLinkGiveUpMs) return;
    QTimer::singleShot(kLinkPollMs, [action = std::move(action), waitedMs]() mutable {
        whenLinkFree(std::move(action), waitedMs + kLinkPollMs);
    });
}

}  // namespace

void WhenLinkFree(std::function<void()> action)
{
    whenLinkFree(std::move(action), 0);
}

}  // namespace mainpnl

using namespace mainpnl;

void Mpnl_DisplayMain(CamMainSettings* rec)
{
    const int panel = g_mainpanel;
    const ModelGroup g = CurrentGroup();

    if (g_prog_type == 1) {
        SetCtrlVal(panel, MAIN_MODEL, g_cam_model_user_idx);
        SetCtrlVal(panel, MAIN_AGC_ACCESS, rec->agc_access);
        SetCtrlVal(panel, MAIN_DFC_ACCESS, rec->dfc_access);
    }

    int mode = 0;
    if (g.agc) {
        SetCtrlVal(panel, MAIN_MODE, rec->amd);
        mode = rec->amd;
        Dim(panel, MAIN_MODE, rec->agc_access == 0);
    } else if (g.known) {
        SetCtrlVal(panel, MAIN_MODE, rec->aec);
        mode = rec->aec;
        Dim(panel, MAIN_SHE, rec->aec != 0);  // automatic mode locks the shutter switch
        SetCtrlVal(panel, MAIN_SHE, rec->she);
        ShowShutterSpeed(panel, rec->shs);
        Dim(panel, MAIN_MODE, rec->agc_access == 0);
        // The access rule reads the trigger-mode ring, so it must show the
        // camera's trigger mode first.
        SetCtrlVal(panel, MAIN_TMD, rec->tmd);
        Comm_AdjustShutterSpeedAccess(rec->aec);
        if (g.family) {
            Dim(panel, MAIN_DFC, rec->dfc_access == 0);
            SetCtrlVal(panel, MAIN_DFC, rec->dfc);
            SetCtrlVal(panel, MAIN_MIR, rec->mir);
        }
        if (g.colour) {
            SetCtrlVal(panel, MAIN_CMD, rec->cmd);
            SetCtrlVal(panel, MAIN_CGAIN_RED, rec->cgr);
            SetCtrlVal(panel, MAIN_CGAIN_GREEN, rec->cgg);
            SetCtrlVal(panel, MAIN_CGAIN_BLUE, rec->cgb);
            SetCtrlVal(panel, MAIN_IPH, rec->iph);
            SetCtrlVal(panel, MAIN_YGAIN, rec->yga);
            SetCtrlVal(panel, MAIN_USAT, rec->usa);
            SetCtrlVal(panel, MAIN_VSAT, rec->vsa);
            SetCtrlVal(panel, MAIN_HUE, rec->hue);
            SetCtrlVal(panel, MAIN_WBM, rec->wbm);
        }
    }

    // Manual gain is locked in automatic mode, the automatic limits in manual.
    Dim(panel, MAIN_AGN, mode != 0);
    Dim(panel, MAIN_ALV, mode == 0);
    Dim(panel, MAIN_AMX, mode == 0);
    int esh = 0;
    if (g.family) Comm_GetESH(&esh);
    Dim(panel, MAIN_SMX, !(mode == 1 && esh == 1));

    SetCtrlVal(panel, MAIN_AGN, rec->agn);
    SetCtrlVal(panel, MAIN_ALV, rec->alv);
    SetCtrlVal(panel, MAIN_AMX, rec->amx);
    SetCtrlVal(panel, MAIN_SMX, rec->smx);
    SetCtrlVal(panel, MAIN_GAM, rec->gam);
    SetCtrlVal(panel, MAIN_VMD, rec->vmd);

    // The colour models' ring has no "Trigger Input"; such a camera reporting
    // it is shown (and kept) as "CSYNC Input".
    int items = 0;
    GetNumListItems(panel, MAIN_MFI, &items);
    if (items < rec->mfi + 1) rec->mfi -= 1;
    SetCtrlVal(panel, MAIN_MFI, rec->mfi);

    SetCtrlVal(panel, MAIN_MFT, rec->mft);
    SetCtrlVal(panel, MAIN_TMD, rec->tmd);
}

int Mpnl_RefreshButtonCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT || g_com_port == 0) return 0;
    // Pressed while another command waits for its reply: the link would send
    // none of the queries, and the unanswered model query would read as the
    // first model of the table.
    if (Comm_IsBusy()) return 0;

    SetCtrlVal(panel, MAIN_REF_ACTIVE, 1);
    char name[kModelNameSize] = {};
    if (Comm_GetModel(name) == COMM_OK) {
        g_cam_model_user_idx = Comm_IdentifyModel(name);
        g_cam_model_idx = Comm_FuncEquivalentModel(g_cam_model_user_idx);
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
    } else {
        MessagePopup("ERROR", "No camera found.\n");
    }
    SetCtrlVal(panel, MAIN_REF_ACTIVE, 0);
    return 0;
}
