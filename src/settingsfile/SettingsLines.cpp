#include "settingsfile/SettingsLines.h"

#include <cstddef>

#include "camera/Globals.h"

namespace {

using F = LineFormat;
using R = LineRead;

constexpr SettingsLine mainInt(const char* key, std::size_t offset)
{
    return {key, F::Int, R::Whole, LineRecord::Main, LineField::Int, offset, 0, key};
}
constexpr SettingsLine mainReal(const char* key, std::size_t offset, F format = F::Real6,
                                const char* name = nullptr)
{
    return {key, format, R::Decimal, LineRecord::Main, LineField::Float, offset, 0, name ? name : key};
}
constexpr SettingsLine advInt(const char* key, std::size_t offset, R read = R::Whole)
{
    return {key, F::Int, read, LineRecord::Advanced, LineField::Int, offset, 0, key};
}
constexpr SettingsLine advReal(const char* key, std::size_t offset)
{
    return {key, F::Real6, R::Decimal, LineRecord::Advanced, LineField::Float, offset, 0, key};
}
constexpr SettingsLine matrix(const char* key, int index, const char* name)
{
    return {key,
            F::Real2,
            R::Decimal,
            LineRecord::Advanced,
            LineField::Float,
            offsetof(CamAdvSettings, k) + static_cast<std::size_t>(index) * sizeof(float),
            0,
            name};
}
constexpr SettingsLine defect(const char* key, int index)
{
    return {key,
            F::Int,
            R::Whole,
            LineRecord::Advanced,
            LineField::Int,
            offsetof(CamAdvSettings, cd) + static_cast<std::size_t>(index) * sizeof(int),
            0,
            key};
}
constexpr SettingsLine advText(const char* key, std::size_t offset, std::size_t size, R read,
                               const char* name)
{
    return {key, F::Text, read, LineRecord::Advanced, LineField::Text, offset, size, name};
}

#define M(field) offsetof(CamMainSettings, field)
#define A(field) offsetof(CamAdvSettings, field)

const SettingsLine kLines[kSettingsFileLines] = {
    {nullptr, F::Header, R::Skip, LineRecord::None, LineField::None, 0, 0, nullptr},
    {nullptr, F::Comment, R::Skip, LineRecord::None, LineField::None, 0, 0, nullptr},
    {"Camera model index", F::Int, R::ModelRow, LineRecord::ModelRow, LineField::Int, 0, 0, "CAM"},
    advText("Firmware verson", A(fw_ver), sizeof(CamAdvSettings::fw_ver), R::Skip, "VER"),
    advText("FPGA version", A(fpga_ver), sizeof(CamAdvSettings::fpga_ver), R::Skip, "FPGA"),
    advText("Camera ID String", A(sno), sizeof(CamAdvSettings::sno), R::Text, "SNO"),
    advText("Customer ID String", A(cid), sizeof(CamAdvSettings::cid), R::Text, "CID"),
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
    mainInt("SB2", M(dfc_access)),
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
    mainInt("SB1", M(agc_access)),
    // Line 48: written as an integer, read as a real and cut toward zero.
    advInt("WDS", A(wds), R::DecimalCut),
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

bool SettingsLineIsIdentity(const SettingsLine& line)
{
    return line.name && std::string_view(line.name) == "SNO";
}

int SettingsLineIndex(std::string_view name)
{
    for (std::size_t i = 0; i < std::size(kLines); ++i)
        if (kLines[i].name && name == kLines[i].name) return static_cast<int>(i);
    return -1;
}
