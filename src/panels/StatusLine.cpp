// The status lines: the main panel's title and status line say how the link
// stands and what camera is on it; every panel's status line counts the
// settings it could not read.
#include "panels/StatusLine.h"

#include <QCoreApplication>
#include <QString>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <string>

#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "panels/ConfirmedValues.h"
#include "panels/MainPnl.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "ui/Ui.h"
#include "ui/UiResource.h"

namespace {

constexpr int kRestoredNoteMs = 10000;

// Created on first use and parented to the application, so that nothing is
// left to run after it.
QTimer* s_restoredNote = nullptr;

// The versions of the camera last identified; "?" where it did not say.
char s_firmware[kVersionSize] = "";
char s_fpga[kVersionSize] = "";

std::string s_lastAction;

std::string statusText()
{
    if (g_com_port == 0) return "No camera";
    std::string text = Mpnl_PortText();
    if (Comm_LinkLost()) return text + "    Link lost, looking for the camera";
    text += "    Connected    ";
    const int row = g_cam_model_user_idx;
    text += row >= 0 && row < kCamModelCount ? g_cam_models[row] : "?";
    text += std::string("    firmware ") + (s_firmware[0] ? s_firmware : "?");
    text += std::string("    FPGA ") + (s_fpga[0] ? s_fpga : "?");
    if (const int unread = UnreadCount(g_mainpanel)) text += "    " + UnreadCountText(unread);
    if (!s_lastAction.empty()) text += "    " + s_lastAction;
    return text;
}

}  // namespace

std::string Mpnl_PortText()
{
    return "COM" + std::to_string(g_com_port) + " (" + ComPortDevice(g_com_port).toStdString() + ")";
}

void Mpnl_NoteLinkRestored()
{
    if (!QCoreApplication::instance()) return;
    if (!s_restoredNote) {
        s_restoredNote = new QTimer(QCoreApplication::instance());
        s_restoredNote->setInterval(kRestoredNoteMs);
        s_restoredNote->setSingleShot(true);
        QObject::connect(s_restoredNote, &QTimer::timeout, [] { Mpnl_ShowLinkState(); });
    }
    s_restoredNote->start();
}

void Mpnl_ForgetLinkRestored()
{
    if (s_restoredNote) s_restoredNote->stop();
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
        title += " - camera link lost, looking for the camera on " + Mpnl_PortText();
    else if (s_restoredNote && s_restoredNote->isActive())
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

void ShowUnreadCount(int panel)
{
    if (panel == g_mainpanel) {
        Mpnl_ShowLinkState();
        return;
    }
    const int count = UnreadCount(panel);
    std::string line;
    if (GetPanelAttribute(panel, ATTR_STATUS_TEXT, &line) < 0) return;
    // A panel that has read everything gets no status line.
    if (count == 0 && line.empty()) return;
    SetPanelAttribute(panel, ATTR_STATUS_TEXT, UnreadCountText(count).c_str());
}

void Mpnl_NoteAction(const std::string& what)
{
    s_lastAction.clear();
    if (!what.empty()) {
        s_lastAction = QTime::currentTime().toString("HH:mm:ss").toStdString();
        s_lastAction += ' ';
        s_lastAction += what;
    }
    Mpnl_ShowLinkState();
}

void Mpnl_NoteOutcome(std::string what, int status, const char* done, const char* failed)
{
    if (status == COMM_OK) {
        what += done;
    } else {
        what += failed;
        what += Comm_GetMessageErrorStr(status);
    }
    Mpnl_NoteAction(what);
}

std::string Mpnl_LastAction()
{
    return s_lastAction;
}

std::string ControlChangeText(int panel, int control, int status)
{
    std::string label;
    GetCtrlAttribute(panel, control, ATTR_LABEL_TEXT, &label);
    label = uires::PlainLabel(label);
    // Captions end in a colon or blanks on some panels.
    while (!label.empty() && (label.back() == ' ' || label.back() == ':')) label.pop_back();
    int style = 0;
    GetCtrlAttribute(panel, control, ATTR_CTRL_STYLE, &style);
    if (status != COMM_OK)
        return label + (style == CTRL_COMMAND_BUTTON ? " failed: " : " not changed: ") +
               Comm_GetMessageErrorStr(status);
    std::string shown;
    if (style == CTRL_RING) {
        int index = -1;
        if (GetCtrlIndex(panel, control, &index) >= 0 && index >= 0)
            GetLabelFromIndex(panel, control, index, &shown);
        shown = uires::PlainLabel(shown);
    } else if (style == CTRL_NUMERIC || style == CTRL_SLIDE) {
        double value = 0.0;
        int precision = 0;
        GetCtrlVal(panel, control, &value);
        GetCtrlAttribute(panel, control, ATTR_PRECISION, &precision);
        shown = QString::number(value, 'f', std::clamp(precision, 0, 6)).toStdString();
        std::string unit;
        GetCtrlAttribute(panel, control, ATTR_UNITS_TEXT, &unit);
        if (!unit.empty()) shown += " " + unit;
    } else if (style == CTRL_STRING) {
        GetCtrlVal(panel, control, &shown);
        shown = "\"" + shown + "\"";
    } else if (style == CTRL_CHECK_BOX || style == CTRL_TOGGLE_BUTTON) {
        int on = 0;
        GetCtrlVal(panel, control, &on);
        shown = on ? "On" : "Off";
    } else {
        return label + " done";
    }
    return label + " set to " + shown;
}

std::string UnreadCountText(int count)
{
    if (count == 0) return {};
    return std::to_string(count) + (count == 1 ? " setting" : " settings") +
           " could not be read from the camera; each is blank, its tooltip says why";
}
