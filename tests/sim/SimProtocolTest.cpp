// The simulated camera's protocol engine: what it answers to each command line.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "sim/SimCamera.h"

using sim::SimCamera;

namespace {

const char* const kOk = ":o\r";
const char* const kE = ":e\r";

// Every register the host may query and set.
const char kReadWrite[] =
    "AEC AFA AGN ALM ALV AMD AMGO AMGS AMX AWW BIN BTH BTS CBH CD1 CD2 CD3 CD4 CDI CFA CFT CFG CGR CGG CGB "
    "CMD CRH DFC DKS DOU ESH FMX FOC FOCO FOCS FPA FPR GAM GSL HSM HSL HSR HUE IFC IPH IRC IRCO IRCS KR1 KG1 "
    "KB1 KR2 KG2 KB2 KR3 KG3 KB3 LAW MFI MFT MGF MIR MMGO MMGS RSE RST SAC SB1 SB2 SEN SHA SHD SHE SHG SHP "
    "SHS SHT SLR SLG SLB SLT SRR SRG SRB SRT SMX SSA SSE TMD ULX ULY LRX LRY USA VMD VPD VPS VSA VWC WBM WDS "
    "YGA ZMC ZMCO ZMCS";

using Script = std::vector<std::pair<std::string, std::string>>;

// Sends each line and checks the reply, in order.
void Exchange(SimCamera& cam, const Script& script)
{
    for (const auto& [line, reply] : script) EXPECT_EQ(cam.execute(line), reply) << "line '" << line << "'";
}

}  // namespace

TEST(SimProtocol, IntegersAreHeldExactlyAndAnsweredLikePrintfSpaceD)
{
    SimCamera cam;
    const Script script = {
        {":AGN=57", kOk},    {":AGN?", ":oAGN 57\r"},    {":KG1=-512", kOk},   {":KG1?", ":oKG1-512\r"},
        {":SHS=0", kOk},     {":SHS?", ":oSHS 0\r"},     {":ALV=+007", kOk},   {":ALV?", ":oALV 7\r"},
        {":SAC=65535", kOk}, {":SAC?", ":oSAC 65535\r"}, {":CBH=-32768", kOk}, {":CBH?", ":oCBH-32768\r"},
    };
    Exchange(cam, script);
    // Anything but a sign and decimal digits within 16 bits is refused and changes nothing.
    for (const char* v :
         {"65536", "-32769", "99999999999999999999", "", "-", "12a", " 12", "1.5", "0x10", "--1"})
        EXPECT_EQ(cam.execute(std::string(":ALV=") + v), kE) << v;
    EXPECT_EQ(cam.reg("ALV"), 7);
}

TEST(SimProtocol, MalformedLinesUnknownMnemonicsAndWrongDirectionsAreRefused)
{
    SimCamera cam;
    for (const char* line : {"",       "AGN?",    ":",        ":?",     ":AGN",   ":AGN?x", ":agn?",
                             ":AG N?", ":XYZ?",   ":AGNX?",   " :AGN?", ":AWB!!", ":SSX=5", ":BCT=1",
                             ":WXN=0", ":VER=V9", ":FPGA=F9", ":SNO=X", ":AFW?",  ":WSF?",  ":LSTA?",
                             ":WSTA?", ":WFAC?",  ":AWB?",    ":AWB=1", ":LDF?",  ":AGN!",  ":CAM!"})
        EXPECT_EQ(cam.execute(line), kE) << "line '" << line << "'";
    EXPECT_EQ(cam.reg("SSX"), SimCamera().reg("SSX"));
}

// The power-on values against what is known of each model, written here on
// their own so that the simulator cannot drift from them, and fitting together;
// every model answers the whole catalogue.
TEST(SimModels, EachModelStartsWithItsKnownValuesAndAnswersTheWholeCatalogue)
{
    const QStringList readWrite = QString(kReadWrite).split(' ');
    const struct {
        const char* model;
        int ssx;  // longest shutter speed: 525 or 625 lines, the older family's field lines 262 or 312
        int vpd;  // 50 mV: count 130 under the offset rule round(102 + 50 x 0.56), else 50 mV itself
        int vwc;  // about 700 mV: count 143 under round(112 + (700 - 228) x 0.06528662), else 700 mV itself
        int aec;  // ALC automatic, except on the EH-4000, which has its AGC mode instead
        int amd;
        int cmd;  // the colour models start in colour
    } models[] = {
        {"VK-400", 262, 130, 143, 1, 0, 0}, {"EH-4000", 262, 130, 143, 0, 1, 0},
        {"VK-405", 312, 130, 143, 1, 0, 0}, {"VKC-473", 525, 50, 143, 1, 0, 1},
        {"VK-470", 525, 50, 700, 1, 0, 0},  {"VKC-475", 625, 50, 143, 1, 0, 1},
        {"VK-473", 525, 50, 700, 1, 0, 0},  {"VK-475", 625, 50, 700, 1, 0, 0},
        {"LS-370", 525, 50, 700, 1, 0, 0},  {"LS-373", 525, 50, 700, 1, 0, 0},
        {"LS-375", 625, 50, 700, 1, 0, 0},  {"LSC-373", 525, 50, 143, 1, 0, 1},
        {"LSC-375", 625, 50, 143, 1, 0, 1},
    };
    static_assert(std::size(models) == sim::kModelCount);
    for (const auto& m : models) {
        SCOPED_TRACE(m.model);
        const int row = static_cast<int>(&m - models);  // the table is in the models' order
        ASSERT_EQ(sim::ModelRowFromName(m.model), row);
        SimCamera cam(row);
        EXPECT_EQ(cam.reg("SSX"), m.ssx);
        EXPECT_EQ(cam.reg("VPD"), m.vpd);
        EXPECT_EQ(cam.reg("VWC"), m.vwc);
        EXPECT_EQ(cam.reg("AEC"), m.aec);
        EXPECT_EQ(cam.reg("AMD"), m.amd);
        EXPECT_EQ(cam.reg("CMD"), m.cmd);
        // The host takes everything after the first lowercase 'o' of a reply as
        // its data, so no default text may contain one.
        for (const char* mn : {"VER", "FPGA", "SNO", "CID"}) {
            EXPECT_EQ(cam.text(mn).find('o'), std::string::npos) << mn;
            EXPECT_LE(cam.text(mn).size(), 16u) << mn;
        }
        EXPECT_LE(*cam.reg("SHS"), m.ssx);
        EXPECT_LE(*cam.reg("SMX"), m.ssx);
        for (const char* corner : {"ULX", "LRX", "ULY", "LRY"})  // inside the window limits
            EXPECT_EQ(cam.execute(std::string(":") + corner + "=" + std::to_string(*cam.reg(corner))), kOk);

        EXPECT_STREQ(sim::kModelNames[row], m.model);
        for (const QString& name : readWrite) {
            const std::string mn = name.toStdString();
            EXPECT_EQ(cam.execute(":" + mn + "?").rfind(":o" + mn, 0), 0u) << mn;
            EXPECT_EQ(cam.execute(":" + mn + "=" + std::to_string(*cam.reg(mn))), kOk) << mn;
        }
        for (std::string mn : {"BCT", "HWR", "SSX", "WXN", "WYN", "WXX", "WYX"})
            EXPECT_EQ(cam.execute(":" + mn + "?").rfind(":o" + mn, 0), 0u) << mn;
        EXPECT_EQ(cam.execute(":CAM?"), std::string(":o") + m.model + "\r");
        const Script script = {{":AFW=1", kOk},    {":WSF=X", kOk},  {":SNO?", ":oX\r"}, {":CID=Y", kOk},
                               {":CID?", ":oY\r"}, {":LSTA=1", kOk}, {":WSTA=2", kOk},   {":WFAC=0", kOk},
                               {":AWB!", kOk},     {":LDF!", kOk}};
        Exchange(cam, script);
    }
    EXPECT_EQ(SimCamera().model(), 5);  // VKC-475
    for (const char* name : {"vkc-475", "VKC-475 ", ""}) EXPECT_EQ(sim::ModelRowFromName(name), -1) << name;
}

TEST(SimModels, CamSetSwitchesTheModelAndItsSensorLimits)
{
    SimCamera cam(5);
    Exchange(cam, {{":AGN=123", kOk}, {":CAM=0", kOk}, {":CAM?", ":oVK-400\r"}, {":AGN?", ":oAGN 123\r"}});
    EXPECT_EQ(cam.reg("SSX"), SimCamera(0).reg("SSX"));
    EXPECT_EQ(cam.reg("WXX"), SimCamera(0).reg("WXX"));
    EXPECT_LE(*cam.reg("LRX"), *cam.reg("WXX"));  // corners pulled into the smaller window
    EXPECT_LE(*cam.reg("LRY"), *cam.reg("WYX"));
    Exchange(
        cam,
        {{":CAM=12", kOk}, {":CAM=13", kE}, {":CAM=-1", kE}, {":CAM=VK-400", kE}, {":CAM?", ":oLSC-375\r"}});
}

TEST(SimTexts, TextsFollowTheOAndKeepSixteenCharacters)
{
    SimCamera cam;
    const Script script = {{":CID=Lab camera 7 of 12, north", kOk},
                           {":CID?", ":oLab camera 7 of \r"},
                           {":WSF=X12345202501010A1extra", kOk},
                           {":SNO?", ":oX12345202501010A\r"},
                           {":CID=a=b?c!:d", kOk},
                           {":CID?", ":oa=b?c!:d\r"},
                           {":CID=", kOk},
                           {":CID?", ":o\r"}};
    Exchange(cam, script);
    cam.setText("VER", "V9.99");
    EXPECT_EQ(cam.execute(":VER?"), ":oV9.99\r");
}

TEST(SimUserSets, SetsCarryRegistersTextsAndTheModel)
{
    SimCamera cam(5);
    const std::string factoryAgn = ":oAGN " + std::to_string(*cam.reg("AGN")) + "\r";
    // Sets 1 and 2 start as the factory defaults.
    const Script userSets = {
        {":AGN=200", kOk},        {":LSTA=2", kOk},         {":AGN?", factoryAgn},      {":AGN=300", kOk},
        {":CID=USER ONE", kOk},   {":CAM=7", kOk},          {":WSTA=1", kOk},           {":LSTA=0", kOk},
        {":AGN?", factoryAgn},    {":CAM?", ":oVKC-475\r"}, {":CID?", ":oDEMO UNIT\r"}, {":LSTA=1", kOk},
        {":AGN?", ":oAGN 300\r"}, {":CAM?", ":oVK-475\r"},  {":CID?", ":oUSER ONE\r"},
    };
    Exchange(cam, userSets);
    // The factory set is written by WFAC=0 or WSTA=0.
    const Script factorySet = {
        {":ALV=11", kOk},        {":WFAC=1", kE},  {":WFAC=0", kOk}, {":ALV=12", kOk}, {":LSTA=0", kOk},
        {":ALV?", ":oALV 11\r"}, {":ALV=13", kOk}, {":WSTA=0", kOk}, {":LSTA=2", kOk}, {":LSTA=0", kOk},
        {":ALV?", ":oALV 13\r"}, {":LSTA=3", kE},  {":LSTA=-1", kE}, {":WSTA=3", kE},  {":LSTA=", kE},
    };
    Exchange(cam, factorySet);
}

TEST(SimRegisters, FprAndAfwReachTheRegisterAtTheirAddress)
{
    SimCamera cam;
    EXPECT_NE(cam.fpgaRegister(0), 0);  // the FPGA's ID word
    const Script fpga = {
        {":FPA=16", kOk},       {":FPR=4660", kOk}, {":FPR?", ":oFPR 4660\r"},  {":FPA=17", kOk},
        {":FPR?", ":oFPR 0\r"}, {":FPR=-1", kOk},   {":FPR?", ":oFPR 65535\r"}, {":FPR=65536", kE},
    };
    Exchange(cam, fpga);
    EXPECT_EQ(cam.fpgaRegister(16), 4660);
    Exchange(cam,
             {{":AFA=5", kOk}, {":AFW=4660", kOk}, {":AFA=6", kOk}, {":AFW=-2", kOk}, {":AFW=70000", kE}});
    EXPECT_EQ(cam.afeRegister(5), 4660);
    EXPECT_EQ(cam.afeRegister(6), 0xFFFE);
    EXPECT_EQ(cam.afeRegister(7), 0);
}

TEST(SimRegisters, WindowCornersStayWithinTheirAxisLimits)
{
    SimCamera cam;
    cam.setReg("WXN", 2);
    cam.setReg("WXX", 40);
    cam.setReg("WYN", 3);
    cam.setReg("WYX", 30);
    for (std::string x : {":ULX=", ":LRX="})
        Exchange(cam, {{x + "2", kOk}, {x + "40", kOk}, {x + "1", kE}, {x + "41", kE}});
    for (std::string y : {":ULY=", ":LRY="})
        Exchange(cam, {{y + "3", kOk}, {y + "30", kOk}, {y + "2", kE}, {y + "35", kE}});
    EXPECT_EQ(cam.reg("LRX"), 40);
    EXPECT_EQ(cam.reg("LRY"), 30);
}

TEST(SimActions, BlemishLocationAndWhiteBalanceChangeTheirRegisters)
{
    SimCamera cam;
    const int before = *cam.reg("BCT");
    Exchange(cam, {{":LDF!", kOk}});
    const int found = *cam.reg("BCT");
    EXPECT_NE(found, before);
    Exchange(cam, {{":BTH=20", kOk}, {":LDF!", kOk}});  // a lower threshold finds more
    EXPECT_GT(*cam.reg("BCT"), found);

    cam.setReg("CGR", 1024);
    cam.setReg("CGB", 1024);
    Exchange(cam, {{":AWB!", kOk}});
    const auto red = cam.reg("CGR"), blue = cam.reg("CGB");
    EXPECT_TRUE(red != 1024 || blue != 1024);
    cam.setReg("CGR", 1);
    Exchange(cam, {{":AWB!", kOk}});
    EXPECT_EQ(cam.reg("CGR"), red);  // the same scene balances the same way
    EXPECT_EQ(cam.reg("CGB"), blue);
}

TEST(SimReceive, LinesAreCutAtCrAcrossCallsAndLogged)
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath("sim.log");
    SimCamera cam;
    cam.setLogFile(logPath.toStdString());
    EXPECT_TRUE(cam.receive(":CA").empty());
    auto out = cam.receive("M?\r\n:AGN=5\r:AG\nN?");  // LF is ignored, even inside a line
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes, ":oVKC-475\r");
    EXPECT_EQ(out[1].bytes, kOk);
    out = cam.receive("\r:" + std::string(10000, 'x') + "\r");  // a runaway line is refused
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes, ":oAGN 5\r");
    EXPECT_EQ(out[1].bytes, kE);
    EXPECT_EQ(cam.commandCount(), 4);
    EXPECT_EQ(cam.log().at(2), ":AGN?");

    cam.clearLog();
    cam.receive(":AG");
    cam.clearPendingInput();
    out = cam.receive("N?\r");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, kE);
    EXPECT_EQ(cam.log(), std::vector<std::string>{"N?"});

    QFile file(logPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith(":CAM?\n:AGN=5\n:AGN?\n:xxx"));
}

TEST(SimReceive, ALongRunKeepsOnlyTheNewestLogLines)
{
    SimCamera cam;
    for (int i = 0; i < 40000; ++i) cam.receive(":ALV=" + std::to_string(i % 256) + "\r");
    EXPECT_EQ(cam.log().size(), 40000u);
    // The next line finds twice 20,000 kept: the oldest 20,000 go.
    cam.receive(":ALV?\r");
    ASSERT_EQ(cam.log().size(), 20001u);
    EXPECT_EQ(cam.log().front(), ":ALV=32");  // line 20,000: 20000 % 256 = 32
    EXPECT_EQ(cam.log()[19999], ":ALV=63");   // line 39,999: 39999 % 256 = 63
    EXPECT_EQ(cam.log().back(), ":ALV?");
    EXPECT_EQ(cam.commandCount(), 40001);
}
