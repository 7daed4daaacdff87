// Composite commands against the simulated camera: packed registers, values
// spread over several mnemonics, identifier texts, actions, and the
// shutter-speed access rule.
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "support/SimLink.h"

namespace {

using Lines = std::vector<std::string>;

class CompositeTest : public SimLinkTest {};

TEST_F(CompositeTest, SaturationsShareOneRegisterByteByByteAndAreLimitedBeforePacking)
{
    camera().setReg("SAC", 0x1234);
    EXPECT_EQ(Comm_SetCSAT(1.5f, 0), COMM_OK);
    EXPECT_EQ(camera().reg("SAC"), 0x8034);
    camera().setReg("SAC", 0x1234);
    EXPECT_EQ(Comm_SetCSAT(1.5f, 1), COMM_OK);
    EXPECT_EQ(sent(), (Lines{":SAC?", ":SAC=32820", ":SAC?", ":SAC=4736"}));

    camera().setReg("SAC", 32820);
    float cb = 0, cr = 0;
    EXPECT_EQ(Comm_GetCSAT(&cb, 0), COMM_OK);
    EXPECT_EQ(Comm_GetCSAT(&cr, 1), COMM_OK);
    EXPECT_NEAR(cb, 1.502, 0.0005);
    EXPECT_NEAR(cr, 1.204, 0.0005);

    clearLog();
    camera().faults().refuse = {"SAC"};
    EXPECT_EQ(Comm_SetCSAT(1.5f, 0), COMM_NAK);
    EXPECT_EQ(Comm_GetCSAT(&cb, 1), COMM_NAK);
    EXPECT_EQ(sent(), (Lines{":SAC?", ":SAC?"}));  // nothing written after a failed read
    EXPECT_NEAR(cb, 1.502, 0.0005);

    // Factors from a settings file may lie outside 1.0 .. 2.0; they must never
    // change the other saturation.
    camera().faults().refuse.clear();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float factor[] = {2.5f, 3.0f, 0.5f, -7.0f, nan, 2.0f};
    const int which[] = {0, 1, 0, 1, 0, 1};
    const int sac[] = {0xFF34, 0x12FF, 0x0034, 0x1200, 0x0034, 0x12FF};
    for (int i = 0; i < 6; ++i) {
        camera().setReg("SAC", 0x1234);
        Comm_SetCSAT(factor[i], which[i]);
        EXPECT_EQ(camera().reg("SAC"), sac[i]) << factor[i] << " which " << which[i];
    }
}

TEST_F(CompositeTest, ResetEdgesPackIntoOneCount)
{
    EXPECT_EQ(Comm_SetRSE(3, 5), COMM_OK);
    EXPECT_EQ(camera().reg("RSE"), 773);
    int pos = 0, neg = 0;
    EXPECT_EQ(Comm_GetRSE(&pos, &neg), COMM_OK);
    EXPECT_EQ(pos * 1000 + neg, 3005);
    camera().faults().refuse = {"RSE"};
    pos = neg = 9;
    EXPECT_EQ(Comm_GetRSE(&pos, &neg), COMM_NAK);
    EXPECT_EQ(pos * 1000 + neg, 9009);
}

TEST_F(CompositeTest, IndexedCommandsPickTheirMnemonic)
{
    for (int corner = 0; corner < 4; ++corner) Comm_SetALCWin(10 + corner, corner);
    for (int n = 1; n <= 4; ++n) Comm_SetCDA(n, 100 * n);
    for (int i = 0; i < 9; ++i) Comm_SetK(i / 4.0f, i);
    EXPECT_EQ(sent(), (Lines{":ULX=10", ":ULY=11", ":LRX=12", ":LRY=13", ":CD1=100", ":CD2=200", ":CD3=300",
                             ":CD4=400", ":KR1=0", ":KG1=256", ":KB1=512", ":KR2=768", ":KG2=1024",
                             ":KB2=1280", ":KR3=1536", ":KG3=1792", ":KB3=2048"}));
    int corner = 0, address = 0;
    float k = 0;
    camera().setReg("KB3", 4095);
    EXPECT_EQ(Comm_GetALCWin(&corner, 2), COMM_OK);
    EXPECT_EQ(Comm_GetCDA(3, &address), COMM_OK);
    EXPECT_EQ(Comm_GetK(&k, 8), COMM_OK);
    EXPECT_EQ(corner + address, 312);
    EXPECT_FLOAT_EQ(k, 3.99f);

    camera().faults().refuse = {"KG1"};
    k = 5;
    EXPECT_EQ(Comm_GetK(&k, 1), COMM_NAK);
    EXPECT_EQ(k, 0.0f);  // the value of count 0
}

// An index out of range is a caller's mistake: it must never read as the
// camera's acceptance, and nothing goes out.
TEST_F(CompositeTest, IndexesOutOfRangeAreRefusedAndSendNothing)
{
    int value = 7, level = 7, transparency = 7, failure = 0;
    float k = 5;
    const struct {
        const char* call;
        std::function<int()> run;
    } cases[] = {
        {"SetALCWin 4", [] { return Comm_SetALCWin(100, 4); }},
        {"SetALCWin -1", [] { return Comm_SetALCWin(100, -1); }},
        {"GetALCWin 4", [&] { return Comm_GetALCWin(&value, 4); }},
        {"SetCDA 0", [] { return Comm_SetCDA(0, 5); }},
        {"GetCDA 5", [&] { return Comm_GetCDA(5, &value); }},
        {"SetK 9", [] { return Comm_SetK(1.0f, 9); }},
        {"GetK -1", [&] { return Comm_GetK(&k, -1); }},
        {"SetSSColor side 2", [&] { return Comm_SetSSColor(2, 0, 10, 10, &failure); }},
        {"GetSSColor side -1", [&] { return Comm_GetSSColor(-1, 0, &level, &transparency, &failure); }},
    };
    for (const auto& c : cases) {
        failure = COMM_OK;
        EXPECT_EQ(c.run(), COMM_NAK) << c.call;
        if (std::string_view(c.call).find("SSColor") != std::string_view::npos) {
            EXPECT_EQ(failure, COMM_NAK) << c.call;
        }
    }
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(value + level + transparency, 21);
    EXPECT_EQ(k, 0.0f);  // the coefficient is always written
}

TEST_F(CompositeTest, SplitLineInPercentAndInCameraUnitsAndItsAngle)
{
    EXPECT_EQ(Comm_SetSSPosThick(50, 10, 10), COMM_OK);
    EXPECT_EQ(sent(), (Lines{":HSM=90", ":HSL=81", ":HSR=99"}));
    int p = 0, l = 0, r = 0;
    EXPECT_EQ(Comm_GetSSPosThick(&p, &l, &r), COMM_OK);
    EXPECT_EQ(std::vector<int>({p, l, r}), std::vector<int>({50, 10, 10}));

    Comm_SetSSPosThick(25, 40, 0);
    EXPECT_EQ(
        std::vector<std::optional<int>>({camera().reg("HSM"), camera().reg("HSL"), camera().reg("HSR")}),
        std::vector<std::optional<int>>({45, 27, 45}));

    // At either edge the band on that side has no defined thickness.
    camera().setReg("HSM", 0);
    EXPECT_EQ(Comm_GetSSPosThick(&p, &l, &r), COMM_OK);
    EXPECT_EQ(p + l, 0);
    camera().setReg("HSM", 180);
    EXPECT_EQ(Comm_GetSSPosThick(&p, &l, &r), COMM_OK);
    EXPECT_EQ(p, 100);
    EXPECT_EQ(r, 0);

    // Each line goes out whatever happened to the one before; the last decides.
    clearLog();
    camera().faults().refuse = {"HSR"};
    EXPECT_EQ(Comm_SetSSPosThick(50, 10, 10), COMM_NAK);
    camera().faults().refuse = {"HSM"};
    EXPECT_EQ(Comm_SetSSPosThick(50, 10, 10), COMM_OK);
    EXPECT_EQ(Comm_GetSSPosThick(&p, &l, &r), COMM_OK);
    EXPECT_EQ(sent().size(), 9u);
    EXPECT_EQ(p, 0);  // HSM read as count 0

    // The angle in degrees; the rule's own counts are the conversion tests'.
    clearLog();
    Comm_SetSSA(-11);
    EXPECT_EQ(sent(), (Lines{":SSA=0"}));
    int degrees = 5;
    camera().faults().refuse = {"SSA"};
    EXPECT_EQ(Comm_GetSSA(&degrees), COMM_NAK);
    EXPECT_EQ(degrees, -11);  // always written, from count 0
}

TEST_F(CompositeTest, SplitColoursAreKeptScaledByTransparency)
{
    EXPECT_EQ(Comm_SetSSColor(0, 1, 200, 25), COMM_OK);
    EXPECT_EQ(Comm_SetSSColor(1, 2, 101, 50), COMM_OK);  // 50.5 goes down
    EXPECT_EQ(Comm_SetSSColor(0, 3, 10, 30), COMM_OK);   // no such colour: transparency only
    EXPECT_EQ(sent(), (Lines{":SLT=25", ":SLG=150", ":SRT=50", ":SRB=50", ":SLT=30"}));

    int level = 0, t = 0;
    camera().setReg("SLT", 25);
    EXPECT_EQ(Comm_GetSSColor(0, 1, &level, &t), COMM_OK);
    EXPECT_EQ(level, 200);
    EXPECT_EQ(t, 25);
    camera().setReg("SRT", 100);  // nothing left to scale back up
    EXPECT_EQ(Comm_GetSSColor(1, 0, &level, &t), COMM_OK);
    EXPECT_EQ(level, 0);

    camera().setReg("SLR", 60);
    camera().faults().refuse = {"SLT"};
    t = 40;
    EXPECT_EQ(Comm_GetSSColor(0, 0, &level, &t), COMM_OK);  // the colour query's code
    EXPECT_EQ(t, 40);
    EXPECT_EQ(level, 100);
}

// No text may end the command line early or carry a second command, and
// only what a reply can carry back (printable ASCII) is sent.  A reply longer
// than the field is no reply to the query.
TEST_F(CompositeTest, IdentifierTextsAreSentPrintableAndReadBackOnlyWhenTheyFit)
{
    EXPECT_EQ(Comm_SetCID("Lab 4\r:WFAC=0\n\x7f\t"), COMM_OK);
    EXPECT_EQ(Comm_SetSNO("AB\x01"
                          "12\xe9"),
              COMM_OK);
    EXPECT_EQ(sent(), (Lines{":CID=Lab 4:WFAC=0", ":WSF=AB12"}));
    EXPECT_EQ(Comm_SetCID(std::string(300, 'x').c_str()), COMM_OK);
    EXPECT_EQ(sent().back().size(), 5u + 249u);

    char out[kIdTextSize + 4];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(Comm_GetSNO(out), COMM_OK);
    EXPECT_STREQ(out, "AB12");
    camera().setText("CID", "0123456789ABCDEF");
    EXPECT_EQ(Comm_GetCID(out), COMM_OK);
    EXPECT_STREQ(out, "0123456789ABCDEF");
    EXPECT_EQ(out[kIdTextSize], '#');
    for (const char* text : {"0123456789ABCDEFG", "caf\xe9"}) {
        camera().setText("CID", text);
        EXPECT_EQ(Comm_GetCID(out), COMM_UNRECOGNIZED) << text;
        EXPECT_STREQ(out, "0123456789ABCDEF") << text;
    }
    camera().faults().refuse = {"CID"};
    EXPECT_EQ(Comm_GetCID(out), COMM_NAK);
    EXPECT_STREQ(out, "0123456789ABCDEF");
}

TEST_F(CompositeTest, ActionsUserSetsAndTheAfeWrite)
{
    EXPECT_EQ(Comm_SetAWB(), COMM_OK);
    EXPECT_EQ(Comm_LocateDefects(), COMM_OK);
    EXPECT_EQ(Comm_LoadSet(2), COMM_OK);
    EXPECT_EQ(Comm_SaveSet(1), COMM_OK);
    EXPECT_EQ(Comm_Write_AFE(0x21, 0x7F), COMM_OK);
    EXPECT_EQ(camera().afeRegister(0x21), 0x7F);
    camera().faults().refuse = {"AFA"};
    EXPECT_EQ(Comm_Write_AFE(0x22, 1), COMM_NAK);  // no data without its address
    EXPECT_EQ(sent(), (Lines{":AWB!", ":LDF!", ":LSTA=2", ":WSTA=1", ":AFA=33", ":AFW=127", ":AFA=34"}));
}

}  // namespace
