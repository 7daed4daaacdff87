#include "panels/ConfirmedValues.h"

#include <climits>
#include <map>
#include <string>
#include <utility>

#include "ui/Ui.h"

namespace {

struct Shown {
    int type = VAL_NO_TYPE;
    int i = 0;
    double d = 0.0;
    std::string s;
};

std::map<std::pair<int, int>, Shown> s_confirmed;

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

bool ShowConfirmedValue(int panel, int control)
{
    const auto it = s_confirmed.find({panel, control});
    if (it == s_confirmed.end()) return false;
    const Shown& v = it->second;
    if (v.type == VAL_INTEGER) return SetCtrlVal(panel, control, v.i) >= 0;
    if (v.type == VAL_STRING) return SetCtrlVal(panel, control, v.s) >= 0;
    return SetCtrlVal(panel, control, v.d) >= 0;
}

void ForgetConfirmedValues(int panel)
{
    s_confirmed.erase(s_confirmed.lower_bound({panel, INT_MIN}), s_confirmed.upper_bound({panel, INT_MAX}));
}
