// What the camera last confirmed for a control: noted when a display shows
// the camera's value and when a change is accepted, shown again when a change
// is refused, so that a panel never goes on showing a value the camera does
// not hold.  What was confirmed may also be that the camera's value is not
// known (its query failed) or cannot be shown (a ring without its item); the
// control then holds no value and its tooltip says why.
#pragma once

#include <string>

/// Notes the value the control shows now (integer, real or text, by the
/// control's data type) as the camera's.
void NoteConfirmedValue(int panel, int control);

/// What a control without a value stands for.
enum class NoValue {
    Unread,   ///< its query failed: counted among the settings that could not be read
    Foreign,  ///< the camera holds a value the control has no way to show
    Derived,  ///< shown from another control that holds no value
};

/// Shows that the control holds no camera value, with the reason in its
/// tooltip and shown (a dash when empty) in its place, and notes that as what
/// the camera confirmed.
void NoteNoValue(int panel, int control, NoValue kind, const std::string& reason,
                 const std::string& shown = {});

/// Shows what was last noted for the control again (its value, or the mark of
/// no value); false (the control unchanged) when nothing was noted.
bool ShowConfirmedValue(int panel, int control);

/// Controls of the panel that hold no value because their query failed.
int UnreadCount(int panel);

/// Forgets what was noted for the controls of a panel that is gone.
void ForgetConfirmedValues(int panel);
