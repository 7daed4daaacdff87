#include "panels/PanelGlobals.h"

int g_mainpanel = 0;
int g_mainmnuhandle = 0;

int g_set_no = 1;
float g_zoom_maxv = 9.0f;
float g_zoom_coarse = 10.0f;
float g_zoom_fine = 1.0f;
float g_focus_maxv = 9.0f;
float g_focus_coarse = 10.0f;
float g_focus_fine = 1.0f;
float g_iris_maxv = 9.0f;
float g_iris_coarse = 10.0f;
float g_iris_fine = 1.0f;

char g_label1[kLabelMax + 1] = "Zoom Control";
char g_label2[kLabelMax + 1] = "Focus Control";
char g_label3[kLabelMax + 1] = "Iris Control";
