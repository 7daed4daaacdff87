// The motorised lens: each of the twelve arrow buttons drives its axis (zoom,
// focus, iris) with a control voltage while it is held, and stops it with 0 V
// when it is let go.
#include <string>

#include "camera/CommandSet.h"
#include "camera/LinkQueue.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"
#include "panels/PanelShorthands.h"
#include "panels/StatusLine.h"

namespace {

struct LensButton {
    int control;
    int caption;  // the axis's caption on the panel, which the operator may rename
    int (*drive)(float volts);
    const float* maxVolts;
    const float* percent;
    float direction;
    const char* step;
};

const LensButton kButtons[] = {
    {MAIN_ZM_BIGUP, MAIN_L1, Comm_SetZMC, &g_zoom_maxv, &g_zoom_coarse, 1.0f, "up, coarse"},
    {MAIN_ZM_BIGDOWN, MAIN_L1, Comm_SetZMC, &g_zoom_maxv, &g_zoom_coarse, -1.0f, "down, coarse"},
    {MAIN_ZM_SMALLUP, MAIN_L1, Comm_SetZMC, &g_zoom_maxv, &g_zoom_fine, 1.0f, "up, fine"},
    {MAIN_ZM_SMALLDOWN, MAIN_L1, Comm_SetZMC, &g_zoom_maxv, &g_zoom_fine, -1.0f, "down, fine"},
    {MAIN_FOC_BIGUP, MAIN_L2, Comm_SetFOC, &g_focus_maxv, &g_focus_coarse, 1.0f, "up, coarse"},
    {MAIN_FOC_BIGDOWN, MAIN_L2, Comm_SetFOC, &g_focus_maxv, &g_focus_coarse, -1.0f, "down, coarse"},
    {MAIN_FOC_SMALLUP, MAIN_L2, Comm_SetFOC, &g_focus_maxv, &g_focus_fine, 1.0f, "up, fine"},
    {MAIN_FOC_SMALLDOWN, MAIN_L2, Comm_SetFOC, &g_focus_maxv, &g_focus_fine, -1.0f, "down, fine"},
    {MAIN_IRC_BIGUP, MAIN_L3, Comm_SetIRC, &g_iris_maxv, &g_iris_coarse, 1.0f, "up, coarse"},
    {MAIN_IRC_BIGDOWN, MAIN_L3, Comm_SetIRC, &g_iris_maxv, &g_iris_coarse, -1.0f, "down, coarse"},
    {MAIN_IRC_SMALLUP, MAIN_L3, Comm_SetIRC, &g_iris_maxv, &g_iris_fine, 1.0f, "up, fine"},
    {MAIN_IRC_SMALLDOWN, MAIN_L3, Comm_SetIRC, &g_iris_maxv, &g_iris_fine, -1.0f, "down, fine"},
};

const LensButton* buttonOf(int control)
{
    for (const LensButton& b : kButtons)
        if (b.control == control) return &b;
    return nullptr;
}

// One queue key per axis: the axis's maximum voltage stands for it.
const void* axisKey(const LensButton& b)
{
    return b.maxVolts;
}

}  // namespace

int Mpnl_ZFICallback(int panel, int control, int event, void*, int, int)
{
    const LensButton* button = buttonOf(control);
    if (!button) return 0;
    int (*drive)(float) = button->drive;
    if (event == EVENT_LEFT_CLICK) {
        // Maximum voltage times percentage first, then the hundredth, then the sign.
        const float volts =
            static_cast<float>(*button->maxVolts * *button->percent * 0.01 * button->direction);
        Comm_WhenLinkIdle(
            [panel, drive, volts] {
                if (panel == g_mainpanel) drive(volts);
            },
            axisKey(*button));
    } else if (event == EVENT_COMMIT) {
        // Lens commands raise no pop-up; a stop that failed must still be told.
        std::string said = panelctl::TextValue(panel, button->caption);
        said += " driven ";
        said += button->step;
        auto stop = [drive, said] {
            Mpnl_NoteOutcome(said, drive(0.0f), ", then stopped", "; the stop failed: ");
        };
        if (Comm_IsQueued(axisKey(*button))) {
            // The press has not gone out yet: the stop follows it in turn,
            // so the lens moves only as briefly as the operator asked.
            Comm_WhenLinkIdle(stop);
        } else {
            // The lens is driving: it stops at the very next gap on the
            // link, even in the middle of a refresh.
            Comm_AtNextGap(stop);
        }
    }
    return 0;
}

void Mpnl_ShowLensTooltips()
{
    const int panel = g_mainpanel;
    if (panel <= 0) return;
    for (const LensButton& b : kButtons) {
        const std::string tip = panelctl::TextValue(panel, b.caption) + ": " + b.step +
                                ". Hold to drive the lens, let go to stop it.";
        SetCtrlAttribute(panel, b.control, ATTR_TOOLTIP_TEXT, tip.c_str());
    }
}
