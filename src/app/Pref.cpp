#include "app/Pref.h"

#include <QCoreApplication>
#include <QTimer>
#include <string>

#include "app/Prefs.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "devices/PortDescriptions.h"
#include "panels/MainPnl.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace {

constexpr char kOpenFailed[] = "Failed to Open Comm Port";
constexpr char kNoCamera[] = "Camera Not Found on This Port";

// "Failed to Open Comm Port" with the port, its device and the system's
// reason: whether choosing again can help (another program holds it, no
// permission, gone).
std::string openFailedText(int port, int status)
{
    std::string text = kOpenFailed;
    text += "\nCOM" + std::to_string(port) + " (" + ComPortDevice(port).toStdString() + "): ";
    text += status == kRS_PortInUse ? "in use by another program." : GetComOpenErrorText();
    return text;
}

// Asks for the camera's model on port.  The port that carries the link is
// asked over the open link; any other port is opened at baud for the question and,
// unless keepOpen, closed again.  g_com_port names the port during the
// question and is restored afterwards.  The message for a failure is shown
// here; true when a camera answered (its name in model).
bool askPort(int port, int baud, bool keepOpen, char (&model)[kModelNameSize])
{
    model[0] = '\0';
    if (port != 0 && port == g_com_port) {
        // A device that went away is opened again first; when it answers,
        // the main panel is read afresh as when it came back by itself.
        if (Comm_LinkLost()) Mpnl_RestoreLink();
        if (Comm_AskModel(model) == COMM_OK) return true;
        MessagePopup("ERROR", kNoCamera);
        return false;
    }
    const int saved = g_com_port;
    g_com_port = port;
    bool found = false;
    if (const int opened = Comm_OpenPort(port, baud); opened != 0) {
        MessagePopup("ERROR", openFailedText(port, opened).c_str());
    } else {
        found = Comm_AskModel(model) == COMM_OK;
        if (!found) MessagePopup("ERROR", kNoCamera);
        if (!found || !keepOpen) Comm_ClosePort(port);
    }
    g_com_port = saved;
    return found;
}

void readLabel(int panel, int control, char (&label)[kLabelMax + 1])
{
    std::string text;
    if (GetCtrlVal(panel, control, &text) >= 0) SetLensLabel(label, text);
}

}  // namespace

namespace {

// Each port with the device behind it and whether it is there now.
void fillPortRing(int panel)
{
    ClearListCtrl(panel, PREF_COM_LIST);
    for (const PortDescription& d : DescribePorts())
        InsertListItem(panel, PREF_COM_LIST, -1, PortLabel(d).toStdString().c_str(), d.port);
}

// The file's rate is shown even when the ring does not offer it.
void fillBaudRing(int panel)
{
    int index = -1;
    if (GetIndexFromValue(panel, PREF_BAUD, &index, g_com_baud) < 0)
        InsertListItem(panel, PREF_BAUD, -1, std::to_string(g_com_baud).c_str(), g_com_baud);
    SetCtrlVal(panel, PREF_BAUD, g_com_baud);
}

}  // namespace

void MMnu_FilePrefCallback(int, int, void*, int)
{
    const int panel = LoadPanel(0, kUlvoIccdUir, PREF);
    if (panel < 0) return;
    SetCtrlVal(panel, PREF_LABEL1, g_label1);
    SetCtrlVal(panel, PREF_LABEL2, g_label2);
    SetCtrlVal(panel, PREF_LABEL3, g_label3);
    fillPortRing(panel);
    SetCtrlVal(panel, PREF_COM_LIST, g_com_port);  // no link (0): the ring keeps its first port
    fillBaudRing(panel);
    SetPanelAttribute(panel, ATTR_LEGACY_618, 1);
    InstallPopup(panel);
}

namespace {

// Arrowing through the port list commits every port it passes; only the one
// the operator stays on is asked, once the list has been still a moment.
QTimer* s_probe = nullptr;
int g_probePanel = 0;

void probeChosenPort()
{
    const int panel = g_probePanel;
    if (!PanelIsLoaded(panel)) return;
    // Chosen while the camera is busy: the look follows what is running.
    RunDialogAction(panel, {PREF_OKBUTTON, PREF_CANCEL}, [panel] {
        int port = 0;
        GetCtrlVal(panel, PREF_COM_LIST, &port);
        int baud = g_com_baud;
        GetCtrlVal(panel, PREF_BAUD, &baud);
        char model[kModelNameSize];
        askPort(port, baud, false, model);
    });
}

void cancelProbe()
{
    if (s_probe) s_probe->stop();
}

}  // namespace

int Pref_ComListCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    if (!s_probe) {
        s_probe = new QTimer(QCoreApplication::instance());
        s_probe->setSingleShot(true);
        s_probe->setTimerType(Qt::PreciseTimer);
        s_probe->setInterval(kPortProbeDelayMs);
        QObject::connect(s_probe, &QTimer::timeout, probeChosenPort);
    }
    g_probePanel = panel;
    s_probe->start();
    return 0;
}

int Pref_ResetLabelCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    SetCtrlVal(panel, PREF_LABEL1, kShortLabel1);
    SetCtrlVal(panel, PREF_LABEL2, kShortLabel2);
    SetCtrlVal(panel, PREF_LABEL3, kShortLabel3);
    return 0;
}

namespace {

void takePreferences(int panel)
{
    int port = 0;
    GetCtrlVal(panel, PREF_COM_LIST, &port);
    int baud = g_com_baud;
    GetCtrlVal(panel, PREF_BAUD, &baud);
    const int previous = g_com_port;
    const int previousBaud = g_com_baud;
    const int previousModel = g_cam_model_user_idx;
    // Another rate: the line is opened afresh at it, as another port would be.
    const bool rebaud = baud != previousBaud;
    if (rebaud && previous != 0) {
        Comm_ClosePort(previous);
        g_com_port = 0;
    }
    char model[kModelNameSize];
    if (!askPort(port, baud, true, model)) {
        // The dialog stays open; the link is as it was, or, when its port
        // cannot be opened again, there is none and the window says so.
        if (rebaud && previous != 0) {
            const int reopened = Comm_OpenPort(previous, previousBaud);
            if (reopened == 0) {
                g_com_port = previous;
                return;
            }
            MessagePopup("ERROR", openFailedText(previous, reopened).c_str());
            DimMainPnlCtrls(1);
            DimMainPnlMenus(1);
            Mpnl_ShowLinkState();
        }
        return;
    }

    // The link moves to the new port: the old one is closed, not left open behind.
    if (previous != 0 && previous != port && !rebaud) Comm_ClosePort(previous);
    g_com_port = port;
    g_com_baud = baud;
    Comm_RecordModelName(model);

    readLabel(panel, PREF_LABEL1, g_label1);
    readLabel(panel, PREF_LABEL2, g_label2);
    readLabel(panel, PREF_LABEL3, g_label3);
    RemovePopup(0);
    SetCtrlVal(g_mainpanel, MAIN_L1, g_label1);
    SetCtrlVal(g_mainpanel, MAIN_L2, g_label2);
    SetCtrlVal(g_mainpanel, MAIN_L3, g_label3);
    Mpnl_ShowLensTooltips();

    // The rules decide again from the camera's state: nothing that its mode
    // or access locks is unlocked by confirming the dialog.
    const int dim = g_com_port == 0 ? 1 : 0;
    DimMainPnlCtrls(dim);
    DimMainPnlMenus(dim);
    // Another camera (or the same port now answering as another model) is
    // shown in its own shape.
    if (port != previous || rebaud || g_cam_model_user_idx != previousModel)
        Mpnl_ReadAndShowMain();  // the camera on the new port, read afresh
    if (port != previous || rebaud) Mpnl_ReadIdentity();
}

}  // namespace

int Pref_OKCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    cancelProbe();  // OK asks the chosen port itself
    RunDialogAction(panel, {PREF_OKBUTTON, PREF_CANCEL}, [panel] { takePreferences(panel); });
    return 0;
}

int Pref_CancelCallback(int, int, int event, void*, int, int)
{
    if (event == EVENT_COMMIT) cancelProbe();
    if (event == EVENT_COMMIT) RemovePopup(0);
    return 0;
}
