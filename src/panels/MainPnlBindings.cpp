// The main panel's controls bound to the camera: which function a committed
// value goes to, what is read back and shown, which record field the display
// fills it from and for which classes, and which access rule dims it.  The
// display (MainPnlDisplay.cpp), the change handler (MainPnlControls.cpp) and
// the rules (MainPnlRules.cpp) all read this one table.
#include <iterator>

#include "camera/CommandSet.h"
#include "panels/MainPnlInternal.h"

namespace mainpnl {

namespace {

using M = CamMainSettings;
using T = CamClassTraits;
using D = Dimming;
using V = ValueKind;

// clang-format off
const MainBinding kBindings[] = {
    // Mode first: the display's locks follow from it.  The AGC camera's mode
    // is AMD; CommitMode and the display pick the mnemonic by class.
    {.control = MAIN_MODE, .kind = V::Int, .intField = &M::aec, .shownFor = &T::known,
     .dimming = D::ModeLock, .commit = CommitMode},
    {.control = MAIN_ALV, .kind = V::Int, .setInt = Comm_SetALV, .intField = &M::alv,
     .dimming = D::AutomaticOnly},
    {.control = MAIN_AGN, .kind = V::Real, .setReal = Comm_SetAGN, .getReal = Comm_GetAGN, .rule = CommRule::Db, .realField = &M::agn,
     .dimming = D::ManualOnly},
    {.control = MAIN_AMX, .kind = V::Real, .setReal = Comm_SetAMX, .getReal = Comm_GetAMX, .rule = CommRule::Db, .realField = &M::amx,
     .dimming = D::AutomaticOnly},
    {.control = MAIN_GAM, .kind = V::Int, .setInt = Comm_SetGAM, .intField = &M::gam},
    {.control = MAIN_VMD, .kind = V::Int, .setInt = Comm_SetVMD, .intField = &M::vmd},
    {.control = MAIN_SHE, .kind = V::Int, .setInt = Comm_SetSHE, .intField = &M::she, .shownFor = &T::hasShutter,
     .dimming = D::ShutterSwitch},
    {.control = MAIN_SMX, .kind = V::Int, .setInt = Comm_SetSMX, .intField = &M::smx,
     .dimming = D::ShutterLimit},
    {.control = MAIN_SHS, .kind = V::Int, .setInt = Comm_SetSHS, .intField = &M::shs, .shownFor = &T::hasShutter,
     .dimming = D::ShutterSpeed, .commit = CommitShutterSpeed},
    {.control = MAIN_TIMEMS, .kind = V::Action, .dimming = D::ShutterSpeed},
    {.control = MAIN_MFI, .kind = V::Int, .setInt = Comm_SetMFI, .intField = &M::mfi},
    {.control = MAIN_WBM, .kind = V::Int, .setInt = Comm_SetWBM, .intField = &M::wbm, .shownFor = &T::colour},
    {.control = MAIN_MFT, .kind = V::Int, .setInt = Comm_SetMFT, .intField = &M::mft},
    {.control = MAIN_TMD, .kind = V::Int, .setInt = Comm_SetTMD, .intField = &M::tmd,
     .dimming = D::TriggerLock, .commit = CommitTriggerMode},
    {.control = MAIN_DFC, .kind = V::Int, .setInt = Comm_SetDFC, .intField = &M::dfc, .shownFor = &T::family47x,
     .dimming = D::BlemishLock},
    {.control = MAIN_MIR, .kind = V::Int, .setInt = Comm_SetMIR, .intField = &M::mir, .shownFor = &T::family47x},
    {.control = MAIN_CMD, .kind = V::Int, .setInt = Comm_SetCMD, .intField = &M::cmd, .shownFor = &T::colour},
    {.control = MAIN_CGAIN_RED, .kind = V::Real, .setReal = Comm_SetCGR, .rule = CommRule::ColourGain,
     .realField = &M::cgr, .shownFor = &T::colour},
    {.control = MAIN_CGAIN_GREEN, .kind = V::Real, .setReal = Comm_SetCGG, .rule = CommRule::ColourGain,
     .realField = &M::cgg, .shownFor = &T::colour},
    {.control = MAIN_CGAIN_BLUE, .kind = V::Real, .setReal = Comm_SetCGB, .rule = CommRule::ColourGain,
     .realField = &M::cgb, .shownFor = &T::colour},
    {.control = MAIN_IPH, .kind = V::Int, .setInt = Comm_SetIPH, .intField = &M::iph, .shownFor = &T::colour},
    {.control = MAIN_YGAIN, .kind = V::Real, .setReal = Comm_SetYGA, .rule = CommRule::PercentOf63,
     .realField = &M::yga, .shownFor = &T::colour},
    {.control = MAIN_USAT, .kind = V::Real, .setReal = Comm_SetUSA, .rule = CommRule::PercentOf63,
     .realField = &M::usa, .shownFor = &T::colour},
    {.control = MAIN_VSAT, .kind = V::Real, .setReal = Comm_SetVSA, .rule = CommRule::PercentOf63,
     .realField = &M::vsa, .shownFor = &T::colour},
    {.control = MAIN_HUE, .kind = V::Real, .setReal = Comm_SetHUE, .rule = CommRule::PercentOf255,
     .realField = &M::hue, .shownFor = &T::colour},
    {.control = MAIN_AWB, .kind = V::Action, .commit = CommitWhiteBalance},
    // The factory screen's selector and access rings; the display fills them there only.
    {.control = MAIN_MODEL, .kind = V::Int, .dimming = D::FactoryRing, .commit = CommitModel},
    {.control = MAIN_AGC_ACCESS, .kind = V::Int, .intField = &M::agc_access, .dimming = D::FactoryRing,
     .commit = CommitAgcAccess},
    {.control = MAIN_DFC_ACCESS, .kind = V::Int, .intField = &M::dfc_access, .dimming = D::FactoryRing,
     .commit = CommitDfcAccess},
};
// clang-format on

const int kLinkOnly[] = {
    MAIN_ZM_BIGUP,    MAIN_ZM_BIGDOWN,    MAIN_ZM_SMALLUP,    MAIN_ZM_SMALLDOWN, MAIN_FOC_BIGUP,
    MAIN_FOC_BIGDOWN, MAIN_FOC_SMALLUP,   MAIN_FOC_SMALLDOWN, MAIN_IRC_BIGUP,    MAIN_IRC_BIGDOWN,
    MAIN_IRC_SMALLUP, MAIN_IRC_SMALLDOWN, MAIN_CGAIN_TXT,
};

}  // namespace

const MainBinding* BindingOf(int control)
{
    for (const MainBinding& b : kBindings)
        if (b.control == control) return &b;
    return nullptr;
}

const MainBinding* Bindings(int* count)
{
    *count = static_cast<int>(std::size(kBindings));
    return kBindings;
}

const int* LinkOnlyControls(int* count)
{
    *count = static_cast<int>(std::size(kLinkOnly));
    return kLinkOnly;
}

bool FilledFor(const MainBinding& b, const CamClassTraits& traits)
{
    return b.shownFor == nullptr || traits.*b.shownFor;
}

}  // namespace mainpnl
