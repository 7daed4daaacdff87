#include "panels/PanelCommit.h"

#include <vector>

#include "camera/CamTypes.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "panels/ConfirmedValues.h"
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

namespace {

void widenToHold(int panel, int control, double value)
{
    int style = 0;
    if (GetCtrlAttribute(panel, control, ATTR_CTRL_STYLE, &style) < 0 || style != CTRL_NUMERIC) return;
    double low = 0.0, high = 0.0;
    if (GetCtrlAttribute(panel, control, ATTR_MIN_VALUE, &low) >= 0 && value < low)
        SetCtrlAttribute(panel, control, ATTR_MIN_VALUE, value);
    if (GetCtrlAttribute(panel, control, ATTR_MAX_VALUE, &high) >= 0 && value > high)
        SetCtrlAttribute(panel, control, ATTR_MAX_VALUE, value);
}

}  // namespace

void ShowReadNumber(int panel, int control, double value)
{
    widenToHold(panel, control, value);
    SetCtrlVal(panel, control, value);
}

bool PanelFill::ok(int status)
{
    if (status != COMM_OK && firstFailure_ == COMM_OK) firstFailure_ = status;
    return status == COMM_OK;
}

void PanelFill::show(int control, int status, int value)
{
    if (!ok(status)) return;
    widenToHold(panel_, control, value);
    if (SetCtrlVal(panel_, control, value) >= 0) NoteConfirmedValue(panel_, control);
}

void PanelFill::show(int control, int status, double value)
{
    if (!ok(status)) return;
    widenToHold(panel_, control, value);
    if (SetCtrlVal(panel_, control, value) >= 0) NoteConfirmedValue(panel_, control);
}

void PanelFill::read(int control, int (*get)(int*))
{
    int value = 0;
    const int status = get(&value);
    show(control, status, value);
}

void PanelFill::read(int control, int (*get)(float*))
{
    float value = 0.0f;
    const int status = get(&value);
    show(control, status, static_cast<double>(value));
}

void PanelFill::report() const
{
    ReportCommStatus(firstFailure_);
}

namespace {

struct OpenPopup {
    int panel;
    PopupOpening opening;
};

// The camera pop-ups on screen, bottom first.
std::vector<OpenPopup>& OpenPopups()
{
    static std::vector<OpenPopup> open;
    return open;
}

}  // namespace

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
            OpenPopups().push_back({panel, opening});
            if (!opening.fillBeforeShowing) opening.fill();
        },
        key);
}

void CloseCameraPopup(int panel)
{
    RemovePopup(0);
    ForgetConfirmedValues(panel);
    auto& open = OpenPopups();
    std::erase_if(open, [panel](const OpenPopup& p) { return p.panel == panel; });
}

void RenewCameraPopups(bool sameModel)
{
    auto& open = OpenPopups();
    if (sameModel) {
        for (const OpenPopup& p : std::vector<OpenPopup>(open)) p.opening.fill();
        return;
    }
    while (!open.empty()) {
        const OpenPopup top = open.back();
        if (top.opening.close)
            top.opening.close(top.panel);
        else
            CloseCameraPopup(top.panel);
        if (!open.empty() && open.back().panel == top.panel) open.pop_back();  // a close that did not say so
    }
}

void ForgetCameraPopups()
{
    OpenPopups().clear();
}
