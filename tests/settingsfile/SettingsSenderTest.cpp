// Sending a settings file to the camera: the order of the steps, the failure
// counting, and the stages the operator sees.
#include <set>

#include "SettingsFileSupport.h"
#include "camera/Globals.h"
#include "camera/SettingsTable.h"
#include "platform/TextFile.h"

namespace {

class SettingsSenderTest : public SettingsFileTest {
protected:
    // Loads the hand-written file into the camera on port 1.
    SettingsLoadResult load(const std::string& text)
    {
        writeAll(path("load.cfg"), text);
        const int file = RT_OpenFile(path("load.cfg").c_str(), RT_READ);
        EXPECT_GT(file, 0);
        Settings_AskLongestShutter();  // as the panel knows it once connected
        camera().clearLog();
        return LoadSettingsFile(file);
    }
};

const std::vector<std::string> kStepOrder = {
    "CID=", "AGN=", "ALV=", "AMX=", "BTS=", "CGB=", "CGG=", "CGR=", "CMD=", "DFC=", "ESH=", "BIN=", "SB2=",
    "DKS=", "FOC=", "GAM=", "IFC=", "IPH=", "IRC=", "LAW=", "MFI=", "MFT=", "MIR=", "SHE=", "SHS=", "DOU=",
    "SHD=", "SHP=", "TMD=", "VMD=", "VPS=", "VPD=", "VWC=", "ZMC=", "ALM=", "SB1=", "AEC=", "SMX=", "YGA=",
    "USA=", "VSA=", "HUE=", "SB1=", "WDS=", "KR1=", "KG1=", "KB1=", "KR2=", "KG2=", "KB2=", "KR3=", "KG3=",
    "KB3=", "LRX=", "LRY=", "ULX=", "ULY=", "SAC?", "SAC=", "SAC?", "SAC=", "WBM=", "RSE=", "SHA=", "SEN=",
    "SHG=", "CD1=", "CD2=", "CD3=", "CD4=", "CDI=", "SSE=", "HSM=", "HSL=", "HSR=", "SSA=", "SLT=", "SLR=",
    "SLT=", "SLG=", "SLT=", "SLB=", "SRT=", "SRR=", "SRT=", "SRG=", "SRT=", "SRB=", "CBH=", "CRH=",
};

// What the operator sees of a load that was read and sent, with what comes
// between the sending and the re-read, and after it.
std::vector<std::string> Stages(const char* whileSending = nullptr, const char* atEnd = nullptr)
{
    std::vector<std::string> stages = {"progress: Reading Settings from File...",
                                       "progress: Sending Settings to Camera..."};
    if (whileSending) stages.push_back(whileSending);
    for (const char* s : {"progress: Refreshing displayed values...", "refresh", "done"}) stages.push_back(s);
    if (atEnd) stages.push_back(atEnd);
    return stages;
}

TEST_F(SettingsSenderTest, StepsGoOutInTheirFixedOrderEachReported)
{
    const SettingsLoadResult result = load(KnownValuesFile("x"));
    EXPECT_EQ(result.readFailures, 0);
    EXPECT_EQ(result.sendFailures, 0);
    EXPECT_EQ(sentCommands(), kStepOrder);
    EXPECT_EQ(camera().log()[33], ":ZMC=-20");  // line 39, under the FOC key, is the zoom
    EXPECT_EQ(ui_.events, Stages());
    EXPECT_EQ(ui_.lastStep, 64);  // every step reported
    EXPECT_EQ(ui_.steps, 64);
    EXPECT_FALSE(result.cancelled);
}

TEST_F(SettingsSenderTest, CameraIdStringIsSentOnlyInFactoryMode)
{
    camera().setText("SNO", "UNIT-OWN-ID");
    load(KnownValuesFile("x"));
    EXPECT_EQ(camera().text("SNO"), "UNIT-OWN-ID");
    EXPECT_EQ(camera().text("CID"), "DEMO UNIT");

    g_prog_type = 1;
    load(KnownValuesFile("x"));
    EXPECT_EQ(camera().log().front(), ":WSF=C4752120250317C2");
    EXPECT_EQ(camera().text("SNO"), "C4752120250317C2");
}

TEST_F(SettingsSenderTest, CancelStopsAfterTheStepUnderWay)
{
    // Cancelled once step 3 (AGN) is done: nothing of step 4 (ALV) goes out,
    // the camera is still re-read, and the operator is told how far it got.
    ui_.cancelAtStep = 3;
    SettingsLoadResult result = load(KnownValuesFile("x"));
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.stepsDone, 3);
    // Step 1, the unit's ID, is the factory's only.
    EXPECT_EQ(sentCommands(), (std::vector<std::string>{"CID=", "AGN="}));
    EXPECT_EQ(
        ui_.events,
        Stages(nullptr, "Load Settings From File: Load cancelled: 3 of 64 steps were sent to the camera."));

    // A cancel after the last step is no cancel.
    ui_.events.clear();
    ui_.cancelAtStep = 64;
    result = load(KnownValuesFile("x"));
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.stepsDone, 64);
}

TEST_F(SettingsSenderTest, SixthFailedStepAbortsAndTheCameraIsStillReread)
{
    camera().faults().refuse = {"AGN", "ALV", "AMX", "BTS", "CGB", "CGG"};
    const SettingsLoadResult result = load(KnownValuesFile("x"));
    EXPECT_TRUE(result.sendAborted);
    EXPECT_EQ(result.sendFailures, 6);
    EXPECT_EQ(sentCommands().back(), "CGG=");  // nothing after the sixth failure
    EXPECT_EQ(ui_.events, Stages("ERROR: Too many errors sending to camera. File load aborted."));
}

TEST_F(SettingsSenderTest, AutomaticExposureIsSentOnlyAfterAccessWasGranted)
{
    camera().faults().refuse = {"SB1"};
    const SettingsLoadResult result = load(KnownValuesFile("x"));
    const std::vector<std::string> sent = sentCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "AEC="), 0);
    EXPECT_EQ(result.sendFailures, 2);  // step 37 and step 43
}

// A step of several commands fails when any of them fails: a refused matrix
// write or split-screen position must not pass for sent.  Up to five failed
// steps stop nothing.
TEST_F(SettingsSenderTest, GroupStepFailsWhenAnyOfItsCommandsFails)
{
    const struct {
        std::set<std::string> refuse;
        int failures;
    } cases[] = {
        {{"KR1", "KG1", "KB1", "KR2", "KG2", "KB2", "KR3", "KG3"}, 1},  // KB3 taken
        {{"HSM"}, 1},  // the split position; the thicknesses taken
        {{"SLT"}, 1},  // the transparency goes with each colour: one step
        {{"KR1", "LRX"}, 2},
        {{"KB3", "ULY", "SRB"}, 3},
        {{"AGN", "ALV", "AMX", "BTS", "CRH"}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.refuse.begin());
        camera().faults().refuse = c.refuse;
        const SettingsLoadResult result = load(KnownValuesFile("x"));
        EXPECT_EQ(result.sendFailures, c.failures);
        EXPECT_FALSE(result.sendAborted);
        EXPECT_EQ(sentCommands(), kStepOrder);
    }
}

std::string Replaced(std::string text, const std::string& line, const std::string& by)
{
    const std::size_t at = text.find("\r\n" + line + "\r\n");
    EXPECT_NE(at, std::string::npos) << line;
    return text.replace(at + 2, line.size(), by);
}

// A line that cannot be read leaves 0 (or an empty text) in its field; sent,
// that would become the camera's setting.  Its setting is left alone.
TEST_F(SettingsSenderTest, LinesThatCannotBeReadAreNotSent)
{
    std::string text = KnownValuesFile("x");
    text = Replaced(text, "AGN: 12.496000", "AGN: nan");
    text = Replaced(text, "Customer ID String: DEMO UNIT", "Customer ID String: " + std::string(300, 'D'));
    text = Replaced(text, "K[RED1]: 1.50", "K[RED1]: ?");
    text = Replaced(text, "SLT: 20", "SLT: -");       // the left side's colours need it
    text = Replaced(text, "RST Neg: 5", "RST Neg:");  // sent packed with RST Pos
    camera().setReg("AGN", 355);
    camera().setText("CID", "BENCH 7");
    const SettingsLoadResult result = load(text);
    EXPECT_EQ(result.readFailures, 5);
    EXPECT_EQ(result.sendFailures, 0);
    std::vector<std::string> expected = kStepOrder;
    for (const char* skipped : {"CID=", "AGN=", "KR1=", "RSE="}) std::erase(expected, skipped);
    expected.erase(std::find(expected.begin(), expected.end(), "SLR=") - 1,
                   std::find(expected.begin(), expected.end(), "SLB=") + 1);
    EXPECT_EQ(sentCommands(), expected);
    EXPECT_EQ(camera().reg("AGN"), 355);
    EXPECT_EQ(camera().text("CID"), "BENCH 7");
}

TEST_F(SettingsSenderTest, AbortedReadSendsNothingAndDoesNotRefresh)
{
    std::string text;
    for (int i = 0; i < 90; ++i) text += "junk\r\n";
    const SettingsLoadResult result = load(text);
    EXPECT_TRUE(result.readAborted);
    EXPECT_TRUE(camera().log().empty());
    EXPECT_EQ(ui_.events,
              (std::vector<std::string>{"progress: Reading Settings from File...", "done",
                                        "ERROR: Too many errors reading settings file. File load aborted."}));
}

}  // namespace
