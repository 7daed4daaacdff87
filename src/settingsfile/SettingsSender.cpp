#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/ReplyGrammar.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"
#include "settingsfile/SettingsUi.h"

namespace {

using Main = CamMainSettings;
using Adv = CamAdvSettings;

// Which lines of the file were read; a setting whose line was not is never
// sent, since all the record holds for it is the 0 it started with.
class LinesRead {
public:
    explicit LinesRead(const SettingsLineSet* read) : read_(read) {}
    bool operator()(const char* name) const
    {
        const int line = SettingsLineIndex(name);
        return !read_ || (line >= 0 && read_->test(static_cast<std::size_t>(line)));
    }

private:
    const SettingsLineSet* read_;
};

// One step of the load: one transaction, or a group that fails when any of
// its transactions fails.
struct SendStep {
    std::array<const char*, 3> lines;  // the lines the step sends; none: the step picks its lines itself
    int (*send)(const Main& m, const Adv& a, const LinesRead& read);
    bool factoryOnly;  // sent in factory mode only
};

// The status of a group: its first failure, else 0.
class GroupStatus {
public:
    void operator()(int status)
    {
        if (status_ == 0) status_ = status;
    }
    operator int() const { return status_; }

private:
    int status_ = 0;
};

constexpr const char* kMatrixLines[] = {"KR1", "KG1", "KB1", "KR2", "KG2", "KB2", "KR3", "KG3", "KB3"};

// The camera ID string (unit ID, date code, revision) belongs to the unit:
// a file saved from another camera must not overwrite it, except in factory
// mode where units are set up.
constexpr bool kFactoryOnly = true;

int sendMatrix(const Adv& a, const LinesRead& read)
{
    GroupStatus status;
    for (int i = 0; i < 9; ++i)
        if (read(kMatrixLines[i])) status(Comm_SetK(a.k[i], i));
    return status;
}

int sendAlcWindow(const Adv& a, const LinesRead& read)
{
    // The lower-right corner goes first, so that the window never shrinks
    // below its upper-left corner on the way.
    GroupStatus status;
    if (read("LRX")) status(Comm_SetALCWin(a.lrx, 2));
    if (read("LRY")) status(Comm_SetALCWin(a.lry, 3));
    if (read("ULX")) status(Comm_SetALCWin(a.ulx, 0));
    if (read("ULY")) status(Comm_SetALCWin(a.uly, 1));
    return status;
}

// A step fails by the first of the lines it sends, not only by its last.
int sendSplitLine(const Main& m)
{
    int first = 0;
    Comm_SetSSPosThick(m.ssp, m.llt, m.rlt, &first);
    return first;
}

// Each colour goes with its side's transparency; a level whose transparency
// was not read cannot be scaled, and only a transparency read is sent then.
int sendSplitColours(const Main& m, const LinesRead& read)
{
    constexpr int kTransparencyOnly = 3;  // no colour: the transparency alone
    const struct {
        int side, colour;
        const char* transparencyLine;
        int transparency;
        const char* levelLine;
        int level;
    } colours[] = {
        {0, 0, "SLT", m.slt, "SLR", m.slr}, {0, 1, "SLT", m.slt, "SLG", m.slg},
        {0, 2, "SLT", m.slt, "SLB", m.slb}, {1, 0, "SRT", m.srt, "SRR", m.srr},
        {1, 1, "SRT", m.srt, "SRG", m.srg}, {1, 2, "SRT", m.srt, "SRB", m.srb},
    };
    CommOperation operation;
    GroupStatus status;
    for (const auto& c : colours) {
        if (!read(c.transparencyLine)) continue;
        int first = 0;
        Comm_SetSSColor(c.side, read(c.levelLine) ? c.colour : kTransparencyOnly, c.level, c.transparency,
                        &first);
        status(first);
    }
    return status;
}

// Whether every line a step names was read.
bool allRead(const std::array<const char*, 3>& lines, const LinesRead& read)
{
    for (const char* line : lines)
        if (line && !read(line)) return false;
    return true;
}

// Step 37: automatic exposure can only be set while ALC access is granted.
int sendAecWithAccess(const Main& m)
{
    const int status = Comm_SetAGC_Access(1);
    return status != 0 ? status : Comm_SetAEC(m.aec);
}

const SendStep kSteps[] = {
    {{"SNO"},
     [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetSNO(a.sno); },
     kFactoryOnly},  // 1
    {{"CID"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCID(a.cid); }, false},
    {{"AGN"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetAGN(m.agn); }, false},
    {{"ALV"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetALV(m.alv); }, false},
    {{"AMX"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetAMX(m.amx); }, false},  // 5
    {{"BTS"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetBTS(a.bts); }, false},
    {{"CGB"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCGB(m.cgb); }, false},
    {{"CGG"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCGG(m.cgg); }, false},
    {{"CGR"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCGR(m.cgr); }, false},
    {{"CMD"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCMD(m.cmd); }, false},  // 10
    {{"DFC"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetDFC(m.dfc); }, false},
    {{"ESH"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetESH(a.esh); }, false},
    {{"BIN"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetBIN(a.bin); }, false},
    {{"SB2"},
     [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetDFC_Access(m.dfc_access); },
     false},
    {{"DKS"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetDKS(a.dks); }, false},  // 15
    {{"FOC"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetFOC(m.foc); }, false},
    {{"GAM"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetGAM(m.gam); }, false},
    {{"IFC"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetIFC(a.ifc); }, false},
    {{"IPH"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetIPH(m.iph); }, false},
    {{"IRC"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetIRC(m.irc); }, false},  // 20
    {{"LAW"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetLAW(a.law); }, false},
    {{"MFI"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetMFI(m.mfi); }, false},
    {{"MFT"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetMFT(m.mft); }, false},
    {{"MIR"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetMIR(m.mir); }, false},
    {{"SHE"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHE(m.she); }, false},  // 25
    {{"SHS"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHS(m.shs); }, false},
    {{"DOU"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetDOU(m.dou); }, false},
    {{"SHD"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHD(m.shd); }, false},
    {{"SHP"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHP(m.shp); }, false},
    {{"TMD"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetTMD(m.tmd); }, false},  // 30
    {{"VMD"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetVMD(m.vmd); }, false},
    {{"VPS"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetVPS(a.vps); }, false},
    {{"VPD"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetVPD(a.vpd); }, false},
    {{"VWC"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetVWC(a.vwc); }, false},
    {{"ZMC"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetZMC(m.zmc); }, false},  // 35
    {{"ALM"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetALM(a.alm); }, false},
    {{"AEC"}, [](const Main& m, const Adv&, const LinesRead&) { return sendAecWithAccess(m); }, false},
    {{"SMX"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSMX(m.smx); }, false},
    {{"YGA"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetYGA(m.yga); }, false},
    {{"USA"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetUSA(m.usa); }, false},  // 40
    {{"VSA"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetVSA(m.vsa); }, false},
    {{"HUE"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetHUE(m.hue); }, false},
    {{"SB1"},
     [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetAGC_Access(m.agc_access); },
     false},
    {{"WDS"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetWDS(a.wds); }, false},
    {{}, [](const Main&, const Adv& a, const LinesRead& read) { return sendMatrix(a, read); }, false},  // 45
    {{}, [](const Main&, const Adv& a, const LinesRead& read) { return sendAlcWindow(a, read); }, false},
    {{"CRSAT"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCSAT(m.crsat, 1); }, false},
    {{"CBSAT"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCSAT(m.cbsat, 0); }, false},
    {{"WBM"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetWBM(m.wbm); }, false},
    {{"RST Pos", "RST Neg"},
     [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetRSE(m.rst_pos, m.rst_neg); },
     false},  // 50
    {{"SHA"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHA(m.sha); }, false},
    {{"SEN"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSEN(m.sen); }, false},
    {{"SHG"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSHG(m.shg); }, false},
    {{"CD1"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCDA(1, a.cd[0]); }, false},
    {{"CD2"},
     [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCDA(2, a.cd[1]); },
     false},  // 55
    {{"CD3"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCDA(3, a.cd[2]); }, false},
    {{"CD4"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCDA(4, a.cd[3]); }, false},
    {{"CDI"}, [](const Main&, const Adv& a, const LinesRead&) { return Comm_SetCDI(a.cdi); }, false},
    {{"SSE"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSSE(m.sse); }, false},
    {{"SSP", "LLT", "RLT"},
     [](const Main& m, const Adv&, const LinesRead&) { return sendSplitLine(m); },
     false},  // 60
    {{"SSA"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetSSA(m.ssa); }, false},
    {{}, [](const Main& m, const Adv&, const LinesRead& read) { return sendSplitColours(m, read); }, false},
    {{"CBH"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCBH(m.cbh); }, false},
    {{"CRH"}, [](const Main& m, const Adv&, const LinesRead&) { return Comm_SetCRH(m.crh); }, false},  // 64
};
static_assert(std::size(kSteps) == 64, "a settings file is sent in 64 steps");

}  // namespace

namespace {

// The keys a step sends, for the operator: its lines, or for the steps that
// pick their lines themselves, the group.
std::string stepKeys(const SendStep& step, std::size_t index)
{
    std::string keys;
    for (const char* line : step.lines)
        if (line) keys += (keys.empty() ? "" : ", ") + std::string(line);
    if (!keys.empty()) return keys;
    switch (index + 1) {
        case 45:
            return "KR1 .. KB3";
        case 46:
            return "LRX, LRY, ULX, ULY";
        default:
            return "SLT, SLR, SLG, SLB, SRT, SRR, SRG, SRB";
    }
}

// The status of a step after its doubts were settled: the first of its sets
// and actions that did not end well (the queries a step makes on its way
// count through the sets that stand on them).
int settledStatus(std::uint64_t first, std::uint64_t last)
{
    for (std::uint64_t seq = first; seq < last; ++seq) {
        int shape = 0;
        const int status = Comm_TransactionStatus(seq, &shape);
        if (shape == static_cast<int>(ReplyShape::Acknowledge) && status != COMM_OK) return status;
    }
    return COMM_OK;
}

}  // namespace

int SendSettingsSteps(const CamMainSettings* main, const CamAdvSettings* adv, int* failures,
                      const SettingsLineSet* linesRead, int* stepsDone, bool* cancelled,
                      std::vector<SettingsStepFailure>* details)
{
    const LinesRead read(linesRead);
    SettingsFileUi& ui = CurrentSettingsFileUi();
    struct Sent {
        std::size_t index;
        int status;
        std::uint64_t first, last;  // its transactions: first <= seq < last
    };
    std::vector<Sent> sent;
    const std::uint64_t mark = Comm_TransactionMark();
    int count = 0;
    int done = 0;
    bool stop = false;
    bool lost = false;
    for (std::size_t i = 0; i < std::size(kSteps); ++i) {
        const SendStep& step = kSteps[i];
        ++done;
        const bool skipped = (step.factoryOnly && g_prog_type == 0) || !allRead(step.lines, read);
        if (!skipped) {
            const std::uint64_t first = Comm_TransactionMark();
            const int status = step.send(*main, *adv, read);
            sent.push_back({i, status, first, Comm_TransactionMark()});
            if (status != 0) ++count;
            // Without the camera no further step can go anywhere.
            if (status == COMM_LINK_LOST || Comm_LinkLost()) {
                lost = true;
                break;
            }
        }
        if (count > kSettingsFailureLimit) break;
        // Asked after the step, so that a cancel never cuts one in half.
        if (!ui.stepDone(done, kSettingsSendSteps)) {
            stop = done < kSettingsSendSteps;
            break;
        }
    }

    // A stray line may have put some steps in doubt: a set that took a
    // repeated or junk acknowledgement.  The link reads those sets back; a
    // step whose query is in doubt is sent again.
    for (int round = 0; round < 3 && !lost; ++round) {
        const std::vector<CommDoubt> doubts = Comm_SettleDoubts(mark);
        if (doubts.empty()) break;
        for (Sent& s : sent) {
            bool doubted = false;
            bool queryDoubted = false;
            for (const CommDoubt& d : doubts)
                if (d.seq >= s.first && d.seq < s.last) {
                    doubted = true;
                    queryDoubted = queryDoubted || d.query;
                }
            if (!doubted) continue;
            const int before = s.status;
            if (queryDoubted) {
                s.first = Comm_TransactionMark();
                s.status = kSteps[s.index].send(*main, *adv, read);
                s.last = Comm_TransactionMark();
            } else {
                s.status = settledStatus(s.first, s.last);
            }
            count += (s.status != 0) - (before != 0);
            if (s.status == COMM_LINK_LOST || Comm_LinkLost()) lost = true;
        }
    }

    if (details) {
        details->clear();
        for (const Sent& s : sent)
            if (s.status != 0)
                details->push_back(
                    {static_cast<int>(s.index) + 1, stepKeys(kSteps[s.index], s.index), s.status});
    }
    if (failures) *failures = count;
    if (stepsDone) *stepsDone = done;
    if (cancelled) *cancelled = stop;
    return count > kSettingsFailureLimit || lost ? 1 : 0;
}

int F_LoadSet_SendSettings(const CamMainSettings* main, const CamAdvSettings* adv, int* failures,
                           const SettingsLineSet* linesRead)
{
    return SendSettingsSteps(main, adv, failures, linesRead, nullptr, nullptr, nullptr);
}
