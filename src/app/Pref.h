// The Preferences dialog: the camera's port, with a look for a camera on the
// chosen one, and the captions of the three lens groups.
#pragma once

#include <string>

/// File, Preferences: opens the dialog as a modal pop-up.  Also opened at
/// start-up when no camera was found.
void MMnu_FilePrefCallback(int menuBar, int menuItem, void* callbackData, int panel);

/// Milliseconds the port ring must rest on a port before it is asked.
inline constexpr int kPortProbeDelayMs = 400;

/// The port ring: looks for a camera on the chosen port and says so only
/// when there is none.  Changes nothing.  A port passed on the way to
/// another (arrow keys) is not asked: only the one the ring rests on for
/// kPortProbeDelayMs.
int Pref_ComListCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

/// Reset Labels: the short captions into the three fields; nothing else
/// changes until OK.
int Pref_ResetLabelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                            int eventData2);

/// OK: takes the port when a camera answers there (the previous port is
/// closed), the captions, and re-reads the camera after a change of port.
/// Without a camera on the port the dialog stays open and nothing changes.
int Pref_OKCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

/// Cancel (and the close box): closes the dialog; nothing changes.
int Pref_CancelCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
