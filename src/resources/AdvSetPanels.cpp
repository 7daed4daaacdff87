// The two Advanced Settings panels: ADVSET for function classes 0 to 2 and
// ADVSET_C for the 47x family (classes 3 to 7).
#include "resources/UlvoIccdParts.h"

namespace ulvo {

namespace {

using namespace uires;

Ctrl flatFrame(int id, std::string name = {})
{
    Ctrl f = Frame(id, std::move(name));
    f.flat = true;
    return f;
}

Ctrl buttonRow(int id, std::string name = {})
{
    Ctrl row = ButtonRow(id);
    row.name = std::move(name);
    return row;
}

Ctrl identity(int id, std::string name, std::string label)
{
    return String(id, std::move(name), std::move(label)).display().minWidth(130);
}

// The nine lens parameters, a row per axis: maximum voltage, coarse and fine step.
void addLens(std::vector<Ctrl>& c, const int (&ids)[9], const char* const (&names)[9], const char* callback,
             int frame)
{
    const char* axes[] = {"Zoom", "Focus", "Iris"};
    for (int axis = 0; axis < 3; ++axis) {
        const std::string a = axes[axis];
        c.push_back(Numeric(ids[3 * axis], names[3 * axis], a + " Max Voltage", Type::Float)
                        .range(9.0, 0.0, 9.0, 1.0)
                        .prec(1)
                        .unit("V")
                        .cb(callback)
                        .at(frame, axis, 0));
        c.push_back(Numeric(ids[3 * axis + 1], names[3 * axis + 1], a + " Coarse Step (%)", Type::Float)
                        .range(10.0, 0.0, 100.0, 1.0)
                        .prec(1)
                        .cb(callback)
                        .at(frame, axis, 1));
        c.push_back(Numeric(ids[3 * axis + 2], names[3 * axis + 2], a + " Fine Step (%)", Type::Float)
                        .range(1.0, 0.0, 100.0, 1.0)
                        .prec(1)
                        .cb(callback)
                        .at(frame, axis, 2));
    }
}

}  // namespace

Panel AdvSetPanel()
{
    Panel p;
    p.id = ADVSET;
    p.name = "ADVSET";
    p.title = "Advanced Settings";
    p.callback = "AdvSetPnl_PnlCallback";
    p.closeCtrl = ADVSET_OKBUTTON;  // Escape closes it, as every pop-up
    auto& c = p.ctrls;
    const char* cb = "AdvSetPnl_ValCallback";

    c.push_back(Frame(UI_ID(ADVSET_DECORATION), "Camera").at(0, 0, 0));
    c.push_back(identity(UI_ID(ADVSET_MODEL), "Camera Model").at(ADVSET_DECORATION, 0, 0));
    c.push_back(identity(UI_ID(ADVSET_FW_VER), "Firmware Ver.").at(ADVSET_DECORATION, 1, 0));
    c.push_back(identity(UI_ID(ADVSET_FPGA_VER), "FPGA Ver.").at(ADVSET_DECORATION, 2, 0));
    c.push_back(identity(UI_ID(ADVSET_HOSTVER), "Host Control Ver.").at(ADVSET_DECORATION, 3, 0));

    c.push_back(Frame(UI_ID(ADVSET_DECORATION_11), "Video").at(0, 0, 1));
    c.push_back(Numeric(UI_ID(ADVSET_VPD), "Video Pedestal (mV)", Type::Double)
                    .range(0.0, Settings_LaidOut("VPD"), 1.0)
                    .prec(0)
                    .cb(cb)
                    .at(ADVSET_DECORATION_11, 0, 0));
    c.push_back(Numeric(UI_ID(ADVSET_VWC), "Video White Clip (mV)", Type::Double)
                    .range(300.0, Settings_LaidOut("VWC"), 10.0)
                    .prec(0)
                    .cb(cb)
                    .at(ADVSET_DECORATION_11, 1, 0));

    c.push_back(Frame(UI_ID(ADVSET_DECORATION_12)).at(0, 1, 0, 1, 2));
    c.push_back(TextMsg(UI_ID(ADVSET_TEXTMSG), "Lens Control").caption(ADVSET_DECORATION_12));
    addLens(c,
            {ADVSET_Z_MAXV, ADVSET_Z_COARSE, ADVSET_Z_FINE, ADVSET_F_MAXV, ADVSET_F_COARSE, ADVSET_F_FINE,
             ADVSET_I_MAXV, ADVSET_I_COARSE, ADVSET_I_FINE},
            {"ADVSET_Z_MAXV", "ADVSET_Z_COARSE", "ADVSET_Z_FINE", "ADVSET_F_MAXV", "ADVSET_F_COARSE",
             "ADVSET_F_FINE", "ADVSET_I_MAXV", "ADVSET_I_COARSE", "ADVSET_I_FINE"},
            cb, ADVSET_DECORATION_12);

    // Image intensifier: the operator's controls, and beside them the factory's.
    c.push_back(Frame(UI_ID(ADVSET_MCPBOX)).at(0, 2, 0, 1, 2));
    c.push_back(TextMsg(UI_ID(ADVSET_MCPTEXT), "Image Intensifier (MCP)").caption(ADVSET_MCPBOX));
    c.push_back(Ring(UI_ID(ADVSET_MMD), "Mode", ManualAutomatic()).at(ADVSET_MCPBOX, 0, 0));
    c.push_back(Ring(UI_ID(ADVSET_MDG), "Gate", DisabledEnabled()).at(ADVSET_MCPBOX, 1, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MGA), "Manual Gate", Type::Double)
                    .range(1.0, 0.065, 17.0, 0.1)
                    .prec(3)
                    .at(ADVSET_MCPBOX, 2, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MLV), "Level").range(200, 200, 800, 1).at(ADVSET_MCPBOX, 3, 0));
    c.push_back(Frame(UI_ID(ADVSET_MCPBOX2), "Factory Settings").at(ADVSET_MCPBOX, 0, 1, 5, 1));
    const int box2 = ADVSET_MCPBOX2;
    c.push_back(Numeric(UI_ID(ADVSET_MGN), "Manual Gain", Type::Double)
                    .range(2.5, 2.5, 5.0, 0.1)
                    .prec(2)
                    .at(box2, 0, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MMG), "MCP Min Gain (volts)", Type::Double)
                    .range(2.5, 2.5, 5.0, 0.1)
                    .prec(2)
                    .at(box2, 1, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MXG), "MCP Max Gain (volts)", Type::Double)
                    .range(2.5, 2.5, 5.0, 0.1)
                    .prec(2)
                    .at(box2, 2, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MBI), "MCP Bias*").range(20, 0, 255, 1).at(box2, 3, 0));
    c.push_back(Numeric(UI_ID(ADVSET_MCT), "MCP Manual\nMode Count").range(0, 0, 255, 1).at(box2, 4, 0));
    c.push_back(Button(UI_ID(ADVSET_BRTBTN), "Get Brightness").placed(Place::LabelColumn).at(box2, 5, 0));
    c.push_back(Numeric(UI_ID(ADVSET_BRT), "")
                    .range(20, 0, 4095, 1)
                    .display()
                    .labelPos(LabelAt::None)
                    .placed(Place::ValueColumn)
                    .at(box2, 5, 0));

    c.push_back(buttonRow(UI_ID(ADVSET_DECORATION_13)).at(0, 3, 0, 1, 2));
    c.push_back(
        Button(UI_ID(ADVSET_OKBUTTON), "__OK").cb("AdvSetPnl_OKCallback").at(ADVSET_DECORATION_13, 0, 0));
    return p;
}

Panel AdvSetColourPanel()
{
    Panel p;
    p.id = ADVSET_C;
    p.name = "ADVSET_C";
    p.title = "Advanced Settings";
    p.callback = "AdvSetPnl_PnlCallback";
    p.closeCtrl = ADVSET_C_OKBUTTON;
    auto& c = p.ctrls;
    const char* cb = "AdvSetCPnl_ValCallback";
    constexpr int kLeft = -1, kMiddle = -2, kRight = -3, kButtons = -4;

    c.push_back(flatFrame(kLeft).at(0, 0, 0));
    c.push_back(flatFrame(kMiddle).at(0, 0, 1));
    c.push_back(flatFrame(kRight).at(0, 0, 2));

    // Identification.
    const int id = ADVSET_C_DECORATION_13;
    c.push_back(Frame(UI_ID(ADVSET_C_DECORATION_13), "Camera").at(kLeft, 0, 0));
    c.push_back(identity(UI_ID(ADVSET_C_MODEL), "Camera Model").at(id, 0, 0));
    c.push_back(identity(UI_ID(ADVSET_C_FW_VER), "Firmware Ver.").at(id, 1, 0));
    c.push_back(identity(UI_ID(ADVSET_C_FPGA_VER), "FPGA Ver.").at(id, 2, 0));
    c.push_back(identity(UI_ID(ADVSET_C_HOSTVER), "Host Control Ver.").at(id, 3, 0));
    c.push_back(
        Ring(UI_ID(ADVSET_C_HWREV), "Hardware Rev", {{"Legacy", 0}, {"Current", 1}}).hidden().at(id, 4, 0));
    c.push_back(String(UI_ID(ADVSET_C_CUSTID), "Customer ID").maxLen(16).printableOnly().cb(cb).at(id, 5, 0));
    c.push_back(String(UI_ID(ADVSET_C_FACTID), "Unit ID:").maxLen(6).printableOnly().cb(cb).at(id, 6, 0));
    c.push_back(String(UI_ID(ADVSET_C_DATEID), "Date Code:").maxLen(8).printableOnly().cb(cb).at(id, 7, 0));
    c.push_back(String(UI_ID(ADVSET_C_REVID), "Unit Rev:").maxLen(2).printableOnly().cb(cb).at(id, 8, 0));

    c.push_back(Frame(UI_ID(ADVSET_C_DECORATION_12), "Exposure").at(kLeft, 1, 0));
    c.push_back(
        CheckBox(UI_ID(ADVSET_C_ESHUTTER), "Electronic Shutter").cb(cb).at(ADVSET_C_DECORATION_12, 0, 0));
    c.push_back(
        CheckBox(UI_ID(ADVSET_C_HIGHSEN), "High Sensitivity Mode").cb(cb).at(ADVSET_C_DECORATION_12, 1, 0));

    c.push_back(Frame(UI_ID(ADVSET_C_VIDEOBOX), "Video").at(kLeft, 2, 0));
    c.push_back(
        Ring(UI_ID(ADVSET_C_VPS), "Video Pedestal Feature", OffOn()).cb(cb).at(ADVSET_C_VIDEOBOX, 0, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_VPD), "Video Pedestal", Type::Double)
                    .range(0.0, Settings_LaidOut("VPD", kPanel47x), 1.0)
                    .prec(0)
                    .unit("mV")
                    .cb(cb)
                    .at(ADVSET_C_VIDEOBOX, 1, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_VWC), "Video White Clip", Type::Double)
                    .range(0.0, Settings_LaidOut("VWC", kPanel47x), 10.0)
                    .prec(0)
                    .unit("mV")
                    .cb(cb)
                    .at(ADVSET_C_VIDEOBOX, 2, 0));

    // Automatic level control and its measuring window.
    const int alc = ADVSET_C_ALCBOX;
    c.push_back(Frame(UI_ID(ADVSET_C_ALCBOX)).at(kMiddle, 0, 0));
    c.push_back(TextMsg(UI_ID(ADVSET_C_ALCTXT), "ALC Settings").caption(alc));
    c.push_back(Ring(UI_ID(ADVSET_C_ALCMODE), "Mode", {{"Average", 0}, {"Log Average", 1}, {"Peak", 2}})
                    .cb(cb)
                    .at(alc, 0, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_BRIGHT_SPD), "Bright Speed")
                    .range(1, Settings_LaidOut("BTS"), 1)
                    .cb(cb)
                    .at(alc, 1, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_DARK_SPD), "Dark Speed")
                    .range(1, Settings_LaidOut("DKS"), 1)
                    .cb(cb)
                    .at(alc, 2, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_LOGAVG_WT), "Log Avg Wt")
                    .range(1, Settings_LaidOut("LAW"), 1)
                    .cb(cb)
                    .at(alc, 3, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_IMPULSE_FLT), "Impulse Filter")
                    .range(1, Settings_LaidOut("IFC"), 1)
                    .cb(cb)
                    .at(alc, 4, 0));
    c.push_back(Ring(UI_ID(ADVSET_C_WINDISP), "Window Display", OffOn()).cb(cb).at(alc, 5, 0));
    const int win = ADVSET_C_ALC_DEC;
    c.push_back(Frame(UI_ID(ADVSET_C_ALC_DEC)).at(alc, 6, 0));
    c.push_back(TextMsg(UI_ID(ADVSET_C_ALCWINTEXT), "ALC Window").caption(win));
    c.push_back(TextMsg(UI_ID(ADVSET_C_ULTEXT), "Upper Left").placed(Place::LabelColumn).at(win, 0, 0));
    c.push_back(
        Numeric(UI_ID(ADVSET_C_WIN_ULX), "X").range(1, Settings_LaidOut("ULX"), 1).cb(cb).at(win, 0, 1));
    c.push_back(
        Numeric(UI_ID(ADVSET_C_WIN_ULY), "Y").range(1, Settings_LaidOut("ULY"), 1).cb(cb).at(win, 0, 2));
    c.push_back(TextMsg(UI_ID(ADVSET_C_LRTEXT), "Lower Right").placed(Place::LabelColumn).at(win, 1, 0));
    c.push_back(
        Numeric(UI_ID(ADVSET_C_WIN_LRX), "X").range(768, Settings_LaidOut("LRX"), 1).cb(cb).at(win, 1, 1));
    c.push_back(
        Numeric(UI_ID(ADVSET_C_WIN_LRY), "Y").range(492, Settings_LaidOut("LRY"), 1).cb(cb).at(win, 1, 2));

    // Colour correction, blemishes and column defects.
    const int cc = ADVSET_C_COLCORR_BOX;
    c.push_back(Frame(UI_ID(ADVSET_C_COLCORR_BOX)).at(kRight, 0, 0));
    c.push_back(TextMsg(UI_ID(ADVSET_C_COLCORR_TEXT), "Color Correction\nCoefficients").caption(cc));
    const int coefficient[] = {ADVSET_C_R1, ADVSET_C_G1, ADVSET_C_B1, ADVSET_C_R2, ADVSET_C_G2,
                               ADVSET_C_B2, ADVSET_C_R3, ADVSET_C_G3, ADVSET_C_B3};
    const char* coefficientNames[] = {"ADVSET_C_R1", "ADVSET_C_G1", "ADVSET_C_B1",
                                      "ADVSET_C_R2", "ADVSET_C_G2", "ADVSET_C_B2",
                                      "ADVSET_C_R3", "ADVSET_C_G3", "ADVSET_C_B3"};
    const char* coefficientSettings[] = {"KR1", "KG1", "KB1", "KR2", "KG2", "KB2", "KR3", "KG3", "KB3"};
    // A 3 x 3 grid: the colours over the columns, the rows numbered beside them.
    const char* colours[] = {"Red", "Green", "Blue"};
    constexpr int kColumnCaption = -10, kRowCaption = -20;
    for (int col = 0; col < 3; ++col)
        c.push_back(TextMsg(kColumnCaption - col, "", colours[col])
                        .placed(Place::ValueColumn)
                        .aligned(Align::Center)
                        .at(cc, 0, col + 1));
    for (int row = 0; row < 3; ++row)
        c.push_back(TextMsg(kRowCaption - row, "", "Row " + std::to_string(row + 1))
                        .placed(Place::LabelColumn)
                        .at(cc, row + 1, 0));
    for (int i = 0; i < 9; ++i)
        c.push_back(Numeric(coefficient[i], coefficientNames[i], colours[i % 3], Type::Double)
                        .range(1.0, Settings_LaidOut(coefficientSettings[i]), 0.1)
                        .prec(3)
                        .labelPos(LabelAt::None)
                        .cb(cb)
                        .at(cc, i / 3 + 1, i % 3 + 1));

    const int blemish = ADVSET_C_BLEMISHBOX;
    c.push_back(Frame(UI_ID(ADVSET_C_BLEMISHBOX), "Blemish Compensation").at(kRight, 1, 0));
    c.push_back(Numeric(UI_ID(ADVSET_C_BTH), "Blemish Threshold (%)", Type::Double)
                    .range(50.0, Settings_LaidOut("BTH"), 1.0)
                    .prec(1)
                    .cb(cb)
                    .at(blemish, 0, 0));
    c.push_back(
        Numeric(UI_ID(ADVSET_C_BCT), "Blemish Count").range(0, 0, 65535, 1).display().at(blemish, 1, 0));
    c.push_back(Button(UI_ID(ADVSET_C_LOCATEDEFECTS), "Locate __Blemishes")
                    .cb(cb)
                    .tip("Let the camera find the blemishes and count them")
                    .at(blemish, 2, 0));

    const int columns = ADVSET_C_COLDEFECTFRAME;
    c.push_back(Frame(UI_ID(ADVSET_C_COLDEFECTFRAME)).at(kRight, 2, 0));
    c.push_back(TextMsg(UI_ID(ADVSET_C_CDTXT), "Column Defects").caption(columns));
    const int address[] = {ADVSET_C_CD_ADDR1, ADVSET_C_CD_ADDR2, ADVSET_C_CD_ADDR3, ADVSET_C_CD_ADDR4};
    const char* addressNames[] = {"ADVSET_C_CD_ADDR1", "ADVSET_C_CD_ADDR2", "ADVSET_C_CD_ADDR3",
                                  "ADVSET_C_CD_ADDR4"};
    for (int i = 0; i < 4; ++i)
        c.push_back(Numeric(address[i], addressNames[i], "Address " + std::to_string(i + 1))
                        .range(1023, Settings_LaidOut(("CD" + std::to_string(i + 1)).c_str()), 1)
                        .cb(cb)
                        .at(columns, i % 2, i / 2));
    c.push_back(Ring(UI_ID(ADVSET_C_CDI), "Indicator", OffOn()).cb(cb).at(columns, 2, 0));

    c.push_back(Frame(UI_ID(ADVSET_C_DECORATION_11), "Lens Control").at(0, 1, 0, 1, 3));
    addLens(
        c,
        {ADVSET_C_Z_MAXV, ADVSET_C_Z_COARSE, ADVSET_C_Z_FINE, ADVSET_C_F_MAXV, ADVSET_C_F_COARSE,
         ADVSET_C_F_FINE, ADVSET_C_I_MAXV, ADVSET_C_I_COARSE, ADVSET_C_I_FINE},
        {"ADVSET_C_Z_MAXV", "ADVSET_C_Z_COARSE", "ADVSET_C_Z_FINE", "ADVSET_C_F_MAXV", "ADVSET_C_F_COARSE",
         "ADVSET_C_F_FINE", "ADVSET_C_I_MAXV", "ADVSET_C_I_COARSE", "ADVSET_C_I_FINE"},
        cb, ADVSET_C_DECORATION_11);

    c.push_back(buttonRow(kButtons).at(0, 2, 0, 1, 3));
    c.push_back(Button(UI_ID(ADVSET_C_OKBUTTON), "__OK").cb("AdvSetPnl_OKCallback").at(kButtons, 0, 0));
    return p;
}

}  // namespace ulvo
