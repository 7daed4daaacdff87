// The shape of the Advanced Settings panel for the camera's class and the
// screen, and the rules that dim its controls as the camera's state changes.
#include <map>
#include <utility>

#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/SettingsTable.h"
#include "panels/AdvSetPnl.h"
#include "panels/AdvSetPnlInternal.h"

namespace advpnl {

namespace {

// The image intensifier's controls on ADVSET.  The operator's part is shown to
// the AGC camera on every screen, the factory's part on the factory screen.
constexpr int kIntensifierOperator[] = {ADVSET_MCPBOX, ADVSET_MCPTEXT, ADVSET_MGA,
                                        ADVSET_MDG,    ADVSET_MMD,     ADVSET_MLV};
constexpr int kIntensifierFactory[] = {ADVSET_MGN, ADVSET_MMG,    ADVSET_MXG, ADVSET_MBI,
                                       ADVSET_BRT, ADVSET_BRTBTN, ADVSET_MCT, ADVSET_MCPBOX2};

// Blemish location and column defects: factory settings, hidden on the user
// screen.
constexpr int kDefectControls[] = {ADVSET_C_BLEMISHBOX, ADVSET_C_COLDEFECTFRAME, ADVSET_C_BTH,
                                   ADVSET_C_BCT,        ADVSET_C_LOCATEDEFECTS,  ADVSET_C_CD_ADDR1,
                                   ADVSET_C_CD_ADDR2,   ADVSET_C_CD_ADDR3,       ADVSET_C_CD_ADDR4,
                                   ADVSET_C_CDI,        ADVSET_C_CDTXT};

// The ALC window, its display switch and high sensitivity: the colour cameras
// have none of them to set.
constexpr int kColourLocked[] = {ADVSET_C_WIN_ULX, ADVSET_C_WIN_ULY, ADVSET_C_WIN_LRX, ADVSET_C_WIN_LRY,
                                 ADVSET_C_ULTEXT,  ADVSET_C_LRTEXT,  ADVSET_C_ALC_DEC, ADVSET_C_ALCWINTEXT,
                                 ADVSET_C_WINDISP, ADVSET_C_HIGHSEN};

constexpr int kColourMatrix[] = {ADVSET_C_COLCORR_BOX, ADVSET_C_COLCORR_TEXT, ADVSET_C_R1, ADVSET_C_G1,
                                 ADVSET_C_B1,          ADVSET_C_R2,           ADVSET_C_G2, ADVSET_C_B2,
                                 ADVSET_C_R3,          ADVSET_C_G3,           ADVSET_C_B3};

// Blemish threshold, count and location, which the access flag governs on
// every 47x camera.
constexpr int kBlemishControls[] = {ADVSET_C_BTH, ADVSET_C_BCT, ADVSET_C_LOCATEDEFECTS};
constexpr int kColumnDefectControls[] = {ADVSET_C_CD_ADDR1, ADVSET_C_CD_ADDR2, ADVSET_C_CD_ADDR3,
                                         ADVSET_C_CD_ADDR4, ADVSET_C_CDI,      ADVSET_C_CDTXT};

// The camera offers no command for the image intensifier's settings, so the
// group can neither show the camera's values nor change them: it is greyed
// and says so, rather than invite changes that would go nowhere.
constexpr char kIntensifierNote[] =
    "The image intensifier is adjusted on the camera itself; "
    "this program neither reads nor changes these values.";

void shapeBasicPanel(int panel)
{
    const bool agcCamera = Comm_CurrentClass().agcMode;
    for (int c : kIntensifierOperator) Show(panel, c, agcCamera);
    for (int c : kIntensifierFactory) Show(panel, c, agcCamera && g_prog_type != 0);
    if (!agcCamera) return;
    Dim(panel, ADVSET_MCPBOX, true);
    SetCtrlAttribute(panel, ADVSET_MCPBOX, ATTR_TOOLTIP_TEXT, kIntensifierNote);
}

// One ALC window limit from the camera; a failed query keeps the laid-out one.
void takeLimit(int panel, int (*query)(int*), int attribute, int first, int second)
{
    int limit = 0;
    if (query(&limit) != COMM_OK) return;
    SetCtrlAttribute(panel, first, attribute, limit);
    SetCtrlAttribute(panel, second, attribute, limit);
}

void shape47xPanel(int panel)
{
    const CamClassTraits& t = Comm_CurrentClass();
    const bool current = g_hardware_rev == 1;

    Show(panel, ADVSET_C_HWREV, false);
    if (g_prog_type == 0) {
        for (int c : {ADVSET_C_FACTID, ADVSET_C_DATEID, ADVSET_C_REVID})
            SetCtrlAttribute(panel, c, ATTR_CTRL_MODE, VAL_INDICATOR);
        for (int c : kDefectControls) Show(panel, c, false);
    }
    if (t.colour) {
        Show(panel, current ? ADVSET_C_VPS : ADVSET_C_VPD, false);
        Show(panel, ADVSET_C_VWC, false);
        // Average metering only: the other items go and the ring only shows it.
        DeleteListItem(panel, ADVSET_C_ALCMODE, 2, 1);
        DeleteListItem(panel, ADVSET_C_ALCMODE, 1, 1);
        SetCtrlAttribute(panel, ADVSET_C_ALCMODE, ATTR_CTRL_MODE, VAL_INDICATOR);
        for (int c : kColourLocked)
            DimBecause(panel, c, "the colour cameras meter the whole picture, on average");
    } else {
        Show(panel, ADVSET_C_VPS, false);
        for (int c : kColourMatrix) Show(panel, c, false);
    }
    // Mono 47x cameras carry the white clip in millivolts, near 700 mV; the
    // current hardware's pedestal is a fine scale of 0 to 10 mV.
    for (const auto& [control, setting] : {std::pair{ADVSET_C_VWC, "VWC"}, std::pair{ADVSET_C_VPD, "VPD"}}) {
        const SettingRange range = Settings_CameraRange(*Settings_Find(setting));
        SetCtrlAttribute(panel, control, ATTR_MIN_VALUE, range.minimum);
        SetCtrlAttribute(panel, control, ATTR_MAX_VALUE, range.maximum);
    }

    takeLimit(panel, Comm_GetWXN, ATTR_MIN_VALUE, ADVSET_C_WIN_ULX, ADVSET_C_WIN_LRX);
    takeLimit(panel, Comm_GetWYN, ATTR_MIN_VALUE, ADVSET_C_WIN_ULY, ADVSET_C_WIN_LRY);
    takeLimit(panel, Comm_GetWXX, ATTR_MAX_VALUE, ADVSET_C_WIN_ULX, ADVSET_C_WIN_LRX);
    takeLimit(panel, Comm_GetWYX, ATTR_MAX_VALUE, ADVSET_C_WIN_ULY, ADVSET_C_WIN_LRY);

    if (current) {
        SetCtrlAttribute(panel, ADVSET_C_VPD, ATTR_INCR_VALUE, 0.1);
        SetCtrlAttribute(panel, ADVSET_C_VPD, ATTR_PRECISION, 1);
    }
}

std::map<int, AdvRuleState> s_rules;

}  // namespace

AdvRuleState& AdvState(int panel)
{
    return s_rules[panel];
}

void ForgetAdvState(int panel)
{
    s_rules.erase(panel);
}

void ApplyAdvRules(int panel)
{
    const CamClassTraits& t = Comm_CurrentClass();
    if (!t.family47x) return;
    const AdvRuleState& s = AdvState(panel);
    const char* noAccess =
        s.dfcAccess == 0 ? "the camera's blemish user access is disabled (factory screen)" : nullptr;
    for (int c : kBlemishControls) DimBecause(panel, c, noAccess);
    // The colour cameras have no column-defect correction to set.
    for (int c : kColumnDefectControls)
        DimBecause(panel, c, t.colour ? "the colour cameras have no column-defect correction" : noAccess);
    // The legacy colour cameras switch the pedestal on and off.
    if (t.colour && g_hardware_rev == 0)
        DimBecause(panel, ADVSET_C_VPD, s.vps == 0 ? "Video Pedestal is switched off" : nullptr);
}

}  // namespace advpnl

using namespace advpnl;

void Advpnl_ConfigForModel()
{
    const int panel = g_advset_panel;
    if (panel <= 0) return;
    if (AdvPanelResource() == ADVSET_C)
        shape47xPanel(panel);
    else
        shapeBasicPanel(panel);
}
