// The main panel's access and dimming rules, each written once.  Whatever
// changed (a display, a committed value, a new shape, a lost or found link),
// the dimmed state of every governed control is worked out again from the
// camera's state, the link, the class traits and the screen.
#include "camera/CommandSet.h"
#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"

namespace mainpnl {

namespace {

constexpr int kPulseWidthMode = 3;

// The state belongs to one loaded panel; a panel loaded afresh starts afresh.
struct PanelRules {
    int panel = 0;
    bool noLink = false;  // DimMainPnlCtrls(1) was the last word
    RuleState state;
};
PanelRules s_rules;

PanelRules& rulesOfPanel()
{
    if (s_rules.panel != g_mainpanel) s_rules = PanelRules{g_mainpanel, false, RuleState{}};
    return s_rules;
}

bool linkPresent()
{
    return !rulesOfPanel().noLink && g_com_port != 0 && !Comm_LinkLost();
}

// The shutter-speed access rule.  Pulse Width Mode lets the trigger pulse set
// the exposure, so the shutter speed is never the operator's then.  Otherwise
// wantDimmed (the automatic mode) locks it on the cameras whose shutter always
// follows the mode, and on the others only while their electronic shutter is on.
bool shutterSpeedDimmed(const CamClassTraits& t, int tmd, bool wantDimmed, int esh)
{
    if (tmd == kPulseWidthMode) return true;
    if (t.shutterFollowsMode) return wantDimmed;
    return esh != 0 && wantDimmed;
}

// Why a rule dims its control just now, in the operator's words; nullptr
// when it does not.
const char* dimmedBecause(int rule, const CamClassTraits& t, const RuleState& s, bool link, bool factory)
{
    const char* noLink = g_com_port != 0 ? "the camera link is lost; the program is looking for the camera"
                                         : "no camera is connected (File > Preferences chooses its port)";
    // On the factory screen the model can be chosen while no camera answers.
    if (rule == Dimming::FactoryRing) return !link && !factory ? noLink : nullptr;
    if (!link) return noLink;
    switch (rule) {
        case Dimming::LinkOnly:
        case Dimming::FactoryRing:
            return nullptr;
        case Dimming::ModeLock:
            return s.agcAccess == 0 ? "the camera's ALC user access is disabled (factory screen)" : nullptr;
        case Dimming::ManualOnly:
            return s.mode != 0 ? "ALC Mode is Automatic; choose Manual to set the gain by hand" : nullptr;
        case Dimming::ShutterSwitch:
            return s.mode != 0 ? "ALC Mode is Automatic; choose Manual to set it" : nullptr;
        case Dimming::AutomaticOnly:
            return s.mode == 0 ? "ALC Mode is Manual; choose Automatic to use it" : nullptr;
        case Dimming::ShutterSpeed:
            if (!shutterSpeedDimmed(t, s.tmd, s.shutterWant != 0, s.esh)) return nullptr;
            if (s.tmd == kPulseWidthMode)
                return "Trigger Mode is Pulse Width Mode: the trigger pulse sets the exposure";
            if (t.shutterFollowsMode)
                return "ALC Mode is Automatic: the ALC sets the shutter; choose Manual to set it";
            return s.eshFromAdvanced >= 0 ? "the electronic shutter is on (Advanced Settings)"
                                          : "ALC Mode is Automatic with the electronic shutter on (Advanced "
                                            "Settings): the ALC sets the shutter";
        case Dimming::ShutterLimit:
            if (s.eshFromAdvanced >= 0)
                return s.eshFromAdvanced == 0 ? "the electronic shutter is off (Advanced Settings)" : nullptr;
            return !(s.mode == 1 && s.esh == 1)
                       ? "used only in ALC Mode Automatic with the electronic shutter on "
                         "(Advanced Settings)"
                       : nullptr;
        case Dimming::BlemishLock:
            return s.dfcAccess == 0 ? "the camera's blemish user access is disabled (factory screen)"
                                    : nullptr;
        case Dimming::TriggerLock:
            return t.colour ? "the colour cameras have no trigger mode to set" : nullptr;
    }
    return nullptr;
}

void applyMenuRules(bool link)
{
    if (g_mainmnuhandle <= 0) return;
    for (int item : {MAINMNU_ADVSET, MAINMNU_FILE_LOAD, MAINMNU_FILE_SAVESET})
        SetMenuBarAttribute(g_mainmnuhandle, item, ATTR_DIMMED, link ? 0 : 1);
    // Colour processing is for the colour cameras only.
    SetMenuBarAttribute(g_mainmnuhandle, MAINMNU_COLORPROC, ATTR_DIMMED,
                        link && Comm_CurrentClass().colour ? 0 : 1);
}

}  // namespace

RuleState& State()
{
    return rulesOfPanel().state;
}

namespace {

// Asks the camera for ESH into the rule state; an unanswered query counts as
// off, a refused one (busy link) is not the camera's answer and changes nothing.
int askElectronicShutter(RuleState& s)
{
    int esh = 0;
    const int status = Comm_GetESH(&esh);
    if (status != COMM_BUSY) s.esh = status == COMM_OK ? esh : 0;
    return status;
}

}  // namespace

void ReadElectronicShutter()
{
    RuleState& s = State();
    if (Comm_CurrentClass().family47x)
        askElectronicShutter(s);
    else
        s.esh = 0;
}

void ApplyRules()
{
    const int panel = g_mainpanel;
    if (panel <= 0) return;
    const CamClassTraits& t = Comm_CurrentClass();
    const RuleState& s = State();
    const bool link = linkPresent();
    const bool factory = g_prog_type != 0;

    for (const Binding& b : Bindings())
        DimBecause(panel, b.control, dimmedBecause(b.dimming, t, s, link, factory));
    const char* noLink = dimmedBecause(Dimming::LinkOnly, t, s, link, factory);
    for (int c : LinkOnlyControls()) DimBecause(panel, c, noLink);
    DimBecause(panel, MAIN_FACBOX, dimmedBecause(Dimming::FactoryRing, t, s, link, factory));
    applyMenuRules(link);
}

}  // namespace mainpnl

using namespace mainpnl;

void DimMainPnlCtrls(int dim)
{
    rulesOfPanel().noLink = dim != 0;
    ApplyRules();
}

void DimMainPnlMenus(int dim)
{
    rulesOfPanel().noLink = dim != 0;
    applyMenuRules(linkPresent());
}

void Mpnl_NoteElectronicShutter(int esh)
{
    State().eshFromAdvanced = esh != 0 ? 1 : 0;
    ApplyRules();
}

void Mpnl_SetScreenforAccess(int access)
{
    State().agcAccess = access;
    ApplyRules();
}

int Comm_AdjustShutterSpeedAccess(int dim)
{
    const int panel = g_mainpanel;
    if (panel <= 0) return 0;
    const CamClassTraits& t = Comm_CurrentClass();
    RuleState& s = State();
    const int status = s.tmd != kPulseWidthMode && !t.shutterFollowsMode ? askElectronicShutter(s) : COMM_OK;
    // Kept, so that every later application of the rules agrees with this one.
    s.shutterWant = dim != 0 ? 1 : 0;
    const char* reason = dimmedBecause(Dimming::ShutterSpeed, t, s, linkPresent(), g_prog_type != 0);
    DimBecause(panel, MAIN_SHS, reason);
    DimBecause(panel, MAIN_TIMEMS, reason);
    return status;
}
