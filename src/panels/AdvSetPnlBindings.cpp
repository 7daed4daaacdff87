// Each control of the two Advanced Settings panels and what it is bound to,
// once: the display and the value callbacks both walk these tables.
#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "panels/AdvSetPnlInternal.h"
#include "panels/PanelGlobals.h"

namespace advpnl {

namespace {

using A = CamAdvSettings;
using panelbind::FieldOf;

// The column-defect address takes its number first.
int setDefectAddress(int value, int address)
{
    return Comm_SetCDA(address, value);
}

#define LENS(CONTROL, GLOBAL)                                      \
    Binding                                                        \
    {                                                              \
        .control = CONTROL, .kind = Kind::Local, .global = &GLOBAL \
    }
#define LENS_ROWS(PREFIX)                                                           \
    LENS(PREFIX##Z_MAXV, g_zoom_maxv), LENS(PREFIX##Z_COARSE, g_zoom_coarse),       \
        LENS(PREFIX##Z_FINE, g_zoom_fine), LENS(PREFIX##F_MAXV, g_focus_maxv),      \
        LENS(PREFIX##F_COARSE, g_focus_coarse), LENS(PREFIX##F_FINE, g_focus_fine), \
        LENS(PREFIX##I_MAXV, g_iris_maxv), LENS(PREFIX##I_COARSE, g_iris_coarse),   \
        LENS(PREFIX##I_FINE, g_iris_fine)

#define INT(CONTROL, FIELD, FILL, SET)                                                     \
    Binding                                                                                \
    {                                                                                      \
        .control = CONTROL, .kind = Kind::Int, .field = FIELD, .fill = FILL, .setInt = SET \
    }
#define CORNER(CONTROL, FIELD, INDEX)                                                \
    Binding                                                                          \
    {                                                                                \
        .control = CONTROL, .kind = Kind::Int, .field = FIELD, .fill = Fill::Always, \
        .setIntAt = Comm_SetALCWin, .index = INDEX, .accept = AcceptCorner           \
    }
#define DEFECT(CONTROL, ELEMENT, ADDRESS)                                           \
    Binding                                                                         \
    {                                                                               \
        .control = CONTROL, .kind = Kind::Int, .field = FieldOf<&A::cd, ELEMENT>(), \
        .fill = Fill::DefectAccess, .setIntAt = setDefectAddress, .index = ADDRESS  \
    }
#define COEFFICIENT(CONTROL, INDEX)                                                                     \
    Binding                                                                                             \
    {                                                                                                   \
        .control = CONTROL, .kind = Kind::Real, .field = FieldOf<&A::k, INDEX>(), .fill = Fill::Colour, \
        .setRealAt = Comm_SetK, .index = INDEX, .rule = CommRule::Matrix                                \
    }
#define READ_BACK(CONTROL, FIELD, FILL, SET, GET)                                                            \
    Binding                                                                                                  \
    {                                                                                                        \
        .control = CONTROL, .kind = Kind::Real, .field = FIELD, .fill = FILL, .setReal = SET, .getReal = GET \
    }
#define HANDLED(CONTROL, KIND, FIELD, FILL, HANDLER)                                      \
    Binding                                                                               \
    {                                                                                     \
        .control = CONTROL, .kind = KIND, .field = FIELD, .fill = FILL, .commit = HANDLER \
    }
#define UNIT_ID(CONTROL)                                                            \
    Binding                                                                         \
    {                                                                               \
        .control = CONTROL, .kind = Kind::Text, .gather = GatherUnitIdentification, \
        .commit = CommitUnitIdentification                                          \
    }

const Binding kBasicPanel[] = {
    READ_BACK(ADVSET_VPD, FieldOf<&A::vpd>(), Fill::Always, Comm_SetVPD, Comm_GetVPD),
    READ_BACK(ADVSET_VWC, FieldOf<&A::vwc>(), Fill::WhiteClip, Comm_SetVWC, Comm_GetVWC),
    LENS_ROWS(ADVSET_),
};

const Binding k47xPanel[] = {
    HANDLED(ADVSET_C_VPS, Kind::Int, FieldOf<&A::vps>(), Fill::PedestalSwitch, CommitPedestalSwitch),
    READ_BACK(ADVSET_C_VPD, FieldOf<&A::vpd>(), Fill::Always, Comm_SetVPD, Comm_GetVPD),
    READ_BACK(ADVSET_C_VWC, FieldOf<&A::vwc>(), Fill::WhiteClip, Comm_SetVWC, Comm_GetVWC),
    CORNER(ADVSET_C_WIN_ULX, FieldOf<&A::ulx>(), 0),
    CORNER(ADVSET_C_WIN_ULY, FieldOf<&A::uly>(), 1),
    CORNER(ADVSET_C_WIN_LRX, FieldOf<&A::lrx>(), 2),
    CORNER(ADVSET_C_WIN_LRY, FieldOf<&A::lry>(), 3),
    INT(ADVSET_C_WINDISP, FieldOf<&A::wds>(), Fill::Always, Comm_SetWDS),
    INT(ADVSET_C_BRIGHT_SPD, FieldOf<&A::bts>(), Fill::Always, Comm_SetBTS),
    INT(ADVSET_C_DARK_SPD, FieldOf<&A::dks>(), Fill::Always, Comm_SetDKS),
    INT(ADVSET_C_LOGAVG_WT, FieldOf<&A::law>(), Fill::Always, Comm_SetLAW),
    INT(ADVSET_C_IMPULSE_FLT, FieldOf<&A::ifc>(), Fill::Always, Comm_SetIFC),
    INT(ADVSET_C_ALCMODE, FieldOf<&A::alm>(), Fill::Always, Comm_SetALM),
    HANDLED(ADVSET_C_ESHUTTER, Kind::Int, FieldOf<&A::esh>(), Fill::Always, CommitElectronicShutter),
    INT(ADVSET_C_HIGHSEN, FieldOf<&A::bin>(), Fill::Always, Comm_SetBIN),
    COEFFICIENT(ADVSET_C_R1, 0),
    COEFFICIENT(ADVSET_C_G1, 1),
    COEFFICIENT(ADVSET_C_B1, 2),
    COEFFICIENT(ADVSET_C_R2, 3),
    COEFFICIENT(ADVSET_C_G2, 4),
    COEFFICIENT(ADVSET_C_B2, 5),
    COEFFICIENT(ADVSET_C_R3, 6),
    COEFFICIENT(ADVSET_C_G3, 7),
    COEFFICIENT(ADVSET_C_B3, 8),
    Binding{.control = ADVSET_C_BTH,
            .kind = Kind::Real,
            .field = FieldOf<&A::bth>(),
            .fill = Fill::DefectAccess,
            .setReal = Comm_SetBTH,
            .rule = CommRule::TenthPercent},
    Binding{
        .control = ADVSET_C_BCT, .kind = Kind::Int, .field = FieldOf<&A::bct>(), .fill = Fill::DefectAccess},
    Binding{.control = ADVSET_C_LOCATEDEFECTS,
            .kind = Kind::Action,
            .fill = Fill::Never,
            .accept = ConfirmLocateBlemishes,
            .commit = LocateBlemishes},
    DEFECT(ADVSET_C_CD_ADDR1, 0, 1),
    DEFECT(ADVSET_C_CD_ADDR2, 1, 2),
    DEFECT(ADVSET_C_CD_ADDR3, 2, 3),
    DEFECT(ADVSET_C_CD_ADDR4, 3, 4),
    INT(ADVSET_C_CDI, FieldOf<&A::cdi>(), Fill::DefectAccess, Comm_SetCDI),
    Binding{.control = ADVSET_C_CUSTID, .kind = Kind::Text, .setText = Comm_SetCID},
    UNIT_ID(ADVSET_C_FACTID),
    UNIT_ID(ADVSET_C_DATEID),
    UNIT_ID(ADVSET_C_REVID),
    LENS_ROWS(ADVSET_C_),
};

}  // namespace

std::span<const Binding> AdvBindings(int panelResource)
{
    if (panelResource == ADVSET_C) return k47xPanel;
    return kBasicPanel;
}

int AdvPanelResource()
{
    return Comm_CurrentClass().family47x ? ADVSET_C : ADVSET;
}

}  // namespace advpnl
