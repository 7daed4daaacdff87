#include "camera/Connect.h"

#include <string>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"

namespace {

std::string s_report;  // one line per port tried

// The preferred port is tried again in the scan; its first reason stands.
void note(int port, const std::string& why)
{
    const std::string device = ComPortDevice(port).toStdString();
    const std::string name =
        "COM" + std::to_string(port) + (device.empty() ? "" : " (" + device + ")") + ": ";
    if (("\n" + s_report).find("\n" + name) != std::string::npos) return;
    if (!s_report.empty()) s_report += "\n";
    s_report += name + why;
}

// Why no camera answered the model query on a port that opened.
std::string silence(int status)
{
    switch (status) {
        case COMM_TIMEOUT:
            return "nothing answered.";
        case COMM_NAK:
        case COMM_UNRECOGNIZED:
        case COMM_UNCONFIRMED:
            return std::string("something answered, but not as a camera (") +
                   Comm_GetMessageErrorStr(status) + ")";
        default:
            return Comm_GetMessageErrorStr(status);
    }
}

// Opens one port and asks the model there; leaves it open only on success.
bool probe(int port, int baud)
{
    if (Comm_OpenPort(port, baud) != 0) {
        note(port, GetComOpenErrorText());
        return false;
    }
    const int saved = g_com_port;
    g_com_port = port;  // the model query goes out on g_com_port
    char name[kModelNameSize] = "";
    const int status = Comm_AskModel(name);
    if (status == COMM_OK) {
        Comm_RecordModelName(name);
        return true;
    }
    note(port, silence(status));
    Comm_ClosePort(port);
    g_com_port = saved;
    return false;
}

}  // namespace

int OpenCamera(int port, int baud, int scan)
{
    s_report.clear();
    bool found = port != 0 && probe(port, baud);
    for (int p = 1; !found && scan && p <= 8; ++p) found = probe(p, baud);
    if (!found) {
        g_com_port = 0;
        return 1;
    }
    s_report.clear();
    return 0;
}

std::string Comm_OpenCameraReport()
{
    return s_report;
}

int Comm_Reconnect()
{
    if (g_com_port == 0) return COMM_LINK_LOST;
    if (Comm_IsBusy()) return COMM_BUSY;
    CommOperation operation;  // actions the operator gives meanwhile wait for the outcome
    const int port = g_com_port;
    const bool reopen = Comm_LinkLost() != 0;
    if (reopen && Comm_ReopenPort(port) != 0) {
        Comm_ClosePort(port);
        return COMM_LINK_LOST;
    }
    char name[kModelNameSize] = "";
    const int status = Comm_AskModel(name);
    if (status == COMM_OK) {
        Comm_RecordModelName(name);
        return COMM_OK;
    }
    if (!reopen) return status;
    // A device that opens but where no camera answers (a device server
    // without its camera) is no link either.
    Comm_ClosePort(port);
    return COMM_LINK_LOST;
}
