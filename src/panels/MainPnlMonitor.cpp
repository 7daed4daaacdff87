// The main panel's ties to the rest of the program: its callbacks by name, the
// serial traffic monitor of the factory screen.
#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"

using namespace mainpnl;

void Mpnl_ShowTraffic(const char* text, int received)
{
    const int panel = g_mainpanel;
    if (panel <= 0 || !text) return;
    if (InsertTextBoxLine(panel, MAIN_RS232, -1, text) != 0) return;
    // A long factory session must not grow the monitor without bound.
    int lines = 0;
    GetNumTextBoxLines(panel, MAIN_RS232, &lines);
    if (lines > kTrafficMonitorLines) {
        DeleteTextBoxLines(panel, MAIN_RS232, 0, lines - kTrafficMonitorLines);
        lines = kTrafficMonitorLines;
    }
    if (received && lines > 0) SetCtrlAttribute(panel, MAIN_RS232, ATTR_FIRST_VISIBLE_LINE, lines - 1);
}

void Mpnl_RegisterCallbacks()
{
    RegisterUiCallback("Mpnl_ValCallback", Mpnl_ValCallback);
    RegisterUiCallback("Mpnl_RefreshButtonCallback", Mpnl_RefreshButtonCallback);
    RegisterUiCallback("Mpnl_ZFICallback", Mpnl_ZFICallback);
    Comm_SetTrafficHook(Mpnl_ShowTraffic);
    Mpnl_WatchLink();
}
