#include "panels/Bindings.h"

#include <map>

#include "camera/CamTypes.h"
#include "panels/OperatorAction.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace panelbind {

namespace {

std::map<int, std::span<const Binding>>& tables()
{
    static std::map<int, std::span<const Binding>> byResource;
    return byResource;
}

// The committed control is read once: the action shows and sends this value,
// whatever the control shows by the time it runs.
Committed capture(int panel, const Binding& b)
{
    Committed v;
    v.control = b.control;
    // A program setting is a real; the FPGA panel's own values are whole.
    const Kind read = b.kind != Kind::Local ? b.kind : b.global ? Kind::Real : Kind::Int;
    if (read == Kind::Int) GetCtrlVal(panel, b.control, &v.i);
    if (read == Kind::Real) GetCtrlVal(panel, b.control, &v.d);
    if (read == Kind::Text) GetCtrlVal(panel, b.control, &v.s);
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
            // The camera's answer stands, whether it took the value or not.
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

void commit(int panel, const Binding& b)
{
    const Committed v = capture(panel, b);
    if (b.kind == Kind::Local) {
        // The program's own: it takes effect at once.
        if (b.global) *b.global = static_cast<float>(v.d);
        if (b.commit) b.commit(panel, v);
        return;
    }
    if (b.accept && !b.accept(panel, b.control, v)) return;
    auto action = [panel, row = &b, v] {
        showCommitted(panel, *row, v);
        const int status = row->commit ? row->commit(panel, v) : commitPlain(panel, *row, v);
        if (!row->silent) ReportCommStatus(status);
        Mpnl_NoteAction(ControlChangeText(panel, row->control, status));
    };
    // A main panel that was loaded again meanwhile takes no action meant for
    // the old one; a pop-up's action runs even after it closed (OperatorAction.h).
    if (panel == g_mainpanel)
        RunMainPanelAction(panel, b.control, action);
    else
        RunPanelAction(panel, b.control, action);
}

}  // namespace

const Binding* Find(std::span<const Binding> rows, int control)
{
    for (const Binding& b : rows)
        if (b.control == control) return &b;
    return nullptr;
}

void RegisterBindings(int resource, std::span<const Binding> rows)
{
    tables()[resource] = rows;
}

int BoundValueCallback(int panel, int control, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    const int resource = panel == g_mainpanel ? MAIN : CameraPopupResource(panel);
    const auto table = tables().find(resource);
    if (table == tables().end()) return 0;
    if (const Binding* b = Find(table->second, control)) commit(panel, *b);
    return 0;
}

}  // namespace panelbind
