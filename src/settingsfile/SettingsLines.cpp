#include "settingsfile/SettingsLines.h"

#include <cstddef>

#include "camera/Globals.h"

namespace {

using F = LineFormat;
using R = LineRead;

constexpr SettingsLine mainInt(const char* key, std::size_t offset, R read = R::IntegerAfterKey,
                               const char* name = nullptr)
{
    return {key, F::Int, read, LineRecord::Main, LineField::Int, offset, 0, true, name ? name : key};
}
constexpr SettingsLine mainReal(const char* key, std::size_t offset, F format = F::Real6,
                                const char* name = nullptr)
{
    return {key, format, R::NumberAfterKey, LineRecord::Main, LineField::Float, offset,
            0,   true,   name ? name : key};
}
constexpr SettingsLine advInt(const char* key, std::size_t offset, R read = R::IntegerAfterKey)
{
    return {key, F::Int, read, LineRecord::Advanced, LineField::Int, offset, 0, true, key};
}
constexpr SettingsLine advReal(const char* key, std::size_t offset)
{
    return {key, F::Real6, R::NumberAfterKey, LineRecord::Advanced, LineField::Float, offset, 0, true, key};
}
constexpr SettingsLine matrix(const char* key, int index, const char* name)
{
    return {key,
            F::Real2,
            R::RealAfterColon,
            LineRecord::Advanced,
            LineField::Float,
            offsetof(CamAdvSettings, k) + static_cast<std::size_t>(index) * sizeof(float),
            0,
            false,
            name};
}
constexpr SettingsLine defect(const char* key, int index)
{
    return {key,
            F::Int,
            R::IntegerAfterColon,
            LineRecord::Advanced,
            LineField::Int,
            offsetof(CamAdvSettings, cd) + static_cast<std::size_t>(index) * sizeof(int),
            0,
            true,
            key};
}
constexpr SettingsLine advText(const char* key, std::size_t offset, std::size_t size, R read,
                               const char* name)
{
    return {key, F::Text, read, LineRecord::Advanced, LineField::Text, offset, size, read != R::Skip, name};
}

#define M(field) offsetof(CamMainSettings, field)
#define A(field) offsetof(CamAdvSettings, field)

const SettingsLine kLines[kSettingsFileLines] = {
    {nullptr, F::Header, R::Skip, LineRecord::None, LineField::None, 0, 0, false, nullptr},
    {nullptr, F::Comment, R::Skip, LineRecord::None, LineField::None, 0, 0, false, nullptr},
    {"Camera model index", F::Int, R::Skip, LineRecord::ModelRow, LineField::Int, 0, 0, false, "CAM"},
    advText("Firmware verson", A(fw_ver), sizeof(CamAdvSettings::fw_ver), R::Skip, "VER"),
    advText("FPGA version", A(fpga_ver), sizeof(CamAdvSettings::fpga_ver), R::Skip, "FPGA"),
    advText("Camera ID String", A(sno), sizeof(CamAdvSettings::sno), R::TextAfterColon, "SNO"),
    advText("Customer ID String", A(cid), sizeof(CamAdvSettings::cid), R::TextAfterColon, "CID"),
    mainReal("AGN", M(agn)),  // line 7
    mainInt("ALV", M(alv)),
    mainReal("AMX", M(amx)),
    advInt("BTS", A(bts)),  // line 10
    mainReal("CGB", M(cgb)),
    mainReal("CGG", M(cgg)),
    mainReal("CGR", M(cgr)),
    mainInt("CMD", M(cmd)),
    mainInt("DFC", M(dfc)),
    advInt("ESH", A(esh)),
    advInt("BIN", A(bin)),
    mainInt("SB2", M(dfc_access), R::IntegerAfterColon),
    advInt("DKS", A(dks)),
    mainReal("FOC", M(foc)),  // line 20
    mainInt("GAM", M(gam)),
    advInt("IFC", A(ifc)),
    mainInt("IPH", M(iph)),
    mainReal("IRC", M(irc)),
    advInt("LAW", A(law)),
    mainInt("MFI", M(mfi)),
    mainInt("MFT", M(mft)),
    mainInt("MIR", M(mir)),
    mainInt("SHE", M(she)),
    mainInt("SHS", M(shs)),  // line 30
    mainInt("DOU", M(dou)),
    mainInt("SHD", M(shd)),
    mainInt("SHP", M(shp)),
    mainInt("TMD", M(tmd)),
    mainInt("VMD", M(vmd)),
    advInt("VPS", A(vps)),
    advReal("VPD", A(vpd)),
    advReal("VWC", A(vwc)),
    mainReal("FOC", M(zmc), F::Real6, "ZMC"),  // line 39: the zoom, under the focus key
    advInt("ALM", A(alm)),                     // line 40
    mainInt("AEC", M(aec)),
    mainInt("SMX", M(smx)),
    mainReal("YGA", M(yga)),
    mainReal("USA", M(usa)),
    mainReal("VSA", M(vsa)),
    mainReal("HUE", M(hue)),
    mainInt("SB1", M(agc_access), R::IntegerAfterColon),
    // Line 48: written as an integer, read as a real and cut toward zero.
    {"WDS", F::Int, R::NumberAfterKey, LineRecord::Advanced, LineField::Int, A(wds), 0, true, "WDS"},
    matrix("K[RED1]", 0, "KR1"),
    matrix("K[GREEN1]", 1, "KG1"),  // line 50
    matrix("K[BLUE1]", 2, "KB1"),
    matrix("K[RED2]", 3, "KR2"),
    matrix("K[GREEN2]", 4, "KG2"),
    matrix("K[BLUE12", 5, "KB2"),  // the key has always lacked its bracket
    matrix("K[RED3]", 6, "KR3"),
    matrix("K[GREEN3]", 7, "KG3"),
    matrix("K[BLUE3]", 8, "KB3"),
    advInt("ULX", A(ulx)),
    advInt("ULY", A(uly)),
    advInt("LRX", A(lrx)),  // line 60
    advInt("LRY", A(lry)),
    mainReal("CRSAT", M(crsat), F::Real2),
    mainReal("CBSAT", M(cbsat), F::Real2),
    mainInt("WBM", M(wbm)),
    mainInt("RST Pos", M(rst_pos)),
    mainInt("RST Neg", M(rst_neg)),
    mainInt("SHA", M(sha)),
    mainInt("SEN", M(sen)),
    mainReal("SHG", M(shg)),
    defect("CD1", 0),  // line 70
    defect("CD2", 1),
    defect("CD3", 2),
    defect("CD4", 3),
    advInt("CDI", A(cdi)),
    mainInt("SSE", M(sse)),
    mainInt("SSP", M(ssp)),
    mainInt("LLT", M(llt)),
    mainInt("RLT", M(rlt)),
    mainInt("SSA", M(ssa)),
    mainInt("SLT", M(slt)),  // line 80
    mainInt("SRT", M(srt)),
    mainInt("SLR", M(slr)),
    mainInt("SLG", M(slg)),
    mainInt("SLB", M(slb)),
    mainInt("SRR", M(srr)),
    mainInt("SRG", M(srg)),
    mainInt("SRB", M(srb)),
    mainReal("CBH", M(cbh), F::Real2),
    mainReal("CRH", M(crh), F::Real2),  // line 89
};

#undef M
#undef A

const char* recordBase(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv)
{
    switch (line.record) {
        case LineRecord::Main:
            return reinterpret_cast<const char*>(&main);
        case LineRecord::Advanced:
            return reinterpret_cast<const char*>(&adv);
        default:
            return nullptr;
    }
}

}  // namespace

std::span<const SettingsLine> SettingsFileLines()
{
    return kLines;
}

double SettingsLineNumber(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv)
{
    if (line.record == LineRecord::ModelRow) return g_cam_model_user_idx;
    const char* base = recordBase(line, main, adv);
    if (!base) return 0.0;
    if (line.field == LineField::Int) return *reinterpret_cast<const int*>(base + line.offset);
    if (line.field == LineField::Float) return *reinterpret_cast<const float*>(base + line.offset);
    return 0.0;
}

const char* SettingsLineText(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv)
{
    const char* base = recordBase(line, main, adv);
    return base && line.field == LineField::Text ? base + line.offset : "";
}

int SettingsLineIndex(std::string_view name)
{
    for (std::size_t i = 0; i < std::size(kLines); ++i)
        if (kLines[i].name && name == kLines[i].name) return static_cast<int>(i);
    return -1;
}
