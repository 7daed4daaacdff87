#include "panels/PanelCommit.h"

#include "camera/CamTypes.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "panels/ConfirmedValues.h"
#include "panels/OperatorAction.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

void ReportCommStatus(int status)
{
    if (status != COMM_OK) MessagePopup("ERROR", Comm_GetMessageErrorStr(status));
}

void SettleCommitted(int panel, int control, int status)
{
    if (status == COMM_OK)
        NoteConfirmedValue(panel, control);
    else
        ShowConfirmedValue(panel, control);
}

void CommitToCamera(int panel, int control, std::function<int()> send, bool silent)
{
    RunPanelAction(panel, control, [panel, control, send = std::move(send), silent] {
        const int status = send();
        SettleCommitted(panel, control, status);
        if (!silent) ReportCommStatus(status);
    });
}

bool PanelFill::ok(int status)
{
    if (status != COMM_OK && firstFailure_ == COMM_OK) firstFailure_ = status;
    return status == COMM_OK;
}

void PanelFill::show(int control, int status, int value)
{
    if (!ok(status)) return;
    SetCtrlVal(panel_, control, value);
    NoteConfirmedValue(panel_, control);
}

void PanelFill::show(int control, int status, double value)
{
    if (!ok(status)) return;
    SetCtrlVal(panel_, control, value);
    NoteConfirmedValue(panel_, control);
}

void PanelFill::report() const
{
    ReportCommStatus(firstFailure_);
}

void OpenCameraPopup(const PopupOpening& opening)
{
    // One key per kind of panel: chosen twice while the camera is busy, it opens once.
    static char keys[32];
    const void* key = opening.resource >= 0 && opening.resource < 32 ? &keys[opening.resource] : nullptr;
    Comm_WhenLinkIdle(
        [opening] {
            const int resource = opening.chooseResource ? opening.chooseResource() : opening.resource;
            const int panel = LoadPanel(0, kUlvoIccdUir, resource);
            if (panel <= 0) return;
            *opening.handle = panel;
            if (opening.attribute618) SetPanelAttribute(panel, ATTR_LEGACY_618, 1);
            if (opening.fillBeforeShowing) opening.fill();
            InstallPopup(panel);
            if (!opening.fillBeforeShowing) opening.fill();
        },
        key);
}

void CloseCameraPopup(int panel)
{
    RemovePopup(0);
    ForgetConfirmedValues(panel);
}
