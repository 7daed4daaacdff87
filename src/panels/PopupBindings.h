// The binding of a pop-up panel's controls to the camera, one table row per
// control, and the one value callback that serves every such table.
//
// A committed value is read at once and carried to the action, which runs now
// or, while the link is in use, once it is idle (RunPanelAction).  A plain row
// names the set function; where the camera is asked back its answer is shown,
// where the conversion rounds the count that went out is shown converted
// back, and a refused value gives way to the camera's (PanelCommit.h).  Rows
// that do more name a handler.
#pragma once

#include <string>

#include "camera/Conversions.h"

namespace popup {

enum class Kind {
    Local,   ///< the program's own setting or a display on the panel: nothing goes to the camera
    Int,     ///< an integer setting
    Real,    ///< a real setting in its user unit
    Text,    ///< a text setting
    Action,  ///< a button
};

/// A control's value as the operator committed it, and what its action needs
/// from other controls as they stood at that moment (gathered by the row).
struct Committed {
    int control = 0;  ///< the control committed
    int i = 0;
    double d = 0.0;
    std::string s;
    int more[3] = {0, 0, 0};
    std::string text;
};

struct Binding {
    int control;
    Kind kind;
    const char* field = nullptr;             ///< record field a display fills it from, by name
    int fill = 0;                            ///< when the panel's display fills it (the panel's own rule)
    float* global = nullptr;                 ///< Local: the program's setting it changes
    int (*setInt)(int) = nullptr;            ///< the camera function a committed int goes to
    int (*setIntAt)(int, int) = nullptr;     ///< or the indexed one, with index
    int (*setReal)(float) = nullptr;         ///< the camera function a committed real goes to
    int (*setRealAt)(float, int) = nullptr;  ///< or the indexed one, with index
    int index = 0;                           ///< the index of the indexed functions
    int (*getReal)(float*) = nullptr;        ///< asked after the set; the answer is shown
    CommRule rule = CommRule::Count;         ///< else the count that went out is shown converted back
    int (*setText)(const char*) = nullptr;   ///< the camera function a committed text goes to
    void (*gather)(int panel, Committed&) = nullptr;  ///< adds what the action needs from other controls
    bool (*accept)(int panel, int control, const Committed&) = nullptr;  ///< may refuse, with a message
    /// Handles the commit instead of the plain set: settles what it changed and
    /// returns the status to report.  A Local row's handler runs at once.
    int (*commit)(int panel, const Committed&) = nullptr;
    bool silent = false;  ///< a failure is not reported (the control still gives way)
};

/// The row of control in a table; nullptr when it has none.
const Binding* Find(const Binding* table, int count, int control);

template <int N>
const Binding* Find(const Binding (&table)[N], int control)
{
    return Find(table, N, control);
}

/// The value callback of every bound control: acts on the commit event only;
/// returns 0.
int ValueCallback(const Binding* row, int panel, int event);

}  // namespace popup
