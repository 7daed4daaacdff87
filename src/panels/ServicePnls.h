// The pop-ups opened from the menu besides Advanced Settings: the split-screen
// overlay, colour processing, and the factory's AFE and FPGA register access.
// Each is loaded afresh when its item is chosen (once the camera is free),
// filled from the camera and shown as a modal pop-up; every committed change
// goes to the camera at once.
//
// A fill shows only what the camera answered: a control whose query failed
// keeps what it showed, and one "ERROR" pop-up gives the first failure's
// status text.  The fills return that status (0 when all was read).
#pragma once

extern int g_split_panel;  ///< handle of the open SPLITSCRN panel
extern int g_cproc_panel;  ///< handle of the open CPROC panel
extern int g_afe_panel;    ///< handle of the open AFEACC panel
extern int g_fpga_panel;   ///< handle of the open FTEST panel

// File, Split Screen: shown, then filled.
int SplitScrnPnl_Display();
// Color Processing (colour cameras): filled, then shown.
int CProcPnl_Display();
// File, AFE Access (factory mode): shown, then filled.
int AfePnl_Display();
// File, FPGA Access (factory mode): filled, then shown.
int FTestDisplay();
/// Shows the low 16 bits of value on the read lamps (which 0) or on the write
/// switches (any other which).
void FTest_ShowBin(int value, int which);

/// Each panel's bindings and opening (ServicePnl_RegisterCallbacks calls them).
void SplitScrnPnl_Register();
void CProcPnl_Register();
void AfePnl_Register();
void FTestPnl_Register();

/// Makes the four menu commands and their panels' callbacks known by the names
/// the resources give them: one menu command opens each pop-up, one value
/// callback serves every bound control (on the FPGA panel also the bit
/// switches and "Write to FPGA"), and OK closes it.
void ServicePnl_RegisterCallbacks();
