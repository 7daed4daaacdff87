// The status lines of the panels and the main panel's title.
#pragma once

#include <string>

/// Puts the number of the panel's settings that could not be read into its
/// status line (the main panel's says it after the link's state).
void ShowUnreadCount(int panel);
/// "2 settings could not be read from the camera; ..."; empty for none.
std::string UnreadCountText(int count);

/// "COM3 (/dev/ttyUSB0)": the port in use and the device behind it.
std::string Mpnl_PortText();

/// Says in the main panel's title, for a while, that the lost link is back.
void Mpnl_NoteLinkRestored();
/// Drops that note at once (the link is lost again, or the program ends).
void Mpnl_ForgetLinkRestored();

/// Says in the main panel's status line what the operator's last action did
/// to the camera ("Manual Gain set to 12 dB"), with the time it was done; it
/// stays until the next action.  Empty text drops the note.
void Mpnl_NoteAction(const std::string& what);
/// Mpnl_NoteAction of what followed by done when status is COMM_OK, else by
/// failed and the status's text: ("Command :ALV?", status, " sent", " failed: ").
void Mpnl_NoteOutcome(std::string what, int status, const char* done, const char* failed);
/// The note as the status line shows it ("18:30:05 Stored in user set 1");
/// empty when there is none.
std::string Mpnl_LastAction();

/// What a committed control did, as it now shows: "Manual Gain set to 12 dB",
/// "AGC set to On", "Locate Blemishes done"; for a failed status
/// "Manual Gain not changed: Camera returned error message NAK." (a button:
/// "Locate Blemishes failed: ...")
std::string ControlChangeText(int panel, int control, int status);
