// The main panel's ties to the rest of the program: its callbacks by name, the
// serial traffic monitor of the factory screen.
#include <QDateTime>
#include <QString>
#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "camera/FailureText.h"
#include "camera/Link.h"
#include "panels/MainPnl.h"
#include "panels/MainPnlInternal.h"
#include "panels/OperatorAction.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/PanelShorthands.h"
#include "panels/StatusLine.h"
#include "platform/TextFile.h"

using namespace mainpnl;
using panelctl::TextValue;

namespace {

// A kept line carries its date for the saved log; the monitor shows it from
// the time on ("2026-12-08 " is 11 characters).
constexpr std::size_t kDateLength = 11;

// A camera command is a mnemonic and a value or a short text; anything longer
// is a slip of the keyboard or a paste gone wrong.
constexpr std::size_t kCommandLength = 64;

// The lines kept (the newest kTrafficMonitorLines, whatever the filter), the
// filter, and the lines that came while the monitor was paused: counted, told
// on resuming.  The state belongs to one loaded panel.
struct MonitorState {
    int panel = 0;
    bool paused = false;
    long heldBack = 0;
    std::deque<std::string> kept;
    QString filter;
};
MonitorState s_monitor;

MonitorState& monitor(int panel)
{
    if (s_monitor.panel != panel) {
        s_monitor = MonitorState{};
        s_monitor.panel = panel;
    }
    return s_monitor;
}

std::string stamp(const QDateTime& at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toStdString();
}

const char* shownPart(const std::string& kept)
{
    return kept.c_str() + std::min(kDateLength, kept.size());
}

bool passes(const MonitorState& m, const char* shown)
{
    return m.filter.isEmpty() || QString::fromUtf8(shown).contains(m.filter, Qt::CaseInsensitive);
}

void scrollToNewest(int panel)
{
    int lines = 0;
    GetNumTextBoxLines(panel, MAIN_RS232, &lines);
    if (lines > 0) SetCtrlAttribute(panel, MAIN_RS232, ATTR_FIRST_VISIBLE_LINE, lines - 1);
}

void appendLine(int panel, std::string line)
{
    MonitorState& m = monitor(panel);
    m.kept.push_back(std::move(line));
    if (m.kept.size() > static_cast<std::size_t>(kTrafficMonitorLines)) m.kept.pop_front();
    const char* shown = shownPart(m.kept.back());
    if (!passes(m, shown) || InsertTextBoxLine(panel, MAIN_RS232, -1, shown) != 0) return;
    // A long factory session must not grow the monitor without bound.
    int lines = 0;
    GetNumTextBoxLines(panel, MAIN_RS232, &lines);
    if (lines > kTrafficMonitorLines) DeleteTextBoxLines(panel, MAIN_RS232, 0, lines - kTrafficMonitorLines);
}

void applyFilter(int panel)
{
    MonitorState& m = monitor(panel);
    m.filter = QString::fromStdString(TextValue(panel, MAIN_MON_FILTER));
    std::string text;
    for (const std::string& line : m.kept) {
        const char* shown = shownPart(line);
        if (!passes(m, shown)) continue;
        if (!text.empty()) text += '\n';
        text += shown;
    }
    ResetTextBox(panel, MAIN_RS232, text.c_str());
    scrollToNewest(panel);
}

void note(int panel, const std::string& text)
{
    std::string line = stamp(QDateTime::currentDateTime());
    line += "  ";
    line += text;
    appendLine(panel, std::move(line));
}

// What the link would send as something else, or what no camera command
// holds, is refused before it reaches the queue; the operator keeps the line
// to mend it.
const char* refusal(const std::string& command)
{
    if (command.size() > kCommandLength) return "The command is longer than 64 characters; it was not sent.";
    for (const char ch : command)
        if (ch < ' ' || ch > '~')
            return "The command holds a control character or a character beyond ASCII; it was not sent.";
    return nullptr;
}

void sendCommand(int panel)
{
    const std::string command = TextValue(panel, MAIN_MON_COMMAND);
    if (command.empty()) return;
    if (const char* why = refusal(command)) {
        MessagePopup("Command", why);
        return;
    }
    SetCtrlVal(panel, MAIN_MON_COMMAND, "");
    // The command and its reply reach the monitor through the traffic hook;
    // a failure, which may have sent nothing, is told there too.
    RunMainPanelCommand(panel, [panel, line = command + "\r"] {
        char reply[kReplySize] = "";
        const int status = Comm_Raw(line.c_str(), reply);
        std::string said = "Command ";
        said += line.substr(0, line.size() - 1);
        Mpnl_NoteOutcome(said, status, " sent", " failed: ");
        if (status == COMM_OK) return;
        std::string text = "(";
        text += Comm_GetMessageErrorStr(status);
        text += ")";
        note(panel, text);
        ReportCommStatus(status);
    });
}

void saveMonitor(int panel)
{
    char path[MAX_PATHNAME_LEN];
    if (FileSelectPopup("", "*.txt", "", "Save Traffic Monitor", VAL_SAVE_BUTTON, 0, 0, 1, 1, path) <= 0)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    std::string header = "Traffic monitor saved ";
    header += now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
    const int file = RT_OpenFile(path, RT_WRITE);
    bool written = file > 0 && RT_WriteLine(file, header.c_str()) == 0;
    // Every kept line, dated: a filter narrows the view, not the record.
    for (const std::string& line : monitor(panel).kept) {
        if (!written) break;
        written = RT_WriteLine(file, line.c_str()) == 0;
    }
    if (file > 0 && !written) RT_DiscardFile(file);
    // Replaced only by a complete file; the reason otherwise.
    if (!written || RT_CloseFile(file) != 0) {
        std::string message = "The traffic monitor could not be saved to ";
        message += path;
        message += ".\n";
        message += RT_LastErrorText();
        MessagePopup("ERROR", message.c_str());
    }
}

}  // namespace

std::string Mpnl_TrafficLine(const char* text, int received)
{
    std::string line = stamp(QDateTime::currentDateTime());
    line += received ? "  < " : "  > ";
    std::string_view body = text;
    while (!body.empty() && (body.back() == '\r' || body.back() == '\n')) body.remove_suffix(1);
    // Junk on the line is shown, not swallowed or taken for layout.
    static const char kHex[] = "0123456789ABCDEF";
    for (const char ch : body) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= ' ' && byte <= '~') {
            line += ch;
        } else {
            line += '<';
            line += kHex[byte >> 4];
            line += kHex[byte & 15];
            line += '>';
        }
    }
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
    if (received) scrollToNewest(panel);
}

int Mpnl_MonitorCallback(int panel, int control, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    switch (control) {
        case MAIN_MON_PAUSE: {
            MonitorState& m = monitor(panel);
            m.paused = IntValue(panel, control) != 0;
            if (!m.paused && m.heldBack > 0) {
                std::string text = "(";
                text += std::to_string(m.heldBack);
                text += " lines not shown while paused)";
                note(panel, text);
                m.heldBack = 0;
            }
            break;
        }
        case MAIN_MON_CLEAR:
            monitor(panel).kept.clear();
            ResetTextBox(panel, MAIN_RS232, "");
            break;
        case MAIN_MON_SAVE:
            saveMonitor(panel);
            break;
        case MAIN_MON_FILTER:
            applyFilter(panel);
            break;
        case MAIN_MON_COMMAND:
        case MAIN_MON_SEND:
            sendCommand(panel);
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
