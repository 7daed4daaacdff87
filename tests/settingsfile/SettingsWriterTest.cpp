// Writing settings files: the 90 lines, their formats, and what happens when
// the camera or the disk fails.
#include <QDir>
#include <algorithm>

#include "SettingsFileSupport.h"
#include "camera/Link.h"

namespace {

class SettingsWriterTest : public SettingsFileTest {};

TEST_F(SettingsWriterTest, ColourCameraFileMatchesTheHandWrittenFile)
{
    setKnownValues(camera());
    ASSERT_EQ(SaveSettingsFile(path("colour.cfg").c_str(), "Bench 4, gain 12 dB"), 0);
    EXPECT_EQ(readAll(path("colour.cfg")), KnownValuesFile("Bench 4, gain 12 dB"));
    EXPECT_TRUE(ui_.events.empty());
}

TEST_F(SettingsWriterTest, CommentBecomesOneLineOfAtMostEightyCharacters)
{
    const std::string comment = "first line\nsecond\tline\r" + std::string(100, 'x');
    ASSERT_EQ(SaveSettingsFile(path("c.cfg").c_str(), comment.c_str()), 0);
    const std::vector<std::string> lines = SplitLines(readAll(path("c.cfg")));
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[1], "first line second line " + std::string(57, 'x'));

    ASSERT_EQ(SaveSettingsFile(path("empty.cfg").c_str(), ""), 0);
    EXPECT_EQ(SplitLines(readAll(path("empty.cfg")))[1], "");
}

TEST_F(SettingsWriterTest, MonoCameraWritesEveryLineWithItsColourLinesAtZero)
{
    openSim("VK-470");
    ASSERT_EQ(SaveSettingsFile(path("mono.cfg").c_str(), "mono"), 0);
    const std::vector<std::string> lines = SplitLines(readAll(path("mono.cfg")));
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[2], "Camera model index: 4");
    for (int i : {11, 12, 13, 43, 44, 45, 46})
        EXPECT_EQ(lines[i].substr(lines[i].find(':')), ": 0.000000") << i;
    for (int i : {14, 23, 64}) EXPECT_EQ(lines[i].substr(lines[i].find(':')), ": 0") << i;
    for (int i = 49; i <= 57; ++i) EXPECT_EQ(lines[i].substr(lines[i].find(':')), ": 0.00") << i;
    EXPECT_NE(lines[38], "VWC: 0.000000");  // this class has a white clip
}

TEST_F(SettingsWriterTest, AFailedPassKeepsTheExistingFileWritesNothingAndSaysWhy)
{
    writeAll(path("keep.cfg"), "precious\r\n");
    camera().faults().refuse = {"SB1", "SB2", "SHE", "AEC"};
    EXPECT_EQ(SaveSettingsFile(path("keep.cfg").c_str(), "x"), COMM_NAK);
    EXPECT_EQ(readAll(path("keep.cfg")), "precious\r\n");
    EXPECT_EQ(ui_.events,
              std::vector<std::string>{"ERROR: Failure querying camera for current settings. "
                                       "File not saved.\nCamera returned error message NAK.\n"
                                       "Reading SB1 (ALC User Access): the camera refused it.\n"
                                       "Not read: AEC, AGN, ALV, AMX, AWB, AWW, CGB, CGG, CGR, CMD, DFC, "
                                       "FOC, IPH, IRC, GAM, MFI, MIR, MFT, SB1, SB2, SHE, SHS, SMX, YGA, "
                                       "USA, VSA, HUE, ZMC, WBM, DOU, SHD, SHP, CRSAT, CBSAT, RST Pos, "
                                       "RST Neg, SHA, SEN, SHG, SSE, SSP, LLT, RLT, SSA, SLT, SRT, SLR, "
                                       "SLG, SLB, SRR, SRG, SRB, CBH, CRH."});
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"keep.cfg"});  // no temporary left behind
    EXPECT_EQ(camera().log().size(), 4u);  // the fourth failure ended the pass

    // A failed advanced pass writes nothing either.
    camera().faults().refuse = {"VER", "FPGA", "VPS", "VPD"};
    EXPECT_NE(SaveSettingsFile(path("none.cfg").c_str(), "x"), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("none.cfg"))));
}

TEST_F(SettingsWriterTest, UnwritableFolderIsReported)
{
    EXPECT_EQ(SaveSettingsFile("/nonexistent-folder/x.cfg", "x"), -1);
    ASSERT_EQ(ui_.events.size(), 1u);
    EXPECT_EQ(ui_.events[0].rfind("ERROR: ", 0), 0u);
    EXPECT_TRUE(camera().log().empty());  // nothing asked of the camera
}

}  // namespace
