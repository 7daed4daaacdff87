// The settings snapshot against the simulated camera: which queries each
// function class makes and in what order, where the answers land, and how
// failures are counted.
#include <QTimer>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Snapshot.h"
#include "support/SimLink.h"

namespace {

using Lines = std::vector<std::string>;

Lines Queries(std::initializer_list<const char*> mnemonics)
{
    Lines lines;
    for (const char* m : mnemonics) lines.push_back(std::string(":") + m + "?");
    return lines;
}

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The main pass by function class, as the panels expect it.
Lines MainOrder(int cls, int hardwareRev = 0)
{
    Lines lines = Queries({"SB1", "SB2", "SHE"});
    if (cls == 1) {
        lines = lines + Queries({"AMD"});
    } else {
        lines = lines + Queries({"AEC", "SHS"});
        if (cls >= 3) lines = lines + Queries({"SMX", "DFC", "MIR"});
        if (cls == 3 || cls == 5)
            lines = lines +
                    Queries({"CMD", "CGB", "CGG", "CGR", "IPH", "AWW", "YGA", "USA", "VSA", "HUE", "WBM"});
    }
    lines = lines + Queries({"AGN", "ALV", "AMX", "GAM", "VMD", "MFI", "MFT", "TMD", "FOC", "IRC",
                             "ZMC", "DOU", "SHP", "SHD", "SAC", "SAC", "RSE", "SHA", "SEN", "SHG",
                             "SSE", "HSM", "HSL", "HSR", "SSA", "SLT", "SLR", "SLT", "SLG", "SLT",
                             "SLB", "SRT", "SRR", "SRT", "SRG", "SRT", "SRB"});
    if (hardwareRev == 1) lines = lines + Queries({"CBH", "CRH"});
    return lines;
}

// Texts have no shape that tells a damaged character, so each is read until
// two readings agree: twice on a sound line.
Lines AdvancedOrder(int cls)
{
    Lines lines = Queries({"VER", "VER", "FPGA", "FPGA", "VPS", "VPD"});
    if (cls == 3 || cls == 5)
        lines = lines + Queries({"KR1", "KG1", "KB1", "KR2", "KG2", "KB2", "KR3", "KG3", "KB3"});
    else
        lines = lines + Queries({"VWC"});
    if (cls >= 3)
        lines = lines +
                Queries({"BTH", "BCT", "CD1", "CD2", "CD3", "CD4", "CDI", "ULX", "ULY", "LRX", "LRY", "BTS",
                         "DKS", "LAW", "IFC", "ESH", "BIN", "ALM", "WDS", "SNO", "SNO", "CID", "CID"});
    return lines;
}

class SnapshotTest : public SimLinkTest {};

TEST_F(SnapshotTest, EachClassQueriesWhatItNeedsInOrder)
{
    // One model of each function class, and the transaction counts per pass;
    // the current hardware revision also reads the hues.
    const struct {
        const char* model;
        int cls;
        std::size_t main, advanced;
        int rev = 0;
    } models[] = {
        {"VK-400", 0, 42, 7},   {"EH-4000", 1, 41, 7}, {"VK-405", 2, 42, 7},
        {"VKC-473", 3, 56, 38}, {"VK-470", 4, 45, 30}, {"VKC-475", 5, 56, 38},
        {"LS-373", 6, 45, 30},  {"VK-475", 7, 45, 30}, {"VKC-475", 5, 58, 38, 1},
    };
    for (const auto& m : models) {
        openSim(m.model);
        ASSERT_EQ(g_cam_model_idx, m.cls);
        g_hardware_rev = m.rev;
        camera().setReg("CBH", 114);
        CamMainSettings main{};
        EXPECT_EQ(Comm_QueryMainSettings(&main), 0);
        EXPECT_EQ(sent(), MainOrder(m.cls, m.rev)) << m.model;
        EXPECT_EQ(sent().size(), m.main) << m.model;
        EXPECT_NEAR(main.cbh, m.rev ? 10.022 : 0.0, 0.001) << m.model;
        clearLog();
        CamAdvSettings adv{};
        EXPECT_EQ(Comm_QueryAdvanced(&adv), 0);
        EXPECT_EQ(sent(), AdvancedOrder(m.cls)) << m.model;
        EXPECT_EQ(sent().size(), m.advanced) << m.model;
    }
}

// Distinct values in neighbouring registers catch answers stored in the
// wrong field.
TEST_F(SnapshotTest, AnswersLandInTheirFields)
{
    int n = 0;
    for (const char* m : {"SB1", "SB2", "SHE", "AEC", "SHS", "SMX", "DFC", "MIR", "CMD", "IPH", "AWW", "WBM",
                          "ALV", "GAM", "VMD", "MFI", "MFT", "TMD", "DOU", "SHP", "SHD", "SHA", "SEN", "SSE"})
        camera().setReg(m, 200 + ++n);
    for (const auto& [m, count] : {std::pair{"SAC", 0x3366},
                                   {"RSE", 0x0709},
                                   {"CGB", 2048},
                                   {"CGR", 1},
                                   {"USA", 63},
                                   {"SLT", 50},
                                   {"SLG", 30},
                                   {"SRB", 7}})
        camera().setReg(m, count);
    CamMainSettings r{};
    ASSERT_EQ(Comm_QueryMainSettings(&r), 0);
    const int ints[] = {r.agc_access, r.dfc_access, r.she, r.aec, r.shs, r.smx, r.dfc, r.mir,
                        r.cmd,        r.iph,        r.aww, r.wbm, r.alv, r.gam, r.vmd, r.mfi,
                        r.mft,        r.tmd,        r.dou, r.shp, r.shd, r.sha, r.sen, r.sse};
    for (int i = 0; i < n; ++i) EXPECT_EQ(ints[i], 201 + i) << i;
    EXPECT_NEAR(r.cbsat, 1 + 0x33 / 255.0, 1e-6);
    EXPECT_NEAR(r.crsat, 1 + 0x66 / 255.0, 1e-6);
    EXPECT_EQ((std::vector<int>{r.rst_pos, r.rst_neg, r.slt, r.slg, r.srb, r.ssp, r.amd, r.awb}),
              (std::vector<int>{7, 9, 50, 60, 7, 50, 0, 0}));
    EXPECT_NEAR(r.cgb, 2.0, 1e-5);
    EXPECT_NEAR(r.cgr, 0.001, 1e-6);
    EXPECT_NEAR(r.usa, 100.0, 1e-5);

    for (const auto& [m, count] : {std::pair{"CD3", 333}, {"LRY", 29}, {"KB2", -512}})
        camera().setReg(m, count);
    CamAdvSettings a{};
    ASSERT_EQ(Comm_QueryAdvanced(&a), 0);
    EXPECT_STREQ(a.fw_ver, "V2.21");
    EXPECT_STREQ(a.fpga_ver, "F3.02");
    EXPECT_EQ(a.cd[2], 333);
    EXPECT_EQ(a.lry, 29);
    EXPECT_NEAR(a.k[5], -0.500224, 1e-6);
    EXPECT_STREQ(a.sno, "C4752120250317C2");
    EXPECT_STREQ(a.cid, "DEMO UNIT");
    EXPECT_EQ(a.vwc, 0.0f);  // not read for a colour camera
}

TEST_F(SnapshotTest, FieldsOfOtherClassesStayZero)
{
    openSim("EH-4000");
    CamMainSettings r{};
    ASSERT_EQ(Comm_QueryMainSettings(&r), 0);
    EXPECT_EQ((std::vector<int>{r.aec, r.shs, r.amd}), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(r.cbh, 0.0f);

    openSim("VK-400");
    CamAdvSettings a{};
    std::strcpy(a.sno, "caller's");
    ASSERT_EQ(Comm_QueryAdvanced(&a), 0);
    EXPECT_STREQ(a.sno, "caller's");
    EXPECT_NEAR(a.vwc, 702.83, 0.005);
}

TEST_F(SnapshotTest, ThreeFailuresArePassedOverTheFourthStopsEitherPass)
{
    camera().faults().refuse = {"AGN", "SAC"};  // SAC is asked twice
    CamMainSettings r{};
    SnapshotStats stats;
    EXPECT_EQ(Comm_QueryMainSettings(&r, &stats), 0);
    EXPECT_EQ(sent().size(), 56u);
    EXPECT_EQ(stats.failures, 3);
    // AGN reads as count 0; the saturations stay untouched, not 1.0.
    EXPECT_EQ((std::vector<float>{r.agn, r.cbsat, r.crsat}), (std::vector<float>{0, 0, 0}));

    clearLog();
    camera().faults().refuse = {"AGN", "SAC", "SHA"};
    EXPECT_EQ(Comm_QueryMainSettings(&r, &stats), 1);
    EXPECT_EQ(sent().back(), ":SHA?");  // nothing after the fourth failure
    EXPECT_EQ(stats.failures, 4);
    EXPECT_EQ(stats.lastFailure, COMM_NAK);

    // Also inside the colour matrix of the advanced pass.
    clearLog();
    camera().faults().refuse = {"FPGA", "KR1", "KB1", "KG2"};
    CamAdvSettings a{};
    EXPECT_EQ(Comm_QueryAdvanced(&a), 1);
    EXPECT_EQ(sent(), Queries({"VER", "VER", "FPGA", "VPS", "VPD", "KR1", "KG1", "KB1", "KR2", "KG2"}));
}

// A failed query inside a several-query function does not count toward the
// pass's four, but what stands on it is not taken as read.
TEST_F(SnapshotTest, UncountedFailuresStillMarkWhatStandsOnThem)
{
    camera().faults().refuse = {"SLT", "SRT"};  // six refusals, all hidden by the colour queries
    CamMainSettings r{};
    r.slt = 33;
    SnapshotStats stats;
    EXPECT_EQ(Comm_QueryMainSettings(&r, &stats), 0);
    EXPECT_EQ(r.slt, 33);
    EXPECT_EQ(stats.failures, 0);
    EXPECT_TRUE(stats.anyFailed());
    for (const char* f : {"slr", "slg", "slb", "slt", "srr", "srg", "srb", "srt"})
        EXPECT_TRUE(stats.fieldFailed(f)) << f;
    EXPECT_FALSE(stats.fieldFailed("ssp"));

    camera().faults().refuse = {"HSM"};  // the split line's position, hidden by HSR's answer
    EXPECT_EQ(Comm_QueryMainSettings(&r, &stats), 0);
    EXPECT_EQ(stats.failures, 0);
    for (const char* f : {"ssp", "llt", "rlt"}) EXPECT_TRUE(stats.fieldFailed(f)) << f;
    EXPECT_FALSE(stats.fieldFailed("slt"));
}

// A second snapshot started while the first one waits finds the link busy
// four times and gives up without sending anything.
TEST_F(SnapshotTest, NestedSnapshotStopsOnTheBusyLink)
{
    camera().faults().replyDelayMs = 60;
    int nested = -1;
    SnapshotStats stats;
    QTimer::singleShot(20, [&] {
        CamMainSettings inner{};
        nested = Comm_QueryMainSettings(&inner, &stats);
    });
    int alv = 0;
    EXPECT_EQ(Comm_GetALV(&alv), COMM_OK);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(stats.lastFailure, COMM_BUSY);
    EXPECT_EQ(sent(), Lines{":ALV?"});
}

// The field descriptions must address the records' own members.
TEST(SettingsFieldsTest, DescribeTheRecordsInOrder)
{
    CamAdvSettings a{};
    a.k[4] = 1.5f;
    a.cd[3] = 9;
    const auto adv = AdvSettingsFields();
    ASSERT_EQ(adv.size(), 35u);
    EXPECT_EQ(std::string(adv[17].name) + "=" + std::to_string(SettingsFloat(&a, adv[17])), "k[4]=1.500000");
    EXPECT_EQ(std::string(adv[31].name) + "=" + std::to_string(SettingsInt(&a, adv[31])), "cd[3]=9");
    EXPECT_EQ(MainSettingsFields().size(), 57u);
    EXPECT_EQ(MainSettingsFields().back().offset + sizeof(float), sizeof(CamMainSettings));
}

}  // namespace
