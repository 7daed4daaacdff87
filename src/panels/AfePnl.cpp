// The analogue front end, for service: sampling and data-output phases, the
// reset pulse's edges, and a write to any AFE register.
#include "camera/CamTypes.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "panels/Bindings.h"
#include "panels/PanelCommit.h"
#include "panels/PanelShorthands.h"
#include "panels/ServicePnls.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

int g_afe_panel = 0;

namespace {

using panelbind::Binding;
using panelbind::Committed;
using panelbind::Kind;
using panelctl::IntValue;

// Committing the data writes it to the register at the address shown, each
// time, even the same data again.  The address alone sends nothing.
void gatherAddress(int panel, Committed& v)
{
    v.more[0] = IntValue(panel, AFEACC_AFA);
}

int writeRegister(int, const Committed& v)
{
    return Comm_Write_AFE(v.more[0], v.i);
}

// Both reset edges live in one register, a byte each (the positive edge the
// high one), so they travel together and neither may pass its byte.
constexpr int kEdgeMost = 255;

void gatherEdges(int panel, Committed& v)
{
    v.more[0] = IntValue(panel, AFEACC_RSTPOS);
    v.more[1] = IntValue(panel, AFEACC_RSTNEG);
}

// The panel then shows both edges as the camera holds them.
int commitEdges(int panel, const Committed& v)
{
    const int status = Comm_SetRSE(v.more[0], v.more[1]);
    int positive = 0, negative = 0;
    if (Comm_GetRSE(&positive, &negative) == COMM_OK) {
        ShowCameraValue(panel, AFEACC_RSTPOS, positive);
        ShowCameraValue(panel, AFEACC_RSTNEG, negative);
    } else {
        for (int c : {AFEACC_RSTPOS, AFEACC_RSTNEG}) SettleCommitted(panel, c, status);
    }
    return status;
}

const Binding kAfe[] = {
    Binding{.control = AFEACC_AFW, .kind = Kind::Int, .gather = gatherAddress, .commit = writeRegister},
    Binding{.control = AFEACC_SHP, .kind = Kind::Int, .setInt = Comm_SetSHP},
    Binding{.control = AFEACC_SHD, .kind = Kind::Int, .setInt = Comm_SetSHD},
    Binding{.control = AFEACC_DOU, .kind = Kind::Int, .setInt = Comm_SetDOU},
    Binding{.control = AFEACC_RSTPOS, .kind = Kind::Int, .gather = gatherEdges, .commit = commitEdges},
    Binding{.control = AFEACC_RSTNEG, .kind = Kind::Int, .gather = gatherEdges, .commit = commitEdges},
};

}  // namespace

int AfePnl_Display()
{
    const int panel = g_afe_panel;
    // The layout offers the negative edge more than its byte holds.
    SetCtrlAttribute(panel, AFEACC_RSTNEG, ATTR_MAX_VALUE, kEdgeMost);
    PanelFill fill(panel);
    fill.read(AFEACC_AFA, Comm_GetAFA);
    fill.read(AFEACC_SHP, Comm_GetSHP);
    fill.read(AFEACC_SHD, Comm_GetSHD);
    fill.read(AFEACC_DOU, Comm_GetDOU);
    int positive = 0, negative = 0;
    const int edges = Comm_GetRSE(&positive, &negative);
    fill.showAnswer(AFEACC_RSTPOS, edges, positive);
    fill.showAnswer(AFEACC_RSTNEG, edges, negative);
    fill.report();
    return fill.firstFailure();
}

void AfePnl_Register()
{
    panelbind::RegisterBindings(AFEACC, kAfe);
    RegisterCameraPopup(MAINMNU_FILE_AFEACC, {AFEACC, &g_afe_panel, false, false, AfePnl_Display});
}
