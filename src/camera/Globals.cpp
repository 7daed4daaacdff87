#include "camera/Globals.h"

int g_com_port = 1;
int g_com_baud = 9600;
int g_prog_type = 0;
int g_cam_model_user_idx = 0;
int g_cam_model_idx = 0;
int g_hardware_rev = 0;
