// The secondary panels of the resource against their tables.
#include "ResourceExpect.h"

namespace {

using namespace expect;

const Items kOffOn = {{"Off", 0}, {"On", 1}};

// The nine lens parameters, laid out alike on both Advanced Settings panels.
void addLens(std::vector<Control>& e, const std::string& prefix, const int (&ids)[9], const std::string& cb)
{
    const char* axes[] = {"Zoom", "Focus", "Iris"};
    const char* keys[] = {"Z", "F", "I"};
    for (int a = 0; a < 3; ++a) {
        const std::string axis = axes[a], key = prefix + keys[a];
        e.push_back(
            Num(ids[3 * a], key + "_MAXV", axis + " Max Voltage", {9.0, 0.0, 9.0, 1.0}, cb, VAL_FLOAT));
        e.push_back(Num(ids[3 * a + 1], key + "_COARSE", axis + " Coarse Step (%)", {10.0, 0.0, 100.0, 1.0},
                        cb, VAL_FLOAT));
        e.push_back(Num(ids[3 * a + 2], key + "_FINE", axis + " Fine Step (%)", {1.0, 0.0, 100.0, 1.0}, cb,
                        VAL_FLOAT));
    }
}

std::vector<Control> identification(const std::string& prefix, const int (&ids)[4])
{
    const char* names[] = {"_MODEL", "_FW_VER", "_FPGA_VER", "_HOSTVER"};
    const char* labels[] = {"Camera Model", "Firmware Ver.", "FPGA Ver.", "Host Control Ver."};
    std::vector<Control> e;
    for (int i = 0; i < 4; ++i) e.push_back(Display(Str(ids[i], prefix + names[i], labels[i])));
    return e;
}

TEST(Resource, AdvancedSettingsPanelForClassesZeroToTwo)
{
    const std::string cb = "AdvSetPnl_ValCallback";
    std::vector<Control> e =
        identification("ADVSET", {ADVSET_MODEL, ADVSET_FW_VER, ADVSET_FPGA_VER, ADVSET_HOSTVER});
    addLens(e, "ADVSET_",
            {ADVSET_Z_MAXV, ADVSET_Z_COARSE, ADVSET_Z_FINE, ADVSET_F_MAXV, ADVSET_F_COARSE, ADVSET_F_FINE,
             ADVSET_I_MAXV, ADVSET_I_COARSE, ADVSET_I_FINE},
            cb);
    const std::vector<Control> more = {
        Num(ADVSET_VPD, "ADVSET_VPD", "Video Pedestal (mV)", {0.0, 0.0, 100.0, 1.0}, cb, VAL_DOUBLE),
        Num(ADVSET_VWC, "ADVSET_VWC", "Video White Clip (mV)", {300.0, 300.0, 1000.0, 10.0}, cb, VAL_DOUBLE),
        Button(ADVSET_OKBUTTON, "ADVSET_OKBUTTON", "OK", "AdvSetPnl_OKCallback", "O"),
        // The image-intensifier group: inert, no callbacks.
        Ring(ADVSET_MMD, "ADVSET_MMD", "Mode", {{"Manual", 0}, {"Automatic", 1}}),
        Num(ADVSET_MGN, "ADVSET_MGN", "Manual Gain", {2.5, 2.5, 5.0, 0.1}, "", VAL_DOUBLE),
        Ring(ADVSET_MDG, "ADVSET_MDG", "Gate", {{"Disabled", 0}, {"Enabled", 1}}),
        Num(ADVSET_MGA, "ADVSET_MGA", "Manual Gate", {1.0, 0.065, 17.0, 0.1}, "", VAL_DOUBLE),
        Num(ADVSET_MLV, "ADVSET_MLV", "Level", {200, 200, 800, 1}),
        Num(ADVSET_MMG, "ADVSET_MMG", "MCP Min Gain (volts)", {2.5, 2.5, 5.0, 0.1}, "", VAL_DOUBLE),
        Num(ADVSET_MXG, "ADVSET_MXG", "MCP Max Gain (volts)", {2.5, 2.5, 5.0, 0.1}, "", VAL_DOUBLE),
        Num(ADVSET_MBI, "ADVSET_MBI", "MCP Bias*", {20, 0, 255, 1}),
        Button(ADVSET_BRTBTN, "ADVSET_BRTBTN", "Get Brightness", ""),
        Display(Num(ADVSET_BRT, "ADVSET_BRT", "", {20, 0, 4095, 1})),
        Num(ADVSET_MCT, "ADVSET_MCT", "MCP Manual Mode Count", {0, 0, 255, 1}),
        Deco(ADVSET_MCPBOX, "ADVSET_MCPBOX"),
        Deco(ADVSET_MCPBOX2, "ADVSET_MCPBOX2"),
        Named(ADVSET_MCPTEXT, "ADVSET_MCPTEXT"),
        Named(ADVSET_TEXTMSG, "ADVSET_TEXTMSG"),
        Deco(ADVSET_DECORATION, "ADVSET_DECORATION"),
        Deco(ADVSET_DECORATION_11, "ADVSET_DECORATION_11"),
        Deco(ADVSET_DECORATION_12, "ADVSET_DECORATION_12"),
        Deco(ADVSET_DECORATION_13, "ADVSET_DECORATION_13"),
    };
    e.insert(e.end(), more.begin(), more.end());
    Check(ADVSET, "Advanced Settings", "AdvSetPnl_PnlCallback", e);
}

TEST(Resource, AdvancedSettingsPanelForThe47xFamily)
{
    const std::string cb = "AdvSetCPnl_ValCallback";
    std::vector<Control> e =
        identification("ADVSET_C", {ADVSET_C_MODEL, ADVSET_C_FW_VER, ADVSET_C_FPGA_VER, ADVSET_C_HOSTVER});
    addLens(e, "ADVSET_C_",
            {ADVSET_C_Z_MAXV, ADVSET_C_Z_COARSE, ADVSET_C_Z_FINE, ADVSET_C_F_MAXV, ADVSET_C_F_COARSE,
             ADVSET_C_F_FINE, ADVSET_C_I_MAXV, ADVSET_C_I_COARSE, ADVSET_C_I_FINE},
            cb);
    const std::vector<Control> more = {
        Num(ADVSET_C_WIN_ULX, "ADVSET_C_WIN_ULX", "X", {1, 1, 766, 1}, cb),
        Num(ADVSET_C_WIN_ULY, "ADVSET_C_WIN_ULY", "Y", {1, 1, 492, 1}, cb),
        Num(ADVSET_C_WIN_LRX, "ADVSET_C_WIN_LRX", "X", {768, 3, 768, 1}, cb),
        Num(ADVSET_C_WIN_LRY, "ADVSET_C_WIN_LRY", "Y", {492, 3, 494, 1}, cb),
        Ring(ADVSET_C_WINDISP, "ADVSET_C_WINDISP", "Window Display", kOffOn, cb),
        Ring(ADVSET_C_ALCMODE, "ADVSET_C_ALCMODE", "Mode", {{"Average", 0}, {"Log Average", 1}, {"Peak", 2}},
             cb),
        Num(ADVSET_C_BRIGHT_SPD, "ADVSET_C_BRIGHT_SPD", "Bright Speed", {1, 1, 100, 1}, cb),
        Num(ADVSET_C_DARK_SPD, "ADVSET_C_DARK_SPD", "Dark Speed", {1, 1, 100, 1}, cb),
        Num(ADVSET_C_LOGAVG_WT, "ADVSET_C_LOGAVG_WT", "Log Avg Wt", {1, 1, 100, 1}, cb),
        Num(ADVSET_C_IMPULSE_FLT, "ADVSET_C_IMPULSE_FLT", "Impulse Filter", {1, 1, 100, 1}, cb),
        {ADVSET_C_ESHUTTER, "ADVSET_C_ESHUTTER", CTRL_CHECK_BOX, "Electronic Shutter", cb},
        {ADVSET_C_HIGHSEN, "ADVSET_C_HIGHSEN", CTRL_CHECK_BOX, "High Sensitivity Mode", cb},
        Num(ADVSET_C_BTH, "ADVSET_C_BTH", "Blemish Threshold (%)", {50.0, 0.0, 100.0, 1.0}, cb, VAL_DOUBLE),
        Display(Num(ADVSET_C_BCT, "ADVSET_C_BCT", "Blemish Count", {0, 0, 65535, 1})),
        Button(ADVSET_C_LOCATEDEFECTS, "ADVSET_C_LOCATEDEFECTS", "Locate Blemishes", cb, "B"),
        Ring(ADVSET_C_CDI, "ADVSET_C_CDI", "Indicator", kOffOn, cb),
        Ring(ADVSET_C_VPS, "ADVSET_C_VPS", "Video Pedestal Feature", kOffOn, cb),
        Num(ADVSET_C_VPD, "ADVSET_C_VPD", "Video Pedestal", {0.0, 0.0, 255.0, 1.0}, cb, VAL_DOUBLE),
        Num(ADVSET_C_VWC, "ADVSET_C_VWC", "Video White Clip", {0.0, 0.0, 255.0, 10.0}, cb, VAL_DOUBLE),
        Str(ADVSET_C_CUSTID, "ADVSET_C_CUSTID", "Customer ID", cb),
        Str(ADVSET_C_FACTID, "ADVSET_C_FACTID", "Unit ID:", cb),
        Str(ADVSET_C_DATEID, "ADVSET_C_DATEID", "Date Code:", cb),
        Str(ADVSET_C_REVID, "ADVSET_C_REVID", "Unit Rev:", cb),
        Ring(ADVSET_C_HWREV, "ADVSET_C_HWREV", "Hardware Rev", {{"Legacy", 0}, {"Current", 1}}),
        Button(ADVSET_C_OKBUTTON, "ADVSET_C_OKBUTTON", "OK", "AdvSetPnl_OKCallback", "O"),
        Text(ADVSET_C_ULTEXT, "ADVSET_C_ULTEXT", "Upper Left"),
        Text(ADVSET_C_LRTEXT, "ADVSET_C_LRTEXT", "Lower Right"),
        Text(ADVSET_C_ALCWINTEXT, "ADVSET_C_ALCWINTEXT", "ALC Window"),
        Text(ADVSET_C_ALCTXT, "ADVSET_C_ALCTXT", "ALC Settings"),
        Text(ADVSET_C_CDTXT, "ADVSET_C_CDTXT", "Column Defects"),
        Text(ADVSET_C_COLCORR_TEXT, "ADVSET_C_COLCORR_TEXT", "Color Correction Coefficients"),
        Deco(ADVSET_C_ALC_DEC, "ADVSET_C_ALC_DEC"),
        Deco(ADVSET_C_ALCBOX, "ADVSET_C_ALCBOX"),
        Deco(ADVSET_C_VIDEOBOX, "ADVSET_C_VIDEOBOX"),
        Deco(ADVSET_C_COLDEFECTFRAME, "ADVSET_C_COLDEFECTFRAME"),
        Deco(ADVSET_C_BLEMISHBOX, "ADVSET_C_BLEMISHBOX"),
        Deco(ADVSET_C_COLCORR_BOX, "ADVSET_C_COLCORR_BOX"),
        Deco(ADVSET_C_DECORATION_11, "ADVSET_C_DECORATION_11"),
        Deco(ADVSET_C_DECORATION_12, "ADVSET_C_DECORATION_12"),
        Deco(ADVSET_C_DECORATION_13, "ADVSET_C_DECORATION_13"),
    };
    e.insert(e.end(), more.begin(), more.end());
    const char* colours[] = {"Red", "Green", "Blue"};
    const char* names[] = {"R", "G", "B"};
    for (int i = 0; i < 9; ++i)
        e.push_back(Num(ADVSET_C_R1 + i, "ADVSET_C_" + std::string(names[i % 3]) + std::to_string(i / 3 + 1),
                        colours[i % 3], {1.0, 0.0, 3.992, 0.1}, cb, VAL_DOUBLE));
    for (int n = 1; n <= 4; ++n)
        e.push_back(Num(ADVSET_C_CD_ADDR1 + n - 1, "ADVSET_C_CD_ADDR" + std::to_string(n),
                        "Address " + std::to_string(n), {1023, 0, 1023, 1}, cb));
    Check(ADVSET_C, "Advanced Settings", "AdvSetPnl_PnlCallback", e);
}

TEST(Resource, AfeAccessPanel)
{
    const std::string cb = "AfePnl_ValCallback";
    Check(AFEACC, "AFE Access", "",
          {Text(AFEACC_TEXTMSG, "AFEACC_TEXTMSG", "AFE Register Write"),
           Num(AFEACC_AFA, "AFEACC_AFA", "Addr (0x)", {0, 0, 255, 0}),
           Num(AFEACC_AFW, "AFEACC_AFW", "Data (0x)", {0, 0, 16777215, 0}, cb),
           Num(AFEACC_SHP, "AFEACC_SHP", "SHP", {0, 0, 47, 1}, cb),
           Num(AFEACC_SHD, "AFEACC_SHD", "SHD", {0, 0, 47, 1}, cb),
           Num(AFEACC_DOU, "AFEACC_DOU", "DOut Phase", {0, 0, 47, 1}, cb),
           Num(AFEACC_RSTPOS, "AFEACC_RSTPOS", "RST Pos Edge", {0, 0, 47, 1}, cb),
           Num(AFEACC_RSTNEG, "AFEACC_RSTNEG", "RST Neg Edge", {0, 0, 511, 1}, cb),
           Button(AFEACC_OKBUTTON, "AFEACC_OKBUTTON", "OK", "AfePnl_OKCallback"),
           Deco(AFEACC_DECORATION, "AFEACC_DECORATION"), Deco(AFEACC_DECORATION_2, "AFEACC_DECORATION_2"),
           Deco(AFEACC_DECORATION_3, "AFEACC_DECORATION_3")});
}

TEST(Resource, ColourProcessingPanel)
{
    const std::string cb = "CProcPnl_ValCallback";
    Control cbSat = Slide(CPROC_BYSAT, "CPROC_BYSAT", "", {1.0, 1.0, 2.0, 0.1}, cb);
    Control crSat = Slide(CPROC_RYSAT, "CPROC_RYSAT", "", {1.0, 1.0, 2.0, 0.1}, cb);
    Check(CPROC, "Color Processing", "",
          {Ring(CPROC_SHA, "CPROC_SHA", "Sharpening", kOffOn, cb),
           Slide(CPROC_SHG, "CPROC_SHG", "Gain (x1.0 - x2.0)", {1.0, 1.0, 2.0, 0.1}, cb),
           Ring(CPROC_SEN, "CPROC_SEN", "Sharpening Mode", {{"Standard", 0}, {"Enhanced", 1}}, cb),
           Slide(CPROC_CRHUE, "CPROC_CRHUE", "CrHue (deg)", {0.0, 0.0, 360.0, 1.0}, cb),
           Slide(CPROC_CBHUE, "CPROC_CBHUE", "CbHue (deg)", {0.0, 0.0, 360.0, 1.0}, cb), cbSat, crSat,
           Text(CPROC_CHUE_LBL, "CPROC_CHUE_LBL", "Color Hue"),
           Button(CPROC_OKBUTTON, "CPROC_OKBUTTON", "OK", "CProcPnl_OKCallback"),
           Text(CPROC_CYSAT_LAB, "CPROC_CYSAT_LAB", "CrSAT (x1.0 - x2.0)"),
           Text(CPROC_BYSAT_LAB, "CPROC_BYSAT_LAB", "CbSAT (x1.0 - x2.0)"),
           Text(CPROC_CSATTXT, "CPROC_CSATTXT", "Color Saturation"),
           Text(CPROC_SHPTXT, "CPROC_SHPTXT", "Sharpening"), Deco(CPROC_DECORATION, "CPROC_DECORATION"),
           Deco(CPROC_DECORATION_2, "CPROC_DECORATION_2"), Deco(CPROC_DECORATION_3, "CPROC_DECORATION_3")});
}

TEST(Resource, FpgaAccessPanel)
{
    const std::string cb = "FTestPnl_ValCallback";
    std::vector<Control> e = {
        Num(FTEST_FADDR, "FTEST_FADDR", "Register Address", {0, 0, 255, 1}, cb),
        Display(Num(FTEST_FVALUE, "FTEST_FVALUE", "Register Value", {0, 0, 65535, 1})),
        Num(FTEST_NEWVALUE, "FTEST_NEWVALUE", "New Value", {0, 0, 65535, 1}, cb),
        Button(FTEST_WRITEFPGA, "FTEST_WRITEFPGA", "Write to FPGA", "FTestPnl_WriteCallback", "W"),
        Num(FTEST_VAL2E, "FTEST_VAL2E", "Reg 0x2E", {0, 0, 65535, 1}, cb),
        Num(FTEST_VAL30, "FTEST_VAL30", "Reg 0x30", {0, 0, 65535, 1}, cb),
        Num(FTEST_VAL2F, "FTEST_VAL2F", "Reg 0x2F", {0, 0, 65535, 1}, cb),
        Num(FTEST_VAL31, "FTEST_VAL31", "Reg 0x31", {0, 0, 65535, 1}, cb),
        Button(FTEST_OKBUTTON, "FTEST_OKBUTTON", "OK", "FTestPnl_OKCallback"),
        Ring(FTEST_FMX, "FTEST_FMX", "Input Source",
             {{"AFE", 0}, {"AFE Simulator", 1}, {"Defect Simulator", 2}, {"Test", 3}}, cb),
        Text(FTEST_BINLBL, "FTEST_BINLBL", "Bit Values"),
        Deco(FTEST_DECORATION, "FTEST_DECORATION"),
    };
    // Switch of bit n: constant 26 - n; lamps of bits 8..15 are 29..36, of bits 0..7 37..44.
    for (int bit = 0; bit < 16; ++bit) {
        const std::string n = std::to_string(bit);
        e.push_back({26 - bit, "FTEST_WR_BIT" + n, CTRL_TOGGLE_BUTTON, n, "FTestPnl_BitCallback"});
        e.push_back({bit < 8 ? 37 + bit : 29 + bit - 8, "FTEST_RD_BIT" + n, CTRL_LED, n});
    }
    Check(FTEST, "FPGA Access", "", e);
}

TEST(Resource, SplitScreenPanel)
{
    const std::string cb = "SplitScrnPnl_ValCallback";
    std::vector<Control> e = {
        Ring(SPLITSCRN_SSE, "SPLITSCRN_SSE", "Mode", kOffOn, cb),
        Num(SPLITSCRN_SSP, "SPLITSCRN_SSP", "Split Screen Position", {50, 0, 100, 1}, cb),
        Num(SPLITSCRN_SSA, "SPLITSCRN_SSA", "Split Screen Angle", {0, -10, 10, 1}, cb),
        Text(SPLITSCRN_LFT_TXT, "SPLITSCRN_LFT_TXT", "Left"),
        Text(SPLITSCRN_RIGHT_TXT, "SPLITSCRN_RIGHT_TXT", "Right"),
        // The OK button is wired to the AFE panel's identical callback.
        Button(SPLITSCRN_OKBUTTON, "SPLITSCRN_OKBUTTON", "OK", "AfePnl_OKCallback", "O"),
        Named(SPLITSCRN_LFTPNL, "SPLITSCRN_LFTPNL"),
        Named(SPLITSCRN_LFTPNL_2, "SPLITSCRN_LFTPNL_2"),
        Named(SPLITSCRN_L1, "SPLITSCRN_L1"),
        Named(SPLITSCRN_L2, "SPLITSCRN_L2"),
        Named(SPLITSCRN_L2_2, "SPLITSCRN_L2_2"),
        Named(SPLITSCRN_L2_3, "SPLITSCRN_L2_3"),
        Named(SPLITSCRN_L2_4, "SPLITSCRN_L2_4"),
    };
    const struct {
        int first;
        const char* side;
    } halves[] = {{SPLITSCRN_SLR, "L"}, {SPLITSCRN_SRR, "R"}};
    for (const auto& h : halves) {
        const std::string s = std::string("SPLITSCRN_S") + h.side;
        e.push_back(Num(h.first, s + "R", "Red", {0, 0, 255, 1}, cb));
        e.push_back(Num(h.first + 1, s + "G", "Green", {0, 0, 255, 1}, cb));
        e.push_back(Num(h.first + 2, s + "B", "Blue", {0, 0, 255, 1}, cb));
        e.push_back(Num(h.first + 3, s + "T", "Transparency", {50, 0, 100, 1}, cb));
        e.push_back(Num(h.first + 4, std::string("SPLITSCRN_") + h.side + "LT", "Line Thickness",
                        {10, 0, 100, 1}, cb));
    }
    Check(SPLITSCRN, "Split Screen Control", "", e);
}

}  // namespace
