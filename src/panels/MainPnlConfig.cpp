// The main panel's shape for the connected model and screen, and the switches
// that dim its controls and menu entries while no camera answers.
#include <cstdio>

#include "camera/CommandSet.h"
#include "camera/Models.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"

using namespace mainpnl;

namespace {

const int kColourControls[] = {MAIN_CMD,         MAIN_CGAIN_TXT, MAIN_CGAIN_BLUE,
                               MAIN_CGAIN_GREEN, MAIN_CGAIN_RED, MAIN_IPH};
const int kColourSliders[] = {MAIN_YGAIN, MAIN_USAT, MAIN_VSAT, MAIN_HUE};
const int kWhiteBalance[] = {MAIN_AWB_BOX, MAIN_AWB_TXT, MAIN_WBM, MAIN_AWB};
const int kFactoryControls[] = {MAIN_FACBOX, MAIN_MODEL, MAIN_DFC_ACCESS, MAIN_AGC_ACCESS};

constexpr int kTriggerInput = 2;
constexpr int kMfiItems = 3;

// The 47x frame's height as laid out, read once per loaded panel: the frame is
// shrunk to a fifth of it on the user screen of the mono models, and a size
// read back after that would shrink it further on every call.
struct FrameMemory {
    int panel = 0;
    int laidOut = -1;
    bool shrunk = false;
};
FrameMemory s_frame;

void rememberFrame(int panel)
{
    if (s_frame.panel == panel) return;
    s_frame = FrameMemory{panel, -1, false};
    GetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, &s_frame.laidOut);
}

// The frame of the 47x family: on the user screen a mono model keeps only
// "White Blemish Compensation" and "Mirror Image" in it, so it is cut to a
// fifth of its height; every other screen shows it as laid out.
void shapeFamilyFrame(int panel, bool shown, bool shrink)
{
    Show(panel, MAIN_DEC_VK47X, shown);
    if (s_frame.laidOut <= 0) return;
    if (shrink) {
        SetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, static_cast<int>(s_frame.laidOut * 0.2));
        s_frame.shrunk = true;
    } else if (s_frame.shrunk && shown) {
        SetCtrlAttribute(panel, MAIN_DEC_VK47X, ATTR_HEIGHT, s_frame.laidOut);
        s_frame.shrunk = false;
    }
}

void showVisibility(int panel, ModelGroup g, bool factory)
{
    const bool sliders = g.colour && g_hardware_rev == 0;
    if (factory) {
        // The model selector, the access rings and the traffic monitor stay as laid out.
        shapeFamilyFrame(panel, g.family, false);
        Show(panel, MAIN_DFC, g.family);
        Show(panel, MAIN_MIR, g.family);
        for (int c : kColourControls) Show(panel, c, g.colour);
        for (int c : kWhiteBalance) Show(panel, c, g.colour);
        for (int c : kColourSliders) Show(panel, c, sliders);
        return;
    }
    for (int c : kFactoryControls) Show(panel, c, false);
    Show(panel, MAIN_RS232, false);
    Show(panel, MAIN_DFC, g.family);
    for (int c : kColourControls) Show(panel, c, false);
    shapeFamilyFrame(panel, g.family, g.family && !g.colour);
    for (int c : kColourSliders) Show(panel, c, sliders);
    for (int c : kWhiteBalance) Show(panel, c, g.colour);
    Show(panel, MAIN_MIR, g.family);
}

}  // namespace

void Mpnl_ConfigForScreen()
{
    if (g_prog_type != 0) return;
    for (int c : kFactoryControls) Show(g_mainpanel, c, false);
    Show(g_mainpanel, MAIN_RS232, false);
    for (int c : kColourControls) Show(g_mainpanel, c, false);
}

namespace {

int mfiItems(int panel)
{
    int count = 0;
    GetNumListItems(panel, MAIN_MFI, &count);
    return count;
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

void setGainRange(int panel, double minimum, double maximum)
{
    for (int c : {MAIN_AGN, MAIN_AMX}) {
        SetCtrlAttribute(panel, c, ATTR_MIN_VALUE, minimum);
        SetCtrlAttribute(panel, c, ATTR_MAX_VALUE, maximum);
    }
}

}  // namespace

void Mpnl_ConfigForModel()
{
    const int panel = g_mainpanel;
    rememberFrame(panel);

    SetCtrlVal(panel, MAIN_L1, g_label1);
    SetCtrlVal(panel, MAIN_L2, g_label2);
    SetCtrlVal(panel, MAIN_L3, g_label3);

    const int eq = g_cam_model_idx;
    const ModelGroup g = GroupOf(eq);
    showVisibility(panel, g, g_prog_type != 0);

    if (!g.colour) {
        if (mfiItems(panel) < kMfiItems) InsertListItem(panel, MAIN_MFI, -1, "Trigger Input", kTriggerInput);
        Dim(panel, MAIN_TMD, false);
    }

    // The longest shutter speed differs by sensor.  When the camera does not
    // tell it, the range stays as it was rather than collapsing to nothing.
    int ssx = 0;
    if (Comm_GetSSX(&ssx) == COMM_OK && ssx >= 1) {
        SetCtrlAttribute(panel, MAIN_SHS, ATTR_MAX_VALUE, ssx);
        SetCtrlAttribute(panel, MAIN_SMX, ATTR_MAX_VALUE, ssx);
    }

    if (g.agc) {
        setModeLabels(panel, "AGC");
        for (int c : {MAIN_SMX, MAIN_SHS, MAIN_SHE, MAIN_TIMEMS}) Show(panel, c, false);
    } else if (g.known) {
        setModeLabels(panel, "ALC");
        for (int c : {MAIN_SHS, MAIN_SHE, MAIN_TIMEMS}) Show(panel, c, true);
        SetCtrlAttribute(panel, MAIN_ALV, ATTR_MIN_VALUE, g.family ? 20 : 0);
        Show(panel, MAIN_SMX, g.family);
        if (g.colour) {
            Show(panel, MAIN_VMD, false);
            Show(panel, MAIN_SHE, false);
            Dim(panel, MAIN_TMD, true);
            if (mfiItems(panel) >= kMfiItems) DeleteListItem(panel, MAIN_MFI, kTriggerInput, 1);
        } else {
            Show(panel, MAIN_VMD, true);
            Show(panel, MAIN_SHE, true);
        }
        SetMenuBarAttribute(g_mainmnuhandle, MAINMNU_COLORPROC, ATTR_DIMMED, g.colour ? 0 : 1);
    }

    setGainRange(panel, 0.0, g.colour ? 30.0 : 36.0);
    if (eq == 3 || eq == 6) setGainRange(panel, 3.0, g.colour ? 30.0 : 36.0);

    const int row = g_cam_model_user_idx;
    char title[64];
    std::snprintf(title, sizeof title, "Ulvo %s Camera Control",
                  row >= 0 && row < kCamModelCount ? g_cam_models[row] : "ICCD");
    SetPanelAttribute(panel, ATTR_TITLE, title);
}

void DimMainPnlCtrls(int dim)
{
    const int panel = g_mainpanel;
    const ModelGroup g = CurrentGroup();
    // On the factory screen the model can still be chosen while no camera answers.
    if (g_prog_type == 0)
        for (int c : kFactoryControls) Dim(panel, c, dim != 0);
    if (g.known && !g.agc) {
        Dim(panel, MAIN_SHS, dim != 0);
        Dim(panel, MAIN_SHE, dim != 0);
        if (g.family) Dim(panel, MAIN_DFC, dim != 0);
        if (g.colour) {
            for (int c : kColourControls) Dim(panel, c, dim != 0);
            for (int c : kColourSliders) Dim(panel, c, dim != 0);
        }
    }
    for (int c : {MAIN_MODE, MAIN_AGN, MAIN_ALV, MAIN_AMX, MAIN_SMX, MAIN_GAM, MAIN_VMD, MAIN_MFI, MAIN_MFT,
                  MAIN_TMD})
        Dim(panel, c, dim != 0);
}

void DimMainPnlMenus(int dim)
{
    for (int item : {MAINMNU_ADVSET, MAINMNU_FILE_LOAD, MAINMNU_FILE_SAVESET})
        SetMenuBarAttribute(g_mainmnuhandle, item, ATTR_DIMMED, dim != 0 ? 1 : 0);
}

void Mpnl_SetScreenforAccess(int access)
{
    if (CurrentGroup().known) Dim(g_mainpanel, MAIN_MODE, access == 0);
}
