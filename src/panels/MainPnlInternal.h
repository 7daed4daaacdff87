// Shared by the main panel's sources: the model groups its shape and handling
// depend on, and shorthands for the attributes they set over and over.
#pragma once

#include <functional>

#include "camera/Globals.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace mainpnl {

/// The groups of function classes (g_cam_model_idx) the main panel tells apart.
struct ModelGroup {
    bool known;   ///< a function class 0..7
    bool agc;     ///< class 1, the EH-4000: AGC mode, no shutter controls
    bool family;  ///< classes 3..7, the 47x family
    bool colour;  ///< classes 3 and 5, the colour models of the family
};

inline ModelGroup GroupOf(int eq)
{
    return {eq >= 0 && eq <= 7, eq == 1, eq >= 3 && eq <= 7, eq == 3 || eq == 5};
}

inline ModelGroup CurrentGroup()
{
    return GroupOf(g_cam_model_idx);
}

inline void Show(int panel, int control, bool shown)
{
    SetCtrlAttribute(panel, control, ATTR_VISIBLE, shown ? 1 : 0);
}

inline void Dim(int panel, int control, bool dimmed)
{
    SetCtrlAttribute(panel, control, ATTR_DIMMED, dimmed ? 1 : 0);
}

/// Shows a shutter speed in lines and its duration in milliseconds.
void ShowShutterSpeed(int panel, int lines);

/// Shows the status text of a failed command in an "ERROR" pop-up; 0 shows
/// nothing.
void ReportStatus(int status);

/// Runs action now, or, while a camera command is waiting for its reply, as
/// soon as the link is free again (giving up after a few seconds).  An
/// operator's change made during a wait is sent late rather than lost.
void WhenLinkFree(std::function<void()> action);

}  // namespace mainpnl
