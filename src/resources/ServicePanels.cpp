// The secondary panels opened from the menu: colour processing, split screen,
// and the factory's AFE and FPGA register access.
#include "resources/UlvoIccdParts.h"

namespace ulvo {

namespace {

using namespace uires;

Ctrl okButton(int id, std::string name, const char* callback, int row)
{
    return Button(id, std::move(name), "__OK").cb(callback).at(row, 0, 0);
}

}  // namespace

Panel ColourProcessingPanel()
{
    Panel p;
    p.id = CPROC;
    p.name = "CPROC";
    p.title = "Color Processing";
    p.closeCtrl = CPROC_OKBUTTON;
    auto& c = p.ctrls;
    const char* cb = "CProcPnl_ValCallback";
    constexpr int kButtons = -1;

    const int sat = CPROC_DECORATION;
    c.push_back(Frame(UI_ID(CPROC_DECORATION)).at(0, 0, 0));
    c.push_back(TextMsg(UI_ID(CPROC_CSATTXT), "Color Saturation").caption(sat));
    c.push_back(
        TextMsg(UI_ID(CPROC_BYSAT_LAB), "CbSAT (x1.0 - x2.0)").placed(Place::LabelColumn).at(sat, 0, 0));
    c.push_back(Slide(UI_ID(CPROC_BYSAT), "", Type::Float)
                    .range(1.0, Settings_LaidOut("CBSAT"), 0.1)
                    .prec(2)
                    .placed(Place::ValueColumn)
                    .cb(cb)
                    .at(sat, 0, 0));
    c.push_back(
        TextMsg(UI_ID(CPROC_CYSAT_LAB), "CrSAT (x1.0 - x2.0)").placed(Place::LabelColumn).at(sat, 1, 0));
    c.push_back(Slide(UI_ID(CPROC_RYSAT), "", Type::Float)
                    .range(1.0, Settings_LaidOut("CRSAT"), 0.1)
                    .prec(2)
                    .placed(Place::ValueColumn)
                    .cb(cb)
                    .at(sat, 1, 0));

    const int sharp = CPROC_DECORATION_2;
    c.push_back(Frame(UI_ID(CPROC_DECORATION_2)).at(0, 1, 0));
    c.push_back(TextMsg(UI_ID(CPROC_SHPTXT), "Sharpening").caption(sharp));
    c.push_back(Ring(UI_ID(CPROC_SHA), "Sharpening", OffOn()).cb(cb).at(sharp, 0, 0));
    c.push_back(Slide(UI_ID(CPROC_SHG), "Gain (x1.0 - x2.0)", Type::Float)
                    .range(1.0, Settings_LaidOut("SHG"), 0.1)
                    .prec(2)
                    .cb(cb)
                    .at(sharp, 1, 0));
    c.push_back(
        Ring(UI_ID(CPROC_SEN), "Sharpening Mode", {{"Standard", 0}, {"Enhanced", 1}}).cb(cb).at(sharp, 2, 0));

    const int hue = CPROC_DECORATION_3;
    c.push_back(Frame(UI_ID(CPROC_DECORATION_3)).at(0, 2, 0));
    c.push_back(TextMsg(UI_ID(CPROC_CHUE_LBL), "Color Hue").caption(hue));
    c.push_back(Slide(UI_ID(CPROC_CBHUE), "CbHue\n(deg)", Type::Float)
                    .range(0.0, Settings_LaidOut("CBH"), 1.0)
                    .prec(1)
                    .cb(cb)
                    .at(hue, 0, 0));
    c.push_back(Slide(UI_ID(CPROC_CRHUE), "CrHue\n(deg)", Type::Float)
                    .range(0.0, Settings_LaidOut("CRH"), 1.0)
                    .prec(1)
                    .cb(cb)
                    .at(hue, 1, 0));

    c.push_back(ButtonRow(kButtons).at(0, 3, 0));
    c.push_back(okButton(UI_ID(CPROC_OKBUTTON), "CProcPnl_OKCallback", kButtons));
    return p;
}

Panel SplitScreenPanel()
{
    Panel p;
    p.id = SPLITSCRN;
    p.name = "SPLITSCRN";
    p.title = "Split Screen Control";
    p.closeCtrl = SPLITSCRN_OKBUTTON;
    auto& c = p.ctrls;
    const char* cb = "SplitScrnPnl_ValCallback";
    constexpr int kLine = -1, kButtons = -2;

    c.push_back(Frame(kLine, "").at(0, 0, 0, 1, 2));
    c.push_back(TextMsg(UI_ID(SPLITSCRN_L1), "Split Line").caption(kLine));
    c.push_back(Ring(UI_ID(SPLITSCRN_SSE), "Mode", OffOn()).cb(cb).at(kLine, 0, 0));
    c.push_back(Numeric(UI_ID(SPLITSCRN_SSP), "Split Screen Position")
                    .range(50, Settings_LaidOut("SSP"), 1)
                    .unit("%")
                    .cb(cb)
                    .at(kLine, 1, 0));
    c.push_back(Numeric(UI_ID(SPLITSCRN_SSA), "Split Screen Angle")
                    .range(0, Settings_LaidOut("SSA"), 1)
                    .unit("deg")
                    .cb(cb)
                    .at(kLine, 2, 0));

    // One group per half of the picture: colour, transparency, line thickness.
    const struct {
        int frame, caption, colourNote, overlayNote, swatch;
        const char *frameName, *captionName, *colourNoteName, *overlayNoteName, *swatchName, *text;
        int levels[3], transparency, thickness;
        const char *levelNames[3], *transparencyName, *thicknessName;
        const char *levelSettings[3], *transparencySetting, *thicknessSetting;
    } halves[] = {
        {SPLITSCRN_LFTPNL,
         SPLITSCRN_LFT_TXT,
         SPLITSCRN_L2,
         SPLITSCRN_L2_3,
         SPLITSCRN_LEFT_SWATCH,
         "SPLITSCRN_LFTPNL",
         "SPLITSCRN_LFT_TXT",
         "SPLITSCRN_L2",
         "SPLITSCRN_L2_3",
         "SPLITSCRN_LEFT_SWATCH",
         "Left",
         {SPLITSCRN_SLR, SPLITSCRN_SLG, SPLITSCRN_SLB},
         SPLITSCRN_SLT,
         SPLITSCRN_LLT,
         {"SPLITSCRN_SLR", "SPLITSCRN_SLG", "SPLITSCRN_SLB"},
         "SPLITSCRN_SLT",
         "SPLITSCRN_LLT",
         {"SLR", "SLG", "SLB"},
         "SLT",
         "LLT"},
        {SPLITSCRN_LFTPNL_2,
         SPLITSCRN_RIGHT_TXT,
         SPLITSCRN_L2_2,
         SPLITSCRN_L2_4,
         SPLITSCRN_RIGHT_SWATCH,
         "SPLITSCRN_LFTPNL_2",
         "SPLITSCRN_RIGHT_TXT",
         "SPLITSCRN_L2_2",
         "SPLITSCRN_L2_4",
         "SPLITSCRN_RIGHT_SWATCH",
         "Right",
         {SPLITSCRN_SRR, SPLITSCRN_SRG, SPLITSCRN_SRB},
         SPLITSCRN_SRT,
         SPLITSCRN_RLT,
         {"SPLITSCRN_SRR", "SPLITSCRN_SRG", "SPLITSCRN_SRB"},
         "SPLITSCRN_SRT",
         "SPLITSCRN_RLT",
         {"SRR", "SRG", "SRB"},
         "SRT",
         "RLT"},
    };
    const char* colours[] = {"Red", "Green", "Blue"};
    int col = 0;
    for (const auto& h : halves) {
        c.push_back(Frame(h.frame, h.frameName).at(0, 1, col++));
        c.push_back(TextMsg(h.caption, h.captionName, h.text).caption(h.frame));
        c.push_back(TextMsg(h.colourNote, h.colourNoteName, "Color level, 0 to 255:").at(h.frame, 0, 0));
        c.push_back(TextMsg(h.swatch, h.swatchName, "")
                        .minWidth(48)
                        .placed(Place::ValueColumn)
                        .tip("The color of this half, as its red, green and blue levels mix")
                        .at(h.frame, 1, 1, 3, 1));
        for (int i = 0; i < 3; ++i)
            c.push_back(Numeric(h.levels[i], h.levelNames[i], colours[i])
                            .range(0, Settings_LaidOut(h.levelSettings[i]), 1)
                            .cb(cb)
                            .at(h.frame, 1 + i, 0));
        c.push_back(TextMsg(h.overlayNote, h.overlayNoteName, "Overlay:").at(h.frame, 4, 0));
        c.push_back(Numeric(h.transparency, h.transparencyName, "Transparency")
                        .range(50, Settings_LaidOut(h.transparencySetting), 1)
                        .unit("%")
                        .cb(cb)
                        .at(h.frame, 5, 0));
        c.push_back(Numeric(h.thickness, h.thicknessName, "Line Thickness")
                        .range(10, Settings_LaidOut(h.thicknessSetting), 1)
                        .unit("%")
                        .cb(cb)
                        .at(h.frame, 6, 0));
    }

    c.push_back(ButtonRow(kButtons).at(0, 2, 0, 1, 2));
    // The OK button shares the AFE panel's callback, which behaves the same.
    c.push_back(okButton(UI_ID(SPLITSCRN_OKBUTTON), "AfePnl_OKCallback", kButtons));
    return p;
}

Panel AfePanel()
{
    Panel p;
    p.id = AFEACC;
    p.name = "AFEACC";
    p.title = "AFE Access";
    p.closeCtrl = AFEACC_OKBUTTON;
    auto& c = p.ctrls;
    const char* cb = "AfePnl_ValCallback";

    const int write = AFEACC_DECORATION;
    c.push_back(Frame(UI_ID(AFEACC_DECORATION)).at(0, 0, 0));
    c.push_back(TextMsg(UI_ID(AFEACC_TEXTMSG), "AFE Register Write").caption(write));
    c.push_back(
        Numeric(UI_ID(AFEACC_AFA), "Addr (0x)").range(0, Settings_LaidOut("AFA"), 0).hex().at(write, 0, 0));
    c.push_back(Numeric(UI_ID(AFEACC_AFW), "Data (0x)")
                    .range(0, Settings_LaidOut("AFW"), 0)
                    .hex()
                    .cb(cb)
                    .tip("Entering the data writes it to the register at the address")
                    .at(write, 1, 0));

    const int timing = AFEACC_DECORATION_2;
    c.push_back(Frame(UI_ID(AFEACC_DECORATION_2), "Timing").at(0, 1, 0));
    c.push_back(Numeric(UI_ID(AFEACC_SHP), "SHP")
                    .range(0, Settings_LaidOut("SHP"), 1)
                    .cb(cb)
                    .tip("SHP sampling phase")
                    .at(timing, 0, 0));
    c.push_back(Numeric(UI_ID(AFEACC_SHD), "SHD")
                    .range(0, Settings_LaidOut("SHD"), 1)
                    .cb(cb)
                    .tip("SHD sampling phase")
                    .at(timing, 1, 0));
    c.push_back(Numeric(UI_ID(AFEACC_DOU), "DOut Phase")
                    .range(0, Settings_LaidOut("DOU"), 1)
                    .cb(cb)
                    .at(timing, 2, 0));
    c.push_back(Numeric(UI_ID(AFEACC_RSTPOS), "RST Pos Edge")
                    .range(0, Settings_LaidOut("RST Pos"), 1)
                    .cb(cb)
                    .at(timing, 0, 1));
    c.push_back(Numeric(UI_ID(AFEACC_RSTNEG), "RST Neg Edge")
                    .range(0, Settings_LaidOut("RST Neg"), 1)
                    .cb(cb)
                    .at(timing, 1, 1));

    c.push_back(ButtonRow(AFEACC_DECORATION_3).at(0, 2, 0));
    c.back().name = "AFEACC_DECORATION_3";
    c.push_back(okButton(UI_ID(AFEACC_OKBUTTON), "AfePnl_OKCallback", AFEACC_DECORATION_3));
    return p;
}

Panel FpgaPanel()
{
    Panel p;
    p.id = FTEST;
    p.name = "FTEST";
    p.title = "FPGA Access";
    p.closeCtrl = FTEST_OKBUTTON;
    auto& c = p.ctrls;
    const char* cb = "FTestPnl_ValCallback";
    constexpr int kRegister = -1, kFixed = -2, kButtons = -3;

    c.push_back(Frame(kRegister, "", "Register").at(0, 0, 0));
    c.push_back(Numeric(UI_ID(FTEST_FADDR), "Register Address")
                    .range(0, Settings_LaidOut("FPA"), 1)
                    .hex("0x")
                    .withDecimal()
                    .cb(cb)
                    .at(kRegister, 0, 0));
    c.push_back(Numeric(UI_ID(FTEST_FVALUE), "Register Value")
                    .range(0, Settings_LaidOut("FPR"), 1)
                    .hex("0x")
                    .withDecimal()
                    .display()
                    .at(kRegister, 1, 0));
    c.push_back(Numeric(UI_ID(FTEST_NEWVALUE), "New Value")
                    .range(0, Settings_LaidOut("FPR"), 1)
                    .hex("0x")
                    .withDecimal()
                    .cb(cb)
                    .at(kRegister, 2, 0));
    c.push_back(Button(UI_ID(FTEST_WRITEFPGA), "__Write to FPGA")
                    .cb("FTestPnl_WriteCallback")
                    .tip("Write the new value to the register address")
                    .at(kRegister, 2, 1));
    c.push_back(Ring(UI_ID(FTEST_FMX), "Input Source",
                     {{"AFE", 0}, {"AFE Simulator", 1}, {"Defect Simulator", 2}, {"Test", 3}})
                    .cb(cb)
                    .at(kRegister, 3, 0));

    c.push_back(Frame(kFixed, "", "Fixed Registers").at(0, 0, 1));
    const struct {
        int id;
        const char *name, *label;
        int row, col;
    } fixed[] = {{FTEST_VAL2E, "FTEST_VAL2E", "Reg 0x2E", 0, 0},
                 {FTEST_VAL2F, "FTEST_VAL2F", "Reg 0x2F", 1, 0},
                 {FTEST_VAL30, "FTEST_VAL30", "Reg 0x30", 2, 0},
                 {FTEST_VAL31, "FTEST_VAL31", "Reg 0x31", 3, 0}};
    for (const auto& f : fixed)
        c.push_back(Numeric(f.id, f.name, f.label)
                        .range(0, Settings_LaidOut("FPR"), 1)
                        .hex("0x")
                        .withDecimal()
                        .cb(cb)
                        .at(kFixed, f.row, f.col));

    // Bits 15..0 from left to right: lamps of the value read over switches of the new value.
    const int bits = FTEST_DECORATION;
    c.push_back(Frame(UI_ID(FTEST_DECORATION)).at(0, 1, 0, 1, 2));
    c.push_back(TextMsg(UI_ID(FTEST_BINLBL), "Bit Values").caption(bits));
    constexpr int kReadLabel = -4, kWriteLabel = -5;
    c.push_back(TextMsg(kReadLabel, "", "Value read").placed(Place::LabelColumn).at(bits, 0, 0));
    c.push_back(TextMsg(kWriteLabel, "", "New value").placed(Place::LabelColumn).at(bits, 1, 0));
    for (int bit = 15; bit >= 0; --bit) {
        const int lamp = bit < 8 ? FTEST_RD_BIT0 + bit : FTEST_RD_BIT8 + (bit - 8);
        const std::string number = std::to_string(bit);
        c.push_back(Led(lamp, "FTEST_RD_BIT" + number, number)
                        .labelPos(LabelAt::Above)
                        .placed(Place::Wide)
                        .aligned(Align::Center)
                        .tip("Bit " + number + " of the register value")
                        .at(bits, 0, 16 - bit));
        c.push_back(Toggle(FTEST_WR_BIT0 - bit, "FTEST_WR_BIT" + number, number)
                        .cb("FTestPnl_BitCallback")
                        .tip("Bit " + number + " of the new value")
                        .at(bits, 1, 16 - bit));
    }

    c.push_back(ButtonRow(kButtons).at(0, 2, 0, 1, 2));
    c.push_back(okButton(UI_ID(FTEST_OKBUTTON), "FTestPnl_OKCallback", kButtons));
    return p;
}

}  // namespace ulvo
