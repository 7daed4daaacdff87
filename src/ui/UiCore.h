// Inside the user-interface services: loaded panels and menu bars, the
// controls on them, callback dispatch and the pop-up stack.  Not for the
// program's own code, which includes Ui.h; the test driver (tests/support)
// reaches in here to act as the operator.
#pragma once

#include <QObject>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "ui/Ui.h"
#include "ui/UiResource.h"
#include "ui/UiWidgets.h"

class QAction;
class QLabel;
class QMenuBar;

namespace uiimpl {

/// A value or attribute value crossing the service boundary.
using Value = std::variant<int, double, std::string>;

/// Number in a value (text is not a number).
bool numberOf(const Value& value, double* number);
/// Int in a value, rounded to nearest.
bool intOf(const Value& value, int* number);
/// Text in a value (a number in its shortest form).
bool textOf(const Value& value, std::string* text);

/// A display-only field shows the window's background, so it does not look
/// like one to type in.
void SetDisplayLook(QWidget* w, bool display);
/// Display-only controls that Qt cannot make read-only ignore the mouse and
/// the keyboard instead.
void SetInert(QWidget* w, bool inert);

// ---- Controls ---------------------------------------------------------------

/// What a ring offers beyond a value.
class ListOps {
public:
    virtual ~ListOps() = default;
    virtual int itemCount() const = 0;
    virtual int insertItem(int index, const std::string& label, int value) = 0;
    virtual int deleteItems(int index, int count) = 0;
    virtual int itemLabel(int index, std::string* label) const = 0;
    virtual int itemValue(int index, int* value) const = 0;
    virtual int indexOfValue(int value) const = 0;  ///< -1 when no item has it
    virtual int currentIndex() const = 0;
    virtual int setCurrentIndex(int index) = 0;
};

/// What a text box offers beyond a value.
class LineOps {
public:
    virtual ~LineOps() = default;
    virtual int lineCount() const = 0;
    virtual int insertLine(int index, const std::string& text) = 0;
    virtual int deleteLines(int first, int count) = 0;
};

/// One control of a loaded panel: its widget, label and units, and what the
/// services read and write on it.  The kinds are in UiControlKinds.cpp.
class Control {
public:
    Control(int panel, const uires::Ctrl& desc);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const uires::Ctrl& desc;
    const int panel;
    const int id;

    QWidget* widget = nullptr;  ///< the control; objectName = the constant's name
    QLabel* label = nullptr;    ///< its label, when shown beside it
    QLabel* units = nullptr;    ///< units shown after it
    QWidget* cell = nullptr;    ///< holder of label and control when the label sits above

    CtrlCallbackPtr installed = nullptr;
    void* callbackData = nullptr;

    virtual int style() const = 0;
    virtual int dataType() const { return VAL_NO_TYPE; }

    virtual int get(Value& out) const;
    virtual int set(const Value& value);
    virtual int getAttribute(int attribute, Value& out) const;
    virtual int setAttribute(int attribute, const Value& value);

    /// The operator enters a value (test driver): set it and commit.
    virtual int enter(const Value& value);
    /// The operator presses or lets go of a button (test driver).
    virtual int press(bool down);

    virtual ListOps* list() { return nullptr; }
    virtual LineOps* lines() { return nullptr; }

    /// The keyboard focus left the control (a text box commits its edit).
    virtual void focusLost() {}

    /// Calls the control's callback (commits only in hot mode).  A commit is
    /// the operator's value, so the control no longer holds none.
    void fire(int event, int eventData1 = 0, int eventData2 = 0);

    /// A value was set: the mark of ATTR_NO_VALUE_REASON goes.
    void clearNoValue();

    /// The operator could use it: shown and enabled all the way up to its
    /// window, and not display-only.
    bool operable() const;

    /// Puts the label text on screen (after the label or mode changed).
    virtual void showLabel();
    /// The units label has been placed beside the control.
    virtual void unitsPlaced() {}
    /// Applies the control mode to the widget.
    virtual void applyMode();
    /// Puts the tooltip on screen: the program's text, the range of a number,
    /// and while dimmed, why (after any of them changed).
    void showTooltip();
    /// "From 0.00 to 32.00 dB" for a number; empty for the rest.
    virtual std::string rangeText() const { return {}; }
    /// Shows that the control holds no value (none) or shows its value again.
    virtual void showNoValue(bool none) { (void)none; }

    std::string labelText;
    std::string unitsText;
    int mode = VAL_HOT;

protected:
    /// Context of the control's signal connections: they end with the control.
    QObject guard_;
    bool dimmed_ = false;
    bool visible_ = true;
    std::string tooltip_;        // as the program or the resource set it
    std::string dimmedReason_;   // shown in the tooltip while dimmed
    std::string noValueReason_;  // non-empty: the control holds no value, and this is why
    std::string noValueText_;    // shown in its place; a dash when empty

    /// What a control without a value shows in its place.
    QString noValueShown() const;
    int background_ = -1;
    int requestedWidth_ = -1;
    int requestedHeight_ = -1;

private:
    int geometry(int attribute) const;
    int setSize(int attribute, int pixels);
};

/// Brings the geometry of every widget in the window up to date, shown or not.
void SettleLayout(QWidget* window);

/// Makes the control's widgets (parent: the panel's window) and the object
/// that serves it.
std::unique_ptr<Control> MakeControl(int panel, const uires::Ctrl& desc, QWidget* window);
/// The same for numbers, slides, rings, strings and text boxes; nullptr for
/// other kinds (UiControlValues.cpp).
std::unique_ptr<Control> MakeValueControl(int panel, const uires::Ctrl& desc, QWidget* window);

// ---- Panels and menu bars ---------------------------------------------------

struct PanelRecord {
    int handle = 0;
    int parent = 0;
    const uires::Panel* desc = nullptr;
    QPointer<PanelWindow> window;
    std::map<int, std::unique_ptr<Control>> controls;
    PanelCallbackPtr installed = nullptr;
    void* callbackData = nullptr;
    std::map<int, int> legacyAttributes;
    int menuBar = 0;
    bool shownBefore = false;
};

struct MenuItemRecord {
    const uires::MenuItem* desc = nullptr;
    QPointer<QAction> action;
    std::string label;
    MenuCallbackPtr installed = nullptr;
    void* callbackData = nullptr;
};

struct MenuBarRecord {
    int handle = 0;
    int panel = 0;
    const uires::MenuBar* desc = nullptr;
    QPointer<QMenuBar> bar;
    std::map<int, MenuItemRecord> items;
};

PanelRecord* FindPanelRecord(int handle);
/// Handles of every loaded panel.
std::vector<int> AllPanels();
MenuBarRecord* FindMenuBarRecord(int handle);
/// The control, or nullptr with the error in *error.
Control* FindControl(int panel, int control, int* error);
/// Builds the widgets of a panel from its description (UiBuild.cpp).
void BuildPanel(PanelRecord& record);
/// Discards the menu bar records of a panel that goes away.
void ForgetMenuBarsOf(int panel);

/// A quit asked for while no event loop ran, with its code.
bool QuitPending(int* code);
void ClearQuitPending();

/// The panels shown as pop-ups, bottom first.
std::vector<int>& PopupStack();
/// The window new windows should stay in front of: the top pop-up, else the
/// active panel, else the first panel on screen.  nullptr when none.
QWidget* FrontWindow();

// ---- Callbacks --------------------------------------------------------------

CtrlCallbackPtr RegisteredCtrlCallback(const std::string& name);
MenuCallbackPtr RegisteredMenuCallback(const std::string& name);

void DispatchCtrlEvent(int panel, int control, int event, int eventData1, int eventData2);
void DispatchPanelEvent(int panel, int event);
void DispatchMenuEvent(int menuBar, int menuItem);

/// True while a callback runs.
bool InCallback();
/// Discards the panel once no callback runs any more (at once when none does).
void DiscardWhenIdle(int panel);
/// Keeps a discarded panel's controls until no callback runs any more: one of
/// them may be the caller.
void KeepUntilIdle(std::unique_ptr<PanelRecord> record);
/// Discards what waited for the callbacks to end (UiPanels.cpp).
void DiscardPending();

}  // namespace uiimpl
