// The main panel's controls bound to the camera: which function a committed
// value goes to, what is read back and shown, which record field the display
// fills it from and for which classes, and which access rule dims it.  The
// display (MainPnlDisplay.cpp), the change handler (MainPnlControls.cpp) and
// the rules (MainPnlRules.cpp) all read this one table.
#include "camera/CommandSet.h"
#include "panels/MainPnlInternal.h"

namespace mainpnl {

namespace {

using M = CamMainSettings;
using T = CamClassTraits;
using D = Dimming;
using V = panelbind::Kind;
using panelbind::FieldOf;

// clang-format off
const Binding kBindings[] = {
    // Mode first: the display's locks follow from it.  The AGC camera's mode
    // is AMD; CommitMode and the display pick the mnemonic by class.
    {.control = MAIN_MODE, .kind = V::Int, .field = FieldOf<&M::aec>(), .shownFor = &T::known,
     .dimming = D::ModeLock, .commit = CommitMode},
    {.control = MAIN_ALV, .kind = V::Int, .field = FieldOf<&M::alv>(), .dimming = D::AutomaticOnly,
     .setInt = Comm_SetALV},
    {.control = MAIN_AGN, .kind = V::Real, .field = FieldOf<&M::agn>(), .dimming = D::ManualOnly,
     .setReal = Comm_SetAGN, .getReal = Comm_GetAGN, .rule = CommRule::Db},
    {.control = MAIN_AMX, .kind = V::Real, .field = FieldOf<&M::amx>(), .dimming = D::AutomaticOnly,
     .setReal = Comm_SetAMX, .getReal = Comm_GetAMX, .rule = CommRule::Db},
    {.control = MAIN_GAM, .kind = V::Int, .field = FieldOf<&M::gam>(), .setInt = Comm_SetGAM},
    {.control = MAIN_VMD, .kind = V::Int, .field = FieldOf<&M::vmd>(), .setInt = Comm_SetVMD},
    {.control = MAIN_SHE, .kind = V::Int, .field = FieldOf<&M::she>(), .shownFor = &T::hasShutter,
     .dimming = D::ShutterSwitch, .setInt = Comm_SetSHE},
    {.control = MAIN_SMX, .kind = V::Int, .field = FieldOf<&M::smx>(), .dimming = D::ShutterLimit,
     .setInt = Comm_SetSMX},
    {.control = MAIN_SHS, .kind = V::Int, .field = FieldOf<&M::shs>(), .shownFor = &T::hasShutter,
     .dimming = D::ShutterSpeed, .setInt = Comm_SetSHS, .commit = CommitShutterSpeed},
    // The exposure in ms goes out as the nearest line count, through the lines row.
    {.control = MAIN_TIMEMS, .kind = V::Real, .dimming = D::ShutterSpeed, .gather = GatherLinesOfDuration,
     .commit = CommitDuration},
    {.control = MAIN_MFI, .kind = V::Int, .field = FieldOf<&M::mfi>(), .setInt = Comm_SetMFI},
    {.control = MAIN_WBM, .kind = V::Int, .field = FieldOf<&M::wbm>(), .shownFor = &T::colour,
     .setInt = Comm_SetWBM},
    {.control = MAIN_MFT, .kind = V::Int, .field = FieldOf<&M::mft>(), .setInt = Comm_SetMFT},
    {.control = MAIN_TMD, .kind = V::Int, .field = FieldOf<&M::tmd>(), .dimming = D::TriggerLock,
     .setInt = Comm_SetTMD, .commit = CommitTriggerMode},
    {.control = MAIN_DFC, .kind = V::Int, .field = FieldOf<&M::dfc>(), .shownFor = &T::family47x,
     .dimming = D::BlemishLock, .setInt = Comm_SetDFC},
    {.control = MAIN_MIR, .kind = V::Int, .field = FieldOf<&M::mir>(), .shownFor = &T::family47x,
     .setInt = Comm_SetMIR},
    {.control = MAIN_CMD, .kind = V::Int, .field = FieldOf<&M::cmd>(), .shownFor = &T::colour,
     .setInt = Comm_SetCMD},
    {.control = MAIN_CGAIN_RED, .kind = V::Real, .field = FieldOf<&M::cgr>(), .shownFor = &T::colour,
     .setReal = Comm_SetCGR, .rule = CommRule::ColourGain},
    {.control = MAIN_CGAIN_GREEN, .kind = V::Real, .field = FieldOf<&M::cgg>(), .shownFor = &T::colour,
     .setReal = Comm_SetCGG, .rule = CommRule::ColourGain},
    {.control = MAIN_CGAIN_BLUE, .kind = V::Real, .field = FieldOf<&M::cgb>(), .shownFor = &T::colour,
     .setReal = Comm_SetCGB, .rule = CommRule::ColourGain},
    {.control = MAIN_IPH, .kind = V::Int, .field = FieldOf<&M::iph>(), .shownFor = &T::colour,
     .setInt = Comm_SetIPH},
    {.control = MAIN_YGAIN, .kind = V::Real, .field = FieldOf<&M::yga>(), .shownFor = &T::colour,
     .setReal = Comm_SetYGA, .rule = CommRule::PercentOf63},
    {.control = MAIN_USAT, .kind = V::Real, .field = FieldOf<&M::usa>(), .shownFor = &T::colour,
     .setReal = Comm_SetUSA, .rule = CommRule::PercentOf63},
    {.control = MAIN_VSAT, .kind = V::Real, .field = FieldOf<&M::vsa>(), .shownFor = &T::colour,
     .setReal = Comm_SetVSA, .rule = CommRule::PercentOf63},
    {.control = MAIN_HUE, .kind = V::Real, .field = FieldOf<&M::hue>(), .shownFor = &T::colour,
     .setReal = Comm_SetHUE, .rule = CommRule::PercentOf255},
    {.control = MAIN_AWB, .kind = V::Action, .commit = CommitWhiteBalance},
    // The factory screen's selector and access rings; the display fills them there only.
    {.control = MAIN_MODEL, .kind = V::Int, .dimming = D::FactoryRing, .commit = CommitModel},
    {.control = MAIN_AGC_ACCESS, .kind = V::Int, .field = FieldOf<&M::agc_access>(),
     .dimming = D::FactoryRing, .commit = CommitAgcAccess},
    {.control = MAIN_DFC_ACCESS, .kind = V::Int, .field = FieldOf<&M::dfc_access>(),
     .dimming = D::FactoryRing, .commit = CommitDfcAccess},
};
// clang-format on

const int kLinkOnly[] = {
    MAIN_ZM_BIGUP,    MAIN_ZM_BIGDOWN,    MAIN_ZM_SMALLUP,    MAIN_ZM_SMALLDOWN, MAIN_FOC_BIGUP,
    MAIN_FOC_BIGDOWN, MAIN_FOC_SMALLUP,   MAIN_FOC_SMALLDOWN, MAIN_IRC_BIGUP,    MAIN_IRC_BIGDOWN,
    MAIN_IRC_SMALLUP, MAIN_IRC_SMALLDOWN, MAIN_CGAIN_TXT,
};

}  // namespace

std::span<const Binding> Bindings()
{
    return kBindings;
}

std::span<const int> LinkOnlyControls()
{
    return kLinkOnly;
}

bool FilledFor(const Binding& b, const CamClassTraits& traits)
{
    return b.shownFor == nullptr || traits.*b.shownFor;
}

}  // namespace mainpnl
