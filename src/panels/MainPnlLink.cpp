// Refresh, and losing the camera and finding it again.
//
// A device that goes away (an unplugged adapter, a device server restarted, a
// camera switched off behind a pseudo-terminal) leaves the port number in
// g_com_port: the panel dims as without a link, says so in its title, and
// tries the same port about once a second, without a word until the camera
// answers there.  Then the camera is identified afresh, the panel reshaped
// for it (it may be another model by now) and every setting read again.
#include <QCoreApplication>
#include <QTimer>
#include <string>

#include "camera/Connect.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/OperatorAction.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "platform/ComPortMap.h"
#include "ui/Ui.h"

namespace {

constexpr int kRetryMs = 1000;

// Created on first use and parented to the application, so that nothing is
// left to run after it.
QTimer* s_retry = nullptr;

QTimer* makeTimer(int ms, bool single, void (*onTimeout)())
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(ms);
    timer->setSingleShot(single);
    QObject::connect(timer, &QTimer::timeout, onTimeout);
    return timer;
}

void retryTick()
{
    // Found again meanwhile (Preferences, Refresh): nothing left to look for.
    if (!Comm_LinkLost()) {
        s_retry->stop();
        Mpnl_ShowLinkState();
        return;
    }
    // An operation owns the link; the next tick tries again.
    if (Comm_LinkInUse()) return;
    Mpnl_RestoreLink();
}

void startLooking()
{
    if (!QCoreApplication::instance()) return;
    if (!s_retry) s_retry = makeTimer(kRetryMs, false, retryTick);
    if (!s_retry->isActive()) s_retry->start();
}

void onLinkLost()
{
    Mpnl_ForgetLinkRestored();
    mainpnl::ApplyRules();
    Mpnl_ShowLinkState();
    startLooking();
}

}  // namespace

void Mpnl_WatchLink()
{
    Comm_SetLinkLostHook(onLinkLost);
}

void Mpnl_StopWatchingLink()
{
    Comm_SetLinkLostHook(nullptr);
    if (s_retry) s_retry->stop();
    Mpnl_ForgetLinkRestored();
}

bool Mpnl_LookingForCamera()
{
    return s_retry && s_retry->isActive();
}

bool Mpnl_RestoreLink()
{
    if (g_com_port == 0 || !Comm_LinkLost()) return false;
    CommOperation operation;  // the operator's actions wait for the re-read
    const int modelBefore = g_cam_model_idx;
    if (Comm_Reconnect() != COMM_OK) return false;
    if (s_retry) s_retry->stop();
    Mpnl_NoteLinkRestored();
    Mpnl_ReadIdentity();
    RenewCameraPopups(g_cam_model_idx == modelBefore);
    // Lost again during the re-read: the title says so, and the looking
    // starts over; a pop-up for each attempt would only get in the way.
    Mpnl_ReadAndShowMain();
    if (Comm_LinkLost()) startLooking();
    return true;
}

void Mpnl_Refresh(int panel)
{
    if (g_com_port == 0) return;
    CommOperation operation;
    SetCtrlVal(panel, MAIN_REF_ACTIVE, 1);
    // The device went away: try its port now, as the looking does.
    if (Comm_LinkLost()) {
        if (!Mpnl_RestoreLink()) {
            std::string message = "No camera found.\nThe link to the camera on ";
            message += Mpnl_PortText();
            message += " is lost; the program keeps looking for the camera there.";
            MessagePopup("ERROR", message.c_str());
        }
        SetCtrlVal(panel, MAIN_REF_ACTIVE, 0);
        return;
    }
    char name[kModelNameSize] = {};
    const int status = Comm_AskModel(name);
    if (status == COMM_OK) {
        Comm_RecordModelName(name);
        Mpnl_ReadAndShowMain();
    } else if (status == COMM_LINK_LOST) {
        // The loss is shown by the panel and the looking has begun.
        MessagePopup("ERROR", Comm_FailureText(status).c_str());
    } else {
        MessagePopup("ERROR", "No camera found.\n");
    }
    SetCtrlVal(panel, MAIN_REF_ACTIVE, 0);
}

int Mpnl_RefreshButtonCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    // Pressed while the camera is busy: the refresh follows what is running.
    RunMainPanelAction(panel, MAIN_REFRESH, [panel] { Mpnl_Refresh(panel); });
    return 0;
}
