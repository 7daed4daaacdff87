#include "camera/Connect.h"

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"

namespace {

std::string g_problem;

// Opens one port and asks the model there; leaves it open only on success.
bool probe(int port, int baud)
{
    const int opened = Comm_OpenPort(port, baud);
    if (opened == kRS_PortInUse && g_problem.empty())
        g_problem = "COM" + std::to_string(port) + " (" + ComPortDevice(port).toStdString() +
                    ") is in use by another program.";
    if (opened != 0) return false;
    const int saved = g_com_port;
    g_com_port = port;  // the model query goes out on g_com_port
    char name[kModelNameSize] = "";
    const int status = Comm_AskModel(name);
    if (status == COMM_OK) {
        Comm_RecordModelName(name);
        return true;
    }
    // The device went away while it was asked: worth telling, unlike silence.
    if (status == COMM_LINK_LOST && g_problem.empty())
        g_problem = "COM" + std::to_string(port) + " (" + ComPortDevice(port).toStdString() +
                    "): " + Comm_GetMessageErrorStr(status);
    Comm_ClosePort(port);
    g_com_port = saved;
    return false;
}

}  // namespace

int OpenCamera(int port, int baud, int scan)
{
    g_problem.clear();
    bool found = port != 0 && probe(port, baud);
    for (int p = 1; !found && scan && p <= 8; ++p) found = probe(p, baud);
    if (!found) {
        g_com_port = 0;
        return 1;
    }
    return 0;
}

std::string Comm_OpenCameraProblem()
{
    return g_problem;
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
