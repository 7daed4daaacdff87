#include "panels/PanelCommit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "camera/CamTypes.h"
#include "camera/FailureText.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Snapshot.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

void ReportCommStatus(int status)
{
    if (status != COMM_OK) MessagePopup("ERROR", Comm_FailureText(status).c_str());
}

void SettleCommitted(int panel, int control, int status)
{
    if (status == COMM_OK)
        NoteConfirmedValue(panel, control);
    else
        ShowConfirmedValue(panel, control);
}

namespace {

struct Range {
    double low = 0.0, high = 0.0;
    bool operator==(const Range&) const = default;
};

// A range widened for a camera's value: what it was, and what it became.
struct Widened {
    Range before, after;
};
std::map<std::pair<int, int>, Widened> s_widened;

// A widened range goes back once the camera's value fits the one it replaced,
// unless something (a reshape for another model) has set the range since.
void holdInRange(int panel, int control, double value)
{
    int style = 0;
    if (GetCtrlAttribute(panel, control, ATTR_CTRL_STYLE, &style) < 0 || style != CTRL_NUMERIC) return;
    Range now;
    if (GetCtrlAttribute(panel, control, ATTR_MIN_VALUE, &now.low) < 0 ||
        GetCtrlAttribute(panel, control, ATTR_MAX_VALUE, &now.high) < 0)
        return;
    const auto key = std::make_pair(panel, control);
    Range before = now;
    if (const auto it = s_widened.find(key); it != s_widened.end()) {
        if (it->second.after == now) before = it->second.before;
        s_widened.erase(it);
    }
    const Range need{std::min(before.low, value), std::max(before.high, value)};
    if (need != before) s_widened[key] = {before, need};
    if (need == now) return;
    SetCtrlAttribute(panel, control, ATTR_MIN_VALUE, need.low);
    SetCtrlAttribute(panel, control, ATTR_MAX_VALUE, need.high);
}

// A number as the control would show it, in its digits.
std::string numberText(int panel, int control, double value)
{
    int digits = 0;
    GetCtrlAttribute(panel, control, ATTR_PRECISION, &digits);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::clamp(digits, 0, 9), value);
    return text;
}

}  // namespace

// A value beyond what an operator could set is the camera's all the same.  A
// display widens its range to show it; a control the operator sets keeps its
// range, shows the camera's value greyed in place of its own and says so.
bool ShowCameraValue(int panel, int control, double value)
{
    int style = 0, mode = VAL_HOT;
    if (GetCtrlAttribute(panel, control, ATTR_CTRL_STYLE, &style) < 0) return false;
    GetCtrlAttribute(panel, control, ATTR_CTRL_MODE, &mode);
    if (style == CTRL_RING) {
        int index = -1;
        if (GetIndexFromValue(panel, control, &index, static_cast<int>(std::lround(value))) < 0) {
            const std::string shown = numberText(panel, control, value);
            NoteNoValue(panel, control, NoValue::Foreign,
                        "The camera holds " + shown + ", which is none of this control's choices.", shown);
            return false;
        }
    }
    double low = 0.0, high = 0.0;
    const bool number = style == CTRL_NUMERIC &&
                        GetCtrlAttribute(panel, control, ATTR_MIN_VALUE, &low) >= 0 &&
                        GetCtrlAttribute(panel, control, ATTR_MAX_VALUE, &high) >= 0;
    if (number && mode == VAL_INDICATOR) holdInRange(panel, control, value);
    if (SetCtrlVal(panel, control, value) < 0) return false;
    if (number && mode != VAL_INDICATOR && (value < low || value > high)) {
        const std::string shown = numberText(panel, control, value);
        NoteNoValue(panel, control, NoValue::Foreign,
                    "The camera holds " + shown + ", outside what this control sets (" +
                        numberText(panel, control, low) + " to " + numberText(panel, control, high) + ").",
                    shown);
        return false;
    }
    NoteConfirmedValue(panel, control);
    return true;
}

void ShowUnread(int panel, int control, int status)
{
    NoteNoValue(panel, control, NoValue::Unread,
                std::string("Not read from the camera: ") +
                    (status == SnapshotStats::kNotAsked ? "the reading stopped at its fourth failed query."
                                                        : Comm_GetMessageErrorStr(status)));
}

bool PanelFill::ok(int status)
{
    if (status != COMM_OK && firstFailure_ == COMM_OK) firstFailure_ = status;
    return status == COMM_OK;
}

void PanelFill::showAnswer(int control, int status, int value)
{
    showAnswer(control, status, static_cast<double>(value));
}

void PanelFill::showAnswer(int control, int status, double value)
{
    if (ok(status))
        ShowCameraValue(panel_, control, value);
    else
        ShowUnread(panel_, control, status);
}

void PanelFill::read(int control, int (*get)(int*))
{
    int value = 0;
    const int status = get(&value);
    showAnswer(control, status, value);
}

void PanelFill::read(int control, int (*get)(float*))
{
    float value = 0.0f;
    const int status = get(&value);
    showAnswer(control, status, static_cast<double>(value));
}

void PanelFill::report() const
{
    ShowUnreadCount(panel_);
    ReportCommStatus(firstFailure_);
}

namespace {

struct OpenPopup {
    int panel;
    int resource;
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
            OpenPopups().push_back({panel, resource, opening});
            if (!opening.fillBeforeShowing) opening.fill();
        },
        key);
}

namespace {

std::map<int, PopupOpening>& registered()
{
    static std::map<int, PopupOpening> byMenuItem;
    return byMenuItem;
}

// The newest first: a handle is given again once its panel is gone.
const OpenPopup* openPopup(int panel)
{
    const auto& open = OpenPopups();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if (it->panel == panel) return &*it;
    return nullptr;
}

}  // namespace

void RegisterCameraPopup(int menuItem, const PopupOpening& opening)
{
    registered().insert_or_assign(menuItem, opening);
}

void CameraPopupMenuCallback(int, int menuItem, void*, int)
{
    // Chosen while the camera is busy: the panel opens once it is free.
    if (const auto it = registered().find(menuItem); it != registered().end()) OpenCameraPopup(it->second);
}

int CameraPopupCloseCallback(int panel, int control, int event, void*, int, int)
{
    if (event != (control == 0 ? EVENT_CLOSE : EVENT_COMMIT)) return 0;
    const OpenPopup* p = openPopup(panel);
    if (p && p->opening.close)
        p->opening.close(panel);
    else
        CloseCameraPopup(panel);
    return 0;
}

int CameraPopupResource(int panel)
{
    const OpenPopup* p = openPopup(panel);
    return p ? p->resource : -1;
}

void CloseCameraPopup(int panel)
{
    RemovePopup(0);
    ForgetConfirmedValues(panel);
    std::erase_if(s_widened, [panel](const auto& w) { return w.first.first == panel; });
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
