// Program-wide state shared by the panels and the application frame: the main
// window's handles and the operator's preferences (read from "ICCD.ini" at
// start-up, written back at exit).
#pragma once

extern int g_mainpanel;      ///< handle of the main panel (resource panel MAIN)
extern int g_mainmnuhandle;  ///< handle of its menu bar (MAINMNU)

// Preferences besides the port and baud rate (those live with the link).
extern int g_set_no;       ///< user set the load and save dialogs preselect
extern float g_zoom_maxv;  ///< lens drives: maximum voltage, coarse and fine steps
extern float g_zoom_coarse;
extern float g_zoom_fine;
extern float g_focus_maxv;
extern float g_focus_coarse;
extern float g_focus_fine;
extern float g_iris_maxv;
extern float g_iris_coarse;
extern float g_iris_fine;

/// Longest lens caption, in characters.
inline constexpr int kLabelMax = 23;
extern char g_label1[kLabelMax + 1];  ///< caption of the zoom group
extern char g_label2[kLabelMax + 1];  ///< caption of the focus group
extern char g_label3[kLabelMax + 1];  ///< caption of the iris group
