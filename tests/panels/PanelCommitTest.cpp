// What a committed control sends, on the main window and on each pop-up: all
// go through one binding of control to setting, so each panel is tried with a
// control of each kind and every conversion it makes.
#include <cmath>

#include "MainPanelFixture.h"
#include "panels/ServicePnls.h"

namespace {

class PanelCommit : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        AdvSetPnl_RegisterCallbacks();
        ServicePnl_RegisterCallbacks();
    }
};

TEST_F(PanelCommit, EachKindOfControlSendsItsCommand)
{
    const struct {
        const char* model;
        int screen, item;  // the menu item opening the pop-up; 0: the main window
        std::vector<std::pair<const char*, int>> regs;
    } setups[] = {
        {"VK-470", 0, 0, {{"AEC", 0}}},                 // manual: gain and shutter are the operator's
        {"VK-475", 0, 0, {{"AEC", 0}, {"SSX", 1200}}},  // a shutter range of 1200 lines, so 1000 is open
        {"VK-470", 0, 0, {{"AEC", 1}, {"ESH", 1}}},  // automatic, electronic shutter on: the limits are open
        {"VKC-475", 1, 0, {}},                       // colour gains are factory settings
        {"VKC-475", 1, MAINMNU_ADVSET, {}},
        {"VK-470", 1, MAINMNU_ADVSET, {}},
        {"VK-400", 0, MAINMNU_ADVSET, {}},
        {"VKC-475", 0, MAINMNU_COLORPROC, {}},
        {"VK-470", 1, MAINMNU_FILE_AFEACC, {}},
    };
    // Gains: 1 + (g - 0.001) x 1024.012, rounded; percentages of 255 and 63,
    // truncated; nothing is read back, so the panel shows the count that went
    // out converted back: 0.001 + 1535 x 0.00097655103, 100 x 37 / 63, 100 x
    // 50 / 63.  The colour matrix is in 1024ths; the blemish threshold in
    // tenths of a percent, which the camera holds rounded.  51 mV is count
    // round(102 + 51 x 0.56) = 131, read back as 51.79 mV; 650 mV is
    // round(112 + 422 x 0.06528662) = 140, read back as 656.88 mV.
    const double typed = NAN;
    const struct {
        std::size_t setup;
        int control;
        double value;
        const char* lines;  // what was sent, one blank between lines
        double shown;       // what the control shows afterwards where the panel converts
    } cases[] = {
        // clang-format off
        {0, MAIN_GAM, 0, ":GAM=0", typed}, {0, MAIN_SHE, 1, ":SHE=1", typed},
        {0, MAIN_MFI, 2, ":MFI=2", typed}, {0, MAIN_TMD, 1, ":TMD=1", typed},
        {0, MAIN_DFC, 0, ":DFC=0", typed}, {0, MAIN_VMD, 1, ":VMD=1", typed},
        {0, MAIN_MFT, 0, ":MFT=0", typed}, {0, MAIN_MIR, 1, ":MIR=1", typed},
        {1, MAIN_SHS, 1000, ":SHS=1000", typed},
        {2, MAIN_ALV, 100, ":ALV=100", typed}, {2, MAIN_SMX, 200, ":SMX=200", typed},
        {3, MAIN_WBM, 1, ":WBM=1", typed}, {3, MAIN_CGAIN_RED, 1.5, ":CGR=1536", 1.500006},
        {3, MAIN_CGAIN_GREEN, 0.75, ":CGG=768", typed}, {3, MAIN_HUE, 40.0, ":HUE=102", typed},
        {3, MAIN_VSAT, 60.0, ":VSA=37", 58.730}, {3, MAIN_YGAIN, 80.0, ":YGA=50", 79.365},
        {3, MAIN_CMD, 0, ":CMD=0", typed}, {3, MAIN_IPH, 2, ":IPH=2", typed},
        {3, MAIN_CGAIN_BLUE, 2.25, ":CGB=2304", typed}, {3, MAIN_USAT, 70.0, ":USA=44", typed},
        {4, ADVSET_C_BRIGHT_SPD, 12, ":BTS=12", typed}, {4, ADVSET_C_VPS, 0, ":VPS=0", typed},
        {4, ADVSET_C_R1, 1.5, ":KR1=1536", typed}, {4, ADVSET_C_G3, 3.992, ":KG3=4088", typed},
        {4, ADVSET_C_BTH, 12.34, ":BTH=123", 12.3}, {4, ADVSET_C_DARK_SPD, 13, ":DKS=13", typed},
        {4, ADVSET_C_LOGAVG_WT, 14, ":LAW=14", typed}, {4, ADVSET_C_IMPULSE_FLT, 15, ":IFC=15", typed},
        {4, ADVSET_C_B2, 0.25, ":KB2=256", typed},
        {5, ADVSET_C_ALCMODE, 2, ":ALM=2", typed}, {5, ADVSET_C_CD_ADDR3, 517, ":CD3=517", typed},
        {5, ADVSET_C_WINDISP, 1, ":WDS=1", typed}, {5, ADVSET_C_HIGHSEN, 1, ":BIN=1", typed},
        {5, ADVSET_C_CDI, 1, ":CDI=1", typed},
        {6, ADVSET_VPD, 51.0, ":VPD=131 :VPD?", 51.7857}, {6, ADVSET_VWC, 650.0, ":VWC=140 :VWC?", 656.878},
        {7, CPROC_SEN, 1, ":SEN=1", typed},
        {8, AFEACC_SHP, 30, ":SHP=30", typed}
        // clang-format on
    };
    std::size_t shown = std::size(setups);
    int on = 0;
    for (const auto& c : cases) {
        const auto& s = setups[c.setup];
        SCOPED_TRACE(std::string(s.model) + " " + c.lines);
        if (c.setup != shown) {
            connect(s.model, s.screen);
            for (const auto& [name, value] : s.regs) camera().setReg(name, value);
            show();
            on = s.item ? openPopup(s.item) : panel();
            shown = c.setup;
        }
        std::string sentLines;
        for (const std::string& line : sends(c.control, c.value, on))
            sentLines += (sentLines.empty() ? "" : " ") + line;
        EXPECT_EQ(sentLines, c.lines);
        if (!std::isnan(c.shown)) {
            EXPECT_NEAR(realVal(c.control, on), c.shown, 1e-3);
        }
        EXPECT_TRUE(popups().empty());
    }
}

}  // namespace
