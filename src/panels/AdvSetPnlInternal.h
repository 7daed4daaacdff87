// Shared by the Advanced Settings panel's sources: the binding of each control
// to the camera or to a lens parameter, and the rules that dim its controls.
#pragma once

#include <string>

#include "camera/CamTypes.h"
#include "panels/Bindings.h"
#include "panels/PanelShorthands.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

struct SnapshotStats;

namespace advpnl {

using panelbind::Binding;
using panelbind::Committed;
using panelbind::Kind;

/// When the display fills a control from the advanced record (Binding::fill).
struct Fill {
    enum : int {
        Never,           ///< not from the record: lens parameters, identification, actions
        Always,          ///< every class the panel serves
        DefectAccess,    ///< only while the blemish access flag is set
        Colour,          ///< the colour cameras (the colour matrix)
        PedestalSwitch,  ///< the colour cameras of the legacy hardware (the pedestal switch)
        WhiteClip,       ///< the classes whose record has VWC
    };
};

/// Every binding of the panel resource (ADVSET or ADVSET_C), in display order.
std::span<const Binding> AdvBindings(int panelResource);

/// The resource of the panel the class uses: ADVSET_C for the 47x family.
int AdvPanelResource();

/// Fits the three parts of the unit identification to 6, 8 and 2 printable
/// characters (control and other unprintable characters dropped, longer parts
/// cut, shorter ones filled with blanks at the end) and joins them into the
/// 16 characters the camera keeps.
std::string JoinUnitIdentification(const std::string& unit, const std::string& date, const std::string& rev);

/// What the rules of ADVSET_C read: the blemish access flag and the pedestal
/// switch as last shown.
struct AdvRuleState {
    int dfcAccess = 0;
    int vps = 1;
};
AdvRuleState& AdvState(int panel);
void ForgetAdvState(int panel);

/// Dims the blemish and column-defect controls and the video pedestal of an
/// ADVSET_C panel from the class, the hardware revision and the rule state.
void ApplyAdvRules(int panel);

/// The handlers of the controls that do more than one plain set.
bool AcceptCorner(int panel, int control, const Committed& value);
int CommitElectronicShutter(int panel, const Committed& value);
int CommitPedestalSwitch(int panel, const Committed& value);
void GatherUnitIdentification(int panel, Committed& value);
int CommitUnitIdentification(int panel, const Committed& value);
int LocateBlemishes(int panel, const Committed& value);
/// The new map replaces the camera's for good: the operator says so first.
bool ConfirmLocateBlemishes(int panel, int control, const Committed& value);

using panelctl::Dim;
using panelctl::DimBecause;
using panelctl::IntValue;
using panelctl::Show;
using panelctl::TextValue;

}  // namespace advpnl
