#include "camera/Snapshot.h"

#include <cstddef>
#include <initializer_list>

#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"

namespace {

constexpr const char* kMatrixFields[] = {"k[0]", "k[1]", "k[2]", "k[3]", "k[4]",
                                         "k[5]", "k[6]", "k[7]", "k[8]"};
constexpr const char* kDefectFields[] = {"cd[0]", "cd[1]", "cd[2]", "cd[3]"};

// Counts failed query functions; false once the fourth has failed, which ends
// the pass.  A function that runs several transactions counts once, by the
// code it returns; every field it writes is then taken as not read, since the
// caller cannot tell which of its transactions failed.
class Pass {
public:
    explicit Pass(SnapshotStats* stats) : stats_(stats ? stats : &own_) { *stats_ = {}; }

    bool operator()(int status, std::initializer_list<const char*> fields)
    {
        stats_->reachedFields.insert(stats_->reachedFields.end(), fields);
        if (status != COMM_OK) {
            ++stats_->failures;
            stats_->lastFailure = status;
            markUnread(fields);
        }
        stats_->stopped = stats_->failures > 3;
        return !stats_->stopped;
    }

    /// A query a several-transaction function does not count failed on its
    /// way: the pass goes on as it always did, but what stands on that query
    /// is not read.
    bool uncounted(int firstFailure, std::initializer_list<const char*> fields)
    {
        if (firstFailure != COMM_OK) markUnread(fields);
        return true;
    }

private:
    void markUnread(std::initializer_list<const char*> fields)
    {
        for (const char* field : fields)
            if (!stats_->fieldFailed(field)) stats_->failedFields.push_back(field);
    }

    SnapshotStats own_;
    SnapshotStats* stats_;
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

bool MainFieldFailed(const SnapshotStats* stats, const CamMainSettings* rec, const void* field)
{
    if (!stats || (stats->failedFields.empty() && !stats->stopped)) return false;
    const auto offset =
        static_cast<std::size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(rec));
    for (const SettingsField& f : MainSettingsFields())
        if (f.offset == offset) return stats->fieldUnread(f.name);
    return false;
}

int Comm_QueryMainSettings(CamMainSettings* r, SnapshotStats* stats)
{
    CommOperation operation;  // the whole pass reads one state of the camera
    Pass ok(stats);
    const CamClassTraits& c = Comm_CurrentClass();
    if (!(ok(Comm_GetAGC_Access(&r->agc_access), {"agc_access"}) &&
          ok(Comm_GetDFC_Access(&r->dfc_access), {"dfc_access"}) && ok(Comm_GetSHE(&r->she), {"she"})))
        return 1;

    if (c.agcMode) {
        if (!ok(Comm_GetAMD(&r->amd), {"amd"})) return 1;
    } else {
        if (!(ok(Comm_GetAEC(&r->aec), {"aec"}) && ok(Comm_GetSHS(&r->shs), {"shs"}))) return 1;
        if (c.family47x && !(ok(Comm_GetSMX(&r->smx), {"smx"}) && ok(Comm_GetDFC(&r->dfc), {"dfc"}) &&
                             ok(Comm_GetMIR(&r->mir), {"mir"})))
            return 1;
        if (c.colour && !(ok(Comm_GetCMD(&r->cmd), {"cmd"}) && ok(Comm_GetCGB(&r->cgb), {"cgb"}) &&
                          ok(Comm_GetCGG(&r->cgg), {"cgg"}) && ok(Comm_GetCGR(&r->cgr), {"cgr"}) &&
                          ok(Comm_GetIPH(&r->iph), {"iph"}) && ok(Comm_GetAWW(&r->aww), {"aww"}) &&
                          ok(Comm_GetYGA(&r->yga), {"yga"}) && ok(Comm_GetUSA(&r->usa), {"usa"}) &&
                          ok(Comm_GetVSA(&r->vsa), {"vsa"}) && ok(Comm_GetHUE(&r->hue), {"hue"}) &&
                          ok(Comm_GetWBM(&r->wbm), {"wbm"})))
            return 1;
    }

    if (!(ok(Comm_GetAGN(&r->agn), {"agn"}) && ok(Comm_GetALV(&r->alv), {"alv"}) &&
          ok(Comm_GetAMX(&r->amx), {"amx"}) && ok(Comm_GetGAM(&r->gam), {"gam"}) &&
          ok(Comm_GetVMD(&r->vmd), {"vmd"}) && ok(Comm_GetMFI(&r->mfi), {"mfi"}) &&
          ok(Comm_GetMFT(&r->mft), {"mft"}) && ok(Comm_GetTMD(&r->tmd), {"tmd"}) &&
          ok(Comm_GetFOC(&r->foc), {"foc"}) && ok(Comm_GetIRC(&r->irc), {"irc"}) &&
          ok(Comm_GetZMC(&r->zmc), {"zmc"}) && ok(Comm_GetDOU(&r->dou), {"dou"}) &&
          ok(Comm_GetSHP(&r->shp), {"shp"}) && ok(Comm_GetSHD(&r->shd), {"shd"})))
        return 1;

    if (!(ok(Comm_GetCSAT(&r->cbsat, 0), {"cbsat"}) && ok(Comm_GetCSAT(&r->crsat, 1), {"crsat"}) &&
          ok(Comm_GetRSE(&r->rst_pos, &r->rst_neg), {"rst_pos", "rst_neg"}) &&
          ok(Comm_GetSHA(&r->sha), {"sha"}) && ok(Comm_GetSEN(&r->sen), {"sen"}) &&
          ok(Comm_GetSHG(&r->shg), {"shg"}) && ok(Comm_GetSSE(&r->sse), {"sse"})))
        return 1;

    int hidden = COMM_OK;
    if (!(ok(Comm_GetSSPosThick(&r->ssp, &r->llt, &r->rlt, &hidden), {"ssp", "llt", "rlt"}) &&
          ok.uncounted(hidden, {"ssp", "llt", "rlt"}) && ok(Comm_GetSSA(&r->ssa), {"ssa"})))
        return 1;

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
        if (!(ok(Comm_GetSSColor(c.side, c.colour, c.level, c.transparency, &hidden),
                 {c.levelName, c.transparencyName}) &&
              ok.uncounted(hidden, {c.levelName, c.transparencyName})))
            return 1;

    if (g_hardware_rev == 1 && !(ok(Comm_GetCBH(&r->cbh), {"cbh"}) && ok(Comm_GetCRH(&r->crh), {"crh"})))
        return 1;
    return 0;
}

int Comm_QueryAdvanced(CamAdvSettings* r, SnapshotStats* stats)
{
    CommOperation operation;
    Pass ok(stats);
    const CamClassTraits& c = Comm_CurrentClass();
    if (!(ok(Comm_GetFWVer(r->fw_ver, sizeof r->fw_ver), {"fw_ver"}) &&
          ok(Comm_GetFPGAVer(r->fpga_ver, sizeof r->fpga_ver), {"fpga_ver"}) &&
          ok(Comm_GetVPS(&r->vps), {"vps"}) && ok(Comm_GetVPD(&r->vpd), {"vpd"})))
        return 1;

    if (c.hasWhiteClip) {
        if (!ok(Comm_GetVWC(&r->vwc), {"vwc"})) return 1;
    }
    if (c.colour) {
        for (int i = 0; i < 9; ++i)
            if (!ok(Comm_GetK(&r->k[i], i), {kMatrixFields[i]})) return 1;
    }

    if (!c.family47x) return 0;
    if (!(ok(Comm_GetBTH(&r->bth), {"bth"}) && ok(Comm_GetBCT(&r->bct), {"bct"}))) return 1;
    for (int n = 1; n <= 4; ++n)
        if (!ok(Comm_GetCDA(n, &r->cd[n - 1]), {kDefectFields[n - 1]})) return 1;
    if (!(ok(Comm_GetCDI(&r->cdi), {"cdi"}) && ok(Comm_GetALCWin(&r->ulx, 0), {"ulx"}) &&
          ok(Comm_GetALCWin(&r->uly, 1), {"uly"}) && ok(Comm_GetALCWin(&r->lrx, 2), {"lrx"}) &&
          ok(Comm_GetALCWin(&r->lry, 3), {"lry"}) && ok(Comm_GetBTS(&r->bts), {"bts"}) &&
          ok(Comm_GetDKS(&r->dks), {"dks"}) && ok(Comm_GetLAW(&r->law), {"law"}) &&
          ok(Comm_GetIFC(&r->ifc), {"ifc"}) && ok(Comm_GetESH(&r->esh), {"esh"}) &&
          ok(Comm_GetBIN(&r->bin), {"bin"}) && ok(Comm_GetALM(&r->alm), {"alm"}) &&
          ok(Comm_GetWDS(&r->wds), {"wds"}) && ok(Comm_GetSNO(r->sno), {"sno"}) &&
          ok(Comm_GetCID(r->cid), {"cid"})))
        return 1;
    return 0;
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
