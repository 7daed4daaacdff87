#include "sim/SimCommands.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sim {

namespace {

using K = CommandKind;

constexpr std::array<std::pair<std::string_view, CommandKind>, 124> kCommands{{
    {"AEC", K::Int},           {"AFA", K::Int},          {"AFW", K::AfeWrite},
    {"AGN", K::Int},           {"ALM", K::Int},          {"ALV", K::Int},
    {"AMD", K::Int},           {"AMGO", K::Int},         {"AMGS", K::Int},
    {"AMX", K::Int},           {"AWB", K::Action},       {"AWW", K::Int},
    {"BCT", K::IntQueryOnly},  {"BIN", K::Int},          {"BTH", K::Int},
    {"BTS", K::Int},           {"CAM", K::Model},        {"CBH", K::Int},
    {"CD1", K::Int},           {"CD2", K::Int},          {"CD3", K::Int},
    {"CD4", K::Int},           {"CDI", K::Int},          {"CFA", K::Int},
    {"CFG", K::Int},           {"CFT", K::Int},          {"CGB", K::Int},
    {"CGG", K::Int},           {"CGR", K::Int},          {"CID", K::Text},
    {"CMD", K::Int},           {"CRH", K::Int},          {"DFC", K::Int},
    {"DKS", K::Int},           {"DOU", K::Int},          {"ESH", K::Int},
    {"FMX", K::Int},           {"FOC", K::Int},          {"FOCO", K::Int},
    {"FOCS", K::Int},          {"FPA", K::Int},          {"FPGA", K::TextQueryOnly},
    {"FPR", K::FpgaData},      {"GAM", K::Int},          {"GSL", K::Int},
    {"HSL", K::Int},           {"HSM", K::Int},          {"HSR", K::Int},
    {"HUE", K::Int},           {"HWR", K::IntQueryOnly}, {"IFC", K::Int},
    {"IPH", K::Int},           {"IRC", K::Int},          {"IRCO", K::Int},
    {"IRCS", K::Int},          {"KB1", K::Int},          {"KB2", K::Int},
    {"KB3", K::Int},           {"KG1", K::Int},          {"KG2", K::Int},
    {"KG3", K::Int},           {"KR1", K::Int},          {"KR2", K::Int},
    {"KR3", K::Int},           {"LAW", K::Int},          {"LDF", K::Action},
    {"LRX", K::WindowX},       {"LRY", K::WindowY},      {"LSTA", K::LoadSet},
    {"MFI", K::Int},           {"MFT", K::Int},          {"MGF", K::Int},
    {"MIR", K::Int},           {"MMGO", K::Int},         {"MMGS", K::Int},
    {"RSE", K::Int},           {"RST", K::Int},          {"SAC", K::Int},
    {"SB1", K::Int},           {"SB2", K::Int},          {"SEN", K::Int},
    {"SHA", K::Int},           {"SHD", K::Int},          {"SHE", K::Int},
    {"SHG", K::Int},           {"SHP", K::Int},          {"SHS", K::Int},
    {"SHT", K::Int},           {"SLB", K::Int},          {"SLG", K::Int},
    {"SLR", K::Int},           {"SLT", K::Int},          {"SMX", K::Int},
    {"SNO", K::TextQueryOnly}, {"SRB", K::Int},          {"SRG", K::Int},
    {"SRR", K::Int},           {"SRT", K::Int},          {"SSA", K::Int},
    {"SSE", K::Int},           {"SSX", K::IntQueryOnly}, {"TMD", K::Int},
    {"ULX", K::WindowX},       {"ULY", K::WindowY},      {"USA", K::Int},
    {"VER", K::TextQueryOnly}, {"VMD", K::Int},          {"VPD", K::Int},
    {"VPS", K::Int},           {"VSA", K::Int},          {"VWC", K::Int},
    {"WBM", K::Int},           {"WDS", K::Int},          {"WFAC", K::StoreFactory},
    {"WSF", K::SerialWrite},   {"WSTA", K::StoreSet},    {"WXN", K::IntQueryOnly},
    {"WXX", K::IntQueryOnly},  {"WYN", K::IntQueryOnly}, {"WYX", K::IntQueryOnly},
    {"YGA", K::Int},           {"ZMC", K::Int},          {"ZMCO", K::Int},
    {"ZMCS", K::Int},
}};

constexpr bool SortedByName()
{
    for (std::size_t i = 1; i < kCommands.size(); ++i)
        if (!(kCommands[i - 1].first < kCommands[i].first)) return false;
    return true;
}
static_assert(SortedByName(), "the command table is searched by bisection and must stay sorted");

}  // namespace

std::optional<CommandKind> FindCommand(std::string_view mnemonic)
{
    auto it = std::lower_bound(kCommands.begin(), kCommands.end(), mnemonic,
                               [](const auto& entry, std::string_view name) { return entry.first < name; });
    if (it == kCommands.end() || it->first != mnemonic) return std::nullopt;
    return it->second;
}

const std::vector<std::string_view>& IntegerRegisterNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> result;
        for (const auto& [name, kind] : kCommands) {
            if (kind == K::Int || kind == K::IntQueryOnly || kind == K::WindowX || kind == K::WindowY)
                result.push_back(name);
        }
        return result;
    }();
    return names;
}

}  // namespace sim
