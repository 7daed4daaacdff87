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

// Line 38, VWC, is not read from a camera of this class; line 39, under the
// focus key, is the zoom; the last two are read only from current hardware.
std::string KnownValuesFile(const char* comment)
{
    const char* const settings =
        "Camera model index: 5\nFirmware verson: V2.21\nFPGA version: F3.02\n"
        "Camera ID String: C4752120250317C2\nCustomer ID String: DEMO UNIT\nAGN: 12.496000\nALV: 140\n"
        "AMX: 24.006399\nBTS: 3\nCGB: 1.074230\nCGG: 1.000012\nCGR: 0.927747\nCMD: 1\nDFC: 1\nESH: 1\n"
        "BIN: 0\nSB2: 0\nDKS: 4\nFOC: 9.000000\nGAM: 1\nIFC: 1\nIPH: 2\nIRC: 4.464567\nLAW: 5\nMFI: 1\n"
        "MFT: 1\nMIR: 0\nSHE: 1\nSHS: 300\nDOU: 5\nSHD: 9\nSHP: 7\nTMD: 0\nVMD: 0\nVPS: 1\nVPD: 50.000000\n"
        "VWC: 0.000000\nFOC: -1.417323\nALM: 0\nAEC: 0\nSMX: 600\nYGA: 49.206348\nUSA: 63.492062\n"
        "VSA: 79.365082\nHUE: 50.196079\nSB1: 0\nWDS: 1\nK[RED1]: 1.50\nK[GREEN1]: 0.50\nK[BLUE1]: 0.00\n"
        "K[RED2]: 3.99\nK[GREEN2]: 0.50\nK[BLUE12: 0.25\nK[RED3]: 0.10\nK[GREEN3]: 0.00\nK[BLUE3]: 1.00\n"
        "ULX: 10\nULY: 8\nLRX: 30\nLRY: 28\nCRSAT: 1.13\nCBSAT: 1.25\nWBM: 0\nRST Pos: 3\nRST Neg: 5\n"
        "SHA: 1\nSEN: 0\nSHG: 1.503937\nCD1: 10\nCD2: 20\nCD3: 0\nCD4: 700\nCDI: 1\nSSE: 1\nSSP: 50\n"
        "LLT: 10\nRLT: 10\nSSA: 10\nSLT: 20\nSRT: 0\nSLR: 200\nSLG: 100\nSLB: 0\nSRR: 255\nSRG: 128\n"
        "SRB: 10\nCBH: 0.00\nCRH: 0.00\n";
    const std::string text = std::string("Ulvo_cam Settings Rev 0\n") + comment + "\n" + settings;
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
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
