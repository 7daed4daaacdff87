#include "panels/ServicePnls.h"

#include "ui/Ui.h"

void ServicePnl_RegisterCallbacks()
{
    RegisterUiCallback("MMnu_FileSplitCallback", MMnu_FileSplitCallback);
    RegisterUiCallback("SplitScrnPnl_ValCallback", SplitScrnPnl_ValCallback);
    RegisterUiCallback("SplitScrnPnl_OKCallback", SplitScrnPnl_OKCallback);
    RegisterUiCallback("MMnu_CProcCallback", MMnu_CProcCallback);
    RegisterUiCallback("CProcPnl_ValCallback", CProcPnl_ValCallback);
    RegisterUiCallback("CProcPnl_OKCallback", CProcPnl_OKCallback);
    RegisterUiCallback("MMnu_AFECallback", MMnu_AFECallback);
    RegisterUiCallback("AfePnl_ValCallback", AfePnl_ValCallback);
    RegisterUiCallback("AfePnl_OKCallback", AfePnl_OKCallback);
    RegisterUiCallback("MMnu_FPGACallback", MMnu_FPGACallback);
    RegisterUiCallback("FTestPnl_ValCallback", FTestPnl_ValCallback);
    RegisterUiCallback("FTestPnl_BitCallback", FTestPnl_BitCallback);
    RegisterUiCallback("FTestPnl_WriteCallback", FTestPnl_WriteCallback);
    RegisterUiCallback("FTestPnl_OKCallback", FTestPnl_OKCallback);
}
