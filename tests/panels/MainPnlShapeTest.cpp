// The main panel's shape for each group of models on the user and the factory
// screen, after model changes, and with the controls and menus dimmed.

#include "MainPanelFixture.h"
#include "camera/SettingsTable.h"

namespace {

enum class Frame { Hidden, Fifth, LaidOut };

// One column of the table of shapes.  Every reshape starts from the panel as
// laid out, so every cell is known, whatever model came before.
struct Shape {
    const char* model;
    const char* kind;  // "ALC" or "AGC"
    int alvMin;
    double gainMin, gainMax;
    bool she, shutter, smx, vmd, tmdDimmed;
    int mfiItems;
    bool family;
    Frame userFrame;
    bool colour;  // white balance, colour sliders; colour gains on the factory screen
    bool colourProcDimmed;
    int ssx;
};

// clang-format off
//                 model      kind   ALV min gain     SHE    SHS    SMX    VMD    TMD dim MFI 47x    user frame       colour proc dim  SSX
const Shape kBasic {"VK-400",  "ALC", 0,  0, 36, true,  true,  false, true,  false, 3, false, Frame::Hidden,  false, true,  262};
const Shape kAgc   {"EH-4000", "AGC", 0,  0, 36, false, false, false, true,  false, 3, false, Frame::Hidden,  false, true,  262};
const Shape kMono  {"VK-470",  "ALC", 20, 0, 36, true,  true,  true,  true,  false, 3, true,  Frame::Fifth,   false, true,  525};
const Shape kColour{"VKC-475", "ALC", 20, 0, 30, false, true,  true,  false, true,  2, true,  Frame::LaidOut, true,  false, 625};
// clang-format on

class MainPnlShape : public MainPanelTest {
protected:
    void expectShape(const Shape& s, int screen)
    {
        SCOPED_TRACE(std::string(s.model) + (screen ? " factory screen" : " user screen"));
        const std::string kind = s.kind;
        EXPECT_EQ(label(MAIN_MODE), kind + " Mode");
        EXPECT_EQ(label(MAIN_ALV), kind + " Level");
        EXPECT_EQ(label(MAIN_AMX), kind + " Max Gain\n    (dB)");
        EXPECT_EQ(minOf(MAIN_ALV), s.alvMin);
        for (int c : {MAIN_AGN, MAIN_AMX}) {
            EXPECT_EQ(minOf(c), s.gainMin) << c;
            EXPECT_EQ(maxOf(c), s.gainMax) << c;
        }
        expectVisible({{MAIN_SHE, s.she},
                       {MAIN_SHS, s.shutter},
                       {MAIN_TIMEMS, s.shutter},
                       {MAIN_SMX, s.smx},
                       {MAIN_VMD, s.vmd},
                       {MAIN_DFC, s.family},
                       {MAIN_MIR, s.family}});
        EXPECT_EQ(maxOf(MAIN_SHS), s.ssx);
        EXPECT_EQ(maxOf(MAIN_SMX), s.ssx);
        EXPECT_EQ(dimmed(MAIN_TMD), s.tmdDimmed);
        EXPECT_EQ(items(MAIN_MFI), s.mfiItems);

        const Frame frame = screen == 0 ? s.userFrame : (s.family ? Frame::LaidOut : Frame::Hidden);
        EXPECT_EQ(visible(MAIN_DEC_VK47X), frame != Frame::Hidden);
        if (frame == Frame::Fifth) {
            EXPECT_EQ(height(MAIN_DEC_VK47X), laidOutFrame_ / 5);
        }

        expectVisible(
            {MAIN_WBM, MAIN_AWB, MAIN_AWB_BOX, MAIN_AWB_TXT, MAIN_YGAIN, MAIN_USAT, MAIN_VSAT, MAIN_HUE},
            s.colour);
        expectVisible({MAIN_CMD, MAIN_CGAIN_RED, MAIN_CGAIN_GREEN, MAIN_CGAIN_BLUE, MAIN_CGAIN_TXT, MAIN_IPH},
                      s.colour && screen != 0);
        expectVisible({MAIN_FACBOX, MAIN_MODEL, MAIN_AGC_ACCESS, MAIN_DFC_ACCESS, MAIN_RS232}, screen != 0);
        EXPECT_EQ(menuDimmed(MAINMNU_COLORPROC), s.colourProcDimmed);
        EXPECT_EQ(title(), std::string("Ulvo ") + s.model + " Camera Control");
    }
};

// The 473 models start their gains at 3 dB; an LS twin behaves like its VK
// model but keeps its own name in the title.
TEST_F(MainPnlShape, EachGroupAndTheModelsThatDifferFromItOnBothScreens)
{
    Shape vk473 = kMono, vkc473 = kColour, lsc375 = kColour;
    vk473.model = "VK-473", vk473.gainMin = 3;
    vkc473.model = "VKC-473", vkc473.gainMin = 3, vkc473.ssx = 525;
    lsc375.model = "LSC-375";
    for (const Shape* s :
         std::initializer_list<const Shape*>{&kBasic, &kAgc, &kMono, &kColour, &vk473, &vkc473, &lsc375})
        for (int screen : {0, 1}) {
            start(s->model, screen);
            expectShape(*s, screen);
        }

    // Below 3 dB is not on offer: the control holds the gain at its minimum.
    start("VK-473", {{"AEC", 0}});
    ASSERT_EQ(uitest::Commit(panel(), MAIN_AGN, 1.0), 0);
    EXPECT_NEAR(realVal(MAIN_AGN), 3.0, 0.02);
    EXPECT_EQ(firstSent(1), Lines{":AGN=85"});

    // The current hardware has no colour sliders.
    g_hardware_rev = 1;
    start("VKC-475");
    for (int c : {MAIN_YGAIN, MAIN_USAT, MAIN_VSAT, MAIN_HUE}) EXPECT_FALSE(visible(c)) << c;
    EXPECT_TRUE(visible(MAIN_WBM));
}

TEST_F(MainPnlShape, RepeatedShapingGivesTheSameScreen)
{
    start("VK-470");
    for (int i = 0; i < 5; ++i) Mpnl_ConfigForModel();
    for (int i = 0; i < 3; ++i) ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    EXPECT_TRUE(popups().empty());
    expectShape(kMono, 0);
    EXPECT_GT(laidOutFrame_ / 5, 0);
}

// A camera swapped for one of another group between two refreshes on the user
// screen: the new model's controls must all be reachable.
TEST_F(MainPnlShape, SwappedCameraReshapesTheUserScreen)
{
    start("VK-470");
    camera().setModel(5);  // now reports VKC-475
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    expectShape(kColour, 0);
    EXPECT_EQ(height(MAIN_DEC_VK47X), laidOutFrame_);  // no longer cut to a fifth

    start("VK-400");
    camera().setModel(5);
    ASSERT_EQ(uitest::Click(panel(), MAIN_REFRESH), 0);
    expectShape(kColour, 0);
    EXPECT_EQ(uitest::Commit(panel(), MAIN_WBM, 1), 0);

    // Without an answer to the longest-shutter query the same model keeps the
    // range it last told, so the camera's shutter speed can still be shown.
    camera().faults().refuse = {"SSX"};
    Mpnl_ConfigForModel();
    EXPECT_EQ(maxOf(MAIN_SHS), 625);
    EXPECT_EQ(maxOf(MAIN_SMX), 625);
}

TEST_F(MainPnlShape, ModelChangesOnTheFactoryScreen)
{
    start("VKC-475", 1);
    // Row order of the ring: colour to mono and back, then the older models.
    const struct {
        int row;
        const Shape* shape;
    } steps[] = {{4, &kMono},  {3, nullptr}, {5, &kColour}, {5, &kColour}, {1, &kAgc},
                 {0, &kBasic}, {7, nullptr}, {12, nullptr}, {1, &kAgc}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.row);
        ASSERT_EQ(uitest::Commit(panel(), MAIN_MODEL, step.row), 0);
        EXPECT_EQ(camera().model(), step.row);
        EXPECT_EQ(g_cam_model_user_idx, step.row);
        EXPECT_EQ(intVal(MAIN_MODEL), step.row);
        const bool colour = g_cam_model_idx == 3 || g_cam_model_idx == 5;
        EXPECT_EQ(items(MAIN_MFI), colour ? 2 : 3);
        EXPECT_EQ(dimmed(MAIN_TMD), colour);
        if (!colour) {
            std::string text;
            int value = -1;
            EXPECT_EQ(GetLabelFromIndex(panel(), MAIN_MFI, 2, &text) +
                          GetValueFromIndex(panel(), MAIN_MFI, 2, &value),
                      0);
            EXPECT_EQ(text + " " + std::to_string(value), "Trigger Input 2");
        }
        if (step.shape) expectShape(*step.shape, 1);
    }
    EXPECT_TRUE(popups().empty());
}

// After the reshape for each class, every control that shows a setting spans
// what the settings table gives that class: a numeric control its range, a
// ring its first and last item.
TEST_F(MainPnlShape, EveryControlSpansItsSettingsRangeInEveryClass)
{
    const struct {
        int control;
        const char* setting;
    } controls[] = {
        {MAIN_ALV, "ALV"},        {MAIN_AGN, "AGN"},       {MAIN_AMX, "AMX"}, {MAIN_SHS, "SHS"},
        {MAIN_SMX, "SMX"},        {MAIN_CGAIN_RED, "CGR"}, {MAIN_IPH, "IPH"}, {MAIN_HUE, "HUE"},
        {MAIN_YGAIN, "YGA"},      {MAIN_GAM, "GAM"},       {MAIN_VMD, "VMD"}, {MAIN_MFI, "MFI"},
        {MAIN_MFT, "MFT"},        {MAIN_TMD, "TMD"},       {MAIN_SHE, "SHE"}, {MAIN_DFC, "DFC"},
        {MAIN_MIR, "MIR"},        {MAIN_CMD, "CMD"},       {MAIN_WBM, "WBM"}, {MAIN_AGC_ACCESS, "SB1"},
        {MAIN_DFC_ACCESS, "SB2"},
    };
    // One model per function class, 0 to 7.
    for (const char* model :
         {"VK-400", "EH-4000", "VK-405", "VKC-473", "VK-470", "VKC-475", "VK-473", "VK-475"}) {
        start(model, 1);
        for (const auto& c : controls) {
            SCOPED_TRACE(std::string(model) + " " + c.setting);
            const SettingRange r = Settings_CameraRange(*Settings_Find(c.setting));
            int style = 0;
            GetCtrlAttribute(panel(), c.control, ATTR_CTRL_STYLE, &style);
            if (style == CTRL_NUMERIC || style == CTRL_SLIDE) {
                EXPECT_FLOAT_EQ(minOf(c.control), r.minimum);
                EXPECT_FLOAT_EQ(maxOf(c.control), r.maximum);
                continue;
            }
            int first = -1, last = -1;
            GetValueFromIndex(panel(), c.control, 0, &first);
            GetValueFromIndex(panel(), c.control, items(c.control) - 1, &last);
            EXPECT_EQ(first, r.minimum);
            EXPECT_EQ(last, r.maximum);
        }
    }
}

}  // namespace
