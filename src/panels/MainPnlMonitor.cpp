// The main panel's ties to the rest of the program: its callbacks by name, the
// serial traffic monitor of the factory screen.
#include <QTime>
#include <string>

#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/PanelGlobals.h"
#include "platform/TextFile.h"

using namespace mainpnl;

namespace {

// Lines that came while the monitor was paused: counted, told on resuming.
// The state belongs to one loaded panel.
struct MonitorState {
    int panel = 0;
    bool paused = false;
    long heldBack = 0;
};
MonitorState s_monitor;

MonitorState& monitor(int panel)
{
    if (s_monitor.panel != panel) s_monitor = MonitorState{panel};
    return s_monitor;
}

void appendLine(int panel, const std::string& line)
{
    if (InsertTextBoxLine(panel, MAIN_RS232, -1, line.c_str()) != 0) return;
    // A long factory session must not grow the monitor without bound.
    int lines = 0;
    GetNumTextBoxLines(panel, MAIN_RS232, &lines);
    if (lines > kTrafficMonitorLines) {
        DeleteTextBoxLines(panel, MAIN_RS232, 0, lines - kTrafficMonitorLines);
        lines = kTrafficMonitorLines;
    }
}

void saveMonitor(int panel)
{
    char path[MAX_PATHNAME_LEN];
    if (FileSelectPopup("", "*.txt", "", "Save Traffic Monitor", VAL_SAVE_BUTTON, 0, 0, 1, 1, path) <= 0)
        return;
    std::string text;
    GetCtrlVal(panel, MAIN_RS232, &text);
    const int file = RT_OpenFile(path, RT_WRITE);
    bool written = file > 0;
    for (std::size_t at = 0; written && at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        written = RT_WriteLine(file, text.substr(at, end - at).c_str()) == 0;
        at = end + 1;
    }
    if (file > 0 && !written) RT_DiscardFile(file);
    // Replaced only by a complete file; the reason otherwise.
    if (!written || RT_CloseFile(file) != 0) {
        const std::string message =
            std::string("The traffic monitor could not be saved to ") + path + ".\n" + RT_LastErrorText();
        MessagePopup("ERROR", message.c_str());
    }
}

}  // namespace

std::string Mpnl_TrafficLine(const char* text, int received)
{
    std::string line = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")).toStdString();
    line += received ? "  < " : "  > ";
    line += text;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

void Mpnl_ShowTraffic(const char* text, int received)
{
    const int panel = g_mainpanel;
    if (panel <= 0 || !text) return;
    if (MonitorState& m = monitor(panel); m.paused) {
        ++m.heldBack;
        return;
    }
    appendLine(panel, Mpnl_TrafficLine(text, received));
    int lines = 0;
    GetNumTextBoxLines(panel, MAIN_RS232, &lines);
    if (received && lines > 0) SetCtrlAttribute(panel, MAIN_RS232, ATTR_FIRST_VISIBLE_LINE, lines - 1);
}

int Mpnl_MonitorCallback(int panel, int control, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    switch (control) {
        case MAIN_MON_PAUSE: {
            int on = 0;
            GetCtrlVal(panel, control, &on);
            MonitorState& m = monitor(panel);
            m.paused = on != 0;
            if (!m.paused && m.heldBack > 0) {
                appendLine(panel,
                           QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")).toStdString() +
                               "  (" + std::to_string(m.heldBack) + " lines not shown while paused)");
                m.heldBack = 0;
            }
            break;
        }
        case MAIN_MON_CLEAR:
            ResetTextBox(panel, MAIN_RS232, "");
            break;
        case MAIN_MON_SAVE:
            saveMonitor(panel);
            break;
        default:
            break;
    }
    return 0;
}

void Mpnl_RegisterCallbacks()
{
    panelbind::RegisterBindings(MAIN, mainpnl::Bindings());
    RegisterUiCallback("Mpnl_ValCallback", panelbind::BoundValueCallback);
    RegisterUiCallback("Mpnl_RefreshButtonCallback", Mpnl_RefreshButtonCallback);
    RegisterUiCallback("Mpnl_ZFICallback", Mpnl_ZFICallback);
    RegisterUiCallback("Mpnl_MonitorCallback", Mpnl_MonitorCallback);
    Comm_SetTrafficHook(Mpnl_ShowTraffic);
    Mpnl_WatchLink();
}
