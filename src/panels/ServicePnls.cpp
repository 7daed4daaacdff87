#include "panels/ServicePnls.h"

#include "panels/Bindings.h"
#include "panels/PanelCommit.h"
#include "ui/Ui.h"

void ServicePnl_RegisterCallbacks()
{
    SplitScrnPnl_Register();
    CProcPnl_Register();
    AfePnl_Register();
    FTestPnl_Register();
    for (const char* name :
         {"MMnu_FileSplitCallback", "MMnu_CProcCallback", "MMnu_AFECallback", "MMnu_FPGACallback"})
        RegisterUiCallback(name, CameraPopupMenuCallback);
    for (const char* name : {"SplitScrnPnl_ValCallback", "CProcPnl_ValCallback", "AfePnl_ValCallback",
                             "FTestPnl_ValCallback", "FTestPnl_BitCallback", "FTestPnl_WriteCallback"})
        RegisterUiCallback(name, panelbind::BoundValueCallback);
    // The split-screen panel's OK names the AFE panel's callback.
    for (const char* name : {"AfePnl_OKCallback", "CProcPnl_OKCallback", "FTestPnl_OKCallback"})
        RegisterUiCallback(name, CameraPopupCloseCallback);
}
