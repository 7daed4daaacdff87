// The split-screen overlay: the dividing line (on/off, position, angle, the
// line's thickness on each side) and each half's colour and transparency.
#include "camera/CamTypes.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "panels/Bindings.h"
#include "panels/PanelCommit.h"
#include "panels/PanelShorthands.h"
#include "panels/ServicePnls.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

int g_split_panel = 0;

namespace {

using panelbind::Binding;
using panelbind::Committed;
using panelbind::Kind;
using panelctl::IntValue;

struct Half {
    int side;  // 0 left, 1 right
    int levels[3];
    int transparency;
    int swatch;
};
constexpr Half kHalves[] = {
    {0, {SPLITSCRN_SLR, SPLITSCRN_SLG, SPLITSCRN_SLB}, SPLITSCRN_SLT, SPLITSCRN_LEFT_SWATCH},
    {1, {SPLITSCRN_SRR, SPLITSCRN_SRG, SPLITSCRN_SRB}, SPLITSCRN_SRT, SPLITSCRN_RIGHT_SWATCH},
};

const Half& halfOf(int control)
{
    for (const Half& h : kHalves)
        for (int c : h.levels)
            if (c == control) return h;
    return control == SPLITSCRN_SRT ? kHalves[1] : kHalves[0];
}

int colourOf(const Half& h, int control)
{
    for (int colour = 0; colour < 3; ++colour)
        if (h.levels[colour] == control) return colour;
    return 0;
}

// The half's colour as its levels mix.
void showSwatch(int panel, const Half& h)
{
    int rgb = 0;
    for (int level : h.levels) rgb = rgb * 256 + (IntValue(panel, level) & 0xFF);
    SetCtrlAttribute(panel, h.swatch, ATTR_TEXT_BGCOLOR, rgb);
}

// The status of a command of several lines: its first failure, or success.
template <typename Call>
int firstFailureOf(Call call)
{
    int first = COMM_OK;
    const int last = call(&first);
    return first != COMM_OK ? first : last;
}

// Position and both thicknesses travel together; the panel then shows what the
// camera made of them.
constexpr int kLineControls[] = {SPLITSCRN_SSP, SPLITSCRN_LLT, SPLITSCRN_RLT};

void gatherLine(int panel, Committed& v)
{
    for (int i = 0; i < 3; ++i) v.more[i] = IntValue(panel, kLineControls[i]);
}

int commitLine(int panel, const Committed& v)
{
    const int sent =
        firstFailureOf([&v](int* f) { return Comm_SetSSPosThick(v.more[0], v.more[1], v.more[2], f); });
    // Asked back even when a part was refused: the camera may have taken the
    // rest, and the panel shows what it holds.
    int line[3] = {0, 0, 0};
    const int read =
        firstFailureOf([&line](int* f) { return Comm_GetSSPosThick(&line[0], &line[1], &line[2], f); });
    if (read != COMM_OK && sent == COMM_OK) {
        // Taken but not read: the counts that went out, read as the camera would.
        Comm_SplitLineFromCounts(Comm_SplitLineToCounts(v.more[0], v.more[1], v.more[2]), &line[0], &line[1],
                                 &line[2]);
    }
    for (int i = 0; i < 3; ++i) {
        if (read == COMM_OK || sent == COMM_OK)
            ShowCameraValue(panel, kLineControls[i], line[i]);
        else
            ShowUnread(panel, kLineControls[i], read);  // refused in part, and what was taken is unknown
    }
    return sent != COMM_OK ? sent : read;
}

// A colour level carries its half's transparency along.
void gatherTransparency(int panel, Committed& v)
{
    v.more[0] = IntValue(panel, halfOf(v.control).transparency);
}

// The camera keeps each level scaled by the transparency, so a new
// transparency sends all three levels again.
void gatherLevels(int panel, Committed& v)
{
    const Half& h = halfOf(v.control);
    for (int colour = 0; colour < 3; ++colour) v.more[colour] = IntValue(panel, h.levels[colour]);
}

int commitLevel(int panel, const Committed& v)
{
    const int control = v.control;
    const Half& h = halfOf(control);
    const int status = firstFailureOf(
        [&](int* f) { return Comm_SetSSColor(h.side, colourOf(h, control), v.i, v.more[0], f); });
    SettleCommitted(panel, control, status);
    showSwatch(panel, h);
    return status;
}

int commitTransparency(int panel, const Committed& v)
{
    const int control = v.control;
    const Half& h = halfOf(control);
    int status = COMM_OK;
    for (int colour = 0; colour < 3; ++colour) {
        const int sent =
            firstFailureOf([&](int* f) { return Comm_SetSSColor(h.side, colour, v.more[colour], v.i, f); });
        if (status == COMM_OK) status = sent;
    }
    SettleCommitted(panel, control, status);
    return status;
}

#define LEVEL_ROW(CONTROL)                                                                          \
    Binding                                                                                         \
    {                                                                                               \
        .control = CONTROL, .kind = Kind::Int, .gather = gatherTransparency, .commit = commitLevel, \
        .silent = true                                                                              \
    }
#define TRANSPARENCY_ROW(CONTROL)                                                                    \
    Binding                                                                                          \
    {                                                                                                \
        .control = CONTROL, .kind = Kind::Int, .gather = gatherLevels, .commit = commitTransparency, \
        .silent = true                                                                               \
    }
#define LINE_ROW(CONTROL)                                                                 \
    Binding                                                                               \
    {                                                                                     \
        .control = CONTROL, .kind = Kind::Int, .gather = gatherLine, .commit = commitLine \
    }

const Binding kSplitScreen[] = {
    Binding{.control = SPLITSCRN_SSE, .kind = Kind::Int, .setInt = Comm_SetSSE},
    LINE_ROW(SPLITSCRN_SSP),
    LINE_ROW(SPLITSCRN_LLT),
    LINE_ROW(SPLITSCRN_RLT),
    Binding{.control = SPLITSCRN_SSA, .kind = Kind::Int, .setInt = Comm_SetSSA},
    LEVEL_ROW(SPLITSCRN_SLR),
    LEVEL_ROW(SPLITSCRN_SLG),
    LEVEL_ROW(SPLITSCRN_SLB),
    TRANSPARENCY_ROW(SPLITSCRN_SLT),
    LEVEL_ROW(SPLITSCRN_SRR),
    LEVEL_ROW(SPLITSCRN_SRG),
    LEVEL_ROW(SPLITSCRN_SRB),
    TRANSPARENCY_ROW(SPLITSCRN_SRT),
};

}  // namespace

int SplitScrnPnl_Display()
{
    const int panel = g_split_panel;
    PanelFill fill(panel);
    fill.read(SPLITSCRN_SSE, Comm_GetSSE);

    // Each of the three values stands on all three queries.
    int line[3] = {0, 0, 0};
    const int lineStatus =
        firstFailureOf([&line](int* f) { return Comm_GetSSPosThick(&line[0], &line[1], &line[2], f); });
    for (int i = 0; i < 3; ++i) fill.showAnswer(kLineControls[i], lineStatus, line[i]);

    fill.read(SPLITSCRN_SSA, Comm_GetSSA);

    for (const Half& h : kHalves) {
        int transparency = 0, transparencyStatus = COMM_OK;
        for (int colour = 0; colour < 3; ++colour) {
            int level = 0;
            const int status = firstFailureOf(
                [&](int* f) { return Comm_GetSSColor(h.side, colour, &level, &transparency, f); });
            fill.showAnswer(h.levels[colour], status, level);
            transparencyStatus = status;
        }
        fill.showAnswer(h.transparency, transparencyStatus, transparency);
        showSwatch(panel, h);
    }
    fill.report();
    return fill.firstFailure();
}

void SplitScrnPnl_Register()
{
    panelbind::RegisterBindings(SPLITSCRN, kSplitScreen);
    RegisterCameraPopup(MAINMNU_FILE_SPLIT, {SPLITSCRN, &g_split_panel, false, false, SplitScrnPnl_Display});
}
