#include "sim/SimCamera.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "sim/SimCommands.h"
#include "sim/SimModels.h"

namespace sim {

const char* const kWebServerReply =
    "HTTP/1.1 400 Bad Request\r\n"
    "Server: nginx\r\n"
    "Content-Type: text/html\r\n"
    "Content-Length: 150\r\n"
    "Connection: close\r\n"
    "\r\n"
    "<html>\r\n"
    "<head><title>400 Bad Request</title></head>\r\n"
    "<body>\r\n"
    "<center><h1>400 Bad Request</h1></center>\r\n"
    "<hr><center>nginx</center>\r\n"
    "</body>\r\n"
    "</html>\r\n";

namespace {

constexpr int kMinCount = -32768;
constexpr int kMaxCount = 65535;
constexpr std::size_t kTextLimit = 16;
constexpr std::size_t kMaxLineLength = 4096;  // longer lines are refused, not stored
constexpr int kOverlongLength = 300;          // characters between ':' and CR

const std::string kRefused = ":e\r";
const std::string kGarbage = ":X?\r";  // neither acceptance nor refusal

// A command line split into its parts: ":" mnemonic op value.
struct Command {
    std::string_view mnemonic;
    char op = 0;  // '?', '=' or '!'
    std::string_view value;
};

bool IsMnemonicChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::optional<Command> ParseCommand(std::string_view line)
{
    if (line.empty() || line[0] != ':') return std::nullopt;
    std::size_t end = 1;
    while (end < line.size() && IsMnemonicChar(line[end])) ++end;
    if (end == 1 || end == line.size()) return std::nullopt;
    Command cmd{line.substr(1, end - 1), line[end], line.substr(end + 1)};
    if (cmd.op == '=') return cmd;
    if ((cmd.op == '?' || cmd.op == '!') && cmd.value.empty()) return cmd;
    return std::nullopt;
}

// A count: optional sign and decimal digits, nothing else, within the range a
// 16-bit register can be written with (signed or unsigned).
std::optional<int> ParseCount(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) return std::nullopt;
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > kMaxCount + 1L) return std::nullopt;  // keep going only while it can still fit
    }
    if (negative) value = -value;
    if (value < kMinCount || value > kMaxCount) return std::nullopt;
    return static_cast<int>(value);
}

std::string Accepted(std::string_view data = {})
{
    std::string reply = ":o";
    reply += data;
    reply += '\r';
    return reply;
}

std::string IntReply(std::string_view mnemonic, int count)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "% d", count);
    std::string data(mnemonic);
    data += digits;
    return Accepted(data);
}

std::string Limited(std::string_view text)
{
    return std::string(text.substr(0, kTextLimit));
}

}  // namespace

SimCamera::SimCamera(int modelRow)
{
    live_.model = modelRow >= 0 && modelRow < kModelCount ? modelRow : 0;
    FillPowerOnSettings(live_.model, live_.ints, live_.texts);
    for (Registers& set : sets_) set = live_;

    // A few registers of the FPGA read something other than 0: an ID word, the
    // version as BCD, the model it was told, and a test pattern.
    const std::string& fpgaVersion = live_.texts["FPGA"];
    int bcd = 0;
    for (char c : fpgaVersion)
        if (c >= '0' && c <= '9') bcd = bcd * 16 + (c - '0');
    fpga_[0x00] = 0x4943;
    fpga_[0x01] = bcd & 0xFFFF;
    fpga_[0x02] = live_.model;
    fpga_[0x03] = 0x55AA;
}

void SimCamera::setModel(int row)
{
    if (row < 0 || row >= kModelCount) return;
    live_.model = row;
    ApplySensorTraits(row, live_.ints);
    fpga_[0x02] = row;
}

std::optional<int> SimCamera::reg(std::string_view mnemonic) const
{
    if (mnemonic == "CAM") return live_.model;
    if (mnemonic == "FPR") return fpgaRegister(intOr0("FPA"));
    auto it = live_.ints.find(mnemonic);
    if (it == live_.ints.end()) return std::nullopt;
    return it->second;
}

void SimCamera::setReg(std::string_view mnemonic, int value)
{
    if (mnemonic == "CAM") {
        setModel(value);
    } else if (mnemonic == "FPR") {
        fpga_[intOr0("FPA")] = value & 0xFFFF;
    } else {
        live_.ints[std::string(mnemonic)] = value;
    }
}

std::string SimCamera::text(std::string_view mnemonic) const
{
    if (mnemonic == "CAM") return kModelNames[live_.model];
    auto it = live_.texts.find(mnemonic);
    return it == live_.texts.end() ? std::string() : it->second;
}

void SimCamera::setText(std::string_view mnemonic, std::string value)
{
    live_.texts[std::string(mnemonic)] = std::move(value);
}

int SimCamera::fpgaRegister(int address) const
{
    auto it = fpga_.find(address);
    return it == fpga_.end() ? 0 : it->second;
}

int SimCamera::afeRegister(int address) const
{
    auto it = afe_.find(address);
    return it == afe_.end() ? 0 : it->second;
}

void SimCamera::clearPendingInput()
{
    pending_.clear();
    pendingOverflow_ = false;
}

int SimCamera::intOr0(std::string_view mnemonic) const
{
    auto it = live_.ints.find(mnemonic);
    return it == live_.ints.end() ? 0 : it->second;
}

std::vector<Emission> SimCamera::receive(std::string_view bytes)
{
    std::vector<Emission> out;
    for (char c : bytes) {
        if (c == '\n') continue;
        if (c != '\r') {
            if (pending_.size() < kMaxLineLength)
                pending_ += c;
            else
                pendingOverflow_ = true;
            continue;
        }
        const std::string line = std::move(pending_);
        const bool overflowed = pendingOverflow_;
        clearPendingInput();
        handleLine(line, overflowed, out);
    }
    return out;
}

void SimCamera::record(const std::string& line)
{
    ++commandCount_;
    // Dropped in halves, so that keeping the log bounded costs little per line.
    if (log_.size() >= 2 * kLogLines) log_.erase(log_.begin(), log_.begin() + kLogLines);
    log_.push_back(line);
    if (!logFile_.empty()) {
        std::ofstream file(logFile_, std::ios::app | std::ios::binary);
        file << line << '\n';
    }
}

void SimCamera::handleLine(const std::string& line, bool overflowed, std::vector<Emission>& out)
{
    record(line);

    int lastDelay = faults_.replyDelayMs;
    if (!faults_.silent) {
        const auto cmd = ParseCommand(line);
        const std::string mnemonic(cmd ? cmd->mnemonic : std::string_view());
        // A fault names a mnemonic, or one direction of it ("HSM=" its sets only).
        auto listed = [&](const std::set<std::string>& names) {
            return !mnemonic.empty() && (names.count(mnemonic) > 0 || names.count(mnemonic + cmd->op) > 0);
        };

        std::string reply;
        if (faults_.web) {
            reply = kWebServerReply;
        } else if (overflowed || listed(faults_.refuse)) {
            reply = kRefused;
        } else {
            // A garbled, overlong or late answer still comes from a command the
            // camera carried out; only the reply line suffers.
            reply = execute(line);
            if (listed(faults_.garbage)) {
                reply = kGarbage;
            } else if (listed(faults_.overlong)) {
                reply = ":o" + std::string(kOverlongLength - 1, 'A') + "\r";
            }
        }
        const int delay = listed(faults_.late) ? faults_.lateDelayMs : faults_.replyDelayMs;

        std::string bytes = faults_.junkBeforeColon + reply;
        if (faults_.duplicateReplies) bytes += bytes;

        if (faults_.byteByByte) {
            for (std::size_t i = 0; i < bytes.size(); ++i)
                out.push_back({delay + static_cast<int>(i), std::string(1, bytes[i]), false});
        } else {
            out.push_back({delay, std::move(bytes), false});
        }
        lastDelay = out.back().delayMs;
    }

    if (faults_.hangupAfter > 0 && commandCount_ == faults_.hangupAfter) out.push_back({lastDelay, {}, true});
}

std::string SimCamera::execute(std::string_view line)
{
    const auto cmd = ParseCommand(line);
    if (!cmd) return kRefused;
    switch (cmd->op) {
        case '?':
            return query(cmd->mnemonic);
        case '=':
            return set(cmd->mnemonic, cmd->value);
        default:
            return act(cmd->mnemonic);
    }
}

std::string SimCamera::query(std::string_view mnemonic) const
{
    const auto kind = FindCommand(mnemonic);
    if (!kind) return kRefused;
    switch (*kind) {
        case CommandKind::Int:
        case CommandKind::IntQueryOnly:
        case CommandKind::WindowX:
        case CommandKind::WindowY:
            return IntReply(mnemonic, intOr0(mnemonic));
        case CommandKind::FpgaData:
            return IntReply(mnemonic, fpgaRegister(intOr0("FPA")));
        case CommandKind::Model:
            return Accepted(faults_.modelName.empty() ? text(mnemonic) : faults_.modelName);
        case CommandKind::Text:
        case CommandKind::TextQueryOnly:
            return Accepted(text(mnemonic));
        default:
            return kRefused;
    }
}

std::string SimCamera::set(std::string_view mnemonic, std::string_view value)
{
    const auto kind = FindCommand(mnemonic);
    if (!kind) return kRefused;

    switch (*kind) {
        case CommandKind::Text:
            live_.texts[std::string(mnemonic)] = Limited(value);
            return Accepted();
        case CommandKind::SerialWrite:
            live_.texts["SNO"] = Limited(value);
            return Accepted();
        default:
            break;
    }

    const auto count = ParseCount(value);
    if (!count) return kRefused;
    const int v = *count;
    auto within = [&](const char* low, const char* high) { return v >= intOr0(low) && v <= intOr0(high); };

    switch (*kind) {
        case CommandKind::Int:
            live_.ints[std::string(mnemonic)] = v;
            return Accepted();
        case CommandKind::WindowX:
        case CommandKind::WindowY: {
            const bool x = *kind == CommandKind::WindowX;
            if (!(x ? within("WXN", "WXX") : within("WYN", "WYX"))) return kRefused;
            live_.ints[std::string(mnemonic)] = v;
            return Accepted();
        }
        case CommandKind::FpgaData:
            fpga_[intOr0("FPA")] = v & 0xFFFF;
            return Accepted();
        case CommandKind::AfeWrite:
            afe_[intOr0("AFA")] = v & 0xFFFF;
            return Accepted();
        case CommandKind::Model:
            if (v < 0 || v >= kModelCount) return kRefused;
            setModel(v);
            return Accepted();
        case CommandKind::LoadSet:
            if (v < 0 || v > 2) return kRefused;
            live_ = sets_[v];
            fpga_[0x02] = live_.model;
            return Accepted();
        case CommandKind::StoreSet:
            if (v < 0 || v > 2) return kRefused;
            sets_[v] = live_;
            return Accepted();
        case CommandKind::StoreFactory:
            if (v != 0) return kRefused;
            sets_[0] = live_;
            return Accepted();
        default:
            return kRefused;  // query-only registers and actions
    }
}

std::string SimCamera::act(std::string_view mnemonic)
{
    if (FindCommand(mnemonic) != CommandKind::Action) return kRefused;
    if (mnemonic == "AWB") {
        // One-shot white balance of the simulated scene: a slightly warm light.
        live_.ints["CGR"] = 983;
        live_.ints["CGG"] = 1024;
        live_.ints["CGB"] = 1071;
    } else {
        // Blemish location finds more defects the lower the threshold (0.1 % steps).
        const int threshold = std::clamp(intOr0("BTH"), 0, 1000);
        live_.ints["BCT"] = (1000 - threshold) / 25 + 1;
    }
    return Accepted();
}

}  // namespace sim
