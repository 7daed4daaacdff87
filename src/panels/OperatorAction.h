// An operator's action on the camera, started from a panel.
//
// While the link is in use (a reply is awaited, or a refresh or a file load
// runs), an action cannot go out; it is queued and carried out once the link
// is idle, in the order given (camera/LinkQueue.h).  These helpers add what a
// panel needs on top: the action is skipped if its panel is gone by then, and
// a dialog's buttons are dimmed from the press until the action is over, so a
// second press is visibly refused rather than run twice.
#pragma once

#include <functional>
#include <initializer_list>

/// Runs action for a control of a panel now or, while the link is in use,
/// once it is idle.  Committing the same control again while its action waits
/// replaces the waiting action.  The action runs even when the panel has gone
/// meanwhile (a pop-up closed right after a change): it must carry the value
/// as committed, and what it shows afterwards goes nowhere.
void RunPanelAction(int panel, int control, std::function<void()> action);

/// Runs action for a control of the main panel in g_mainpanel now or, while
/// the link is in use, once it is idle.  Committing the same control again
/// while its action waits replaces the waiting action.
void RunMainPanelAction(int panel, int control, std::function<void()> action);

/// As RunMainPanelAction, but every call queues an action of its own: a
/// command line typed while another waits goes out after it, not instead.
void RunMainPanelCommand(int panel, std::function<void()> action);

/// Runs a dialog's action now or once the link is idle, with the given
/// buttons dimmed from now until the action has ended.  The action is skipped
/// when the dialog has been closed meanwhile.
void RunDialogAction(int panel, std::initializer_list<int> buttons, std::function<void()> action);

/// True while the panel handle names a loaded panel.
bool PanelIsLoaded(int panel);
