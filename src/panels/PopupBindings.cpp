#include "panels/PopupBindings.h"

#include "camera/CamTypes.h"
#include "panels/ConfirmedValues.h"
#include "panels/OperatorAction.h"
#include "panels/PanelCommit.h"
#include "ui/Ui.h"

namespace popup {

namespace {

Committed capture(int panel, const Binding& b)
{
    Committed v;
    v.control = b.control;
    switch (b.kind) {
        case Kind::Int:
            GetCtrlVal(panel, b.control, &v.i);
            break;
        case Kind::Real:
            GetCtrlVal(panel, b.control, &v.d);
            break;
        case Kind::Local:
            GetCtrlVal(panel, b.control, &v.i);
            GetCtrlVal(panel, b.control, &v.d);
            break;
        case Kind::Text:
            GetCtrlVal(panel, b.control, &v.s);
            break;
        case Kind::Action:
            break;
    }
    if (b.gather) b.gather(panel, v);
    return v;
}

// An action that waited for the link shows the value as committed again: an
// earlier action may have shown a read-back in the meantime.
void showCommitted(int panel, const Binding& b, const Committed& v)
{
    if (b.kind == Kind::Int) SetCtrlVal(panel, b.control, v.i);
    if (b.kind == Kind::Real) SetCtrlVal(panel, b.control, v.d);
    if (b.kind == Kind::Text) SetCtrlVal(panel, b.control, v.s);
}

int commitPlain(int panel, const Binding& b, const Committed& v)
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
                ShowCameraValue(panel, b.control, static_cast<double>(taken));
                return status;
            }
            if (status == COMM_OK)
                SetCtrlVal(panel, b.control, Comm_CountToUser(b.rule, Comm_UserToCount(b.rule, typed)));
            break;
        }
        case Kind::Text:
            status = b.setText ? b.setText(v.s.c_str()) : COMM_OK;
            break;
        case Kind::Local:
        case Kind::Action:
            return COMM_OK;
    }
    SettleCommitted(panel, b.control, status);
    return status;
}

}  // namespace

const Binding* Find(const Binding* table, int count, int control)
{
    for (int i = 0; i < count; ++i)
        if (table[i].control == control) return &table[i];
    return nullptr;
}

int ValueCallback(const Binding* row, int panel, int event)
{
    if (event != EVENT_COMMIT || !row) return 0;
    const Binding& b = *row;
    const Committed v = capture(panel, b);
    if (b.kind == Kind::Local) {
        // The program's own: it takes effect at once.
        if (b.global) *b.global = static_cast<float>(v.d);
        if (b.commit) b.commit(panel, v);
        return 0;
    }
    if (b.accept && !b.accept(panel, b.control, v)) return 0;
    RunPanelAction(panel, b.control, [panel, row, v] {
        showCommitted(panel, *row, v);
        const int status = row->commit ? row->commit(panel, v) : commitPlain(panel, *row, v);
        if (!row->silent) ReportCommStatus(status);
    });
    return 0;
}

}  // namespace popup
