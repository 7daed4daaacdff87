#include "support/Soak.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "camera/Link.h"
#include "camera/Snapshot.h"
#include "devices/SimPorts.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "sim/SimCommands.h"
#include "sim/SimEndpoint.h"
#include "support/ReplyRelay.h"

namespace {

// What happens to the replies of one step, besides the small faults every
// line may suffer (a delay, pieces, junk before the colon, noise after it).
enum class Fault {
    None,
    Refuse,   // the camera answers ":e" and leaves its settings alone
    Silent,   // the camera's replies never reach the port
    Late,     // the reply arrives only during the next step, long after the time-out
    Garbage,  // a line that neither accepts nor refuses comes first
    Loss,     // the device goes away while the command waits
};

using namespace badline;

const char* const kCorners[] = {"ULX", "ULY", "LRX", "LRY"};
const char* const kDefects[] = {"CD1", "CD2", "CD3", "CD4"};

// The line between the link and the camera.  It delivers the camera's reply
// lines in their order, as a serial line does, and keeps for each step what
// the camera sent.
//
// Late lines are held until the next step's first reply and go out just in
// front of it, so that each one meets a command that is already waiting.
// Garbage lines hold neither 'o' nor 'e': a line with an 'o' is an acceptance
// by the protocol, and no rule could tell it from one.  Nothing between a
// line's colon and its CR is ever changed, as the protocol has no checksum.
//
// What is due goes out at once, as the port's own transport hands over what
// the camera sends: a detour through the event loop would add a round that a
// busy machine can stretch past the time-out.
class SoakLine : public LineRelay {
public:
    SoakLine(int port, sim::SimEndpoint& endpoint, Random& random, SoakCounts& counts)
        : LineRelay(endpoint, port, true), random_(random), counts_(counts)
    {
        resync();
        attach();
    }

    // Opening the port gives the camera's replies to the port again.
    using LineRelay::attach;

    void beginStep(Fault fault, bool clean, bool tryNested)
    {
        ++step_;
        previousFault_ = fault_;
        previousFirstCommand_ = firstCommand_;
        firstCommand_ = endpoint_.camera().commandCount() + 1;
        fault_ = fault;
        clean_ = clean;
        tryNested_ = tryNested;
        lines_.clear();
        lateFromMachine_ = false;
    }

    // Every command sent so far has had its reply, or never will (the device
    // went away).
    void resync() { repliesSeen_ = endpoint_.camera().commandCount(); }

    /// A reply to an earlier step's command came during this step.
    bool lateFromMachine() const { return lateFromMachine_; }

    const std::vector<std::string>& lines() const { return lines_; }
    bool holdsLateLine() const { return !held_.isEmpty(); }

    // A reply to this step's commands has not reached the port yet.
    bool replyPending() const
    {
        if (repliesSeen_ < endpoint_.camera().commandCount()) return true;
        return std::any_of(queue_.begin(), queue_.end(),
                           [this](const Piece& p) { return p.step == step_ && p.reply; });
    }

    // Lets everything on its way arrive (for at most a second).
    void settle()
    {
        const double end = Timer() + 1.0;
        while ((replyPending() || !queue_.empty()) && Timer() < end) WaitForSystemEvents(0.005);
    }

    // The device went away: nothing on the way can reach the reopened port.
    void dropEverything()
    {
        queue_.clear();
        held_.clear();
        partial_.clear();
        timer_.stop();
    }

private:
    void relayLine(QByteArray line) override
    {
        // The camera answers every command with one line, in order, so the
        // count tells which command a line answers.  A loaded machine may run
        // the camera's reply only after its command's step has ended: the
        // line still suffers what that step's fault planned for it.
        if (++repliesSeen_ < firstCommand_) {
            lateFromMachine_ = true;
            const bool previous = repliesSeen_ >= previousFirstCommand_;
            if (previous && (previousFault_ == Fault::Silent || previousFault_ == Fault::Loss)) return;
            queue(clock_.elapsed(), line, step_);
            schedule();
            return;
        }
        const std::size_t index = lines_.size();
        lines_.push_back(line.toStdString());
        qint64 due = clock_.elapsed();
        if (!clean_ && Chance(random_, 0.05)) due += Between(random_, 1, 3);
        if (index == 0 && !held_.isEmpty()) {
            queue(due, held_, step_);
            held_.clear();
        }
        switch (fault_) {
            case Fault::Silent:
            case Fault::Loss:
                schedule();
                return;
            case Fault::Late:
                if (index == 0) {
                    held_ = line;
                    ++counts_.lateLines;
                    schedule();
                    return;
                }
                break;
            case Fault::Garbage:
                if (index == 0) {
                    line.prepend(Chance(random_, 0.5) ? ":X?\r" : "zz:#4\r");
                    ++counts_.garbageLines;
                }
                break;
            case Fault::None:
            case Fault::Refuse:
                break;
        }
        if (!clean_ && Chance(random_, 0.03)) {
            static const char kJunk[] = "xyzoe 0123456789\x01\x7f\n";
            line.prepend(QByteArray::fromStdString(Draw(random_, kJunk, 1, 8)));
        }
        // The reply behind a garbage line stays with it: it is stale once the
        // garbage has ended the wait, and only content could tell it from a
        // later command's acknowledgement if it came on its own after a pause.
        const bool glued = fault_ == Fault::Garbage && index == 0;
        if (!clean_ && !glued && Chance(random_, 0.2) && line.size() > 1) {
            ++counts_.splitLines;
            queueSplit(random_, due, line, step_, true);
        } else {
            queue(due, line, step_, true);
        }
        if (!clean_ && Chance(random_, 0.02)) {
            // Noise between replies: anything but a colon, which would start a line.
            static const char kNoise[] = "x\0\x7f\x01oe 7\n\r\xff";
            const QByteArray noise = QByteArray::fromStdString(Draw(random_, kNoise, 1, 12));
            queue(due + Between(random_, 0, 2), noise, step_);
            ++counts_.noiseChunks;
        }
        schedule();
    }

    // A callback that starts a transaction while one waits, as a panel might.
    void beforeDelivery() override
    {
        if (!tryNested_ || !Comm_IsBusy()) return;
        tryNested_ = false;
        const int before = endpoint_.camera().commandCount();
        int value = -7;
        const int status = Comm_GetIntVal(":ALV?\r", &value);
        ++counts_.nestedTries;
        if (status == COMM_BUSY && value == -7 && endpoint_.camera().commandCount() == before)
            ++counts_.nestedRefused;
    }

    Random& random_;
    SoakCounts& counts_;
    QByteArray held_;
    std::vector<std::string> lines_;
    long step_ = 0;
    long repliesSeen_ = 0;  // reply lines the camera has sent
    long firstCommand_ = 1, previousFirstCommand_ = 1;
    Fault previousFault_ = Fault::None;
    bool lateFromMachine_ = false;
    Fault fault_ = Fault::None;
    bool clean_ = true;
    bool tryNested_ = false;
};

// clang-format off
enum class Kind {
    IntSet, IntQuery, TextQuery, TextSet, Action, RseSet, RseGet, WindowSet, WindowGet, DefectSet, DefectGet,
    SaturationSet, SaturationGet, AfeWrite
};
// clang-format on

struct Weighted {
    Kind kind;
    int weight;
};

constexpr Weighted kMix[] = {
    {Kind::IntSet, 27},       {Kind::IntQuery, 34}, {Kind::TextQuery, 7}, {Kind::TextSet, 2},
    {Kind::Action, 2},        {Kind::RseSet, 2},    {Kind::RseGet, 2},    {Kind::WindowSet, 2},
    {Kind::WindowGet, 2},     {Kind::DefectSet, 2}, {Kind::DefectGet, 2}, {Kind::SaturationSet, 2},
    {Kind::SaturationGet, 2}, {Kind::AfeWrite, 2},
};

// A late reply names only its mnemonic, so the step after it must not ask
// the same: a repeated question cannot tell its own answer from the late one.
// Composite reads and snapshots may ask any register, so they wait too.
bool MayFollowLateReply(Kind k)
{
    return k != Kind::RseGet && k != Kind::WindowGet && k != Kind::DefectGet && k != Kind::SaturationSet &&
           k != Kind::SaturationGet;
}

std::string Describe(const char* what, long long got, long long truth)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s gave %lld, the camera %lld", what, got, truth);
    return text;
}

}  // namespace

struct SoakRun::Engine {
    Engine(int port, unsigned seed, int baud)
        : port(port),
          baud(baud),
          endpoint(*SimCameraOnPort(port)),
          random(seed),
          line(port, endpoint, random, counts)
    {
        // The integer commands of the command table the camera keeps in a
        // register of its own (FPR and AFW reach other register files).
        for (const CommCommand& command : Comm_CommandTable()) {
            if (command.kind == CommValueKind::Text) continue;
            if (command.kind == CommValueKind::Int && command.rule != CommRule::Count) continue;
            const auto kind = sim::FindCommand(command.mnemonic);
            if (!kind || *kind == sim::CommandKind::FpgaData || *kind == sim::CommandKind::AfeWrite) continue;
            if (command.access & kCommQuery) queries.push_back(&command);
            // Window corners are set within the camera's limits by their own step.
            if ((command.access & kCommSet) && *kind == sim::CommandKind::Int) sets.push_back(&command);
        }
    }

    sim::SimCamera& camera() { return endpoint.camera(); }
    int reg(const char* mnemonic) { return camera().reg(mnemonic).value_or(0); }

    // The camera's answer to the last command of the step was an acceptance.
    bool cameraAccepted() const
    {
        const auto& lines = line.lines();
        return !lines.empty() && lines.back().rfind(":o", 0) == 0;
    }

    void step();
    Kind pickKind();
    Fault pickFault(Kind kind, const char** refused);
    int run(Kind kind, std::string& wrong);
    int runSnapshot(std::string& wrong);
    void tally(int status, Fault fault);
    void recoverFromLoss(int status);

    int port;
    int baud;
    sim::SimEndpoint& endpoint;
    Random random;
    SoakCounts counts;
    SoakLine line;
    std::vector<const CommCommand*> queries;
    std::vector<const CommCommand*> sets;
    int silentLeft = 0;
    // The refusal and the loss are the camera's doing; it needs the mnemonic
    // it refuses before the step runs.
    const CommCommand* command = nullptr;
    int corner = 0, defect = 1, which = 0;
    std::string text;
    std::string lateMnemonic;  // of the late line the line holds
};

Kind SoakRun::Engine::pickKind()
{
    int total = 0;
    for (const Weighted& w : kMix) total += w.weight;
    for (;;) {
        int at = Between(random, 0, total - 1);
        Kind kind = kMix[0].kind;
        for (const Weighted& w : kMix) {
            if (at < w.weight) {
                kind = w.kind;
                break;
            }
            at -= w.weight;
        }
        if (!line.holdsLateLine() || MayFollowLateReply(kind)) return kind;
    }
}

Fault SoakRun::Engine::pickFault(Kind kind, const char** refused)
{
    switch (kind) {
        case Kind::IntSet:
        case Kind::IntQuery:
        case Kind::TextQuery:
            *refused = command->mnemonic;
            break;
        case Kind::TextSet:
            *refused = text.size() % 2 ? "CID" : "WSF";
            break;
        case Kind::Action:
            *refused = "AWB";
            break;
        case Kind::RseSet:
        case Kind::RseGet:
            *refused = "RSE";
            break;
        case Kind::WindowSet:
        case Kind::WindowGet:
            *refused = kCorners[corner];
            break;
        case Kind::DefectSet:
        case Kind::DefectGet:
            *refused = kDefects[defect - 1];
            break;
        case Kind::SaturationSet:
        case Kind::SaturationGet:
            *refused = "SAC";
            break;
        case Kind::AfeWrite:
            *refused = Chance(random, 0.5) ? "AFA" : "AFW";
            break;
    }
    if (silentLeft > 0) {
        --silentLeft;
        return Fault::Silent;
    }
    const bool query = kind == Kind::IntQuery;
    // Only under a step that sends one command line may the device go away.
    const bool single = kind != Kind::SaturationSet && kind != Kind::AfeWrite;
    if (single && Chance(random, 0.001)) return Fault::Loss;
    if (Chance(random, 0.002)) {
        silentLeft = Between(random, 0, 2);
        return Fault::Silent;
    }
    if (query && Chance(random, 0.01)) return Fault::Late;
    if (Chance(random, 0.004)) return Fault::Garbage;
    if (Chance(random, 0.01)) return Fault::Refuse;
    return Fault::None;
}

void SoakRun::Engine::step()
{
    ++counts.steps;
    const int commandsBefore = camera().commandCount();
    std::string wrong;
    if (!line.holdsLateLine() && Chance(random, 0.002)) {
        const int status = runSnapshot(wrong);
        tally(status, Fault::None);
    } else {
        const Kind kind = pickKind();
        // Choose what the step addresses first: the camera's faults name it.
        if (kind == Kind::IntSet)
            command = sets[static_cast<std::size_t>(Between(random, 0, int(sets.size()) - 1))];
        if (kind == Kind::IntQuery) {
            do {
                command = queries[static_cast<std::size_t>(Between(random, 0, int(queries.size()) - 1))];
            } while (line.holdsLateLine() && lateMnemonic == command->mnemonic);
        }
        if (kind == Kind::TextQuery) {
            static const char* const kTexts[] = {"CID", "SNO", "VER", "FPGA"};
            command = Comm_FindCommand(kTexts[Between(random, 0, 3)]);
        }
        if (kind == Kind::TextSet) {
            static const char kChars[] = "ABCXYZabcxyz0123456789 -_.#";
            text = Draw(random, kChars, 1, 16);
        }
        corner = Between(random, 0, 3);
        defect = Between(random, 1, 4);
        which = Between(random, 0, 1);
        const char* refused = "";
        const Fault fault = pickFault(kind, &refused);
        if (fault == Fault::Silent) ++counts.silentSteps;
        if (fault == Fault::Late) lateMnemonic = command->mnemonic;
        if (fault == Fault::Refuse) {
            camera().faults().refuse = {refused};
            ++counts.refusals;
        }
        if (fault == Fault::Loss) {
            camera().faults().silent = true;
            camera().faults().hangupAfter = camera().commandCount() + 1;
        }
        line.beginStep(fault, false, Chance(random, 0.005));
        const int status = run(kind, wrong);
        camera().faults().refuse.clear();
        camera().faults().silent = false;
        camera().faults().hangupAfter = 0;
        if (fault == Fault::Loss) {
            recoverFromLoss(status);
        } else {
            tally(status, fault);
        }
    }
    if (!wrong.empty()) {
        ++counts.wrong;
        if (counts.firstWrong.empty()) {
            char where[48];
            std::snprintf(where, sizeof where, "step %ld: ", counts.steps);
            counts.firstWrong = where + wrong;
        }
    }
    counts.commandLines += camera().commandCount() - commandsBefore;
    // The simulator keeps every command line for the tests that read them;
    // here that would only measure the simulator's memory.
    camera().clearLog();
}

void SoakRun::Engine::tally(int status, Fault fault)
{
    // By status: COMM_OK, COMM_TIMEOUT, COMM_NAK, COMM_UNRECOGNIZED, COMM_BUSY, COMM_LINK_LOST.
    long* const byStatus[] = {&counts.ok,           &counts.timeout, &counts.nak,
                              &counts.unrecognized, &counts.busy,    &counts.lost};
    ++*(status >= 0 && status < int(std::size(byStatus)) ? byStatus[status] : &counts.other);
    if (status == COMM_OK) return;
    // The camera refuses a window corner outside its limits by itself.
    if (fault != Fault::None || !(cameraAccepted() || line.lines().empty())) return;
    if ((status == COMM_TIMEOUT && line.replyPending()) || line.lateFromMachine()) {
        ++counts.heldBackByMachine;
        line.settle();
    } else {
        ++counts.unexplainedFailures;
    }
}

void SoakRun::Engine::recoverFromLoss(int status)
{
    ++counts.losses;
    ++(status == COMM_LINK_LOST ? counts.lossesLinkLost
       : status == COMM_TIMEOUT ? counts.lossesTimeout
       : status == COMM_OK      ? counts.lossesOk
                                : counts.lossesOtherFailure);
    tally(status, Fault::Loss);
    // The device is back: the program closes the dead port and opens it again.
    Comm_ClosePort(port);
    line.dropEverything();
    line.resync();
    if (Comm_OpenPort(port, baud) != 0) {
        ++counts.other;
        return;
    }
    line.attach();
}

// Runs one step and, when it says COMM_OK, holds what it gave against the
// camera.  A set is right when the camera accepted this very command and
// holds the value sent.
int SoakRun::Engine::run(Kind kind, std::string& wrong)
{
    auto accepted = [&](const char* what) {
        if (!cameraAccepted())
            wrong = std::string(what) + " was accepted by the link but refused by the camera";
        return wrong.empty();
    };
    auto same = [&](const char* what, long long got, long long truth) {
        if (wrong.empty() && got != truth) wrong = Describe(what, got, truth);
    };
    int status = COMM_OK;
    switch (kind) {
        case Kind::IntSet: {
            const int count = Between(random, 0, 4095);
            const char* m = command->mnemonic;
            if (command->kind == CommValueKind::Real) {
                const auto value = static_cast<float>(Comm_CountToUser(command->rule, count));
                status = Comm_SetReal(*command, value);
                if (status == COMM_OK && accepted(m)) same(m, reg(m), Comm_UserToCount(command->rule, value));
            } else {
                status = Comm_SetInt(*command, count);
                if (status == COMM_OK && accepted(m)) same(m, reg(m), count);
            }
            break;
        }
        case Kind::IntQuery: {
            if (command->kind == CommValueKind::Real) {
                float value = -1;
                status = Comm_GetReal(*command, &value);
                const auto truth =
                    static_cast<float>(Comm_CountToUser(command->rule, reg(command->mnemonic)));
                if (status == COMM_OK && value != truth) {
                    char text[96];
                    std::snprintf(text, sizeof text, "%s gave %g, the camera %g", command->mnemonic,
                                  double(value), double(truth));
                    wrong = text;
                }
            } else {
                int value = -1;
                status = Comm_GetInt(*command, &value);
                if (status == COMM_OK) same(command->mnemonic, value, reg(command->mnemonic));
            }
            break;
        }
        case Kind::TextQuery: {
            char value[64] = "";
            status = Comm_GetTextValue(*command, value, sizeof value);
            std::string truth = camera().text(command->mnemonic);
            const std::string_view name = command->mnemonic;
            truth = truth.substr(0, name == "CID" || name == "SNO" ? kIdTextSize - 1 : sizeof value - 1);
            if (status == COMM_OK && truth != value)
                wrong =
                    std::string(command->mnemonic) + " gave \"" + value + "\", the camera \"" + truth + "\"";
            break;
        }
        case Kind::TextSet: {
            const bool cid = text.size() % 2 != 0;
            status = cid ? Comm_SetCID(text.c_str()) : Comm_SetSNO(text.c_str());
            const std::string held = camera().text(cid ? "CID" : "SNO");
            if (status == COMM_OK && accepted(cid ? "CID" : "WSF") && held != text)
                wrong = "the camera holds \"" + held + "\" for \"" + text + "\"";
            break;
        }
        case Kind::Action:
            status = Comm_SetAWB();
            if (status == COMM_OK) accepted("AWB");
            break;
        case Kind::RseSet: {
            const int pos = Between(random, 0, 255), neg = Between(random, 0, 255);
            status = Comm_SetRSE(pos, neg);
            if (status == COMM_OK && accepted("RSE")) same("RSE", reg("RSE"), pos * 256 + neg);
            break;
        }
        case Kind::RseGet: {
            int pos = -1, neg = -1;
            status = Comm_GetRSE(&pos, &neg);
            if (status == COMM_OK) same("RSE", pos * 256 + neg, reg("RSE") & 0xFFFF);
            break;
        }
        case Kind::WindowSet: {
            const bool x = corner % 2 == 0;
            const int low = reg(x ? "WXN" : "WYN"), high = reg(x ? "WXX" : "WYX");
            const int value = Between(random, low - 2, high + 2);
            status = Comm_SetALCWin(value, corner);
            if (status == COMM_OK && accepted(kCorners[corner]))
                same(kCorners[corner], reg(kCorners[corner]), value);
            break;
        }
        case Kind::WindowGet: {
            int value = -1;
            status = Comm_GetALCWin(&value, corner);
            if (status == COMM_OK) same(kCorners[corner], value, reg(kCorners[corner]));
            break;
        }
        case Kind::DefectSet: {
            const int value = Between(random, 0, 2047);
            status = Comm_SetCDA(defect, value);
            if (status == COMM_OK && accepted(kDefects[defect - 1]))
                same(kDefects[defect - 1], reg(kDefects[defect - 1]), value);
            break;
        }
        case Kind::DefectGet: {
            int value = -1;
            status = Comm_GetCDA(defect, &value);
            if (status == COMM_OK) same(kDefects[defect - 1], value, reg(kDefects[defect - 1]));
            break;
        }
        case Kind::SaturationSet: {
            const int before = reg("SAC");
            const float factor = 1.0f + static_cast<float>(Between(random, 0, 255)) / 255.0f;
            status = Comm_SetCSAT(factor, which);
            const int byte = Comm_SaturationToByte(factor);
            const int expected = which == 0 ? byte * 256 + (before & 0xFF) : (before & 0xFF00) + byte;
            if (status == COMM_OK && accepted("SAC")) same("SAC", reg("SAC"), expected);
            break;
        }
        case Kind::SaturationGet: {
            float value = 0;
            status = Comm_GetCSAT(&value, which);
            const int sac = reg("SAC");
            const float truth = Comm_SaturationFromByte(which == 0 ? (sac & 0xFF00) / 256 : sac & 0xFF);
            if (status == COMM_OK && value != truth)
                wrong = Describe("SAC byte", long(value * 255), long(truth * 255));
            break;
        }
        case Kind::AfeWrite: {
            const int address = Between(random, 0, 31), data = Between(random, 0, 0xFFFF);
            status = Comm_Write_AFE(address, data);
            if (status == COMM_OK && accepted("AFW"))
                same("AFE register", camera().afeRegister(address), data);
            break;
        }
    }
    return status;
}

// A snapshot on a clean line gives the truth; the same snapshot over the bad
// line must give it too, or say that it failed.
int SoakRun::Engine::runSnapshot(std::string& wrong)
{
    ++counts.snapshots;
    const bool main = Chance(random, 0.5);
    CamMainSettings mainTruth{}, mainGot{};
    CamAdvSettings advTruth{}, advGot{};
    SnapshotStats truthStats, stats;
    line.beginStep(Fault::None, true, false);
    const int truthResult =
        main ? Comm_QueryMainSettings(&mainTruth, &truthStats) : Comm_QueryAdvanced(&advTruth, &truthStats);
    line.beginStep(Fault::None, false, false);
    const int result = main ? Comm_QueryMainSettings(&mainGot, &stats) : Comm_QueryAdvanced(&advGot, &stats);
    if (result != 0 || stats.anyFailed()) return stats.lastFailure != 0 ? stats.lastFailure : COMM_TIMEOUT;
    if (truthResult != 0 || truthStats.anyFailed()) return COMM_OK;  // nothing to hold it against
    bool onlyTexts = true;
    const std::string first = main ? FirstDifference(mainGot, mainTruth, MainSettingsFields(), &onlyTexts)
                                   : FirstDifference(advGot, advTruth, AdvSettingsFields(), &onlyTexts);
    if (!first.empty()) wrong = "snapshot field " + first;
    return COMM_OK;
}

SoakRun::SoakRun(int port, unsigned seed, int baud) : engine_(std::make_unique<Engine>(port, seed, baud)) {}

SoakRun::~SoakRun()
{
    engine_->line.dropEverything();
}

void SoakRun::run(long steps)
{
    for (long i = 0; i < steps; ++i) engine_->step();
}

const SoakCounts& SoakRun::counts() const
{
    return engine_->counts;
}
