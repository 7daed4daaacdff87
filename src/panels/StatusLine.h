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
