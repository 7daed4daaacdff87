// Shared by the main panel's sources: the binding of each control to the
// camera, the state the access and dimming rules read, and shorthands.
#pragma once

#include "camera/CamTypes.h"
#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "panels/Bindings.h"
#include "panels/PanelCommit.h"
#include "panels/PanelShorthands.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace mainpnl {

// ---------------------------------------------------------------------------
// Access and dimming.  Each rule is written once, in MainPnlRules.cpp, and
// applied to every control that names it in the binding table.

struct Dimming {
    enum Rule : int {
        LinkOnly,       ///< dimmed only without a camera link
        ModeLock,       ///< the ALC/AGC mode ring: locked without the ALC user access
        ManualOnly,     ///< manual gain: locked in automatic mode
        AutomaticOnly,  ///< ALC level and maximum gain: locked in manual mode
        ShutterSwitch,  ///< shutter control: locked in automatic mode
        ShutterSpeed,   ///< shutter speed and its msec readout: the shutter-speed access rule
        ShutterLimit,   ///< ALC maximum shutter speed: usable in automatic mode with ESH on
        BlemishLock,    ///< white blemish compensation: locked without the blemish user access
        TriggerLock,    ///< trigger mode: the colour cameras have none to set
        FactoryRing,    ///< model selector and access rings: usable without a link on the factory screen
    };
};

/// The camera's state as far as the rules need it: what the last display or
/// change showed.
struct RuleState {
    int mode = 0;       ///< 0 manual, 1 automatic (AEC, or AMD on the AGC camera)
    int agcAccess = 1;  ///< ALC user access (SB1)
    int dfcAccess = 1;  ///< blemish user access (SB2)
    int tmd = 0;        ///< trigger mode; 3 is Pulse Width Mode
    int esh = 0;        ///< electronic shutter; asked from 47x cameras only
    /// What the last caller of the shutter-speed rule wanted: the mode, from
    /// the main panel's display and mode change; the electronic shutter it
    /// has just sent, from Advanced Settings.
    int shutterWant = 0;
    /// The electronic shutter as Advanced Settings last sent it, which then
    /// opens or locks the ALC's shutter limit in place of the mode; -1 once
    /// the main panel's own display or mode change has spoken.
    int eshFromAdvanced = -1;
};

/// The rule state of the panel in g_mainpanel (a new panel starts afresh).
RuleState& State();

/// Asks the camera for ESH (47x family only; 0 otherwise or when unanswered)
/// into the rule state.
void ReadElectronicShutter();

/// Sets the dimmed state of every control and menu entry the rules govern,
/// from the rule state, the link, the class traits and the screen.
void ApplyRules();

// ---------------------------------------------------------------------------
// Bindings: one row per control that shows or changes a camera setting
// (Bindings.h), its dimming one of Dimming's rules.

using panelbind::Binding;
using panelbind::Committed;

/// Every binding, in display order.
std::span<const Binding> Bindings();

/// Controls dimmed without a link that carry no camera value of their own:
/// the lens buttons, and the captions and frames that belong to value groups.
std::span<const int> LinkOnlyControls();

/// Whether a binding's record field is filled for the class.
bool FilledFor(const Binding& b, const CamClassTraits& traits);

// ---------------------------------------------------------------------------
// Shorthands.

using panelctl::Dim;
using panelctl::DimBecause;
using panelctl::FloatValue;
using panelctl::IntValue;
using panelctl::Show;

/// Shows a shutter speed in lines the camera holds and its duration in
/// milliseconds.
void ShowShutterSpeed(int panel, int lines);
/// Shows the duration of the shutter speed on the panel; none while the
/// shutter speed holds none.
void ShowDuration(int panel);

/// The handlers of the controls that do more than one set.
int CommitMode(int panel, const Committed& value);
int CommitShutterSpeed(int panel, const Committed& value);
void GatherLinesOfDuration(int panel, Committed& value);
int CommitDuration(int panel, const Committed& value);
int CommitTriggerMode(int panel, const Committed& value);
int CommitModel(int panel, const Committed& value);
int CommitAgcAccess(int panel, const Committed& value);
int CommitDfcAccess(int panel, const Committed& value);
int CommitWhiteBalance(int panel, const Committed& value);

}  // namespace mainpnl
