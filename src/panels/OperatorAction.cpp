#include "panels/OperatorAction.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "camera/LinkQueue.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "ui/Ui.h"

namespace {

// One queue key per control of a panel: a control committed again while its
// action still waits replaces that action.  The map's nodes stay where they
// are, so their addresses serve as keys.
std::map<std::pair<int, int>, char> s_controlKeys;

const void* keyOf(int panel, int control)
{
    return &s_controlKeys[{panel, control}];
}

}  // namespace

bool PanelIsLoaded(int panel)
{
    std::string title;
    return panel > 0 && GetPanelAttribute(panel, ATTR_TITLE, &title) >= 0;
}

// An action may have read a setting that could not be read before, or
// restored one that could not: the status line counts again afterwards.
void RunPanelAction(int panel, int control, std::function<void()> action)
{
    Comm_WhenLinkIdle(
        [panel, action = std::move(action)] {
            action();
            if (PanelIsLoaded(panel)) ShowUnreadCount(panel);
        },
        keyOf(panel, control));
}

namespace {

void runOnMainPanel(int panel, std::function<void()> action, const void* key)
{
    Comm_WhenLinkIdle(
        [panel, action = std::move(action)] {
            if (panel != g_mainpanel || !PanelIsLoaded(panel)) return;
            action();
            if (PanelIsLoaded(panel)) ShowUnreadCount(panel);
        },
        key);
}

}  // namespace

void RunMainPanelAction(int panel, int control, std::function<void()> action)
{
    runOnMainPanel(panel, std::move(action), keyOf(panel, control));
}

void RunMainPanelCommand(int panel, std::function<void()> action)
{
    runOnMainPanel(panel, std::move(action), nullptr);
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
