// Showing the camera's main settings on the main panel.
#include <string>

#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Conversions.h"
#include "camera/FailureText.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"

namespace mainpnl {

void ShowShutterSpeed(int panel, int lines)
{
    ShowCameraValue(panel, MAIN_SHS, lines);
    ShowCameraValue(panel, MAIN_TIMEMS, Comm_CountToUser(CommRule::LineTime, lines));
}

namespace {

std::string noValueReason(int panel, int control)
{
    std::string reason;
    GetCtrlAttribute(panel, control, ATTR_NO_VALUE_REASON, &reason);
    return reason;
}

}  // namespace

void ShowDuration(int panel)
{
    // The duration of a speed the control cannot show is what was shown with it.
    if (noValueReason(panel, MAIN_SHS).empty())
        ShowCameraValue(panel, MAIN_TIMEMS, Comm_CountToUser(CommRule::LineTime, IntValue(panel, MAIN_SHS)));
    else if (!ShowConfirmedValue(panel, MAIN_TIMEMS))
        NoteNoValue(panel, MAIN_TIMEMS, NoValue::Derived, noValueReason(panel, MAIN_SHS));
}

// Why the record field a binding shows is unread in the pass; 0 when it was read.
int FieldFailure(const Binding& b, const CamMainSettings* rec, const SnapshotStats* stats)
{
    const void* field = b.control == MAIN_MODE ? (Comm_CurrentClass().agcMode ? &rec->amd : &rec->aec)
                        : b.field.main         ? b.field.main(*rec)
                                               : nullptr;
    return field ? MainFieldFailure(stats, rec, field) : COMM_OK;
}

}  // namespace mainpnl

using namespace mainpnl;

void Mpnl_DisplayMain(CamMainSettings* rec, const SnapshotStats* stats)
{
    const int panel = g_mainpanel;
    const CamClassTraits& t = Comm_CurrentClass();
    const bool factory = g_prog_type == 1;

    for (const Binding& b : Bindings()) {
        const bool factoryRing = b.dimming == Dimming::FactoryRing;
        if ((factoryRing && !factory) || !FilledFor(b, t)) continue;
        if (const int failure = FieldFailure(b, rec, stats)) {
            ShowUnread(panel, b.control, failure);
            if (b.control == MAIN_SHS)
                NoteNoValue(panel, MAIN_TIMEMS, NoValue::Derived, noValueReason(panel, MAIN_SHS));
            continue;
        }
        if (b.control == MAIN_MODE) {
            ShowCameraValue(panel, MAIN_MODE, t.agcMode ? rec->amd : rec->aec);
        } else if (b.control == MAIN_SHS) {
            ShowShutterSpeed(panel, rec->shs);
        } else if (b.control == MAIN_MFI) {
            // The colour cameras' ring has no "Trigger Input"; such a camera
            // reporting it is shown (and kept) as "CSYNC Input".
            int items = 0;
            GetNumListItems(panel, MAIN_MFI, &items);
            if (items < rec->mfi + 1) rec->mfi -= 1;
            ShowCameraValue(panel, MAIN_MFI, rec->mfi);
        } else if (b.field.main) {
            const void* field = b.field.main(*rec);
            ShowCameraValue(panel, b.control,
                            b.field.real ? static_cast<double>(*static_cast<const float*>(field))
                                         : *static_cast<const int*>(field));
        }
    }
    if (factory) SetCtrlVal(panel, MAIN_MODEL, g_cam_model_user_idx);

    // The rules go on from what the camera last told, not from a failed query.
    RuleState& s = State();
    const int* mode = t.agcMode ? &rec->amd : &rec->aec;
    if (!MainFieldFailed(stats, rec, mode)) s.mode = *mode;
    if (!MainFieldFailed(stats, rec, &rec->agc_access)) s.agcAccess = rec->agc_access;
    if (!MainFieldFailed(stats, rec, &rec->dfc_access)) s.dfcAccess = rec->dfc_access;
    if (!MainFieldFailed(stats, rec, &rec->tmd)) s.tmd = rec->tmd;
    s.shutterWant = s.mode;
    s.eshFromAdvanced = -1;
    ReadElectronicShutter();
    ApplyRules();
    Mpnl_ShowLinkState();
}

void Mpnl_ReshapeAndShow(CamMainSettings* rec, const SnapshotStats* stats)
{
    Mpnl_ConfigForModel();
    Mpnl_DisplayMain(rec, stats);
}

int Mpnl_ReadAndShowMain()
{
    CamMainSettings rec{};
    SnapshotStats stats;
    const int result = Comm_QueryMainSettings(&rec, &stats);
    // The text names what went wrong with the queries (a refusal is not a
    // time-out); a lost link is shown by the title and the looking.
    if (result != 0 && !Comm_LinkLost()) {
        const std::string message =
            "Failure querying camera for current settings.\n" + Comm_FailureText(stats.lastFailure);
        MessagePopup("ERROR", message.c_str());
    }
    Mpnl_ReshapeAndShow(&rec, &stats);
    return result;
}
