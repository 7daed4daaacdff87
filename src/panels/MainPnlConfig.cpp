// The main panel's shape for the connected model and screen.  Every reshape
// starts from the panel as laid out, so nothing of a previous model's shape
// survives a change of model; the dimmed states are then worked out by the
// rules (MainPnlRules.cpp).
#include <cstdio>
#include <string>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"

using namespace mainpnl;

namespace {

const int kColourControls[] = {MAIN_CMD,         MAIN_CGAIN_TXT, MAIN_CGAIN_BLUE,
                               MAIN_CGAIN_GREEN, MAIN_CGAIN_RED, MAIN_IPH};
const int kColourSliders[] = {MAIN_YGAIN, MAIN_USAT, MAIN_VSAT, MAIN_HUE};
const int kWhiteBalance[] = {MAIN_AWB_BOX, MAIN_AWB_TXT, MAIN_WBM, MAIN_AWB};
const int kFactoryControls[] = {MAIN_FACBOX, MAIN_MODEL, MAIN_DFC_ACCESS, MAIN_AGC_ACCESS};

constexpr int kTriggerInput = 2;

// Every control a shape may change, with what the layout gave it.
const int kShaped[] = {
    MAIN_DEC_VK47X,  MAIN_DFC,  MAIN_MIR,     MAIN_CMD,     MAIN_CGAIN_TXT, MAIN_CGAIN_RED,  MAIN_CGAIN_GREEN,
    MAIN_CGAIN_BLUE, MAIN_IPH,  MAIN_AWB_BOX, MAIN_AWB_TXT, MAIN_WBM,       MAIN_AWB,        MAIN_YGAIN,
    MAIN_USAT,       MAIN_VSAT, MAIN_HUE,     MAIN_FACBOX,  MAIN_MODEL,     MAIN_DFC_ACCESS, MAIN_AGC_ACCESS,
    MAIN_RS232,      MAIN_SMX,  MAIN_SHS,     MAIN_SHE,     MAIN_TIMEMS,    MAIN_VMD,        MAIN_MODE,
    MAIN_ALV,        MAIN_AMX,  MAIN_AGN};

struct LaidOutControl {
    int control = 0;
    int visible = 1;
    std::string label;
    double minimum = 0.0, maximum = 0.0;
    bool hasRange = false;
};

struct RingItem {
    std::string label;
    int value = 0;
};

// What the layout gave the panel in g_mainpanel, read once per loaded panel.
struct LaidOut {
    int panel = 0;
    std::vector<LaidOutControl> controls;
    std::vector<RingItem> mfiItems;
    int frameHeight = -1;
};
LaidOut s_laidOut;

const LaidOut& laidOut(int panel)
{
    if (s_laidOut.panel == panel) return s_laidOut;
    s_laidOut = LaidOut{panel, {}, {}, -1};
    for (int c : kShaped) {
        LaidOutControl l;
        l.control = c;
        GetCtrlAttribute(panel, c, ATTR_VISIBLE, &l.visible);
        GetCtrlAttribute(panel, c, ATTR_LABEL_TEXT, &l.label);
        l.hasRange = GetCtrlAttribute(panel, c, ATTR_MIN_VALUE, &l.minimum) == 0 &&
                     GetCtrlAttribute(panel, c, ATTR_MAX_VALUE, &l.maximum) == 0;
        s_laidOut.controls.push_back(l);
    }
    int items = 0;
    GetNumListItems(panel, MAIN_MFI, &items);
    for (int i = 0; i < items; ++i) {
        RingItem item;
        GetLabelFromIndex(panel, MAIN_MFI, i, &item.label);
        GetValueFromIndex(panel, MAIN_MFI, i, &item.value);
        s_laidOut.mfiItems.push_back(item);
    }
    GetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, &s_laidOut.frameHeight);
    return s_laidOut;
}

void restoreLaidOut(int panel)
{
    const LaidOut& l = laidOut(panel);
    for (const LaidOutControl& c : l.controls) {
        SetCtrlAttribute(panel, c.control, ATTR_VISIBLE, c.visible);
        SetCtrlAttribute(panel, c.control, ATTR_LABEL_TEXT, c.label.c_str());
        if (c.hasRange) {
            SetCtrlAttribute(panel, c.control, ATTR_MIN_VALUE, c.minimum);
            SetCtrlAttribute(panel, c.control, ATTR_MAX_VALUE, c.maximum);
        }
    }
    int value = 0;
    GetCtrlVal(panel, MAIN_MFI, &value);
    ClearListCtrl(panel, MAIN_MFI);
    for (const RingItem& item : l.mfiItems)
        InsertListItem(panel, MAIN_MFI, -1, item.label.c_str(), item.value);
    SetCtrlVal(panel, MAIN_MFI, value);
    if (l.frameHeight > 0) SetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, l.frameHeight);
}

// The user screen never shows the factory controls, the traffic monitor or
// the colour gains.
void hideFactoryControls(int panel)
{
    for (int c : kFactoryControls) Show(panel, c, false);
    Show(panel, MAIN_RS232, false);
    for (int c : kColourControls) Show(panel, c, false);
}

void showVisibility(int panel, const CamClassTraits& t, bool factory)
{
    const bool sliders = t.colour && g_hardware_rev == 0;
    Show(panel, MAIN_DEC_VK47X, t.family47x);
    Show(panel, MAIN_DFC, t.family47x);
    Show(panel, MAIN_MIR, t.family47x);
    for (int c : kColourControls) Show(panel, c, t.colour);
    for (int c : kWhiteBalance) Show(panel, c, t.colour);
    for (int c : kColourSliders) Show(panel, c, sliders);
    if (factory) return;
    hideFactoryControls(panel);
    // A mono 47x camera keeps only "White Blemish Compensation" and "Mirror
    // Image" in the family's frame on this screen: a fifth of its height.
    const int height = laidOut(panel).frameHeight;
    if (t.family47x && !t.colour && height > 0)
        SetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, static_cast<int>(height * 0.2));
}

void setModeLabels(int panel, const char* kind)
{
    char text[40];
    std::snprintf(text, sizeof text, "%s Mode", kind);
    SetCtrlAttribute(panel, MAIN_MODE, ATTR_LABEL_TEXT, text);
    std::snprintf(text, sizeof text, "%s Level", kind);
    SetCtrlAttribute(panel, MAIN_ALV, ATTR_LABEL_TEXT, text);
    std::snprintf(text, sizeof text, "%s Max Gain\n    (dB)", kind);
    SetCtrlAttribute(panel, MAIN_AMX, ATTR_LABEL_TEXT, text);
}

// The controls whose range the class or the camera reshapes.
const struct {
    int control;
    const char* setting;
} kRanged[] = {{MAIN_ALV, "ALV"}, {MAIN_AGN, "AGN"}, {MAIN_AMX, "AMX"}, {MAIN_SHS, "SHS"}, {MAIN_SMX, "SMX"}};

void shapeControls(int panel, const CamClassTraits& t, int ssx)
{
    for (const auto& r : kRanged) {
        const SettingRange range =
            Settings_Range(*Settings_Find(r.setting), g_cam_model_idx, g_hardware_rev, ssx);
        SetCtrlAttribute(panel, r.control, ATTR_MIN_VALUE, range.minimum);
        SetCtrlAttribute(panel, r.control, ATTR_MAX_VALUE, range.maximum);
    }
    if (t.known) setModeLabels(panel, t.agcMode ? "AGC" : "ALC");
    for (int c : {MAIN_SHS, MAIN_SHE, MAIN_TIMEMS}) Show(panel, c, t.hasShutter);
    Show(panel, MAIN_SMX, t.family47x);
    // The colour cameras have no vertical mode, no shutter switch and no
    // trigger input.
    if (t.colour) {
        Show(panel, MAIN_VMD, false);
        Show(panel, MAIN_SHE, false);
        DeleteListItem(panel, MAIN_MFI, kTriggerInput, 1);
    }
}

}  // namespace

void Mpnl_ConfigForScreen()
{
    const int panel = g_mainpanel;
    restoreLaidOut(panel);
    if (g_prog_type == 0) hideFactoryControls(panel);
    Mpnl_ShowLensTooltips();
    ApplyRules();
}

void Mpnl_ConfigForModel()
{
    const int panel = g_mainpanel;
    laidOut(panel);  // read before anything is changed

    // The longest shutter speed differs by sensor; asked before the panel is
    // touched, so that no half-shaped panel is painted during the wait.
    const int ssx = Settings_AskLongestShutter();

    restoreLaidOut(panel);
    SetCtrlVal(panel, MAIN_L1, g_label1);
    SetCtrlVal(panel, MAIN_L2, g_label2);
    SetCtrlVal(panel, MAIN_L3, g_label3);
    Mpnl_ShowLensTooltips();

    const CamClassTraits& t = Comm_CurrentClass();
    showVisibility(panel, t, g_prog_type != 0);
    shapeControls(panel, t, ssx);

    const int row = g_cam_model_user_idx;
    char title[64];
    std::snprintf(title, sizeof title, "Ulvo %s Camera Control",
                  row >= 0 && row < kCamModelCount ? g_cam_models[row] : "ICCD");
    SetPanelAttribute(panel, ATTR_TITLE, title);
    Mpnl_ShowLinkState();
    ApplyRules();
}
