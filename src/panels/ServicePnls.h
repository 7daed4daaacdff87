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
void MMnu_FileSplitCallback(int menuBar, int menuItem, void* callbackData, int panel);
int SplitScrnPnl_Display();
int SplitScrnPnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1,
                             int eventData2);
int SplitScrnPnl_OKCallback(int panel, int control, int event, void* callbackData, int eventData1,
                            int eventData2);

// Color Processing (colour cameras): filled, then shown.
void MMnu_CProcCallback(int menuBar, int menuItem, void* callbackData, int panel);
int CProcPnl_Display();
int CProcPnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CProcPnl_OKCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);

// File, AFE Access (factory mode): shown, then filled.
void MMnu_AFECallback(int menuBar, int menuItem, void* callbackData, int panel);
int AfePnl_Display();
int AfePnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
/// Also the OK button of the split-screen panel.
int AfePnl_OKCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// File, FPGA Access (factory mode): filled, then shown.
void MMnu_FPGACallback(int menuBar, int menuItem, void* callbackData, int panel);
int FTestDisplay();
/// Shows the low 16 bits of value on the read lamps (which 0) or on the write
/// switches (any other which).
void FTest_ShowBin(int value, int which);
int FTestPnl_ValCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
/// The bit switches: the new value takes the switch's bit; nothing is sent.
int FTestPnl_BitCallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
/// "Write to FPGA": the new value to the register address, then read back.
int FTestPnl_WriteCallback(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int FTestPnl_OKCallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);

/// Makes the four menu commands and their panels' callbacks known by name.
void ServicePnl_RegisterCallbacks();
