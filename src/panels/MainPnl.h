// The main panel: its shape for the connected model, its display of the
// camera's main settings, and the handling of its value controls.
#pragma once

#include "camera/CamTypes.h"

/// Duration of one video line in milliseconds: a shutter speed in lines times
/// this is the exposure shown beside it.
inline constexpr double kLineTimeMs = 0.06356;

/// Lines the traffic monitor keeps; older lines are dropped.
inline constexpr int kTrafficMonitorLines = 5000;

/// Shapes the main panel for g_cam_model_idx, g_cam_model_user_idx,
/// g_prog_type and g_hardware_rev (shown and hidden controls, labels, ranges,
/// the "Trigger Input" item, the 47x frame, the title); asks the camera for the
/// longest shutter speed.  Repeated calls give the same screen.
void Mpnl_ConfigForModel();

/// The part of the shaping that does not depend on a camera: the user screen
/// never shows the factory controls, the traffic monitor or the colour gains.
/// Start-up uses it when no camera answered, so the operator is not shown
/// factory controls that are of no use to him.
void Mpnl_ConfigForScreen();

/// Dims (1) or enables (0) the main panel's camera value controls.
void DimMainPnlCtrls(int dim);

/// Dims (1) or enables (0) the menu entries that need a camera.
void DimMainPnlMenus(int dim);

/// Applies the ALC user access to the screen: the mode ring is locked without it.
void Mpnl_SetScreenforAccess(int access);

/// Shows a main settings record; corrects rec->mfi for a ring without
/// "Trigger Input".
void Mpnl_DisplayMain(CamMainSettings* rec);

/// Callback of every value control of the main panel.
int Mpnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

/// Callback of the Refresh button: re-reads model and settings and shows them.
int Mpnl_RefreshButtonCallback(int panel, int control, int event, void* callbackData, int eventData1,
                               int eventData2);

/// Appends one line of link traffic to the monitor MAIN_RS232 of g_mainpanel
/// (the link's traffic hook, factory mode only).  Keeps the newest
/// kTrafficMonitorLines lines; after a received line the newest is scrolled
/// into view.
void Mpnl_ShowTraffic(const char* text, int received);

/// Callback of the twelve lens buttons: pressed, the axis is driven at the
/// button's share of its maximum voltage; released, it is stopped (0 V), also
/// when the release comes while the press's command still waits for its reply.
int Mpnl_ZFICallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

/// Makes the main panel's callbacks known to the user-interface services and
/// connects the link's traffic report and the shutter-speed access rule to
/// the panel in g_mainpanel.
void Mpnl_RegisterCallbacks();
