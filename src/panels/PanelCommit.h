// What every camera panel does with a change and with a fill: a refused
// change gives way to the camera's value, a failure is reported once, and a
// value that could not be read is never shown as if it had been.
#pragma once

#include <string>

/// Shows the status text of a failed command in an "ERROR" pop-up; 0 shows
/// nothing.
void ReportCommStatus(int status);

/// After a change of control was sent: accepted (0), the value it shows is
/// noted as the camera's; refused, the value last noted is shown again.
void SettleCommitted(int panel, int control, int status);

/// Shows a value the camera reported as it holds it, and notes it as the
/// camera's.  Never a limit the camera does not hold: a display's range widens
/// to hold it (and narrows back once the camera's value fits again); a number
/// beyond what the operator may set, or a ring without an item for it, shows
/// the camera's value greyed in place of one and says so in its tooltip.
/// True when the value itself is shown.
bool ShowCameraValue(int panel, int control, double value);

/// The control's value could not be read (status, or SnapshotStats::kNotAsked
/// for a query a stopped reading never made): it holds none, and its tooltip
/// gives the reason.
void ShowUnread(int panel, int control, int status);

/// Opens a camera pop-up once the link is idle: loads the panel resource
/// afresh into *handle (nothing when it cannot be loaded), sets the panel
/// attribute 618 when asked, and fills it with fill either before it is shown
/// or right after.  Chosen again while it waits, it opens once.
struct PopupOpening {
    int resource;  ///< or, when chooseResource is given, what it answers when the link is idle
    int* handle;
    bool attribute618;
    bool fillBeforeShowing;
    int (*fill)();
    int (*chooseResource)() = nullptr;
    void (*close)(int panel) = nullptr;  ///< how the panel closes itself; CloseCameraPopup when not given
};
void OpenCameraPopup(const PopupOpening& opening);

/// Makes the menu item open the pop-up with CameraPopupMenuCallback.
void RegisterCameraPopup(int menuItem, const PopupOpening& opening);
/// The menu command of every camera pop-up: opens the one registered for the
/// item.
void CameraPopupMenuCallback(int menuBar, int menuItem, void* callbackData, int panel);
/// The OK button (on commit) and the close box (a panel callback, control 0,
/// on close) of every camera pop-up: the pop-up closes as its opening says.
int CameraPopupCloseCallback(int panel, int control, int event, void* callbackData, int eventData1,
                             int eventData2);
/// The resource an open camera pop-up was loaded from; -1 for any other panel.
int CameraPopupResource(int panel);

/// Takes the camera pop-up off the screen (RemovePopup) and forgets what was
/// noted for its controls.
void CloseCameraPopup(int panel);

/// The camera pop-ups on screen when the link comes back: for the same model
/// each is filled again from the camera, which may have been switched off in
/// between; for another model they close, because they were laid out for the
/// camera that went away.
void RenewCameraPopups(bool sameModel);
/// Forgets the camera pop-ups on screen, for the end of the program, which
/// removes every pop-up itself.
void ForgetCameraPopups();

/// Fills a panel from the camera, one query after another.  A value is shown
/// (and noted as the camera's) only when its query succeeded; a control whose
/// query failed holds no value, and says why (ShowUnread).  report() shows one
/// "ERROR" pop-up with the first failure's status text and the count of what
/// could not be read in the status line.
class PanelFill {
public:
    explicit PanelFill(int panel) : panel_(panel) {}

    /// Notes status; true when it is 0.
    bool ok(int status);
    /// Asks the camera with get and shows the answer in control.
    void read(int control, int (*get)(int*));
    void read(int control, int (*get)(float*));
    /// Shows value in control when status (of the query that gave it,
    /// already made) is 0.
    void showAnswer(int control, int status, int value);
    void showAnswer(int control, int status, double value);

    int firstFailure() const { return firstFailure_; }
    /// The one message, when a query failed.
    void report() const;

private:
    int panel_;
    int firstFailure_ = 0;
};
