// The command set against the simulated camera: every named function talks
// to its own register, conversions reach the wire as documented, failures and
// the busy rule leave the out-parameters as promised, and the lookup by
// mnemonic agrees with the named functions and with the camera's catalogue.
#include <QTimer>
#include <cmath>
#include <string>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/SettingsTable.h"
#include "sim/SimCommands.h"
#include "support/SimLink.h"

namespace {

using Lines = std::vector<std::string>;

struct IntCommand {
    const char* mnemonic;
    int (*get)(int*);
    int (*set)(int);
};

// Written out from the command table by hand, independent of the list that
// generates the functions: a missing or misrouted function fails here.
// clang-format off
#define S(M) IntCommand{#M, Comm_Get##M, Comm_Set##M}
#define N(NAME, M) IntCommand{#M, Comm_Get##NAME, Comm_Set##NAME}
#define Q(M) IntCommand{#M, Comm_Get##M, nullptr}
const IntCommand kIntCommands[] = {
    S(AEC), S(AFA), S(ALM), S(ALV), S(AMD), S(AMGO), S(AMGS), S(AWW), S(BIN), S(BTS), S(CDI), S(CFA),
    S(CFT), S(CMD), S(DFC), S(DKS), S(DOU), S(ESH), S(FMX), S(FOCO), S(FOCS), S(FPA), S(FPR), S(GAM),
    S(GSL), S(IFC), S(IPH), S(IRCO), S(IRCS), S(LAW), S(MFI), S(MFT), S(MGF), S(MIR), S(MMGO), S(MMGS),
    S(RST), S(SEN), S(SHA), S(SHD), S(SHE), S(SHP), S(SHS), S(SHT), S(SMX), S(SSE), S(TMD), S(VMD), S(VPS),
    S(WBM), S(WDS), S(ZMCO), S(ZMCS), N(AGC_Access, SB1), N(DFC_Access, SB2), Q(BCT), Q(HWR), Q(SSX),
    Q(WXN), Q(WYN), Q(WXX), Q(WYX)};
// clang-format on
#undef S
#undef N
#undef Q

class CommandSetTest : public SimLinkTest {};

TEST_F(CommandSetTest, EveryIntegerCommandUsesItsOwnRegister)
{
    int n = 0;
    for (const IntCommand& c : kIntCommands) {
        ++n;
        if (c.set) {
            ASSERT_EQ(c.set(1000 + n), COMM_OK) << c.mnemonic;
            EXPECT_EQ(sent().back(), std::string(":") + c.mnemonic + "=" + std::to_string(1000 + n));
        }
        camera().setReg(c.mnemonic, 2000 + n);
        int value = 0;
        ASSERT_EQ(c.get(&value), COMM_OK) << c.mnemonic;
        EXPECT_EQ(value, 2000 + n) << c.mnemonic;
    }
    clearLog();
    EXPECT_EQ(Comm_SetAFW(0x3F), COMM_OK);
    EXPECT_EQ(Comm_SaveDefaults(), COMM_OK);
    EXPECT_EQ(sent(), (Lines{":AFW=63", ":WFAC=0"}));
}

TEST_F(CommandSetTest, ConvertedCommandsSendAndReadCounts)
{
    const struct {
        const char* mnemonic;
        int (*get)(float*);
        int (*set)(float);
        float value;
        int count;
        double readBack;
    } cases[] = {
        // Function class 5 (VKC-475), legacy hardware.
        {"AGN", Comm_GetAGN, Comm_SetAGN, 2.0f, 57, 2.0064},
        {"AMX", Comm_GetAMX, Comm_SetAMX, -1.0f, -28, -0.9856},
        {"FOC", Comm_GetFOC, Comm_SetFOC, 9.0f, 127, 9.0},
        {"IRC", Comm_GetIRC, Comm_SetIRC, 4.5f, 63, 4.4646},
        {"ZMC", Comm_GetZMC, Comm_SetZMC, 1.0f, 14, 0.99213},
        {"CBH", Comm_GetCBH, Comm_SetCBH, 10.0f, 114, 10.0220},
        {"CRH", Comm_GetCRH, Comm_SetCRH, -1.0f, -11, -0.967},
        {"CGR", Comm_GetCGR, Comm_SetCGR, 1.0f, 1024, 1.00001},
        {"CGG", Comm_GetCGG, Comm_SetCGG, 0.001f, 1, 0.001},
        {"CGB", Comm_GetCGB, Comm_SetCGB, 2.0f, 2048, 2.0},
        {"YGA", Comm_GetYGA, Comm_SetYGA, 50.0f, 31, 49.2063},
        {"USA", Comm_GetUSA, Comm_SetUSA, 100.0f, 63, 100.0},
        {"VSA", Comm_GetVSA, Comm_SetVSA, 10.0f, 6, 9.5238},
        {"HUE", Comm_GetHUE, Comm_SetHUE, 50.0f, 127, 49.8039},
        {"BTH", Comm_GetBTH, Comm_SetBTH, 12.3f, 123, 12.3},
        {"SHG", Comm_GetSHG, Comm_SetSHG, 1.5f, 64, 1.50394},
        {"CFG", Comm_GetCFG, Comm_SetCFG, 2.0f, 127, 2.0},
        {"VPD", Comm_GetVPD, Comm_SetVPD, 50.0f, 50, 50.0},
        {"VWC", Comm_GetVWC, Comm_SetVWC, 700.0f, 143, 702.8293},
    };
    for (const auto& c : cases) {
        clearLog();
        ASSERT_EQ(c.set(c.value), COMM_OK) << c.mnemonic;
        EXPECT_EQ(sent(), Lines{std::string(":") + c.mnemonic + "=" + std::to_string(c.count)});
        float value = -99;
        ASSERT_EQ(c.get(&value), COMM_OK) << c.mnemonic;
        EXPECT_NEAR(value, c.readBack, 1e-4) << c.mnemonic;
    }
}

TEST_F(CommandSetTest, FailedQueriesIntegerUntouchedConvertedFromCountZero)
{
    camera().faults().refuse = {"AEC", "SSX", "AGN", "SHG", "YGA"};
    int aec = 1234, ssx = 99;
    float agn = 7, shg = 7, yga = 7;
    EXPECT_EQ((std::vector<int>{Comm_GetAEC(&aec), Comm_GetSSX(&ssx), Comm_GetAGN(&agn), Comm_GetSHG(&shg),
                                Comm_GetYGA(&yga)}),
              std::vector<int>(5, COMM_NAK));
    EXPECT_EQ((std::vector<int>{aec, ssx}), (std::vector<int>{1234, 99}));
    EXPECT_EQ((std::vector<float>{agn, shg, yga}), (std::vector<float>{0.0f, 1.0f, 0.0f}));
}

// A timer stands in for a user-interface callback that runs while a slow
// reply is awaited: the link's own transactions and the commands built on
// them are refused, each with the busy status.
TEST_F(CommandSetTest, CommandsIssuedDuringAWaitAreRefusedAndWriteNothing)
{
    camera().faults().replyDelayMs = 100;
    std::vector<int> sets, queries;
    int busyDuringWait = 0, value = 55, p = 9, l = 9, r = 9;
    float real = 5;
    char cid[kIdTextSize] = "untouched", text[kReplySize] = "untouched";
    QTimer::singleShot(20, [&] {
        busyDuringWait = Comm_IsBusy();
        sets = {Comm_SetIntVal(":ALV=", 1), Comm_SendFixed(":AWB!"), Comm_SendFixedNumber(":WSTA=", 1),
                Comm_SetText(":CID=", "x"), Comm_SetAEC(0),          Comm_SetAGN(3.0f),
                Comm_SaveDefaults(),        Comm_SetCID("x"),        Comm_SetSSPosThick(10, 10, 10)};
        queries = {Comm_GetText(":VER?\r", text, sizeof text),
                   Comm_GetIntVal(":ALV?\r", &value),
                   Comm_GetAEC(&value),
                   Comm_GetAGN(&real),
                   Comm_SetCSAT(1.5f, 0),
                   Comm_GetCID(cid),
                   Comm_GetSSPosThick(&p, &l, &r)};
    });
    int outer = 0;
    EXPECT_EQ(Comm_GetALV(&outer), COMM_OK);
    EXPECT_EQ(busyDuringWait, 1);
    // A refusal is never taken for the camera's answer: no success, nothing written.
    EXPECT_EQ(sets, std::vector<int>(9, COMM_BUSY));
    EXPECT_EQ(queries, std::vector<int>(7, COMM_BUSY));
    EXPECT_EQ(value, 55);
    EXPECT_EQ(real, 5.0f);
    EXPECT_STREQ(cid, "untouched");
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ((std::vector<int>{p, l, r}), (std::vector<int>{9, 9, 9}));
    EXPECT_EQ(sent(), Lines{":ALV?"});
    EXPECT_EQ(Comm_IsBusy(), 0);
}

TEST(CommandLookupTest, FindsMnemonicsWhicheverWayTheyAreWrittenAndAgreesWithTheCamerasCatalogue)
{
    ASSERT_NE(Comm_FindCommand("agn"), nullptr);
    EXPECT_STREQ(Comm_FindCommand(":Agn")->mnemonic, "AGN");
    EXPECT_EQ(Comm_FindCommand("KR1")->kind, CommValueKind::Real);
    EXPECT_EQ(Comm_FindCommand("sno")->kind, CommValueKind::Text);
    for (const char* name : {"", ":", "AG", "AGNX", "CAM", "LSTA", "AWB", "WFAC", "AGN "})
        EXPECT_EQ(Comm_FindCommand(name), nullptr) << '"' << name << '"';

    // Every row is a command the camera knows, with the camera's own
    // directions, and every register the camera keeps is reachable by name.
    for (const CommCommand& c : Comm_CommandTable()) {
        const auto kind = sim::FindCommand(c.mnemonic);
        ASSERT_TRUE(kind.has_value()) << c.mnemonic;
        const bool readOnly =
            *kind == sim::CommandKind::IntQueryOnly || *kind == sim::CommandKind::TextQueryOnly;
        const std::string m = c.mnemonic;
        EXPECT_STREQ(c.query, (c.access & kCommQuery) ? (":" + m + "?\r").c_str() : nullptr) << m;
        if (m == "SNO") {  // the camera ID string is written through another mnemonic
            EXPECT_STREQ(c.prefix, ":WSF=");
            continue;
        }
        EXPECT_EQ((c.access & kCommSet) != 0, !readOnly) << m;
        EXPECT_STREQ(c.prefix, (c.access & kCommSet) ? (":" + m + "=").c_str() : nullptr) << m;
    }
    for (std::string_view name : sim::IntegerRegisterNames())
        EXPECT_NE(Comm_FindCommand(name), nullptr) << name;
}

TEST_F(CommandSetTest, EverySettableRowOfTheLookupRoundTripsThroughTheCamera)
{
    for (const CommCommand& c : Comm_CommandTable()) {
        if (c.access != (kCommQuery | kCommSet)) continue;
        if (c.kind == CommValueKind::Int) {
            ASSERT_EQ(Comm_SetInt(c, 7), COMM_OK) << c.mnemonic;
            int value = 0;
            ASSERT_EQ(Comm_GetInt(c, &value), COMM_OK) << c.mnemonic;
            EXPECT_EQ(value, 7) << c.mnemonic;
        } else if (c.kind == CommValueKind::Real) {
            ASSERT_EQ(Comm_SetReal(c, 1.25f), COMM_OK) << c.mnemonic;
            float value = 0;
            ASSERT_EQ(Comm_GetReal(c, &value), COMM_OK) << c.mnemonic;
            EXPECT_NEAR(value, 1.25, std::fabs(Comm_CountToUser(c.rule, 1) - Comm_CountToUser(c.rule, 0)))
                << c.mnemonic;
        } else {
            ASSERT_EQ(Comm_SetTextValue(c, "Lab 4"), COMM_OK) << c.mnemonic;
            char text[kIdTextSize] = "";
            ASSERT_EQ(Comm_GetTextValue(c, text, sizeof text), COMM_OK) << c.mnemonic;
            EXPECT_STREQ(text, "Lab 4") << c.mnemonic;
        }
    }
    clearLog();
    Comm_SetReal(*Comm_FindCommand("agn"), 2.0f);
    Comm_SetInt(*Comm_FindCommand("ssa"), -10);
    EXPECT_EQ(sent(), (Lines{":AGN=57", ":SSA=1"}));

    // A row used with another kind or direction sends nothing.
    int i = 5;
    float f = 5;
    EXPECT_EQ(Comm_SetInt(*Comm_FindCommand("BCT"), 1), COMM_NAK);
    EXPECT_EQ(Comm_GetInt(*Comm_FindCommand("AFW"), &i), COMM_NAK);
    EXPECT_EQ(Comm_GetReal(*Comm_FindCommand("AEC"), &f), COMM_NAK);
    EXPECT_EQ(Comm_SetTextValue(*Comm_FindCommand("VER"), "x"), COMM_NAK);
    EXPECT_EQ(sent().size(), 2u);
    EXPECT_EQ(i + f, 10.0f);
}

// The longest shutter speed a camera told is that camera's: another camera
// of the same model found on a new link is asked again, and until then no
// range is taken from the first one.
TEST_F(CommandSetTest, TheLongestShutterToldBelongsToItsLink)
{
    openSim("VK-470");
    camera().setReg("SSX", 400);
    EXPECT_EQ(Settings_AskLongestShutter(), 400);
    EXPECT_EQ(Settings_LongestShutter(), 400);
    openSim("VK-470");
    EXPECT_EQ(Settings_LongestShutter(), 0);
    camera().setReg("SSX", 300);
    EXPECT_EQ(Settings_AskLongestShutter(), 300);
    camera().faults().refuse = {"SSX"};
    EXPECT_EQ(Settings_AskLongestShutter(), 300);  // not answering again keeps what it told
}

}  // namespace
