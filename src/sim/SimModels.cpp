#include "sim/SimModels.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "sim/SimCamera.h"
#include "sim/SimCommands.h"

namespace sim {

// Rows follow the host's model table.  Models ending in 5 are 625-line cameras,
// the others 525-line ones; the older VK-400 family reports field lines.
namespace {

constexpr int kSac = 0x4040;      // both saturations at x1.25
constexpr int kMonoSac = 0x2020;  // x1.125
constexpr int kRse = 3 * 256 + 5;
constexpr int kOldRse = 4 * 256 + 6;

constexpr ModelTraits kTraits[] = {
    {"VK-400", 0, 262, 0, 0, 15, 11, kMonoSac, kOldRse, "V1.32", "F1.05", "A1040020240311A1", ""},
    {"EH-4000", 1, 262, 0, 0, 15, 11, kMonoSac, kOldRse, "V1.08", "F1.02", "E4001720231127B2", "LAB 4"},
    {"VK-405", 2, 312, 0, 0, 15, 13, kMonoSac, kOldRse, "V1.32", "F1.05", "A1040520240402A1", ""},
    {"VKC-473", 3, 525, 1, 1, 40, 30, kSac, kRse, "V2.21", "F3.02", "C4731220250114C1", ""},
    {"VK-470", 4, 525, 1, 1, 40, 30, kMonoSac, kRse, "V2.14", "F1.07", "M4700320241008B1", ""},
    {"VKC-475", 5, 625, 1, 1, 40, 36, kSac, kRse, "V2.21", "F3.02", "C4752120250317C2", "DEMO UNIT"},
    {"VK-473", 6, 525, 1, 1, 40, 30, kMonoSac, kRse, "V2.14", "F1.07", "M4730820241022B1", ""},
    {"VK-475", 7, 625, 1, 1, 40, 36, kMonoSac, kRse, "V2.14", "F1.07", "M4751120241105B2", ""},
    {"LS-370", 4, 525, 1, 1, 40, 30, kMonoSac, kRse, "V2.16", "F1.07", "L3700220250203A1", ""},
    {"LS-373", 6, 525, 1, 1, 40, 30, kMonoSac, kRse, "V2.16", "F1.07", "L3730520250210A1", ""},
    {"LS-375", 7, 625, 1, 1, 40, 36, kMonoSac, kRse, "V2.16", "F1.07", "L3750720250217A1", ""},
    {"LSC-373", 3, 525, 1, 1, 40, 30, kSac, kRse, "V2.23", "F3.04", "K3730420250224A1", ""},
    {"LSC-375", 5, 625, 1, 1, 40, 36, kSac, kRse, "V2.23", "F3.04", "K3750920250303A1", ""},
};

// A model added to the table but not counted in SimCamera.h, or the other
// way round, would be a row of nulls.
static_assert(std::size(kTraits) == kModelCount);

}  // namespace

constinit const std::array<const char*, kModelCount> kModelNames = [] {
    std::array<const char*, kModelCount> names{};
    for (int row = 0; row < kModelCount; ++row) names[row] = kTraits[row].name;
    return names;
}();

int ModelRowFromName(std::string_view name)
{
    for (int row = 0; row < kModelCount; ++row)
        if (name == kModelNames[row]) return row;
    return -1;
}

const ModelTraits& TraitsOfModel(int row)
{
    return kTraits[row >= 0 && row < kModelCount ? row : 0];
}

bool IsColourModel(int row)
{
    const int eq = TraitsOfModel(row).equivalentRow;
    return eq == 3 || eq == 5;
}

void ApplySensorTraits(int row, IntRegisters& ints)
{
    const ModelTraits& t = TraitsOfModel(row);
    ints["SSX"] = t.ssx;
    ints["WXN"] = t.wxn;
    ints["WYN"] = t.wyn;
    ints["WXX"] = t.wxx;
    ints["WYX"] = t.wyx;
    for (const char* x : {"ULX", "LRX"}) ints[x] = std::clamp(ints[x], t.wxn, t.wxx);
    for (const char* y : {"ULY", "LRY"}) ints[y] = std::clamp(ints[y], t.wyn, t.wyx);
}

void FillPowerOnSettings(int row, IntRegisters& ints, TextRegisters& texts)
{
    const ModelTraits& t = TraitsOfModel(row);
    const int eq = t.equivalentRow;
    const bool colour = IsColourModel(row);
    const bool basic = eq <= 2;

    ints.clear();
    for (std::string_view name : IntegerRegisterNames()) ints.emplace(name, 0);

    const int xQuarter = (t.wxx - t.wxn) / 4;
    const int yQuarter = (t.wyx - t.wyn) / 4;
    const std::pair<const char*, int> values[] = {
        {"AEC", eq == 1 ? 0 : 1},
        {"AMD", eq == 1 ? 1 : 0},
        {"AGN", eq == 3 || eq == 6 ? 85 : 57},  // 2 dB; 3 dB where the gain starts there
        {"ALV", 128},
        {"AMX", 512},  // 18 dB
        {"BTH", 100},  // 10 %
        {"BTS", 4},
        {"DKS", 4},
        {"LAW", 8},
        {"IFC", 1},
        {"CGR", 1024},
        {"CGG", 1024},
        {"CGB", 1024},
        {"CMD", colour ? 1 : 0},
        {"DFC", basic ? 0 : 1},
        {"DOU", 2},
        {"FOC", 64},
        {"IRC", 64},
        {"ZMC", 64},
        {"FOCS", 8},
        {"IRCS", 8},
        {"ZMCS", 8},
        {"GAM", 1},
        {"HSM", 90},  // split line at 50 %, 10 % bands
        {"HSL", 81},
        {"HSR", 99},
        {"HUE", 127},
        {"YGA", 32},
        {"USA", 32},
        {"VSA", 32},
        {"KR1", 1024},
        {"KG2", 1024},
        {"KB3", 1024},
        {"MFT", 1},
        {"RSE", t.rse},
        {"SAC", t.sac},
        {"SB1", 1},
        {"SB2", 1},
        {"SHA", 1},
        {"SHD", 24},
        {"SHP", 12},
        {"SHG", 64},
        {"SHS", t.ssx},
        {"SMX", t.ssx},
        {"SSA", 46},  // 0 degrees
        {"ULX", t.wxn + xQuarter},
        {"LRX", t.wxx - xQuarter},
        {"ULY", t.wyn + yQuarter},
        {"LRY", t.wyx - yQuarter},
        {"VPS", 1},
        {"VPD", basic ? 130 : 50},                             // 50 mV either way
        {"VWC", (eq == 4 || eq == 6 || eq == 7) ? 700 : 143},  // about 700 mV
    };
    for (const auto& [name, value] : values) ints[name] = value;
    ApplySensorTraits(row, ints);

    texts.clear();
    texts["VER"] = t.ver;
    texts["FPGA"] = t.fpga;
    texts["SNO"] = t.sno;
    texts["CID"] = t.cid;
}

}  // namespace sim
