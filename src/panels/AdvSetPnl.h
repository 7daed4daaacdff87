// The Advanced Settings pop-up: identification of camera and program, the
// lens drive parameters, and the camera's less-used settings.  ADVSET serves
// the basic and AGC cameras, ADVSET_C the 47x family.  Every change goes to the
// camera at once; there is no apply step.
#pragma once

#include "camera/CamTypes.h"

struct SnapshotStats;

/// Handle of the open Advanced Settings panel (0 when none was loaded).
extern int g_advset_panel;

/// Version of this program, as the panel shows it.
inline constexpr char kHostVersion[] = "1.75";

/// Menu "Advanced Settings": once the link is free, loads the panel of the
/// camera's class into g_advset_panel, shapes it, fills it from the camera and
/// shows it as a modal pop-up.
void MMnu_AdvSetCallback(int menuBar, int menuItem, void* callbackData, int panel);

/// Shapes the panel in g_advset_panel for g_cam_model_idx, g_prog_type and
/// g_hardware_rev, and takes the ALC window limits from the camera (a failed
/// limit query keeps the laid-out limit).
void Advpnl_ConfigForModel();

/// Reads the advanced settings and shows them with AdvSetPnl_Display.  When a
/// query failed, says so once ("Failure querying camera for factory
/// settings.").  Returns 1 then, 0 when all was read or no port is open (then
/// nothing is done).
int AdvSetInit();

/// Shows the record, the versions and the lens parameters, and asks the camera
/// for the unit and customer IDs and the blemish access flag.  A field the pass
/// in stats did not read keeps what its control showed.  Returns the status of
/// the first of its own queries that failed, 0 when none did.
int AdvSetPnl_Display(CamAdvSettings* rec, const SnapshotStats* stats = nullptr);

/// Value callbacks of ADVSET and ADVSET_C.
int AdvSetPnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int AdvSetCPnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);

/// OK button and close box (a panel callback, control 0) of both panels: the
/// pop-up goes.
int AdvSetPnl_OKCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int AdvSetPnl_PnlCallback(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);

/// Makes the menu command and the panels' callbacks known by name.
void AdvSetPnl_RegisterCallbacks();
