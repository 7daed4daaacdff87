// Shared by the Advanced Settings panel's sources: the binding of each control
// to the camera or to a lens parameter, and the rules that dim its controls.
#pragma once

#include <string>

#include "camera/CamTypes.h"
#include "camera/Conversions.h"
#include "panels/PanelShorthands.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

struct SnapshotStats;

namespace advpnl {

/// When the display fills a control from the advanced record.
enum class Fill {
    Never,           ///< not from the record: lens parameters, identification, actions
    Always,          ///< every class the panel serves
    DefectAccess,    ///< only while the blemish access flag is set
    Colour,          ///< the colour cameras (the colour matrix)
    PedestalSwitch,  ///< the colour cameras of the legacy hardware (the pedestal switch)
    WhiteClip,       ///< the classes whose record has VWC
};

enum class Kind {
    Lens,    ///< a lens parameter: only the program's global changes
    Int,     ///< an integer setting
    Real,    ///< a real setting in its user unit
    Text,    ///< a text setting
    Action,  ///< a button
};

/// A control's value as the operator committed it.  An action waiting for the
/// link carries it along; the unit ID carries the joined identification.
struct Committed {
    int i = 0;
    double d = 0.0;
    std::string s;
};

struct AdvBinding {
    int panel;  ///< ADVSET or ADVSET_C
    int control;
    Kind kind;
    const char* field = nullptr;  ///< record field the display shows (its name in AdvSettingsFields)
    Fill fill = Fill::Never;
    float* lens = nullptr;                   ///< Lens: the global it sets
    int (*setInt)(int) = nullptr;            ///< the camera function a committed int goes to
    int (*setIntAt)(int, int) = nullptr;     ///< or the indexed one, with index
    int (*setReal)(float) = nullptr;         ///< the camera function a committed real goes to
    int (*setRealAt)(float, int) = nullptr;  ///< or the indexed one, with index
    int index = 0;                           ///< the index of the indexed functions
    int (*getReal)(float*) = nullptr;        ///< asked after the set; the answer is shown
    CommRule rule = CommRule::Count;         ///< else the count that went out is shown converted back
    int (*setText)(const char*) = nullptr;   ///< the camera function a committed text goes to
    bool (*accept)(int panel, int control, const Committed&) = nullptr;  ///< refuses with a message first
    int (*commit)(int panel, const Committed&) = nullptr;  ///< handles the commit instead of the plain set
};

/// The binding of a control of ADVSET or ADVSET_C; nullptr when it has none.
const AdvBinding* AdvBindingOf(int panelResource, int control);

/// Every binding of the panel resource, in display order.
const AdvBinding* AdvBindings(int panelResource, int* count);

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

/// Shows the status text of a failed command in an "ERROR" pop-up; 0 shows
/// nothing.
void ReportAdvStatus(int status);

/// The handlers of the controls that do more than one plain set.
bool AcceptCorner(int panel, int control, const Committed& value);
int CommitElectronicShutter(int panel, const Committed& value);
int CommitPedestalSwitch(int panel, const Committed& value);
int CommitUnitIdentification(int panel, const Committed& value);
int LocateBlemishes(int panel, const Committed& value);

using panelctl::Dim;
using panelctl::IntValue;
using panelctl::Show;
using panelctl::TextValue;

}  // namespace advpnl
