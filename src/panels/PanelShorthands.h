// Shorthands every panel's code uses on its controls.
#pragma once

#include <string>

#include "ui/Ui.h"

namespace panelctl {

inline void Show(int panel, int control, bool shown)
{
    SetCtrlAttribute(panel, control, ATTR_VISIBLE, shown ? 1 : 0);
}

inline void Dim(int panel, int control, bool dimmed)
{
    SetCtrlAttribute(panel, control, ATTR_DIMMED, dimmed ? 1 : 0);
}

/// Dims the control when there is a reason (nullptr: none) and puts the
/// reason, in the operator's words, into its tooltip.
inline void DimBecause(int panel, int control, const char* reason)
{
    Dim(panel, control, reason != nullptr);
    SetCtrlAttribute(panel, control, ATTR_DIMMED_REASON, reason ? reason : "");
}

/// A control's value; 0 or "" when it cannot be read.
inline int IntValue(int panel, int control)
{
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

inline float FloatValue(int panel, int control)
{
    float value = 0.0f;
    GetCtrlVal(panel, control, &value);
    return value;
}

inline std::string TextValue(int panel, int control)
{
    std::string text;
    GetCtrlVal(panel, control, &text);
    return text;
}

}  // namespace panelctl
