// The Advanced Settings pop-up: identification of camera and program, the
// lens drive parameters, and the camera's less-used settings.  ADVSET serves
// the basic and AGC cameras, ADVSET_C the 47x family.  Every change goes to the
// camera at once; there is no apply step.
#pragma once

#include "camera/CamTypes.h"

struct SnapshotStats;

/// Handle of the open Advanced Settings panel (0 when none was loaded).
extern int g_advset_panel;

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

/// Makes the menu command and the panels' callbacks known by name.  Menu
/// "Advanced Settings" then, once the link is free, loads the panel of the
/// camera's class into g_advset_panel, shapes it, fills it from the camera and
/// shows it as a modal pop-up; OK or the close box closes it.
void AdvSetPnl_RegisterCallbacks();
