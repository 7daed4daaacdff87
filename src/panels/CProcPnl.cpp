// Colour processing of the colour cameras: Cb and Cr saturation, sharpening,
// and on current hardware the Cb and Cr hue.
#include <utility>

#include "camera/CamTypes.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "panels/Bindings.h"
#include "panels/PanelCommit.h"
#include "panels/PanelShorthands.h"
#include "panels/ServicePnls.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

int g_cproc_panel = 0;

namespace {

using panelbind::Binding;
using panelbind::Kind;

// The two saturations share one camera register; Comm_SetCSAT reads it first,
// so the other one stays as the camera holds it.  The panel shows the step
// the camera took.
int commitSaturation(int panel, const panelbind::Committed& v)
{
    const float factor = static_cast<float>(v.d);
    const int status = Comm_SetCSAT(factor, v.control == CPROC_BYSAT ? 0 : 1);
    if (status == COMM_OK)
        SetCtrlVal(panel, v.control,
                   static_cast<double>(Comm_SaturationFromByte(Comm_SaturationToByte(factor))));
    SettleCommitted(panel, v.control, status);
    return status;
}

// Where the camera rounds, the panel shows the step it took.
const Binding kColourProcessing[] = {
    Binding{.control = CPROC_BYSAT, .kind = Kind::Real, .commit = commitSaturation},
    Binding{.control = CPROC_RYSAT, .kind = Kind::Real, .commit = commitSaturation},
    Binding{.control = CPROC_SHA, .kind = Kind::Int, .setInt = Comm_SetSHA},
    Binding{.control = CPROC_SHG, .kind = Kind::Real, .setReal = Comm_SetSHG, .rule = CommRule::Factor1To2},
    Binding{.control = CPROC_SEN, .kind = Kind::Int, .setInt = Comm_SetSEN},
    Binding{.control = CPROC_CBHUE, .kind = Kind::Real, .setReal = Comm_SetCBH, .rule = CommRule::Hue},
    Binding{.control = CPROC_CRHUE, .kind = Kind::Real, .setReal = Comm_SetCRH, .rule = CommRule::Hue},
};

constexpr int kHueGroup[] = {CPROC_CHUE_LBL, CPROC_CBHUE, CPROC_CRHUE};

}  // namespace

int CProcPnl_Display()
{
    const int panel = g_cproc_panel;
    PanelFill fill(panel);
    for (const auto& [control, which] : {std::pair{CPROC_BYSAT, 0}, std::pair{CPROC_RYSAT, 1}}) {
        float factor = 1.0f;
        const int status = Comm_GetCSAT(&factor, which);
        fill.showAnswer(control, status, static_cast<double>(factor));
    }
    fill.read(CPROC_SHA, Comm_GetSHA);
    fill.read(CPROC_SHG, Comm_GetSHG);
    fill.read(CPROC_SEN, Comm_GetSEN);

    // Only the current hardware has a hue to set.
    const bool legacy = g_hardware_rev == 0;
    for (int c : kHueGroup) panelctl::Dim(panel, c, legacy);
    if (!legacy) {
        fill.read(CPROC_CBHUE, Comm_GetCBH);
        fill.read(CPROC_CRHUE, Comm_GetCRH);
    }
    fill.report();
    return fill.firstFailure();
}

void CProcPnl_Register()
{
    panelbind::RegisterBindings(CPROC, kColourProcessing);
    RegisterCameraPopup(MAINMNU_COLORPROC, {CPROC, &g_cproc_panel, true, true, CProcPnl_Display});
}
