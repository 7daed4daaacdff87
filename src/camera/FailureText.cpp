#include "camera/FailureText.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "camera/CommandSet.h"
#include "camera/Conversions.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/SettingsTable.h"
#include "platform/ComPortMap.h"

namespace {

std::string portText(int port)
{
    if (port <= 0) return "the port";
    const std::string device = ComPortDevice(port).toStdString();
    return "COM" + std::to_string(port) + (device.empty() ? "" : " (" + device + ")");
}

std::string reason(const CommFailure& failure)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", failure.waited);
    switch (failure.status) {
        case COMM_NAK:
            return "the camera refused it.";
        case COMM_TIMEOUT:
            return "no reply came on " + portText(failure.port) + " within " + seconds + " s.";
        case COMM_UNRECOGNIZED:
            return "the reply on " + portText(failure.port) + " was not one the command can have.";
        case COMM_LINK_LOST:
            return "the device behind " + portText(failure.port) + " went away.";
        case COMM_UNCONFIRMED:
            return "what the camera holds afterwards could not be read back to confirm it.";
        default:
            return "status " + std::to_string(failure.status) + ".";
    }
}

// "AGN (Manual Gain)", or the mnemonic alone for an action or a piece of a composite the
// settings table does not name.
std::string settingText(std::string_view mnemonic)
{
    const SettingInfo* setting = Settings_Find(mnemonic);
    std::string text(mnemonic);
    if (setting && setting->name && *setting->name) text += std::string(" (") + setting->name + ")";
    return text;
}

// The value of a set line in the setting's user unit where it has one, with
// the count that went out; otherwise as sent.
std::string valueText(std::string_view mnemonic, std::string_view sent)
{
    const CommCommand* command = Comm_FindCommand(mnemonic);
    const SettingInfo* setting = Settings_Find(mnemonic);
    if (command && command->kind == CommValueKind::Text) {
        std::string quoted(1, '"');
        quoted.append(sent);
        return quoted + '"';
    }
    if (!command || command->kind != CommValueKind::Real || command->piece) return std::string(sent);
    const std::string digits(sent);
    char* end = nullptr;
    const long count = std::strtol(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0') return digits;
    char user[48];
    std::snprintf(user, sizeof user, "%.2f", Comm_CountToUser(command->rule, static_cast<int>(count)));
    std::string text = user;
    if (setting && setting->unit && *setting->unit) text += std::string(" ") + setting->unit;
    return text + " (count " + digits + ")";
}

}  // namespace

std::string Comm_FailureDetail(int status)
{
    const CommFailure& failure = Comm_LastFailure();
    if (status == COMM_OK || failure.status != status || failure.line.empty() ||
        failure.operation != Comm_OperationSerial())
        return {};
    std::string_view line = failure.line;
    if (line.front() == ':') line.remove_prefix(1);
    const std::size_t mark = line.find_first_of("=?");
    const std::string_view mnemonic = line.substr(0, mark);
    std::string what;
    if (mark == std::string_view::npos) {
        what = "Sending " + std::string(line);
    } else if (line[mark] == '?') {
        what = "Reading " + settingText(mnemonic);
    } else if (Settings_Find(mnemonic) || Comm_FindCommand(mnemonic)) {
        what = "Setting " + settingText(mnemonic) + " to " + valueText(mnemonic, line.substr(mark + 1));
    } else {
        what = "Sending " + std::string(line);
    }
    return what + ": " + reason(failure);
}

std::string Comm_FailureText(int status)
{
    std::string text = Comm_GetMessageErrorStr(status);
    const std::string detail = Comm_FailureDetail(status);
    if (!detail.empty()) text += "\n" + detail;
    return text;
}
