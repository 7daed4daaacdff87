// identify and raw: the link itself.
#include <ostream>

#include "camera/Connect.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "cli/CliCommands.h"
#include "cli/Iccdctl.h"

namespace {

int identify(CliContext& context, const std::vector<std::string>& args)
{
    if (!args.empty()) {
        context.err << "iccdctl: identify takes no arguments\n";
        return kExitUsage;
    }
    if (!OpenCameraLink(context)) return kExitFailure;
    context.out << "model: " << g_cam_models[g_cam_model_user_idx] << "\n"
                << "row: " << g_cam_model_user_idx << "\n"
                << "class: " << g_cam_model_idx << "\n";
    char version[kReplySize] = "";
    int status = Comm_GetFWVer(version, sizeof version);
    if (status != COMM_OK) return ReportFailure(context, status);
    context.out << "firmware: " << version << "\n";
    status = Comm_GetFPGAVer(version, sizeof version);
    if (status != COMM_OK) return ReportFailure(context, status);
    context.out << "fpga: " << version << "\n";
    return kExitOk;
}

int raw(CliContext& context, const std::vector<std::string>& args)
{
    if (args.empty()) {
        context.err << "iccdctl: raw needs at least one command line\n";
        return kExitUsage;
    }
    if (!OpenLink(context)) return kExitFailure;
    int result = kExitOk;
    for (const std::string& line : args) {
        char reply[kReplySize] = "";
        const int status = Comm_Raw((line + "\r").c_str(), reply);
        if (status == COMM_OK) {
            context.out << reply << "\n";
        } else {
            context.out << "ERROR: " << Comm_GetMessageErrorStr(status) << "\n";
            if (const std::string detail = Comm_FailureDetail(status); !detail.empty())
                context.err << detail << "\n";
            result = kExitFailure;
        }
    }
    return result;
}

}  // namespace

std::vector<CliCommand> LinkCommands()
{
    return {
        {"identify", "", "find the camera on the chosen port and print its model, class and versions",
         identify},
        {"raw", "LINE...", "send each LINE (CR appended) and print the reply data or ERROR: reason", raw},
    };
}
