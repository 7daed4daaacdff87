// User-interface services: panels loaded from a resource, their controls and
// menu bars, pop-ups, callbacks and the event loop.
//
// Panels and menu bars are described as data (UiResource.h) and registered
// under a file name such as "Ulvo_ICCD.uir".  LoadPanel builds a new window
// from the description each time and returns a handle for it; controls are
// addressed by that handle and the control's constant.  Every control is one
// Qt widget whose objectName is the constant's name ("MAIN_AGN").
//
// Callbacks run on the user-interface thread from the Qt event loop.  Setting a
// value from the program (SetCtrlVal) never calls a callback; only the
// operator's actions do.  Functions return 0 (or a handle, a count) on success
// and a negative UiError on failure unless they say otherwise.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Timing.h"
#include "platform/WaitCursor.h"

// ---- Errors -----------------------------------------------------------------

enum UiError {
    UIENoError = 0,
    UIENoRunTime = -1,            ///< InitRunTime was not called (no application object)
    UIEFileNotFound = -2,         ///< no resource registered under that file name
    UIEResourceNotFound = -3,     ///< the file has no panel or menu bar with that constant
    UIEHandleInvalid = -4,        ///< not a loaded panel or menu bar
    UIEControlNotFound = -5,      ///< the panel has no control with that constant
    UIEMenuItemNotFound = -6,     ///< the menu bar has no item with that constant
    UIEInvalidAttribute = -7,     ///< the attribute does not apply to this control or panel
    UIEInvalidType = -8,          ///< the value's type does not fit the control
    UIEOutOfRange = -9,           ///< an index or attribute value outside its range
    UIEItemNotInList = -10,       ///< no ring item has that value
    UIENoPopup = -11,             ///< RemovePopup without a pop-up on screen
    UIEAlreadyPopup = -12,        ///< the panel is already a pop-up
    UIEBufferTooSmall = -13,      ///< the text did not fit; what fits was copied
    UIEControlNotOperable = -14,  ///< test driver: the operator could not reach this control
    UIEInstanceCheckFailed = -15  ///< the single-instance check could not be set up
};

/// Text of a UiError, for messages.
const char* GetUILErrorString(int error);

// ---- Events and callbacks ---------------------------------------------------

inline constexpr int EVENT_NONE = 0;
inline constexpr int EVENT_COMMIT = 1;      ///< value committed by the operator; button released
inline constexpr int EVENT_LEFT_CLICK = 3;  ///< button pressed
inline constexpr int EVENT_GOT_FOCUS = 8;   ///< control or panel gained the keyboard focus
inline constexpr int EVENT_LOST_FOCUS = 9;  ///< control or panel lost the keyboard focus
inline constexpr int EVENT_CLOSE = 12;      ///< the panel's close box was used

/// Control and panel callbacks.  Panel callbacks receive control 0.  The
/// result is ignored.
using CtrlCallbackPtr = int (*)(int panel, int control, int event, void* callbackData, int eventData1,
                                int eventData2);
using PanelCallbackPtr = CtrlCallbackPtr;

/// Menu callbacks: the menu bar handle, the item's constant and the panel the
/// menu bar sits on.
using MenuCallbackPtr = void (*)(int menuBar, int menuItem, void* callbackData, int panel);

/// The resource names its callbacks; the program makes the names known here.
/// Names are resolved each time an event arrives, so registering before or
/// after loading a panel makes no difference.  An unknown name is no callback.
/// Registering a name again replaces the function; nullptr forgets it.
void RegisterUiCallback(const char* name, CtrlCallbackPtr function);
void RegisterUiCallback(const char* name, MenuCallbackPtr function);

/// Installs a callback on one loaded control, panel or menu item, in place of
/// the one the resource names.  nullptr goes back to the resource's callback.
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr function, void* callbackData);
int InstallPanelCallback(int panel, PanelCallbackPtr function, void* callbackData);
int InstallMenuCallback(int menuBar, int menuItem, MenuCallbackPtr function, void* callbackData);

// ---- Attributes -------------------------------------------------------------

inline constexpr int ATTR_DIMMED = 1001;       ///< int 0/1: greyed, the operator cannot use it
inline constexpr int ATTR_VISIBLE = 1002;      ///< int 0/1
inline constexpr int ATTR_LABEL_TEXT = 1003;   ///< text, as stored ("__X" marks the access key)
inline constexpr int ATTR_MIN_VALUE = 1004;    ///< number
inline constexpr int ATTR_MAX_VALUE = 1005;    ///< number
inline constexpr int ATTR_INCR_VALUE = 1006;   ///< number; 0 hides the arrows
inline constexpr int ATTR_PRECISION = 1007;    ///< int, digits after the decimal point
inline constexpr int ATTR_CTRL_MODE = 1008;    ///< VAL_HOT, VAL_NORMAL or VAL_INDICATOR
inline constexpr int ATTR_HEIGHT = 1009;       ///< int pixels
inline constexpr int ATTR_WIDTH = 1010;        ///< int pixels
inline constexpr int ATTR_TOP = 1011;          ///< int pixels, from the panel's top (read only for controls)
inline constexpr int ATTR_LEFT = 1012;         ///< int pixels, from the panel's left (read only for controls)
inline constexpr int ATTR_TOTAL_LINES = 1013;  ///< text box: int line count (read only)
inline constexpr int ATTR_FIRST_VISIBLE_LINE = 1014;  ///< text box: int index of the top line in view
inline constexpr int ATTR_TOOLTIP_TEXT = 1015;        ///< text (a number's range is added to what is shown)
inline constexpr int ATTR_CTRL_STYLE = 1016;          ///< int CTRL_... (read only)
inline constexpr int ATTR_DATA_TYPE = 1017;           ///< int VAL_... data type (read only)
inline constexpr int ATTR_CONSTANT_NAME = 1018;       ///< text, the constant's name (read only)
inline constexpr int ATTR_CALLBACK_NAME = 1019;       ///< text, the callback the resource names (read only)
inline constexpr int ATTR_MAX_ENTRY_LENGTH = 1020;    ///< int characters an operator may type; 0 = no limit
inline constexpr int ATTR_TITLE = 1021;               ///< panel: text
inline constexpr int ATTR_ITEM_NAME = 1022;           ///< menu item: text, as stored
inline constexpr int ATTR_CHECKED = 1023;             ///< menu item: int 0/1
inline constexpr int ATTR_UNITS_TEXT = 1024;          ///< text shown after a value
inline constexpr int ATTR_TEXT_BGCOLOR = 1025;        ///< text message: int 0xRRGGBB behind it; -1 the usual
inline constexpr int ATTR_STATUS_TEXT =
    1026;  ///< panel: text of a status line along its bottom, made when first set
inline constexpr int ATTR_DIMMED_REASON =
    1027;  ///< text: why the control is dimmed, shown in its tooltip while it is
inline constexpr int ATTR_NO_VALUE_REASON =
    1028;  ///< text: the control holds no value (a number or text field shows nothing, a ring or check
           ///< box a dash) and its tooltip says why; any value set, by the program or the operator,
           ///< clears it
inline constexpr int ATTR_NO_VALUE_TEXT = 1029;  ///< text a control without a value shows greyed in its place
                                                 ///< (a dash when empty); cleared with ATTR_NO_VALUE_REASON

/// Panel attributes of the original run-time that have no effect here: they
/// are accepted, remembered and read back, and change nothing on screen.
inline constexpr int ATTR_LEGACY_533 = 533;
inline constexpr int ATTR_LEGACY_540 = 540;
inline constexpr int ATTR_LEGACY_618 = 618;

// Values of ATTR_CTRL_MODE.
inline constexpr int VAL_NORMAL = 0;     ///< operable, no commit events
inline constexpr int VAL_INDICATOR = 1;  ///< display only
inline constexpr int VAL_HOT = 2;        ///< operable, commit events

// Values of ATTR_DATA_TYPE.
inline constexpr int VAL_NO_TYPE = 0;
inline constexpr int VAL_INTEGER = 1;
inline constexpr int VAL_FLOAT = 2;
inline constexpr int VAL_DOUBLE = 3;
inline constexpr int VAL_STRING = 4;

// Values of ATTR_CTRL_STYLE.
inline constexpr int CTRL_NUMERIC = 1;
inline constexpr int CTRL_SLIDE = 2;
inline constexpr int CTRL_RING = 3;
inline constexpr int CTRL_STRING = 4;
inline constexpr int CTRL_TEXT_BOX = 5;
inline constexpr int CTRL_TEXT_MSG = 6;
inline constexpr int CTRL_COMMAND_BUTTON = 7;
inline constexpr int CTRL_ARROW_BUTTON = 8;
inline constexpr int CTRL_CHECK_BOX = 9;
inline constexpr int CTRL_TOGGLE_BUTTON = 10;
inline constexpr int CTRL_LED = 11;
inline constexpr int CTRL_DECORATION = 12;
inline constexpr int CTRL_PROGRESS_BAR = 13;

// ---- Run time ---------------------------------------------------------------

/// Creates the application object when there is none.  argv is the program's
/// null-terminated argument vector (may be null).  Returns 1 on success, 0 when
/// no user interface can be shown (no display).  Also makes SetWaitCursor
/// (WaitCursor.h) show the busy cursor from then on.
int InitRunTime(void* instance, char** argv, int reserved);

/// Ends what InitRunTime began: frees the application object it made (and
/// what closed ports still hold).  Windows must be discarded first.
void CloseRunTime();

/// Runs the event loop until QuitUserInterface; returns its code.  A quit
/// asked for while no loop runs makes the next call return at once.
int RunUserInterface();
int QuitUserInterface(int code);

/// Screen size in pixels (note the order: height first).
int GetScreenSize(int* height, int* width);

/// The working directory, where the program keeps its files.
int GetProjectDir(std::string* directory);
int GetProjectDir(char* directory, std::size_t size);
template <std::size_t N>
int GetProjectDir(char (&directory)[N])
{
    return GetProjectDir(directory, N);
}

/// Single-instance check.  The first copy of the program (per user and key)
/// answers 0 in isDuplicate and listens for later copies; a later copy gets 1
/// and, with activateOtherInstance, brings the first copy's window to the
/// front.  Returns 0, or UIEInstanceCheckFailed (isDuplicate then 0).
int CheckForDuplicateAppInstance(int activateOtherInstance, int* isDuplicate);

/// Asks the first copy of the program (see CheckForDuplicateAppInstance) to
/// bring its window to the front.
int ActivateOtherAppInstance();

/// Key that tells programs apart in CheckForDuplicateAppInstance (default
/// "UlvoIccdControl"); call before it.  A new key ends listening under the old.
void SetAppInstanceKey(const char* key);

// ---- Panels -----------------------------------------------------------------

/// Builds a new panel from the resource: parentPanel 0 for a top-level window,
/// else the panel that owns the new window.  Returns a handle > 0 (a new one on
/// every call) or a negative UiError.
int LoadPanel(int parentPanel, const char* file, int panelResource);

int DisplayPanel(int panel);
int HidePanel(int panel);

/// Removes the panel and everything on it.  Inside a callback of the panel the
/// window itself goes once the callback has returned.
int DiscardPanel(int panel);

/// Shows the panel as an application-modal pop-up and returns at once; the
/// running event loop serves it.  Pop-ups stack.
int InstallPopup(int panel);

/// Takes the top pop-up (removeAll 0) or all of them off the screen.  A removed
/// pop-up stays readable until the callback that removed it has returned, then
/// it is discarded: the program loads a panel again to show it again.
int RemovePopup(int removeAll);

int GetPanelAttribute(int panel, int attribute, int* value);
int GetPanelAttribute(int panel, int attribute, std::string* value);
int SetPanelAttribute(int panel, int attribute, int value);
int SetPanelAttribute(int panel, int attribute, const char* value);

// ---- Controls ---------------------------------------------------------------

/// Values: rings and integer numerics read as int, real numerics and slides as
/// double or float (an int read of a real is rounded), strings and text boxes
/// as text.  A ring is set by item value; a value no item has is refused.
/// Numbers are held within the control's range.
int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, double* value);
int GetCtrlVal(int panel, int control, float* value);
int GetCtrlVal(int panel, int control, std::string* value);
int GetCtrlVal(int panel, int control, char* value, std::size_t size);
template <std::size_t N>
int GetCtrlVal(int panel, int control, char (&value)[N])
{
    return GetCtrlVal(panel, control, value, N);
}

int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char* value);
int SetCtrlVal(int panel, int control, const std::string& value);

/// Geometry of laid-out controls: reading gives the size the layout gave, or
/// the size the program set.  A set width or height is honoured as far as the
/// control's contents allow; a frame never clips the controls inside it.
int GetCtrlAttribute(int panel, int control, int attribute, int* value);
int GetCtrlAttribute(int panel, int control, int attribute, double* value);
int GetCtrlAttribute(int panel, int control, int attribute, std::string* value);
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, double value);
int SetCtrlAttribute(int panel, int control, int attribute, const char* value);

// Rings.
int GetNumListItems(int panel, int control, int* count);
/// index -1 appends.
int InsertListItem(int panel, int control, int index, const char* label, int value);
/// count -1 deletes from index to the end.
int DeleteListItem(int panel, int control, int index, int count);
int ClearListCtrl(int panel, int control);
int GetLabelFromIndex(int panel, int control, int index, std::string* label);
int GetValueFromIndex(int panel, int control, int index, int* value);
int GetIndexFromValue(int panel, int control, int* index, int value);
int GetCtrlIndex(int panel, int control, int* index);
int SetCtrlIndex(int panel, int control, int index);

// Text boxes.  A line's trailing CR and LF are not shown.
/// index -1 appends.
int InsertTextBoxLine(int panel, int control, int index, const char* text);
int GetNumTextBoxLines(int panel, int control, int* count);
/// count -1 deletes to the end.
int DeleteTextBoxLines(int panel, int control, int firstLine, int count);
int ResetTextBox(int panel, int control, const char* text);

// ---- Menu bars --------------------------------------------------------------

/// Builds the menu bar on the panel's window (replacing one it had).
int LoadMenuBar(int panel, const char* file, int menuBarResource);
int DiscardMenuBar(int menuBar);
/// Removes one item (a menu with everything in it).
int DiscardMenuItem(int menuBar, int menuItem);
int GetMenuBarAttribute(int menuBar, int menuItem, int attribute, int* value);
int GetMenuBarAttribute(int menuBar, int menuItem, int attribute, std::string* value);
int SetMenuBarAttribute(int menuBar, int menuItem, int attribute, int value);
int SetMenuBarAttribute(int menuBar, int menuItem, int attribute, const char* value);

// ---- Pop-ups ----------------------------------------------------------------

/// Shows a message with an OK button and waits until the operator dismissed
/// it.  The title "ERROR"/"Error" gives an error icon, "WARNING" a warning one.
int MessagePopup(const char* title, const char* message);

/// Asks the operator to go on (OK) or not (Cancel), with a warning icon; 1
/// for OK, 0 for Cancel.  A run nobody watches goes on by no one's decision:
/// it cancels.
int ConfirmPopup(const char* title, const char* message);

/// MessagePopup with a second button beside OK that offers an action ("Restore
/// Previous Settings"); 1 when the operator chose the action, 0 for OK or the
/// close box.  A run nobody watches takes OK.
int ActionMessagePopup(const char* title, const char* message, const char* actionLabel);

/// Opens a local file (a guide, a folder) in the program the desktop has for
/// it.  0, or UIEFileNotFound when the file is not there, or UIENoRunTime
/// when the desktop has nothing to open it with.
int OpenDocument(const char* path);

/// For runs nobody watches (--quit-after-start, --screenshot): messages are
/// written to stderr as "TITLE: text" and MessagePopup returns at once.
void SetUnattendedMessages(bool on);

inline constexpr int VAL_OK_BUTTON = 0;
inline constexpr int VAL_SAVE_BUTTON = 1;
inline constexpr int VAL_SELECT_BUTTON = 2;
inline constexpr int VAL_LOAD_BUTTON = 3;

inline constexpr int VAL_NO_FILE_SELECTED = 0;
inline constexpr int VAL_EXISTING_FILE_SELECTED = 1;
inline constexpr int VAL_NEW_FILE_SELECTED = 2;

inline constexpr std::size_t MAX_PATHNAME_LEN = 1024;

/// Asks for a file.  defaultPattern is such as "*.cfg";
/// fileTypeList adds patterns separated by ';'.  buttonLabel VAL_SAVE_BUTTON
/// asks for a file to write, the others for an existing file; a name to
/// write typed without an extension gets the one of a "*.ext" pattern.  Returns
/// VAL_NO_FILE_SELECTED, VAL_EXISTING_FILE_SELECTED or VAL_NEW_FILE_SELECTED
/// with the absolute path in path, or a negative UiError.
int FileSelectPopup(const char* defaultDirectory, const char* defaultPattern, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char* path, std::size_t size);
template <std::size_t N>
int FileSelectPopup(const char* defaultDirectory, const char* defaultPattern, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char (&path)[N])
{
    return FileSelectPopup(defaultDirectory, defaultPattern, fileTypeList, title, buttonLabel,
                           restrictDirectory, restrictExtension, allowCancel, allowMakeDirectory, path, N);
}
