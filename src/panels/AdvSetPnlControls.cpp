// The Advanced Settings panel's controls that do more than one plain set: the
// ALC window check, the electronic shutter, the pedestal switch, the unit
// identification and blemish location.
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Link.h"
#include "panels/AdvSetPnl.h"
#include "panels/AdvSetPnlInternal.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"

namespace advpnl {

namespace {

constexpr std::size_t kUnitIdLength = 6, kDateCodeLength = 8, kUnitRevLength = 2;

void keepFirst(int& status, int next)
{
    if (status == COMM_OK) status = next;
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
// or the ALC's shutter limit is the operator's: on, the limit opens and the
// speed is locked as far as the camera (asked again) says it is on; off, the
// limit is locked.  The box shows what the camera holds by then.
int CommitElectronicShutter(int panel, const Committed& value)
{
    const int status = Comm_SetESH(value.i);
    SettleCommitted(panel, ADVSET_C_ESHUTTER, status);
    const int box = status == COMM_OK ? value.i : IntValue(panel, ADVSET_C_ESHUTTER);
    Mpnl_NoteElectronicShutter(box);
    Comm_AdjustShutterSpeedAccess(box);
    return status;
}

int CommitPedestalSwitch(int panel, const Committed& value)
{
    const int status = Comm_SetVPS(value.i);
    SettleCommitted(panel, ADVSET_C_VPS, status);
    AdvState(panel).vps = IntValue(panel, ADVSET_C_VPS);
    ApplyAdvRules(panel);
    return status;
}

void GatherUnitIdentification(int panel, Committed& value)
{
    value.text = JoinUnitIdentification(TextValue(panel, ADVSET_C_FACTID), TextValue(panel, ADVSET_C_DATEID),
                                        TextValue(panel, ADVSET_C_REVID));
}

int CommitUnitIdentification(int panel, const Committed& value)
{
    const int status = Comm_SetSNO(value.text.c_str());
    const struct {
        int control;
        std::size_t from, length;
    } parts[] = {{ADVSET_C_FACTID, 0, kUnitIdLength},
                 {ADVSET_C_DATEID, kUnitIdLength, kDateCodeLength},
                 {ADVSET_C_REVID, kUnitIdLength + kDateCodeLength, kUnitRevLength}};
    for (const auto& p : parts) {
        // What the camera now holds, blanks and all; or what it held before.
        if (status == COMM_OK) SetCtrlVal(panel, p.control, value.text.substr(p.from, p.length));
        SettleCommitted(panel, p.control, status);
    }
    return status;
}

bool ConfirmLocateBlemishes(int, int, const Committed&)
{
    return ConfirmPopup("Locate Blemishes",
                        "The camera will map its blemishes anew and replace the blemish map it holds. "
                        "The present map cannot be brought back.\nLocate blemishes now?") == 1;
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
