#include "panels/ConfirmedValues.h"

#include <climits>
#include <map>
#include <utility>

#include "ui/Ui.h"

namespace {

struct Shown {
    int type = VAL_NO_TYPE;
    int i = 0;
    double d = 0.0;
    std::string s;
    std::string shown;  // in place of a value
    bool noValue = false;
    NoValue kind = NoValue::Unread;
};

std::map<std::pair<int, int>, Shown> s_confirmed;

// The mark goes with any value set, so a control noted as without one counts
// only while it still shows that.
bool stillWithout(int panel, int control)
{
    std::string reason;
    return GetCtrlAttribute(panel, control, ATTR_NO_VALUE_REASON, &reason) >= 0 && !reason.empty();
}

}  // namespace

void NoteConfirmedValue(int panel, int control)
{
    Shown v;
    if (GetCtrlAttribute(panel, control, ATTR_DATA_TYPE, &v.type) < 0) return;
    int read = -1;
    switch (v.type) {
        case VAL_INTEGER:
            read = GetCtrlVal(panel, control, &v.i);
            break;
        case VAL_FLOAT:
        case VAL_DOUBLE:
            read = GetCtrlVal(panel, control, &v.d);
            break;
        case VAL_STRING:
            read = GetCtrlVal(panel, control, &v.s);
            break;
        default:
            return;
    }
    if (read >= 0) s_confirmed[{panel, control}] = std::move(v);
}

namespace {

int markNoValue(int panel, int control, const std::string& reason, const std::string& shown)
{
    SetCtrlAttribute(panel, control, ATTR_NO_VALUE_TEXT, shown.c_str());
    return SetCtrlAttribute(panel, control, ATTR_NO_VALUE_REASON, reason.c_str());
}

}  // namespace

void NoteNoValue(int panel, int control, NoValue kind, const std::string& reason, const std::string& shown)
{
    if (markNoValue(panel, control, reason, shown) < 0) return;
    Shown v;
    v.noValue = true;
    v.kind = kind;
    v.s = reason;
    v.shown = shown;
    s_confirmed[{panel, control}] = std::move(v);
}

bool ShowConfirmedValue(int panel, int control)
{
    const auto it = s_confirmed.find({panel, control});
    if (it == s_confirmed.end()) return false;
    const Shown& v = it->second;
    if (v.noValue) return markNoValue(panel, control, v.s, v.shown) >= 0;
    if (v.type == VAL_INTEGER) return SetCtrlVal(panel, control, v.i) >= 0;
    if (v.type == VAL_STRING) return SetCtrlVal(panel, control, v.s) >= 0;
    return SetCtrlVal(panel, control, v.d) >= 0;
}

int UnreadCount(int panel)
{
    int count = 0;
    for (auto it = s_confirmed.lower_bound({panel, INT_MIN});
         it != s_confirmed.end() && it->first.first == panel; ++it)
        if (it->second.noValue && it->second.kind == NoValue::Unread && stillWithout(panel, it->first.second))
            ++count;
    return count;
}

void ForgetConfirmedValues(int panel)
{
    s_confirmed.erase(s_confirmed.lower_bound({panel, INT_MIN}), s_confirmed.upper_bound({panel, INT_MAX}));
}
