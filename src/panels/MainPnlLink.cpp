// Losing the camera and finding it again.
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
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "ui/Ui.h"

namespace {

constexpr int kRetryMs = 1000;
constexpr int kRestoredNoteMs = 10000;

// Created on first use and parented to the application, so that nothing is
// left to run after it.
QTimer* s_retry = nullptr;
QTimer* g_restoredNote = nullptr;

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
    if (g_restoredNote) g_restoredNote->stop();
    mainpnl::ApplyRules();
    Mpnl_ShowLinkState();
    startLooking();
}

void noteRestored()
{
    if (!QCoreApplication::instance()) return;
    if (!g_restoredNote) g_restoredNote = makeTimer(kRestoredNoteMs, true, [] { Mpnl_ShowLinkState(); });
    g_restoredNote->start();
}

std::string portText()
{
    return "COM" + std::to_string(g_com_port) + " (" + ComPortDevice(g_com_port).toStdString() + ")";
}

// The versions of the camera last identified; "?" where it did not say.
char s_firmware[kVersionSize] = "";
char s_fpga[kVersionSize] = "";

std::string statusText()
{
    if (g_com_port == 0) return "No camera";
    std::string text = portText();
    if (Comm_LinkLost()) return text + "    Link lost, looking for the camera";
    text += "    Connected    ";
    const int row = g_cam_model_user_idx;
    text += row >= 0 && row < kCamModelCount ? g_cam_models[row] : "?";
    text += std::string("    firmware ") + (s_firmware[0] ? s_firmware : "?");
    text += std::string("    FPGA ") + (s_fpga[0] ? s_fpga : "?");
    if (const int unread = UnreadCount(g_mainpanel)) text += "    " + UnreadCountText(unread);
    return text;
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
    if (g_restoredNote) g_restoredNote->stop();
}

bool Mpnl_LookingForCamera()
{
    return s_retry && s_retry->isActive();
}

void Mpnl_ShowLinkState()
{
    const int panel = g_mainpanel;
    if (panel <= 0) return;
    std::string title;
    if (GetPanelAttribute(panel, ATTR_TITLE, &title) < 0) return;
    // The suffix is ours; the shaping for the model sets the rest.
    if (const auto cut = title.find(" - "); cut != std::string::npos) title.erase(cut);
    if (Comm_LinkLost())
        title += " - camera link lost, looking for the camera on " + portText();
    else if (g_restoredNote && g_restoredNote->isActive())
        title += " - camera link restored";
    SetPanelAttribute(panel, ATTR_TITLE, title.c_str());
    SetPanelAttribute(panel, ATTR_STATUS_TEXT, statusText().c_str());
}

void Mpnl_ReadIdentity()
{
    if (Comm_GetFWVer(s_firmware) != COMM_OK) s_firmware[0] = '\0';
    if (Comm_GetFPGAVer(s_fpga) != COMM_OK) s_fpga[0] = '\0';
    Mpnl_ShowLinkState();
}

bool Mpnl_RestoreLink()
{
    if (g_com_port == 0 || !Comm_LinkLost()) return false;
    CommOperation operation;  // the operator's actions wait for the re-read
    const int modelBefore = g_cam_model_idx;
    if (Comm_Reconnect() != COMM_OK) return false;
    if (s_retry) s_retry->stop();
    noteRestored();
    Mpnl_ReadIdentity();
    RenewCameraPopups(g_cam_model_idx == modelBefore);
    // Lost again during the re-read: the title says so, and the looking
    // starts over; a pop-up for each attempt would only get in the way.
    Mpnl_ReadAndShowMain();
    if (Comm_LinkLost()) startLooking();
    return true;
}
