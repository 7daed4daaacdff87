// FPGA registers, for service: one 16-bit register at a time through the
// camera's address and data registers, its bits on lamps and switches, four
// fixed registers and the FPGA's input source.
#include "camera/CamTypes.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "panels/Bindings.h"
#include "panels/ConfirmedValues.h"
#include "panels/PanelCommit.h"
#include "panels/PanelShorthands.h"
#include "panels/ServicePnls.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

int g_fpga_panel = 0;

namespace {

using panelbind::Binding;
using panelbind::Committed;
using panelbind::Kind;
using panelctl::IntValue;

// Bit number 0..15 to its control.
constexpr int kReadLamps[16] = {37, 38, 39, 40, 41, 42, 43, 44, 29, 30, 31, 32, 33, 34, 35, 36};
constexpr int kWriteSwitches[16] = {26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11};

// A value read from the register: in the numbers whole, on the lamps and
// switches its low 16 bits; it is also the new value to start from.
void showRead(int panel, int value)
{
    ShowCameraValue(panel, FTEST_FVALUE, value);
    FTest_ShowBin(value, 0);
    ShowCameraValue(panel, FTEST_NEWVALUE, value);
    FTest_ShowBin(value, 1);
}

// Reads the register the address register points at.
int readRegister(int panel)
{
    int value = 0;
    const int status = Comm_GetFPR(&value);
    if (status == COMM_OK) showRead(panel, value);
    return status;
}

// A new address: the register it points at is read.  An address the camera
// refuses changes nothing and says nothing; the address shown goes back.
int commitAddress(int panel, const Committed& v)
{
    const int status = Comm_SetFPA(v.i);
    SettleCommitted(panel, FTEST_FADDR, status);
    return status == COMM_OK ? readRegister(panel) : COMM_OK;
}

// The switches follow a typed new value; nothing is sent.
int showNewValue(int, const Committed& v)
{
    FTest_ShowBin(v.i, 1);
    return COMM_OK;
}

// A switch sets or clears its bit of the new value; nothing is sent.
int flipBit(int panel, const Committed& v)
{
    const int bit = FTEST_WR_BIT0 - v.control;
    int word = IntValue(panel, FTEST_NEWVALUE) & 0xFFFF;
    word = v.i ? word | (1 << bit) : word & ~(1 << bit);
    SetCtrlVal(panel, FTEST_NEWVALUE, word);
    return COMM_OK;
}

// A fixed register: its address, then the value.
int writeFixed(int value, int address)
{
    const int status = Comm_SetFPA(address);
    return status == COMM_OK ? Comm_SetFPR(value) : status;
}

void gatherWrite(int panel, Committed& v)
{
    v.more[0] = IntValue(panel, FTEST_FADDR);
    v.more[1] = IntValue(panel, FTEST_NEWVALUE);
}

// "Write to FPGA": the address, the value, and what the register holds then.
int writeNewValue(int panel, const Committed& v)
{
    int status = Comm_SetFPA(v.more[0]);
    if (status == COMM_OK) status = Comm_SetFPR(v.more[1]);
    if (status == COMM_OK) status = readRegister(panel);
    return status;
}

#define FIXED(CONTROL, ADDRESS)                                                         \
    Binding                                                                             \
    {                                                                                   \
        .control = CONTROL, .kind = Kind::Int, .setIntAt = writeFixed, .index = ADDRESS \
    }
#define SWITCH(BIT)                                                          \
    Binding                                                                  \
    {                                                                        \
        .control = FTEST_WR_BIT##BIT, .kind = Kind::Local, .commit = flipBit \
    }

const Binding kFpga[] = {
    Binding{.control = FTEST_FADDR, .kind = Kind::Int, .commit = commitAddress},
    Binding{.control = FTEST_NEWVALUE, .kind = Kind::Local, .commit = showNewValue},
    Binding{.control = FTEST_WRITEFPGA, .kind = Kind::Action, .gather = gatherWrite, .commit = writeNewValue},
    FIXED(FTEST_VAL2E, 0x2E),
    FIXED(FTEST_VAL2F, 0x2F),
    FIXED(FTEST_VAL30, 0x30),
    FIXED(FTEST_VAL31, 0x31),
    Binding{.control = FTEST_FMX, .kind = Kind::Int, .setInt = Comm_SetFMX},
    SWITCH(0),
    SWITCH(1),
    SWITCH(2),
    SWITCH(3),
    SWITCH(4),
    SWITCH(5),
    SWITCH(6),
    SWITCH(7),
    SWITCH(8),
    SWITCH(9),
    SWITCH(10),
    SWITCH(11),
    SWITCH(12),
    SWITCH(13),
    SWITCH(14),
    SWITCH(15),
};

}  // namespace

void FTest_ShowBin(int value, int which)
{
    const int* controls = which == 0 ? kReadLamps : kWriteSwitches;
    for (int bit = 0; bit < 16; ++bit) SetCtrlVal(g_fpga_panel, controls[bit], (value >> bit) & 1);
}

int FTestDisplay()
{
    const int panel = g_fpga_panel;
    PanelFill fill(panel);
    fill.read(FTEST_FADDR, Comm_GetFPA);
    int value = 0;
    if (fill.ok(Comm_GetFPR(&value))) showRead(panel, value);

    // Only the current hardware lets the input source be chosen.
    const bool legacy = g_hardware_rev == 0;
    panelctl::Dim(panel, FTEST_FMX, legacy);
    if (!legacy) {
        fill.read(FTEST_FMX, Comm_GetFMX);
    }
    // The camera's address register is left at the last of these.
    for (const auto& [control, fixed] : {std::pair{FTEST_VAL2E, 0x2E}, std::pair{FTEST_VAL2F, 0x2F},
                                         std::pair{FTEST_VAL30, 0x30}, std::pair{FTEST_VAL31, 0x31}}) {
        if (!fill.ok(Comm_SetFPA(fixed))) continue;
        fill.read(control, Comm_GetFPR);
    }
    fill.report();
    return fill.firstFailure();
}

void FTestPnl_Register()
{
    panelbind::RegisterBindings(FTEST, kFpga);
    RegisterCameraPopup(MAINMNU_FILE_FTEST, {FTEST, &g_fpga_panel, false, true, FTestDisplay});
}
