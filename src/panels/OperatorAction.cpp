#include "panels/OperatorAction.h"

#include <string>
#include <vector>

#include "camera/LinkQueue.h"
#include "panels/PanelGlobals.h"
#include "ui/Ui.h"

namespace {

// One queue key per control constant: a control committed again while its
// action still waits replaces that action.
constexpr int kMaxControl = 128;
char s_controlKeys[kMaxControl];

const void* keyOf(int control)
{
    return control >= 0 && control < kMaxControl ? &s_controlKeys[control] : nullptr;
}

}  // namespace

bool PanelIsLoaded(int panel)
{
    std::string title;
    return panel > 0 && GetPanelAttribute(panel, ATTR_TITLE, &title) >= 0;
}

void RunMainPanelAction(int panel, int control, std::function<void()> action)
{
    Comm_WhenLinkIdle(
        [panel, action = std::move(action)] {
            if (panel == g_mainpanel && PanelIsLoaded(panel)) action();
        },
        keyOf(control));
}

void RunDialogAction(int panel, std::initializer_list<int> buttons, std::function<void()> action)
{
    struct Held {
        int control;
        int dimmed;
    };
    std::vector<Held> held;
    for (int b : buttons) {
        Held h{b, 0};
        GetCtrlAttribute(panel, b, ATTR_DIMMED, &h.dimmed);
        held.push_back(h);
        SetCtrlAttribute(panel, b, ATTR_DIMMED, 1);
    }
    Comm_WhenLinkIdle([panel, held, action = std::move(action)] {
        if (!PanelIsLoaded(panel)) return;
        action();
        if (!PanelIsLoaded(panel)) return;
        for (const Held& h : held) SetCtrlAttribute(panel, h.control, ATTR_DIMMED, h.dimmed);
    });
}
