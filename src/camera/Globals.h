// Program-wide state of the camera link and the identified model.
#pragma once

extern int g_com_port;            ///< port of the camera link, 1..32; 0 = no link
extern int g_com_baud;            ///< baud rate of the link
extern int g_prog_type;           ///< 0 normal mode, 1 factory mode
extern int g_cam_model_user_idx;  ///< model-table row the camera reported (or the user chose)
extern int g_cam_model_idx;       ///< function class: equivalent row 0..7 of g_cam_model_user_idx
extern int g_hardware_rev;        ///< 0 "Legacy", 1 "Current"; nothing changes it
