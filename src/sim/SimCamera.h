// The simulated camera: a protocol engine that answers command lines the way an
// ICCD camera does.  It knows nothing about time or transports; SimEndpoint adds
// delays, pacing and delivery on top of it.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// Number of camera models the simulator (and the program) knows.
inline constexpr int kModelCount = 13;

/// Model names by model-table row (0 "VK-400" .. 12 "LSC-375").
extern const std::array<const char*, kModelCount> kModelNames;

/// Row of a model name (exact, case-sensitive), or -1 when unknown.
int ModelRowFromName(std::string_view name);

/// What a noisy line sends between replies.
enum class NoiseByte {
    Letter,  ///< 'x'
    Nul,     ///< NUL bytes
    Random,  ///< any byte value, colons and CRs included
};

/// Misbehaviour switches used by tests to exercise the program's error paths.
/// Mnemonics in the sets are upper case without colon ("AGN").
struct Faults {
    bool silent = false;   ///< log commands but never answer
    int replyDelayMs = 0;  ///< wait this long before every reply
    /// Answer ":e" to these mnemonics; "HSM=" or "HSM?" names one direction of
    /// one (the other faults' mnemonics may too).
    std::set<std::string> refuse;
    std::set<std::string> garbage;   ///< answer a line holding neither 'o' nor 'e'
    std::set<std::string> late;      ///< answer these only after lateDelayMs
    int lateDelayMs = 3000;          ///< delay of a late reply
    std::set<std::string> overlong;  ///< answer these with a reply line of 300 characters
    std::string junkBeforeColon;     ///< bytes sent ahead of every reply's ':'
    std::string modelName;           ///< name given for the model instead of the model's own
    bool byteByByte = false;         ///< deliver every reply byte as its own chunk
    bool duplicateReplies = false;   ///< send every reply line twice
    int hangupAfter = 0;             ///< drop the link after this many commands (0: never)
    int noiseRate = 0;               ///< bytes of noise per second while no reply is on the wire
    NoiseByte noiseByte = NoiseByte::Letter;
    bool web = false;  ///< answer every line as a web server answers a bad request
};

/// What a web server sends back for a request it cannot make sense of.
extern const char* const kWebServerReply;

/// Something the camera sends back: bytes to deliver after delayMs (counted from
/// the moment the command line was complete), or a hang-up of the link.
struct Emission {
    int delayMs = 0;
    std::string bytes;
    bool hangup = false;
};

class SimCamera {
public:
    /// A camera of the given model row (0..12) with that model's power-on settings.
    explicit SimCamera(int modelRow = 5);

    /// Feed bytes received from the host.  Complete command lines (ended by CR)
    /// are executed; the result is everything the camera sends back, in order.
    /// Bytes of an unfinished line are kept for the next call.
    std::vector<Emission> receive(std::string_view bytes);

    /// Execute one command line (without its CR) and return the reply line
    /// including its ':' and CR, ignoring faults.  Does not log.
    std::string execute(std::string_view line);

    Faults& faults() { return faults_; }
    const Faults& faults() const { return faults_; }

    int model() const { return live_.model; }
    /// Switch to another model row (0..12), as CAM= does: the sensor-dependent
    /// registers (SSX, window limits) follow the model; other settings stay.
    void setModel(int row);

    /// Integer register of a mnemonic ("AGN", "KR1", "SSX" ...), if it exists.
    std::optional<int> reg(std::string_view mnemonic) const;
    /// Set an integer register directly (test set-up; no range checks, no log).
    void setReg(std::string_view mnemonic, int value);

    /// Text registers: "SNO" (written by WSF), "CID", "VER", "FPGA"; "CAM" gives the
    /// model name.  setText stores the text whole (no 16-character limit), so tests
    /// can hand the host overlong texts.
    std::string text(std::string_view mnemonic) const;
    void setText(std::string_view mnemonic, std::string value);

    /// FPGA register file behind FPA/FPR and AFE registers behind AFA/AFW.
    int fpgaRegister(int address) const;
    /// Test set-up: a register holding any value, even one wider than 16 bits.
    void setFpgaRegister(int address, int value) { fpga_[address] = value; }
    int afeRegister(int address) const;

    /// Command lines received (without CR), oldest first: every one since
    /// the last clearLog, up to the newest kLogLines at least; a simulator
    /// left running for days does not keep them all.
    static constexpr std::size_t kLogLines = 20000;
    const std::vector<std::string>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    /// Also append every received command line (and a newline) to this file.
    void setLogFile(std::string path) { logFile_ = std::move(path); }

    /// Number of command lines received since construction.
    int commandCount() const { return commandCount_; }

    /// Drop the bytes of an unfinished command line (the link went down).
    void clearPendingInput();

private:
    struct Registers {
        std::map<std::string, int, std::less<>> ints;
        std::map<std::string, std::string, std::less<>> texts;
        int model = 0;
    };

    void handleLine(const std::string& line, bool overflowed, std::vector<Emission>& out);
    void record(const std::string& line);
    std::string query(std::string_view mnemonic) const;
    std::string set(std::string_view mnemonic, std::string_view value);
    std::string act(std::string_view mnemonic);
    int intOr0(std::string_view mnemonic) const;

    Faults faults_;
    Registers live_;
    Registers sets_[3];
    std::map<int, int> fpga_;
    std::map<int, int> afe_;
    std::string pending_;
    bool pendingOverflow_ = false;
    std::vector<std::string> log_;
    std::string logFile_;
    int commandCount_ = 0;

    friend struct SimCameraAccess;
};

}  // namespace sim
