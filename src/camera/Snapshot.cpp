#include "camera/Snapshot.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>

#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"

namespace {

constexpr const char* kMatrixFields[] = {"k[0]", "k[1]", "k[2]", "k[3]", "k[4]",
                                         "k[5]", "k[6]", "k[7]", "k[8]"};
constexpr const char* kDefectFields[] = {"cd[0]", "cd[1]", "cd[2]", "cd[3]"};

// What one query function gave: the status it returned, by which the pass
// counts, and for the functions of several transactions the first failure on
// their way, which the pass does not count but which leaves what stands on
// it unread.
struct Result {
    Result(int status) : status(status) {}  // NOLINT: a plain status converts
    Result(int status, int hidden) : status(status), hidden(hidden) {}
    int status;
    int hidden = COMM_OK;
};

using Query = std::function<Result()>;

// How many readings of a text must agree at most before it is taken.  A text
// has no shape to tell a character turned into another on the line from the
// camera's own, so a text the pass keeps is read until two readings in a row
// agree.
constexpr int kTextReadings = 4;

// Counts failed query functions; false once the fourth has failed, which ends
// the pass.  A function that runs several transactions counts once, by the
// code it returns; every field it writes is then taken as not read, since the
// caller cannot tell which of its transactions failed.
//
// Before the pass ends, every query that a stray line put in doubt is made
// again (Comm_SettleDoubts), so that no record holds a value the line may
// have misattributed.
class Pass {
public:
    Pass(SnapshotStats* stats, const void* record, std::span<const SettingsField> layout)
        : stats_(stats ? stats : &own_), record_(static_cast<const char*>(record)), layout_(layout)
    {
        *stats_ = {};
        mark_ = Comm_TransactionMark();
    }

    /// Runs query, which fills fields; false once the pass must stop.
    bool operator()(Query query, std::initializer_list<const char*> fields)
    {
        stats_->reachedFields.insert(stats_->reachedFields.end(), fields);
        Step step{std::move(query), std::vector<const char*>(fields), Comm_TransactionMark(), 0, false};
        const Result result = step.query();
        step.last = Comm_TransactionMark();
        step.failed = result.status != COMM_OK;
        if (result.status == COMM_BUSY) return fail(result.status, step.fields);
        if (result.status != COMM_OK) {
            ++stats_->failures;
            stats_->lastFailure = result.status;
            markUnread(step.fields, result.status);
        } else if (result.hidden != COMM_OK) {
            // Not counted, but the reason the fields are unread.
            stats_->lastFailure = result.hidden;
            markUnread(step.fields, result.hidden);
        }
        steps_.push_back(std::move(step));
        stats_->stopped = stats_->failures > 3;
        return !stats_->stopped;
    }

    /// A text field: read until two readings in a row agree.
    bool text(std::function<int()> read, const char* field)
    {
        return (*this)(
            [this, read = std::move(read), field]() -> Result {
                const SettingsField* f = find(field);
                std::string previous;
                int status = COMM_OK;
                for (int i = 0; i < kTextReadings; ++i) {
                    status = read();
                    if (status != COMM_OK || !f) return status;
                    const std::string now(record_ + f->offset);
                    if (i > 0 && now == previous) return COMM_OK;
                    previous = now;
                }
                return COMM_UNCONFIRMED;
            },
            {field});
    }

    /// Makes again every query a stray line put in doubt, until none is or
    /// three rounds have passed; what is still in doubt then is not read.
    /// Returns the pass's result: 1 when it stopped at its fourth failure.
    int finish()
    {
        for (int round = 0; round < 3 && !stats_->stopped; ++round) {
            std::vector<Step*> again;
            for (const CommDoubt& d : Comm_SettleDoubts(mark_))
                for (Step& step : steps_)
                    if (d.seq >= step.first && d.seq < step.last &&
                        std::find(again.begin(), again.end(), &step) == again.end())
                        again.push_back(&step);
            if (again.empty()) return 0;
            for (Step* step : again) {
                step->first = Comm_TransactionMark();
                const Result result = step->query();
                step->last = Comm_TransactionMark();
                if (result.status != COMM_OK || result.hidden != COMM_OK) {
                    stats_->lastFailure = result.status != COMM_OK ? result.status : result.hidden;
                    markUnread(step->fields, stats_->lastFailure);
                } else {
                    markRead(step->fields);
                    // A failure that a stray line showed to be the line's,
                    // such as a junk refusal, is healed by the answer.
                    if (step->failed) --stats_->failures;
                    step->failed = false;
                }
            }
        }
        if (stats_->stopped) return 1;
        // Still in doubt after three rounds: the line is too bad to trust.
        for (const CommDoubt& d : Comm_SettleDoubts(mark_))
            for (Step& step : steps_)
                if (d.seq >= step.first && d.seq < step.last) {
                    stats_->lastFailure = COMM_UNCONFIRMED;
                    markUnread(step.fields, COMM_UNCONFIRMED);
                }
        return 0;
    }

    /// Ends a pass that stopped early: the doubts it leaves are not the next one's.
    int stop()
    {
        Comm_SettleDoubts(mark_);
        return 1;
    }

private:
    struct Step {
        Query query;
        std::vector<const char*> fields;
        std::uint64_t first;  // transaction numbers of its last run: first <= seq < last
        std::uint64_t last;
        bool failed;  // its last run failed, and counts among the failures
    };

    bool fail(int status, const std::vector<const char*>& fields)
    {
        ++stats_->failures;
        stats_->lastFailure = status;
        markUnread(fields, status);
        stats_->stopped = stats_->failures > 3;
        return !stats_->stopped;
    }

    const SettingsField* find(std::string_view name) const
    {
        for (const SettingsField& f : layout_)
            if (name == f.name) return &f;
        return nullptr;
    }

    void markUnread(const std::vector<const char*>& fields, int status)
    {
        auto& failed = stats_->failedFields;
        for (const char* field : fields) {
            const auto at = std::find_if(failed.begin(), failed.end(),
                                         [field](const char* f) { return std::string_view(f) == field; });
            if (at != failed.end()) {
                stats_->failedStatuses[static_cast<std::size_t>(at - failed.begin())] = status;
                continue;
            }
            failed.push_back(field);
            stats_->failedStatuses.push_back(status);
        }
    }

    void markRead(const std::vector<const char*>& fields)
    {
        auto& failed = stats_->failedFields;
        for (const char* field : fields)
            for (std::size_t i = failed.size(); i-- > 0;)
                if (std::string_view(failed[i]) == field) {
                    failed.erase(failed.begin() + static_cast<std::ptrdiff_t>(i));
                    stats_->failedStatuses.erase(stats_->failedStatuses.begin() +
                                                 static_cast<std::ptrdiff_t>(i));
                }
    }

    SnapshotStats own_;
    SnapshotStats* stats_;
    const char* record_;
    std::span<const SettingsField> layout_;
    std::uint64_t mark_ = 0;
    std::vector<Step> steps_;
};

}  // namespace

bool SnapshotStats::fieldFailed(std::string_view field) const
{
    for (const char* failed : failedFields)
        if (field == failed) return true;
    return false;
}

bool SnapshotStats::fieldUnread(std::string_view field) const
{
    if (fieldFailed(field)) return true;
    if (!stopped) return false;
    for (const char* reached : reachedFields)
        if (field == reached) return false;
    return true;
}

int SnapshotStats::fieldFailure(std::string_view field) const
{
    for (std::size_t i = 0; i < failedFields.size(); ++i)
        if (field == failedFields[i]) return i < failedStatuses.size() ? failedStatuses[i] : COMM_UNCONFIRMED;
    return fieldUnread(field) ? kNotAsked : COMM_OK;
}

std::vector<const char*> UnreadFieldNames(std::span<const SettingsField> fields, const SnapshotStats& stats)
{
    std::vector<const char*> names;
    for (const SettingsField& f : fields) {
        if (!stats.fieldUnread(f.name)) continue;
        // A stopped pass leaves the settings the model lacks unreached too;
        // they were never to be read.
        const SettingInfo* setting = Settings_Find(f.name);
        if (!stats.fieldFailed(f.name) && setting && !Settings_ModelHas(*setting, g_cam_model_idx)) continue;
        names.push_back(f.name);
    }
    return names;
}

int MainFieldFailure(const SnapshotStats* stats, const CamMainSettings* rec, const void* field)
{
    if (!stats || (stats->failedFields.empty() && !stats->stopped)) return COMM_OK;
    const auto offset =
        static_cast<std::size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(rec));
    for (const SettingsField& f : MainSettingsFields())
        if (f.offset == offset) return stats->fieldFailure(f.name);
    return COMM_OK;
}

bool MainFieldFailed(const SnapshotStats* stats, const CamMainSettings* rec, const void* field)
{
    return MainFieldFailure(stats, rec, field) != COMM_OK;
}

int Comm_QueryMainSettings(CamMainSettings* r, SnapshotStats* stats)
{
    CommOperation operation;  // the whole pass reads one state of the camera
    Pass ok(stats, r, MainSettingsFields());
    const CamClassTraits& c = Comm_CurrentClass();
    if (!(ok([r] { return Comm_GetAGC_Access(&r->agc_access); }, {"agc_access"}) &&
          ok([r] { return Comm_GetDFC_Access(&r->dfc_access); }, {"dfc_access"}) &&
          ok([r] { return Comm_GetSHE(&r->she); }, {"she"})))
        return ok.stop();

    if (c.agcMode) {
        if (!ok([r] { return Comm_GetAMD(&r->amd); }, {"amd"})) return ok.stop();
    } else {
        if (!(ok([r] { return Comm_GetAEC(&r->aec); }, {"aec"}) &&
              ok([r] { return Comm_GetSHS(&r->shs); }, {"shs"})))
            return ok.stop();
        if (c.family47x && !(ok([r] { return Comm_GetSMX(&r->smx); }, {"smx"}) &&
                             ok([r] { return Comm_GetDFC(&r->dfc); }, {"dfc"}) &&
                             ok([r] { return Comm_GetMIR(&r->mir); }, {"mir"})))
            return ok.stop();
        if (c.colour && !(ok([r] { return Comm_GetCMD(&r->cmd); }, {"cmd"}) &&
                          ok([r] { return Comm_GetCGB(&r->cgb); }, {"cgb"}) &&
                          ok([r] { return Comm_GetCGG(&r->cgg); }, {"cgg"}) &&
                          ok([r] { return Comm_GetCGR(&r->cgr); }, {"cgr"}) &&
                          ok([r] { return Comm_GetIPH(&r->iph); }, {"iph"}) &&
                          ok([r] { return Comm_GetAWW(&r->aww); }, {"aww"}) &&
                          ok([r] { return Comm_GetYGA(&r->yga); }, {"yga"}) &&
                          ok([r] { return Comm_GetUSA(&r->usa); }, {"usa"}) &&
                          ok([r] { return Comm_GetVSA(&r->vsa); }, {"vsa"}) &&
                          ok([r] { return Comm_GetHUE(&r->hue); }, {"hue"}) &&
                          ok([r] { return Comm_GetWBM(&r->wbm); }, {"wbm"})))
            return ok.stop();
    }

    if (!(ok([r] { return Comm_GetAGN(&r->agn); }, {"agn"}) &&
          ok([r] { return Comm_GetALV(&r->alv); }, {"alv"}) &&
          ok([r] { return Comm_GetAMX(&r->amx); }, {"amx"}) &&
          ok([r] { return Comm_GetGAM(&r->gam); }, {"gam"}) &&
          ok([r] { return Comm_GetVMD(&r->vmd); }, {"vmd"}) &&
          ok([r] { return Comm_GetMFI(&r->mfi); }, {"mfi"}) &&
          ok([r] { return Comm_GetMFT(&r->mft); }, {"mft"}) &&
          ok([r] { return Comm_GetTMD(&r->tmd); }, {"tmd"}) &&
          ok([r] { return Comm_GetFOC(&r->foc); }, {"foc"}) &&
          ok([r] { return Comm_GetIRC(&r->irc); }, {"irc"}) &&
          ok([r] { return Comm_GetZMC(&r->zmc); }, {"zmc"}) &&
          ok([r] { return Comm_GetDOU(&r->dou); }, {"dou"}) &&
          ok([r] { return Comm_GetSHP(&r->shp); }, {"shp"}) &&
          ok([r] { return Comm_GetSHD(&r->shd); }, {"shd"})))
        return ok.stop();

    if (!(ok([r] { return Comm_GetCSAT(&r->cbsat, 0); }, {"cbsat"}) &&
          ok([r] { return Comm_GetCSAT(&r->crsat, 1); }, {"crsat"}) &&
          ok([r] { return Comm_GetRSE(&r->rst_pos, &r->rst_neg); }, {"rst_pos", "rst_neg"}) &&
          ok([r] { return Comm_GetSHA(&r->sha); }, {"sha"}) &&
          ok([r] { return Comm_GetSEN(&r->sen); }, {"sen"}) &&
          ok([r] { return Comm_GetSHG(&r->shg); }, {"shg"}) &&
          ok([r] { return Comm_GetSSE(&r->sse); }, {"sse"})))
        return ok.stop();

    if (!(ok(
              [r]() -> Result {
                  int hidden = COMM_OK;
                  const int status = Comm_GetSSPosThick(&r->ssp, &r->llt, &r->rlt, &hidden);
                  return {status, hidden};
              },
              {"ssp", "llt", "rlt"}) &&
          ok([r] { return Comm_GetSSA(&r->ssa); }, {"ssa"})))
        return ok.stop();

    // Each colour query also reads its side's transparency, which its level
    // stands on.
    const struct {
        int side, colour;
        int* level;
        int* transparency;
        const char* levelName;
        const char* transparencyName;
    } colours[] = {{0, 0, &r->slr, &r->slt, "slr", "slt"}, {0, 1, &r->slg, &r->slt, "slg", "slt"},
                   {0, 2, &r->slb, &r->slt, "slb", "slt"}, {1, 0, &r->srr, &r->srt, "srr", "srt"},
                   {1, 1, &r->srg, &r->srt, "srg", "srt"}, {1, 2, &r->srb, &r->srt, "srb", "srt"}};
    for (const auto& c : colours)
        if (!ok(
                [c]() -> Result {
                    int hidden = COMM_OK;
                    const int status = Comm_GetSSColor(c.side, c.colour, c.level, c.transparency, &hidden);
                    return {status, hidden};
                },
                {c.levelName, c.transparencyName}))
            return ok.stop();

    if (g_hardware_rev == 1 && !(ok([r] { return Comm_GetCBH(&r->cbh); }, {"cbh"}) &&
                                 ok([r] { return Comm_GetCRH(&r->crh); }, {"crh"})))
        return ok.stop();
    return ok.finish();
}

int Comm_QueryAdvanced(CamAdvSettings* r, SnapshotStats* stats)
{
    CommOperation operation;
    Pass ok(stats, r, AdvSettingsFields());
    const CamClassTraits& c = Comm_CurrentClass();
    if (!(ok.text([r] { return Comm_GetFWVer(r->fw_ver, sizeof r->fw_ver); }, "fw_ver") &&
          ok.text([r] { return Comm_GetFPGAVer(r->fpga_ver, sizeof r->fpga_ver); }, "fpga_ver") &&
          ok([r] { return Comm_GetVPS(&r->vps); }, {"vps"}) &&
          ok([r] { return Comm_GetVPD(&r->vpd); }, {"vpd"})))
        return ok.stop();

    if (c.hasWhiteClip) {
        if (!ok([r] { return Comm_GetVWC(&r->vwc); }, {"vwc"})) return ok.stop();
    }
    if (c.colour) {
        for (int i = 0; i < 9; ++i)
            if (!ok([r, i] { return Comm_GetK(&r->k[i], i); }, {kMatrixFields[i]})) return ok.stop();
    }

    if (!c.family47x) return ok.finish();
    if (!(ok([r] { return Comm_GetBTH(&r->bth); }, {"bth"}) &&
          ok([r] { return Comm_GetBCT(&r->bct); }, {"bct"})))
        return ok.stop();
    for (int n = 1; n <= 4; ++n)
        if (!ok([r, n] { return Comm_GetCDA(n, &r->cd[n - 1]); }, {kDefectFields[n - 1]})) return ok.stop();
    if (!(ok([r] { return Comm_GetCDI(&r->cdi); }, {"cdi"}) &&
          ok([r] { return Comm_GetALCWin(&r->ulx, 0); }, {"ulx"}) &&
          ok([r] { return Comm_GetALCWin(&r->uly, 1); }, {"uly"}) &&
          ok([r] { return Comm_GetALCWin(&r->lrx, 2); }, {"lrx"}) &&
          ok([r] { return Comm_GetALCWin(&r->lry, 3); }, {"lry"}) &&
          ok([r] { return Comm_GetBTS(&r->bts); }, {"bts"}) &&
          ok([r] { return Comm_GetDKS(&r->dks); }, {"dks"}) &&
          ok([r] { return Comm_GetLAW(&r->law); }, {"law"}) &&
          ok([r] { return Comm_GetIFC(&r->ifc); }, {"ifc"}) &&
          ok([r] { return Comm_GetESH(&r->esh); }, {"esh"}) &&
          ok([r] { return Comm_GetBIN(&r->bin); }, {"bin"}) &&
          ok([r] { return Comm_GetALM(&r->alm); }, {"alm"}) &&
          ok([r] { return Comm_GetWDS(&r->wds); }, {"wds"}) &&
          ok.text([r] { return Comm_GetSNO(r->sno); }, "sno") &&
          ok.text([r] { return Comm_GetCID(r->cid); }, "cid")))
        return ok.stop();
    return ok.finish();
}

// ---------------------------------------------------------------------------

#define INT_FIELD(REC, F)                                         \
    SettingsField                                                 \
    {                                                             \
#F, SettingsFieldType::Int, offsetof(REC, F), sizeof(int) \
    }
#define FLOAT_FIELD(REC, F)                                           \
    SettingsField                                                     \
    {                                                                 \
#F, SettingsFieldType::Float, offsetof(REC, F), sizeof(float) \
    }
#define TEXT_FIELD(REC, F)                                            \
    SettingsField                                                     \
    {                                                                 \
#F, SettingsFieldType::Text, offsetof(REC, F), sizeof(REC::F) \
    }
#define ELEMENT(REC, TYPE, F, I)                                                                  \
    SettingsField                                                                                 \
    {                                                                                             \
#F "[" #I "]", SettingsFieldType::TYPE, offsetof(REC, F) + (I) * sizeof(int), sizeof(int) \
    }

std::span<const SettingsField> MainSettingsFields()
{
    using R = CamMainSettings;
    static const SettingsField fields[] = {
        INT_FIELD(R, aec),        FLOAT_FIELD(R, agn),   INT_FIELD(R, alv),     INT_FIELD(R, amd),
        FLOAT_FIELD(R, amx),      INT_FIELD(R, awb),     INT_FIELD(R, aww),     FLOAT_FIELD(R, cgb),
        FLOAT_FIELD(R, cgg),      FLOAT_FIELD(R, cgr),   INT_FIELD(R, cmd),     INT_FIELD(R, dfc),
        FLOAT_FIELD(R, foc),      INT_FIELD(R, iph),     FLOAT_FIELD(R, irc),   INT_FIELD(R, gam),
        INT_FIELD(R, mfi),        INT_FIELD(R, mir),     INT_FIELD(R, mft),     INT_FIELD(R, agc_access),
        INT_FIELD(R, dfc_access), INT_FIELD(R, she),     INT_FIELD(R, shs),     INT_FIELD(R, smx),
        INT_FIELD(R, tmd),        INT_FIELD(R, vmd),     FLOAT_FIELD(R, yga),   FLOAT_FIELD(R, usa),
        FLOAT_FIELD(R, vsa),      FLOAT_FIELD(R, hue),   FLOAT_FIELD(R, zmc),   INT_FIELD(R, wbm),
        INT_FIELD(R, dou),        INT_FIELD(R, shd),     INT_FIELD(R, shp),     FLOAT_FIELD(R, crsat),
        FLOAT_FIELD(R, cbsat),    INT_FIELD(R, rst_pos), INT_FIELD(R, rst_neg), INT_FIELD(R, sha),
        INT_FIELD(R, sen),        FLOAT_FIELD(R, shg),   INT_FIELD(R, sse),     INT_FIELD(R, ssp),
        INT_FIELD(R, llt),        INT_FIELD(R, rlt),     INT_FIELD(R, ssa),     INT_FIELD(R, slt),
        INT_FIELD(R, srt),        INT_FIELD(R, slr),     INT_FIELD(R, slg),     INT_FIELD(R, slb),
        INT_FIELD(R, srr),        INT_FIELD(R, srg),     INT_FIELD(R, srb),     FLOAT_FIELD(R, cbh),
        FLOAT_FIELD(R, crh),
    };
    return fields;
}

std::span<const SettingsField> AdvSettingsFields()
{
    using R = CamAdvSettings;
    static const SettingsField fields[] = {
        TEXT_FIELD(R, fw_ver),   TEXT_FIELD(R, fpga_ver), FLOAT_FIELD(R, bth),     INT_FIELD(R, bct),
        INT_FIELD(R, vps),       FLOAT_FIELD(R, vpd),     FLOAT_FIELD(R, vwc),     INT_FIELD(R, wds),
        INT_FIELD(R, bts),       INT_FIELD(R, dks),       INT_FIELD(R, law),       INT_FIELD(R, ifc),
        INT_FIELD(R, alm),       ELEMENT(R, Float, k, 0), ELEMENT(R, Float, k, 1), ELEMENT(R, Float, k, 2),
        ELEMENT(R, Float, k, 3), ELEMENT(R, Float, k, 4), ELEMENT(R, Float, k, 5), ELEMENT(R, Float, k, 6),
        ELEMENT(R, Float, k, 7), ELEMENT(R, Float, k, 8), INT_FIELD(R, ulx),       INT_FIELD(R, uly),
        INT_FIELD(R, lrx),       INT_FIELD(R, lry),       INT_FIELD(R, esh),       INT_FIELD(R, bin),
        ELEMENT(R, Int, cd, 0),  ELEMENT(R, Int, cd, 1),  ELEMENT(R, Int, cd, 2),  ELEMENT(R, Int, cd, 3),
        INT_FIELD(R, cdi),       TEXT_FIELD(R, sno),      TEXT_FIELD(R, cid),
    };
    return fields;
}

static_assert(sizeof(float) == sizeof(int), "array elements are addressed in 4-byte steps");
static_assert(offsetof(CamAdvSettings, bth) == 24, "the version texts fill the space before bth");
