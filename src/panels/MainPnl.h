// The main panel: its shape for the connected model, its display of the
// camera's main settings, and the handling of its value controls.
#pragma once

#include <string>

#include "camera/CamTypes.h"

struct SnapshotStats;

/// Lines the traffic monitor keeps; older lines are dropped.
inline constexpr int kTrafficMonitorLines = 5000;

/// Shapes the main panel for g_cam_model_idx, g_cam_model_user_idx,
/// g_prog_type and g_hardware_rev (shown and hidden controls, labels, ranges,
/// the "Trigger Input" item, the 47x frame, the title); asks the camera for the
/// longest shutter speed.  Repeated calls give the same screen.
void Mpnl_ConfigForModel();

/// The part of the shaping that does not depend on a camera: the panel as
/// laid out, and on the user screen without the factory controls, the traffic
/// monitor and the colour gains.  Start-up uses it when no camera answered.
void Mpnl_ConfigForScreen();

/// Without a link (1) every camera control, lens button and AWB is dimmed
/// (on the factory screen the model selector and access rings stay usable);
/// with one (0) the access and dimming rules decide again from the camera's
/// last known state.
void DimMainPnlCtrls(int dim);

/// Dims (1) the menu entries that need a camera, or (0) lets the rules
/// decide: "Color Processing" is for the colour cameras only.
void DimMainPnlMenus(int dim);

/// Applies the ALC user access to the screen: the mode ring is locked without it.
void Mpnl_SetScreenforAccess(int access);

/// The shutter-speed access rule: whether MAIN_SHS and MAIN_TIMEMS are
/// dimmed.  dim is the state the caller wants (the automatic mode).  Pulse
/// Width Mode always dims them; the basic cameras take dim; the others take
/// dim while their electronic shutter (asked here) is on, else enable them.
/// Returns the status of the ESH query, 0 when none was made.
int Comm_AdjustShutterSpeedAccess(int dim);

/// The camera's electronic shutter was switched (from the Advanced Settings
/// panel): the ALC's shutter limit is open while it is on and locked while it
/// is off, until the main panel's next display or mode change.
void Mpnl_NoteElectronicShutter(int esh);

/// Shows a main settings record; corrects rec->mfi for a ring without
/// "Trigger Input".  With the stats of the pass that filled it, a field whose
/// query failed is not shown: its control holds no value and says why.
void Mpnl_DisplayMain(CamMainSettings* rec, const SnapshotStats* stats = nullptr);

/// Reshapes the panel for the recorded model and shows rec; a control whose
/// query failed (in stats) holds no value and says why.
/// What a refresh, a user-set load and a change of port do after reading.
void Mpnl_ReshapeAndShow(CamMainSettings* rec, const SnapshotStats* stats);

/// Reads the camera's main settings, reshapes the panel for the recorded
/// model and shows what was read: start-up, Refresh, a user-set load, a change
/// of port and the link's return all do this.  A pass that stopped is told in
/// one message, "Failure querying camera for current settings." and the
/// reason, unless the link was lost during it (the title says so then).
/// Returns the pass's result: 0 when it ran to its end, 1 when it stopped.
int Mpnl_ReadAndShowMain();

/// Re-reads model and settings, reshapes the panel and shows them (the
/// Refresh button's work, also done after a model change or a file load).
/// Nothing without a camera port; with a lost link, Mpnl_RestoreLink and a
/// message when no camera answers; "No camera found." when the model query
/// fails.
void Mpnl_Refresh(int panel);

/// Follows the link from now on: when the device of g_com_port goes away, the
/// camera controls are dimmed as without a link, the title says the link is
/// lost, and the port is tried about once a second (Mpnl_RestoreLink) until a
/// camera answers there.  Done by Mpnl_RegisterCallbacks.
void Mpnl_WatchLink();
/// Stops looking for a lost camera and drops the "restored" note, for the end
/// of the program.
void Mpnl_StopWatchingLink();

/// With a lost link: opens its port again and, when a camera answers the
/// model query, reshapes the panel for it, reads and shows every setting and
/// says in the title, for a while, that the link is back; true then.  false,
/// without a message, when nothing answers (or nothing was lost).
bool Mpnl_RestoreLink();

/// True while the lost camera is being looked for.
bool Mpnl_LookingForCamera();

/// Puts the link's state into the main panel's title (lost and where it is
/// looked for, lately restored, or nothing more with a working link) and its
/// status line: the port and its device, connected or lost, and the model
/// with the versions that Mpnl_ReadIdentity read.
void Mpnl_ShowLinkState();

/// Asks the camera for its firmware and FPGA versions for the status line
/// (after a camera was found on a port, or found again).
void Mpnl_ReadIdentity();

/// Callback of the Refresh button: Mpnl_Refresh, once the camera is free.
int Mpnl_RefreshButtonCallback(int panel, int control, int event, void* callbackData, int eventData1,
                               int eventData2);

/// Appends one line of link traffic to the monitor MAIN_RS232 of g_mainpanel
/// (the link's traffic hook, factory mode only), as Mpnl_TrafficLine makes
/// it.  Keeps the newest kTrafficMonitorLines lines; after a received line
/// the newest is scrolled into view.  While paused, lines are only counted.
void Mpnl_ShowTraffic(const char* text, int received);

/// A monitor line as kept: the date and time to the millisecond, "<" for
/// received or ">" for sent, and the text without its line end, a byte beyond
/// printable ASCII as its hex code: "2026-12-08 14:02:07.315  < <07>:o".  The
/// monitor shows it from the time on.
std::string Mpnl_TrafficLine(const char* text, int received);

/// The monitor's Pause (on: lines are counted, not shown; off: their number
/// is shown), Clear, Save (every kept line, dated, under a line with the time
/// of the save, to a text file chosen by the operator), the filter (only the
/// lines containing its text, in any case, are shown) and the command line
/// (its text and a CR sent to the camera once the link is free).
int Mpnl_MonitorCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

/// Callback of the twelve lens buttons: pressed, the axis is driven at the
/// button's share of its maximum voltage; released, it is stopped (0 V).  A
/// stop finding the link busy goes out at the next gap between transactions.
int Mpnl_ZFICallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

/// Gives each lens button a tooltip with its axis (the caption shown above
/// it), its direction and its step, coarse or fine.  After a caption changed.
void Mpnl_ShowLensTooltips();

/// Makes the main panel's callbacks known to the user-interface services and
/// connects the link's traffic report to the panel in g_mainpanel.
void Mpnl_RegisterCallbacks();
