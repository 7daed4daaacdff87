// Test driver: acts as the operator on real panels (offscreen), and answers
// the pop-ups that would otherwise wait for one.  For tests only: it is built
// into a test library, never into a program.
//
// Every action first checks that an operator could do it: the panel is on
// screen and not behind a modal pop-up, and the control is shown, not dimmed
// (nor inside a dimmed or hidden frame) and not display-only, and it can be
// scrolled into the window's view (the driver scrolls it there).  Otherwise the
// action does nothing and returns UIEControlNotOperable.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ui/Ui.h"

class QWidget;
#include <QKeyCombination>

namespace uitest {

/// A clean slate between tests: discards every panel and menu bar, forgets
/// recorded pop-ups, file answers and a pending quit, and turns recording on.
void Reset();

/// The operator enters a value into a control and commits it (EVENT_COMMIT).
/// A ring takes the value of one of its items; a check box or toggle 0 or 1.
int Commit(int panel, int control, int value);
int Commit(int panel, int control, double value);
int Commit(int panel, int control, const char* text);

/// The operator presses a button (EVENT_LEFT_CLICK) and lets it go
/// (EVENT_COMMIT); Click does both.
int Press(int panel, int control);
int Release(int panel, int control);
int Click(int panel, int control);

/// The operator chooses a menu item (it and its menus must be enabled).
int ChooseMenuItem(int menuBar, int menuItem);

/// The operator uses the panel's close box.
int ClosePanel(int panel);

/// The operator presses Enter or Escape (a Qt::Key) with the keyboard focus
/// on a control (0: on no control of the panel).  The key goes where the
/// keyboard would send it: the focused control, on to its window if the
/// control leaves it, and Escape to the panel's shortcut.
int PressKey(int panel, int control, int key);

/// The operator types a key with its modifiers (Qt::CTRL | Qt::Key_O,
/// Qt::ALT | Qt::Key_C, Qt::Key_F5) into the panel's window, made the active
/// one, with the focus on a control (0: where it is).  The key takes Qt's
/// own path: shortcuts and access keys first, then the focused widget.
int TypeKey(int panel, int control, QKeyCombination key);

/// With recording on, MessagePopup returns at once and keeps (title, text);
/// FileSelectPopup takes the queued answers, and without one is cancelled.
void RecordPopups(bool on);

struct Popup {
    std::string title;
    std::string text;
    bool operator==(const Popup&) const = default;
    /// For test failures: the title and the text as they were shown.
    friend void PrintTo(const Popup& p, std::ostream* out) { *out << p.title << ": \"" << p.text << "\""; }
};
std::vector<Popup> Popups();
void ClearPopups();

/// Queues the answer to the next ConfirmPopup: OK (true) or Cancel.  Without
/// one, a confirmation is cancelled.  It also answers the next
/// ActionMessagePopup: true chooses its action; without an answer it is OK.
void AnswerConfirm(bool ok);

/// Queues the answer to the next file dialog: a path (relative paths are
/// taken in the dialog's directory), or a cancel.
void AnswerFileDialog(const std::string& path);
void CancelFileDialog();

struct FileDialog {
    std::string directory, pattern, title;
    int buttonLabel = 0;
};
/// The file dialogs asked for so far.
std::vector<FileDialog> FileDialogs();

/// The files OpenDocument was asked to open, in order.
std::vector<std::string> OpenedDocuments();

/// The handle of the top pop-up, 0 when none.
int TopPopup();

/// True (with the code) when QuitUserInterface was called and no event loop
/// ran to take it.
bool QuitRequested(int* code = nullptr);

/// The Qt objects behind a panel and a control, for looking at them.
QWidget* PanelWidget(int panel);
QWidget* ControlWidget(int panel, int control);

}  // namespace uitest
