// The Advanced Settings panel's controls: lens parameters change the program's
// globals; everything else goes to the camera at once (or, while the camera is
// busy, as soon as it is free), and a refused change gives way to the value
// the camera still holds.
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Link.h"
#include "panels/AdvSetPnl.h"
#include "panels/AdvSetPnlInternal.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"

namespace advpnl {

namespace {

constexpr std::size_t kUnitIdLength = 6, kDateCodeLength = 8, kUnitRevLength = 2;

void keepFirst(int& status, int next)
{
    if (status == COMM_OK) status = next;
}

Committed capture(int panel, const AdvBinding& b)
{
    Committed v;
    switch (b.kind) {
        case Kind::Int:
            GetCtrlVal(panel, b.control, &v.i);
            break;
        case Kind::Real:
        case Kind::Lens:
            GetCtrlVal(panel, b.control, &v.d);
            break;
        case Kind::Text:
            GetCtrlVal(panel, b.control, &v.s);
            break;
        case Kind::Action:
            break;
    }
    if (b.commit == CommitUnitIdentification)
        v.s = JoinUnitIdentification(TextValue(panel, ADVSET_C_FACTID), TextValue(panel, ADVSET_C_DATEID),
                                     TextValue(panel, ADVSET_C_REVID));
    return v;
}

// An action that waited for the link shows the value as committed again: an
// earlier action may have shown a read-back in the meantime.
void showCommitted(int panel, const AdvBinding& b, const Committed& v)
{
    if (b.kind == Kind::Int) SetCtrlVal(panel, b.control, v.i);
    if (b.kind == Kind::Real) SetCtrlVal(panel, b.control, v.d);
    if (b.kind == Kind::Text && b.commit != CommitUnitIdentification) SetCtrlVal(panel, b.control, v.s);
}

void settle(int panel, int control, int status)
{
    if (status == COMM_OK)
        NoteConfirmedValue(panel, control);
    else
        ShowConfirmedValue(panel, control);
}

// One set function.  Where the camera is asked back, its answer is shown;
// where the conversion rounds, the count that went out, converted back.
int commitPlain(int panel, const AdvBinding& b, const Committed& v)
{
    int status = COMM_OK;
    switch (b.kind) {
        case Kind::Int:
            status = b.setInt ? b.setInt(v.i) : b.setIntAt ? b.setIntAt(v.i, b.index) : COMM_OK;
            break;
        case Kind::Real: {
            const float typed = static_cast<float>(v.d);
            status = b.setReal ? b.setReal(typed) : b.setRealAt ? b.setRealAt(typed, b.index) : COMM_OK;
            float taken = 0.0f;
            if (b.getReal && b.getReal(&taken) == COMM_OK) {
                SetCtrlVal(panel, b.control, static_cast<double>(taken));
                NoteConfirmedValue(panel, b.control);
                return status;
            }
            if (status == COMM_OK)
                SetCtrlVal(panel, b.control, Comm_CountToUser(b.rule, Comm_UserToCount(b.rule, typed)));
            break;
        }
        case Kind::Text:
            status = b.setText ? b.setText(v.s.c_str()) : COMM_OK;
            break;
        case Kind::Lens:
        case Kind::Action:
            return COMM_OK;
    }
    settle(panel, b.control, status);
    return status;
}

void apply(int panel, const AdvBinding& b, const Committed& v)
{
    showCommitted(panel, b, v);
    ReportAdvStatus(b.commit ? b.commit(panel, v) : commitPlain(panel, b, v));
}

int valueCallback(int resource, int panel, int control, int event)
{
    if (event != EVENT_COMMIT) return 0;
    const AdvBinding* b = AdvBindingOf(resource, control);
    if (!b) return 0;
    const Committed v = capture(panel, *b);
    if (b->kind == Kind::Lens) {
        // The program's own setting: the lens buttons use it from now on.
        *b->lens = static_cast<float>(v.d);
        return 0;
    }
    if (b->accept && !b->accept(panel, control, v)) return 0;
    RunPanelAction(panel, control, [panel, b, v] { apply(panel, *b, v); });
    return 0;
}

struct Corner {
    int control;
    int opposite;
    bool upperLeft;
    const char* refusal;
};

constexpr Corner kCorners[] = {
    {ADVSET_C_WIN_ULX, ADVSET_C_WIN_LRX, true, "Upper left X must be less than lower right X"},
    {ADVSET_C_WIN_ULY, ADVSET_C_WIN_LRY, true, "Upper left Y must be less than lower right Y"},
    {ADVSET_C_WIN_LRX, ADVSET_C_WIN_ULX, false, "Lower right X must be greater than upper left X"},
    {ADVSET_C_WIN_LRY, ADVSET_C_WIN_ULY, false, "Lower right Y must be greater than upper left Y"},
};

}  // namespace

std::string JoinUnitIdentification(const std::string& unit, const std::string& date, const std::string& rev)
{
    std::string joined;
    auto fit = [&joined](const std::string& part, std::size_t width) {
        std::size_t taken = 0;
        for (char ch : part) {
            if (taken == width) break;
            if (ch < ' ' || ch > '~') continue;
            joined += ch;
            ++taken;
        }
        joined.append(width - taken, ' ');
    };
    fit(unit, kUnitIdLength);
    fit(date, kDateCodeLength);
    fit(rev, kUnitRevLength);
    return joined;
}

// The ALC window must keep its upper-left corner above and left of its
// lower-right one; a corner that would make it empty or inverted is not sent.
bool AcceptCorner(int panel, int control, const Committed& value)
{
    for (const Corner& c : kCorners) {
        if (c.control != control) continue;
        const int opposite = IntValue(panel, c.opposite);
        if (c.upperLeft ? value.i < opposite : value.i > opposite) return true;
        MessagePopup("ERROR", c.refusal);
        ShowConfirmedValue(panel, control);
        return false;
    }
    return true;
}

// The electronic shutter decides on the main panel whether the shutter speed
// or the ALC's shutter limit is the operator's.
int CommitElectronicShutter(int panel, const Committed& value)
{
    const int status = Comm_SetESH(value.i);
    settle(panel, ADVSET_C_ESHUTTER, status);
    if (status == COMM_OK) Mpnl_NoteElectronicShutter(value.i);
    return status;
}

int CommitPedestalSwitch(int panel, const Committed& value)
{
    const int status = Comm_SetVPS(value.i);
    settle(panel, ADVSET_C_VPS, status);
    AdvState(panel).vps = IntValue(panel, ADVSET_C_VPS);
    ApplyAdvRules(panel);
    return status;
}

int CommitUnitIdentification(int panel, const Committed& value)
{
    const int status = Comm_SetSNO(value.s.c_str());
    const struct {
        int control;
        std::size_t from, length;
    } parts[] = {{ADVSET_C_FACTID, 0, kUnitIdLength},
                 {ADVSET_C_DATEID, kUnitIdLength, kDateCodeLength},
                 {ADVSET_C_REVID, kUnitIdLength + kDateCodeLength, kUnitRevLength}};
    for (const auto& p : parts) {
        // What the camera now holds, blanks and all; or what it held before.
        if (status == COMM_OK) SetCtrlVal(panel, p.control, value.s.substr(p.from, p.length));
        settle(panel, p.control, status);
    }
    return status;
}

// The camera maps its blemishes anew and counts them.  Compensation that is
// on restarts, so that it works from the new map.
int LocateBlemishes(int panel, const Committed&)
{
    int status = Comm_LocateDefects();
    int count = 0;
    const int counted = Comm_GetBCT(&count);
    keepFirst(status, counted);
    if (counted == COMM_OK) {
        SetCtrlVal(panel, ADVSET_C_BCT, count);
        NoteConfirmedValue(panel, ADVSET_C_BCT);
    }
    int compensation = 0;
    if (g_mainpanel > 0 && GetCtrlVal(g_mainpanel, MAIN_DFC, &compensation) >= 0 && compensation != 0) {
        keepFirst(status, Comm_SetDFC(0));
        keepFirst(status, Comm_SetDFC(compensation));
    }
    return status;
}

}  // namespace advpnl

using namespace advpnl;

int AdvSetPnl_ValCallback(int panel, int control, int event, void*, int, int)
{
    return valueCallback(ADVSET, panel, control, event);
}

int AdvSetCPnl_ValCallback(int panel, int control, int event, void*, int, int)
{
    return valueCallback(ADVSET_C, panel, control, event);
}
