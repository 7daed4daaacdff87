#include "SettingsFileSupport.h"

#include <fstream>
#include <sstream>

#include "devices/SimPorts.h"

void SettingsFileTest::SetUp()
{
    SimLinkTest::SetUp();
    SetSettingsFileUi(&ui_);
}

void SettingsFileTest::TearDown()
{
    SetSettingsFileUi(nullptr);
    SimLinkTest::TearDown();
}

void SettingsFileTest::setKnownValues(sim::SimCamera& c)
{
    const std::pair<const char*, int> registers[] = {
        {"SB1", 0},   {"SB2", 0},    {"SHE", 1},    {"AEC", 0},      {"SHS", 300},  {"SMX", 600},
        {"DFC", 1},   {"MIR", 0},    {"CMD", 1},    {"CGB", 1100},   {"CGG", 1024}, {"CGR", 950},
        {"IPH", 2},   {"AWW", 3},    {"YGA", 31},   {"USA", 40},     {"VSA", 50},   {"HUE", 128},
        {"WBM", 0},   {"AGN", 355},  {"ALV", 140},  {"AMX", 682},    {"GAM", 1},    {"VMD", 0},
        {"MFI", 1},   {"MFT", 1},    {"TMD", 0},    {"FOC", 127},    {"IRC", 63},   {"ZMC", -20},
        {"DOU", 5},   {"SHP", 7},    {"SHD", 9},    {"SAC", 0x4020}, {"RSE", 773},  {"SHA", 1},
        {"SEN", 0},   {"SHG", 64},   {"SSE", 1},    {"HSM", 90},     {"HSL", 81},   {"HSR", 99},
        {"SSA", 91},  {"SLT", 20},   {"SLR", 160},  {"SLG", 80},     {"SLB", 0},    {"SRT", 0},
        {"SRR", 255}, {"SRG", 128},  {"SRB", 10},   {"VPS", 1},      {"VPD", 50},   {"KR1", 1536},
        {"KG1", 512}, {"KB1", 0},    {"KR2", 4095}, {"KG2", 512},    {"KB2", 256},  {"KR3", 100},
        {"KG3", 0},   {"KB3", 1024}, {"BTH", 123},  {"BCT", 37},     {"CD1", 10},   {"CD2", 20},
        {"CD3", 0},   {"CD4", 700},  {"CDI", 1},    {"ULX", 10},     {"ULY", 8},    {"LRX", 30},
        {"LRY", 28},  {"BTS", 3},    {"DKS", 4},    {"LAW", 5},      {"IFC", 1},    {"ESH", 1},
        {"BIN", 0},   {"ALM", 0},    {"WDS", 1},
    };
    for (const auto& [mnemonic, value] : registers) c.setReg(mnemonic, value);
    c.setText("VER", "V2.21");
    c.setText("FPGA", "F3.02");
    c.setText("SNO", "C4752120250317C2");
    c.setText("CID", "DEMO UNIT");
}

std::string KnownValuesFile(const char* comment)
{
    const char* lines[] = {
        "Ulvo_cam Settings Rev 0",
        comment,
        "Camera model index: 5",
        "Firmware verson: V2.21",
        "FPGA version: F3.02",
        "Camera ID String: C4752120250317C2",
        "Customer ID String: DEMO UNIT",
        "AGN: 12.496000",
        "ALV: 140",
        "AMX: 24.006399",
        "BTS: 3",
        "CGB: 1.074230",
        "CGG: 1.000012",
        "CGR: 0.927747",
        "CMD: 1",
        "DFC: 1",
        "ESH: 1",
        "BIN: 0",
        "SB2: 0",
        "DKS: 4",
        "FOC: 9.000000",
        "GAM: 1",
        "IFC: 1",
        "IPH: 2",
        "IRC: 4.464567",
        "LAW: 5",
        "MFI: 1",
        "MFT: 1",
        "MIR: 0",
        "SHE: 1",
        "SHS: 300",
        "DOU: 5",
        "SHD: 9",
        "SHP: 7",
        "TMD: 0",
        "VMD: 0",
        "VPS: 1",
        "VPD: 50.000000",
        "VWC: 0.000000",   // not read from a camera of this class
        "FOC: -1.417323",  // the zoom, under the focus key
        "ALM: 0",
        "AEC: 0",
        "SMX: 600",
        "YGA: 49.206348",
        "USA: 63.492062",
        "VSA: 79.365082",
        "HUE: 50.196079",
        "SB1: 0",
        "WDS: 1",
        "K[RED1]: 1.50",
        "K[GREEN1]: 0.50",
        "K[BLUE1]: 0.00",
        "K[RED2]: 3.99",
        "K[GREEN2]: 0.50",
        "K[BLUE12: 0.25",
        "K[RED3]: 0.10",
        "K[GREEN3]: 0.00",
        "K[BLUE3]: 1.00",
        "ULX: 10",
        "ULY: 8",
        "LRX: 30",
        "LRY: 28",
        "CRSAT: 1.13",
        "CBSAT: 1.25",
        "WBM: 0",
        "RST Pos: 3",
        "RST Neg: 5",
        "SHA: 1",
        "SEN: 0",
        "SHG: 1.503937",
        "CD1: 10",
        "CD2: 20",
        "CD3: 0",
        "CD4: 700",
        "CDI: 1",
        "SSE: 1",
        "SSP: 50",
        "LLT: 10",
        "RLT: 10",
        "SSA: 10",
        "SLT: 20",
        "SRT: 0",
        "SLR: 200",
        "SLG: 100",
        "SLB: 0",
        "SRR: 255",
        "SRG: 128",
        "SRB: 10",
        "CBH: 0.00",
        "CRH: 0.00",  // read only from current hardware
    };
    static_assert(std::size(lines) == 90);
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

std::string OnOffFlippedFile(const char* comment)
{
    std::string text = KnownValuesFile(comment);
    for (const char* key : kOnOffKeys) {
        const std::string line = std::string("\r\n") + key + ": ";
        const std::size_t at = text.find(line);
        char& value = text[at + line.size()];
        value = value == '0' ? '1' : '0';
    }
    return text;
}

std::string SettingsFileTest::readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SettingsFileTest::writeAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> SettingsFileTest::sentCommands(int port)
{
    std::vector<std::string> commands;
    for (const std::string& line : camera(port).log()) {
        const std::size_t end = line.find_first_of("?=!");
        commands.push_back(line.substr(1, end == std::string::npos ? std::string::npos : end));
    }
    return commands;
}
