// What the camera last confirmed for a control: noted when a display shows
// the camera's value and when a change is accepted, shown again when a change
// is refused, so that a panel never goes on showing a value the camera does
// not hold.
#pragma once

/// Notes the value the control shows now (integer, real or text, by the
/// control's data type) as the camera's.
void NoteConfirmedValue(int panel, int control);

/// Shows the value last noted for the control again; false (the control
/// unchanged) when none was noted.
bool ShowConfirmedValue(int panel, int control);

/// Forgets what was noted for the controls of a panel that is gone.
void ForgetConfirmedValues(int panel);
