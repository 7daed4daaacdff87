// iccdctl get, set, list and snapshot against the in-process simulated camera.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>

#include "CliTest.h"
#include "camera/FailureText.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"

namespace {

class SettingsCommandsTest : public CliTest {
protected:
    std::vector<std::string> commands()  // what the camera got after identification
    {
        std::vector<std::string> log = camera().log();
        log.erase(std::remove(log.begin(), log.end(), ":CAM?"), log.end());
        return log;
    }
};

// get prints one line per mnemonic in its unit, or one JSON object with null
// for what it could not read; it goes on after a failure and exits with 1.
TEST_F(SettingsCommandsTest, GetPrintsEachMnemonicInItsUnitAndGoesOnAfterAFailure)
{
    const char* refusedAlv =
        "ALV: Camera returned error message NAK.\nReading ALV (ALC Level): the camera refused it.\n";
    const struct {
        std::vector<std::string> args;
        int status;
        const char *out, *err;
    } cases[] = {
        {{"get", "agn", "SHS", ":ssa", "Kr1", "vwc", "cid"},
         0,
         "AGN: 2.006400\nSHS: 312\nSSA: 0\nKR1: 1.000448\nVWC: 702.829285\nCID: DEMO UNIT\n",
         ""},
        {{"get", "ALV", "AEC"}, 1, "AEC: 1\n", refusedAlv},
        {{"get", "--json", "agn", "SHS", "ALV", "cid"},
         1,
         "{\"AGN\":2.0064,\"ALV\":null,\"CID\":\"DEMO UNIT\",\"SHS\":312}\n",
         refusedAlv},
    };
    camera().setReg("SHS", 312);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        camera().faults().refuse = {};
        if (c.status) camera().faults().refuse = {"ALV"};
        EXPECT_EQ(run(c.args), (CliResult{c.status, c.out, c.err}));
    }
}

// A failure names what went out, in the setting's unit, and why it failed;
// a camera that is not found names every port with its reason.
TEST_F(SettingsCommandsTest, AFailureSaysWhichSettingWhichValueAndWhy)
{
    struct Case {
        void (*fault)(sim::Faults&);
        std::vector<std::string> args;
        const char* err;
    };
    const Case cases[] = {
        {[](sim::Faults& f) { f.refuse = {"GAM"}; },
         {"set", "GAM", "1"},
         "Camera returned error message NAK.\nSetting GAM (Gamma) to 1: the camera refused it.\n"},
        {[](sim::Faults& f) { f.refuse = {"CID"}; },
         {"set", "CID", "Lab"},
         "Camera returned error message NAK.\nSetting CID to \"Lab\": the camera refused it.\n"},
        {[](sim::Faults& f) { f.garbage = {"SHS"}; },
         {"get", "SHS"},
         "SHS: Camera returned unrecognized response.\n"
         "Reading SHS (Shutter Speed): the reply on COM1 (sim:VKC-475) was not one the command can have.\n"},
        {[](sim::Faults& f) { f.silent = true; },
         {"get", "AGN"},
         "No Camera Communication Link Found\nCOM1 (sim:VKC-475): nothing answered.\n"},
        {[](sim::Faults& f) { f.web = true; },
         {"get", "AGN"},
         "No Camera Communication Link Found\n"
         "COM1 (sim:VKC-475): something answered, but not as a camera (Camera returned unrecognized "
         "response.)\n"},
    };
    Comm_SetReplyTimeout(0.05);
    for (const Case& c : cases) {
        camera().faults() = {};
        c.fault(camera().faults());
        EXPECT_EQ(run(c.args), (CliResult{1, "", c.err})) << c.args[1];
    }
    Comm_SetReplyTimeout(0);
    // A later operation that failed without a transaction of its own (an
    // index out of range) must not be told with the last one's command.
    {
        CommOperation later;
    }
    EXPECT_EQ(Comm_FailureText(COMM_UNRECOGNIZED), "Camera returned unrecognized response.");
}

TEST_F(SettingsCommandsTest, SetTakesTheUserUnit)
{
    const std::pair<std::string, std::string> sets[] = {{"AGN", "2.0"},  {"vpd", "50"},     {"SSA", "-10"},
                                                        {"SHS", "+100"}, {"cid", "Lab\r4"}, {"SNO", "A1"}};
    for (const auto& [mnemonic, value] : sets)
        EXPECT_EQ(run({"set", mnemonic, value}), (CliResult{0, "", ""}));
    EXPECT_EQ(commands(),
              (std::vector<std::string>{":AGN=57", ":VPD=50", ":SSA=1", ":SHS=100", ":CID=Lab4", ":WSF=A1"}));
    camera().faults().refuse = {"AGN"};
    EXPECT_EQ(run({"set", "AGN", "1"}), (CliResult{1, "",
                                                   "Camera returned error message NAK.\nSetting AGN (Manual "
                                                   "Gain) to 0.99 dB (count 28): the camera refused it.\n"}));
}

// set refuses, before anything is sent, a value whose count does not fit 32
// bits (3e38 dB went out as -1) and one the camera's model does not take,
// saying what it takes; raw still sends anything.
TEST_F(SettingsCommandsTest, SetRefusesValuesNoCameraOrNotThisModelTakes)
{
    const struct {
        const char *mnemonic, *value, *err;  // err after "iccdctl: MNEMONIC VALUE is out of range"
    } cases[] = {
        {"AGN", "3e38", ""},
        {"AGN", "-3e38", ""},
        {"AGN", "99999999999", ""},
        {"AGN", "76000000", ""},
        {"VPD", "3e38", ""},
        {"SSA", "90", ""},
        // 75,000,000 dB is 2,130,675,029.75 counts: it fits, but no camera takes it.
        {"AGN", "75000000", ": Manual Gain takes 0 to 30 dB on the VKC-475"},
        {"AGN", "50", ": Manual Gain takes 0 to 30 dB on the VKC-475"},
        {"SHS", "9999", ": Shutter Speed takes 1 to 625 lines on the VKC-475"},
        {"GAM", "7", ": Gamma takes 0 to 1 on the VKC-475"},
        {"alv", "19", ": ALC Level takes 20 to 255 on the VKC-475"},
        {"CGR", "0", ": Color Gain Red takes 0.001 to 3.999 x on the VKC-475"},
    };
    for (const auto& c : cases) {
        std::string upper = c.mnemonic;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        EXPECT_EQ(
            run({"set", c.mnemonic, c.value}),
            (CliResult{2, "", "iccdctl: " + upper + " " + c.value + " is out of range" + c.err + "\n"}));
    }
    EXPECT_EQ(run({"set", "VMD", "1"}),
              (CliResult{2, "", "iccdctl: VMD (Vertical Mode) is not a setting of the VKC-475\n"}));
    // Only the longest shutter speed was asked, to hold 9999 lines against it.
    EXPECT_EQ(commands(), std::vector<std::string>{":SSX?"});
    EXPECT_EQ(run({"set", "SHS", "625"}).status, 0);
    EXPECT_EQ(run({"raw", ":GAM=7"}).status, 0);
    EXPECT_EQ(camera().reg("GAM"), 7);
}

// list gives the settings of the camera's model with the ranges set holds
// values against.
TEST_F(SettingsCommandsTest, ListGivesTheModelsSettingsWithTheirRanges)
{
    const CliResult text = run({"list"});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("\nAGN       Manual Gain "), std::string::npos);
    EXPECT_NE(text.out.find(" 0 to 30 dB "), std::string::npos);
    EXPECT_EQ(text.out.find("\nVMD "), std::string::npos);  // a monochrome setting

    const CliResult json = run({"list", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(doc["model"].toString(), "VKC-475");
    std::map<std::string, QJsonObject> rows;
    for (const QJsonValue& row : doc["settings"].toArray())
        rows[row["mnemonic"].toString().toStdString()] = row.toObject();
    const struct {
        const char* mnemonic;
        const char* unit;
        double minimum, maximum;
        bool get, set;
    } expected[] = {
        {"AGN", "dB", 0, 30, true, true},   {"SHS", "lines", 1, 625, true, true},
        {"ALV", "", 20, 255, true, true},   {"MFI", "", 0, 1, true, true},
        {"SSP", "%", 0, 100, false, false}, {"VPD", "mV", 0, 255, true, true},
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(rows.count(e.mnemonic)) << e.mnemonic;
        const QJsonObject& row = rows[e.mnemonic];
        EXPECT_EQ(row["unit"].toString().toStdString(), e.unit) << e.mnemonic;
        EXPECT_EQ(row["minimum"].toDouble(), e.minimum) << e.mnemonic;
        EXPECT_EQ(row["maximum"].toDouble(), e.maximum) << e.mnemonic;
        EXPECT_EQ(row["get"].toBool(), e.get) << e.mnemonic;
        EXPECT_EQ(row["set"].toBool(), e.set) << e.mnemonic;
    }
    for (const char* lacking : {"VMD", "TMD", "AMD", "VWC", "SHE"})
        EXPECT_FALSE(rows.count(lacking)) << lacking;
}

TEST_F(SettingsCommandsTest, BadRequestsAreUsageErrorsAndNeverReachTheCamera)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"get"},                   // nothing to get
             {"get", "AGN", "NOPE"},    // unknown mnemonic, even after a good one
             {"get", "AFW"},            // set only
             {"set", "BCT", "1"},       // query only
             {"set", "AGN"},            // no value
             {"set", "AGN", "1", "2"},  //
             {"set", "AEC", "1.5"},     // integer setting
             {"set", "SHS", "+-3"},     // one sign only
             {"set", "AGN", "2dB"},     //
             {"set", "AGN", "nan"},     //
             {"set", "AGN", "1e39"},    // beyond a float
             {"set", "AGN", " 5"},      // only a decimal number: no blanks,
             {"set", "AGN", "0x10"},    // no hexadecimal (16 dB by accident),
             {"set", "AGN", "inf"},     // no infinity
             {"set", "LSTA", "1"},      // not a setting
             {"snapshot", "--xml"}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_FALSE(r.err.empty()) << args.back();
    }
    EXPECT_TRUE(camera().log().empty());
}

TEST_F(SettingsCommandsTest, SnapshotPrintsBothRecordsFieldByField)
{
    const CliResult r = run({"snapshot"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 57 + 35);
    EXPECT_EQ(r.out.substr(0, 32), "aec: 1\nagn: 2.006400\nalv: 128\nam");
    for (const char* line : {"\ncbsat: 1.250980\n", "\nk[0]: 1.000448\n", "\ncd[3]: 0\n", "\nfw_ver: V2.21\n",
                             "\ncid: DEMO UNIT\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    EXPECT_EQ(commands().size(), 56u + 34u + 4u);  // each of the four texts read twice
}

// Every setting's shape and units follow the model: a camera that names an
// unknown model is read or written only once --as-model says what to take it
// as.  identify still tells what it is.
TEST_F(SettingsCommandsTest, ACameraOfAnUnknownModelNeedsAsModel)
{
    camera().faults().modelName = "VK-999";
    const char* refusal =
        "iccdctl: Unknown camera model 'VK-999'; shown as VK-400\n"
        "iccdctl: the camera names an unknown model 'VK-999'; --as-model NAME takes it as one of the known "
        "models\n";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"snapshot"}, {"get", "AGN"}, {"set", "ALV", "10"}, {"save", "/nonexistent/never.txt"}})
        EXPECT_EQ(run(args), (CliResult{1, "", refusal})) << args[0];
    EXPECT_TRUE(commands().empty());

    const CliResult taken = run({"--as-model", "VKC-475", "get", "ALV"});
    EXPECT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.out, "ALV: 128\n");
    EXPECT_NE(taken.err.find("taken as VKC-475"), std::string::npos) << taken.err;

    const CliResult identified = run({"identify"});
    EXPECT_EQ(identified.status, 0);
    EXPECT_EQ(identified.out.substr(0, 30), "model: VK-400\nrow: 0\nclass: 0\n");
}

TEST_F(SettingsCommandsTest, SnapshotAsJson)
{
    use("VK-470");
    const CliResult r = run({"snapshot", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    const QJsonObject main = doc.object()["main"].toObject();
    const QJsonObject adv = doc.object()["advanced"].toObject();
    EXPECT_EQ(main.size(), 57);
    EXPECT_EQ(main["shs"].toInt(), 525);
    EXPECT_NEAR(main["agn"].toDouble(), 2.0064, 1e-9);
    EXPECT_EQ(adv["k"].toArray().size(), 9);
    EXPECT_EQ(adv["cd"].toArray().size(), 4);
    EXPECT_EQ(adv["vwc"].toDouble(), 700.0);
    EXPECT_EQ(adv["fw_ver"].toString(), QStringLiteral("V2.14"));
    EXPECT_EQ(commands().size(), 45u + 26u + 4u);  // class 4 reads only what it has, texts twice
}

TEST_F(SettingsCommandsTest, SnapshotThatStopsMarksWhatItDidNotRead)
{
    camera().faults().refuse = {"KR1", "KG1", "KB1", "KR2"};
    const CliResult r = run({"snapshot"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 57 + 35);
    EXPECT_NE(r.out.find("\nvpd: 50.000000\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nk[3]: unread\nk[4]: unread\n"), std::string::npos);  // failed, then never reached
    EXPECT_NE(r.out.find("\nbth: unread\n"), std::string::npos);
    EXPECT_EQ(r.err,
              "Failure querying camera for factory settings. Camera returned error message NAK.\n"
              "Reading KR1 (Color Correction Row 1 Red): the camera refused it.\n"
              "Not read: bth, bct, wds, bts, dks, law, ifc, alm, k[0], k[1], k[2], k[3], k[4], k[5], k[6], "
              "k[7], k[8], ulx, uly, lrx, lry, esh, bin, cd[0], cd[1], cd[2], cd[3], cdi, sno, cid\n");

    camera().faults().refuse = {"SB1", "SB2", "SHE", "AEC"};
    const CliResult m = run({"snapshot", "--json"});
    EXPECT_EQ(m.status, 1);
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(m.out)).object();
    EXPECT_TRUE(doc.contains("main"));
    EXPECT_FALSE(doc.contains("advanced"));
    EXPECT_TRUE(doc["main"].toObject()["agc_access"].isNull());
    EXPECT_EQ(
        m.err,
        "Failure querying camera for current settings. Camera returned error message NAK.\n"
        "Reading SB1 (ALC User Access): the camera refused it.\n"
        "Not read: aec, agn, alv, amx, awb, aww, cgb, cgg, cgr, cmd, dfc, foc, iph, irc, gam, mfi, mir, mft, "
        "agc_access, dfc_access, she, shs, smx, yga, usa, vsa, hue, zmc, wbm, dou, shd, shp, crsat, cbsat, "
        "rst_pos, rst_neg, sha, sen, shg, sse, ssp, llt, rlt, ssa, slt, srt, slr, slg, slb, srr, srg, srb, "
        "cbh, crh\n");
}

// Fewer than four failures let the passes run to their ends; what the failed
// queries left behind (0, or values of count 0 such as a line thickness of
// -100) is marked, never printed as read.
TEST_F(SettingsCommandsTest, SnapshotMarksEveryFailedQuery)
{
    camera().faults().refuse = {"AGN", "ALV", "AMX", "VPS", "VPD", "BTS"};
    const CliResult r = run({"snapshot"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 57 + 35);
    for (const char* line : {"\nagn: unread\nalv: unread\namd: 0\namx: unread\n",
                             "\nvps: unread\nvpd: unread\n", "\nbts: unread\n", "\naec: 1\n"})
        EXPECT_NE(("\n" + r.out).find(line), std::string::npos) << line;
    EXPECT_EQ(r.err,
              "Failure querying camera. Camera returned error message NAK.\n"
              "Reading AGN (Manual Gain): the camera refused it.\nNot read: agn, alv, amx, vps, vpd, bts\n");

    camera().faults().refuse = {"HSR"};
    const CliResult j = run({"snapshot", "--json"});
    EXPECT_EQ(j.status, 1);
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(j.out)).object();
    const QJsonObject main = doc["main"].toObject();
    for (const char* field : {"ssp", "llt", "rlt"}) EXPECT_TRUE(main[field].isNull()) << field;
    EXPECT_EQ(main["ssa"].toInt(), 0);  // read
    EXPECT_EQ(
        j.err,
        "Failure querying camera. Camera returned error message NAK.\nReading HSR: the camera refused it.\n"
        "Not read: ssp, llt, rlt\n");
}

}  // namespace
