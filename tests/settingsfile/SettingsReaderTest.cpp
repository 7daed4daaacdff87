// Reading settings files: lines by their keys, values in the writer's
// notation and within range, the failure counting and the limits on what a
// line may hold.
#include <algorithm>
#include <cstring>
#include <random>

#include "SettingsFileSupport.h"
#include "camera/Composite.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsLines.h"

namespace {

class SettingsReaderTest : public SettingsFileTest {
protected:
    // The file's own model, whose ranges its values are read against.
    void SetUp() override
    {
        SettingsFileTest::SetUp();     // a VKC-475
        Settings_AskLongestShutter();  // 625 lines
    }

    static std::vector<std::string> knownLines() { return SplitLines(KnownValuesFile("comment")); }
    static std::string joined(const std::vector<std::string>& lines, const char* end = "\r\n")
    {
        std::string out;
        for (const std::string& line : lines) out += line + end;
        return out;
    }
    // The hand-written file with some of its lines (0-based) replaced.
    static std::string fileWith(std::initializer_list<std::pair<int, const char*>> replacements,
                                const char* end = "\r\n")
    {
        std::vector<std::string> lines = knownLines();
        for (const auto& [index, line] : replacements) lines[static_cast<std::size_t>(index)] = line;
        return joined(lines, end);
    }

    // Writes text to the file to read, the records and the failure count cleared.
    std::string prepare(const std::string& text)
    {
        writeAll(path("in.cfg"), text);
        main_ = {};
        adv_ = {};
        failures_ = -1;
        return path("in.cfg");
    }
    // Reads text as the program reads a file, counting its failures.
    int read(const std::string& text)
    {
        return ReadSettingsFile(prepare(text).c_str(), &main_, &adv_, &failures_);
    }
    // Reads text as the load does, with what it tells of each line.
    int load(const std::string& text, std::vector<SettingsLineFailure>* failed,
             SettingsLineSet* lines = nullptr, int* model = nullptr)
    {
        const int file = RT_OpenFile(prepare(text).c_str(), RT_READ);
        const int result = F_LoadSet_ReadSettings(file, 0, &main_, &adv_, &failures_, lines, failed, model);
        RT_CloseFile(file);
        return result;
    }

    int failures_ = -1;
    CamMainSettings main_{};
    CamAdvSettings adv_{};
};

// Reading a file, its lines ended by CR LF or by LF alone, and writing the
// records again gives the same text: every value survives its own format.
TEST_F(SettingsReaderTest, EveryLineTheWriterWritesReadsBackToItsValue)
{
    // The reader passes over the version lines, so they come back empty.
    const std::pair<int, const char*> versions[] = {{3, "Firmware verson: "}, {4, "FPGA version: "}};
    for (const char* end : {"\r\n", "\n"}) {
        SCOPED_TRACE(end[1] ? "CR LF" : "LF");
        ASSERT_EQ(read(fileWith({versions[0], versions[1]}, end)), 0);
        EXPECT_EQ(failures_, 0);
        EXPECT_FLOAT_EQ(main_.zmc, -1.417323f);
        const int out = RT_OpenFile(path("again.cfg").c_str(), RT_WRITE);
        WriteSettingsLines(out, "comment", main_, adv_);
        ASSERT_EQ(RT_CloseFile(out), 0);
        EXPECT_EQ(readAll(path("again.cfg")), fileWith({versions[0], versions[1]}));
    }
}

// Each line that is not a value of its setting in the writer's notation,
// within the range the camera's model takes, fails alone: nothing is read
// from it, and the failure names its line, key, text and reason.
TEST_F(SettingsReaderTest, ALineNotInTheWritersNotationOrRangeFailsAlone)
{
    // VKC-475: colour 47x, gain 0 to 30 dB
    const struct {
        int index;
        const char* text;
        const char* reason;
    } cases[] = {
        {61, "LRY: 0x10", "not a whole number"},
        {69, "SHG: 0x10", "not a number"},
        {8, "ALV: 77abc", "not a whole number"},
        {8, "ALV: 300", "out of range: ALC Level takes 20 to 255"},
        {49, "K[RED1]: nan", "not a number"},
        {49, "K[RED1]: 4.00", "out of range: Color Correction Row 1 Red takes 0 to 3.992"},
        {79, "SSA: 89", "out of range: Split Screen Angle takes -10 to 10 deg"},
        {44, "USA: 206348", "out of range: U-Sat takes 0 to 100 %"},
        {69, "SHG: 0", "out of range: Sharpening Gain takes 1 to 2 x"},
        {7, "AGN: 3e38", "not a number"},
        {7, "AGN: 30.5", "out of range: Manual Gain takes 0 to 30 dB"},
        {9, "AMX: 76000000", "out of range: ALC Max Gain takes 0 to 30 dB"},
        {10, "BTS: +", "not a whole number"},
        {8, "ALV:", "not a whole number"},
        {26, "MFI: 2", "out of range: MFI Input takes 0 to 1"},
        {30, "SHS: 626", "out of range: Shutter Speed takes 1 to 625 lines"},
        {5, "Camera ID String: ABCDEFGHIJKLMNOPQ", "longer than 16 characters"},
        {6, "Customer ID String: A\tB", "not printable text"},
        {2, "Camera model index: 13", "no such model"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SettingsLineSet lines;
        std::vector<SettingsLineFailure> failed;
        EXPECT_EQ(load(fileWith({{c.index, c.text}}), &failed, &lines), 0);
        ASSERT_EQ(failures_, 1);
        ASSERT_EQ(failed.size(), 1u);
        EXPECT_EQ(failed[0].line, c.index + 1);
        std::string quoted = c.text;
        std::replace(quoted.begin(), quoted.end(), '\t', '?');
        EXPECT_EQ(failed[0].text, quoted);
        EXPECT_EQ(failed[0].reason, c.reason);
        EXPECT_FALSE(lines.test(static_cast<std::size_t>(c.index)));
        const SettingsLine& line = SettingsFileLines()[static_cast<std::size_t>(c.index)];
        if (line.field == LineField::Text) {
            EXPECT_STREQ(SettingsLineText(line, main_, adv_), "");
        } else if (line.record != LineRecord::ModelRow) {
            EXPECT_EQ(SettingsLineNumber(line, main_, adv_), 0.0);
        }
    }
}

// Failures add up from lines of every kind; the sixth stops the load.
TEST_F(SettingsReaderTest, FiveFailedLinesAreToleratedTheSixthAborts)
{
    EXPECT_EQ(read(fileWith({{7, "AGN: x"}, {8, "ALV:"}, {18, "SB2 no colon 5"}, {47, ""}})), 0);
    // SB2's line has no key: it is a line of no setting, and SB2 is missing.
    // The blank line is passed over, and WDS is missing.
    EXPECT_EQ(failures_, 5);
    EXPECT_EQ(main_.agn, 0.0f);  // a failed line leaves its field as it was
    EXPECT_EQ(main_.alv, 0);
    EXPECT_EQ(main_.slr, 200);  // later lines still read

    EXPECT_EQ(read(fileWith({{7, "x"}, {8, "x"}, {9, "x"}})), 1);
    EXPECT_EQ(failures_, 6);
    // The coefficients count like every other line: two lines of no
    // setting, two coefficients missing, one not a number.
    EXPECT_EQ(read(fileWith({{49, "x"}, {50, "K[GREEN1]"}, {51, "K[BLUE1]: ?"}})), 0);
    EXPECT_EQ(failures_, 5);
}

// Every line after the comment is found by its key, the model, versions and
// identifier texts included; one that names no setting is a failure, never
// the setting of its position.
TEST_F(SettingsReaderTest, EveryLineButTheFirstTwoIsFoundByItsKey)
{
    std::vector<std::string> lines = knownLines();
    lines.erase(lines.begin() + 5);  // no "Camera ID String" line
    std::vector<SettingsLineFailure> failed;
    EXPECT_EQ(load(joined(lines), &failed), 0);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].line, 0);
    EXPECT_EQ(failed[0].key, "Camera ID String");
    EXPECT_EQ(failed[0].reason, "missing");
    EXPECT_STREQ(adv_.cid, "DEMO UNIT");
    EXPECT_FLOAT_EQ(main_.agn, 12.496f);

    lines = knownLines();
    std::swap(lines[2], lines[37]);  // the model line where VPD stands
    int model = -1;
    EXPECT_EQ(load(joined(lines), &failed, nullptr, &model), 0);
    EXPECT_EQ(failures_, 0);
    EXPECT_EQ(model, 5);
    EXPECT_FLOAT_EQ(adv_.vpd, 50.0f);

    // Two lines of no setting; AGN is missing, and the one FOC line left is
    // the focus, so the zoom is missing too.
    ASSERT_EQ(read(fileWith({{7, "Gain is -3.5 dB"}, {39, "ZMC: 1.5"}})), 0);
    EXPECT_EQ(failures_, 4);
    EXPECT_EQ(main_.agn, 0.0f);
    EXPECT_EQ(main_.zmc, 0.0f);
    EXPECT_FLOAT_EQ(main_.foc, 9.0f);
}

TEST_F(SettingsReaderTest, ShortFileCountsEveryMissingLineAndNoFileIsNoRead)
{
    const std::string full = fileWith({});
    std::size_t cut = 0;
    for (int i = 0; i < 85; ++i) cut = full.find("\r\n", cut) + 2;
    EXPECT_EQ(read(full.substr(0, cut)), 0);  // lines 85..89 missing: five
    EXPECT_EQ(failures_, 5);
    cut = full.rfind("\r\n", cut - 3) + 2;
    EXPECT_EQ(read(full.substr(0, cut)), 1);  // one more missing: aborted
    EXPECT_EQ(read(""), 1);
    EXPECT_EQ(ReadSettingsFile(path("missing.cfg").c_str(), &main_, &adv_), -1);
}

TEST_F(SettingsReaderTest, BinaryJunkAndEnormousLinesCostNoMemoryAndAbort)
{
    std::mt19937 random(7);
    std::string junk(4 << 20, '\0');
    for (char& c : junk) c = static_cast<char>(random() % 256);
    EXPECT_EQ(read(junk), 1);

    // One enormous line in the middle is one unreadable line.
    const std::string huge = std::string("ALV: ") + std::string(100 << 10, '7');
    std::string text = fileWith({});
    const std::size_t at = text.find("ALV: 140");
    text.replace(at, 8, huge);
    EXPECT_EQ(read(text), 0);
    EXPECT_EQ(failures_, 1);
    EXPECT_EQ(main_.amx, 24.006399f);  // the lines after it are where they were

    // A file larger than any settings file stops the read.
    text.replace(text.find(huge), huge.size(), std::string("ALV: ") + std::string(2 << 20, '7'));
    EXPECT_EQ(read(text), 1);
}

// Each 0/1 setting read at both of its values: a reader that read a constant,
// or a digit of the key, cannot pass both.
TEST_F(SettingsReaderTest, EveryOnOffSettingReadsAtBothValues)
{
    ASSERT_EQ(read(KnownValuesFile("comment")), 0);
    const CamMainSettings knownMain = main_;
    const CamAdvSettings knownAdv = adv_;
    ASSERT_EQ(read(OnOffFlippedFile("comment")), 0);
    EXPECT_EQ(failures_, 0);
    const std::pair<const char*, int> known[] = {
        {"CMD", 1}, {"DFC", 1}, {"ESH", 1}, {"BIN", 0}, {"SB2", 0}, {"GAM", 1}, {"MFT", 1},
        {"MIR", 0}, {"SHE", 1}, {"TMD", 0}, {"VMD", 0}, {"VPS", 1}, {"AEC", 0}, {"SB1", 0},
        {"WDS", 1}, {"WBM", 0}, {"SHA", 1}, {"SEN", 0}, {"CDI", 1}, {"SSE", 1},
    };
    static_assert(std::size(known) == std::size(kOnOffKeys));
    for (const auto& [key, value] : known) {
        const SettingsLine& line = SettingsFileLines()[static_cast<std::size_t>(SettingsLineIndex(key))];
        EXPECT_EQ(SettingsLineNumber(line, knownMain, knownAdv), value) << key;
        EXPECT_EQ(SettingsLineNumber(line, main_, adv_), 1 - value) << key;
    }
}

// Lines missing or added: a line with one of the format's keys carries that
// key's setting wherever it stands, so nothing after them shifts.
TEST_F(SettingsReaderTest, KeyedLinesFindTheirSettingsWhereverTheyStand)
{
    ASSERT_EQ(read(KnownValuesFile("comment")), 0);
    const CamMainSettings wholeMain = main_;
    const CamAdvSettings wholeAdv = adv_;

    std::vector<std::string> lines = knownLines();
    lines.erase(lines.begin() + 10, lines.begin() + 13);  // BTS, CGB, CGG
    ASSERT_EQ(read(joined(lines)), 0);
    EXPECT_EQ(failures_, 3);
    EXPECT_EQ(adv_.bts, 0);
    EXPECT_EQ(main_.cgb, 0.0f);
    EXPECT_EQ(main_.cgg, 0.0f);
    main_.cgb = wholeMain.cgb;
    main_.cgg = wholeMain.cgg;
    adv_.bts = wholeAdv.bts;
    EXPECT_EQ(std::memcmp(&main_, &wholeMain, sizeof main_), 0);  // CGR and every later line in place
    EXPECT_EQ(std::memcmp(&adv_, &wholeAdv, sizeof adv_), 0);
    EXPECT_FLOAT_EQ(main_.cgr, 0.927747f);
    EXPECT_EQ(main_.srb, 10);

    lines = knownLines();
    lines.insert(lines.begin() + 9, {"Checked on bench 2", "", "AGN_OLD: 4"});
    const std::string agn = lines[7];
    lines.erase(lines.begin() + 7);
    lines.push_back(agn);  // moved to the end
    ASSERT_EQ(read(joined(lines)), 0);
    EXPECT_EQ(failures_, 2);  // the two lines of no setting; the blank one is passed over
    EXPECT_EQ(std::memcmp(&main_, &wholeMain, sizeof main_), 0);
    EXPECT_EQ(std::memcmp(&adv_, &wholeAdv, sizeof adv_), 0);
    EXPECT_FLOAT_EQ(main_.agn, 12.496f);
}

// The first lines hold free text: a comment that reads like a setting is
// still the comment.  A real read into WDS, the one integer the reader takes
// in decimals, is cut toward zero; an identifier text keeps its inner blanks.
TEST_F(SettingsReaderTest, TheFirstLinesAreNeverSettingsWdsIsCutAndIdTextsKeepInnerBlanks)
{
    ASSERT_EQ(read(fileWith({{1, "AGN: 3"},
                             {0, "ALV: 9"},
                             {2, "Camera model index: 7"},
                             {48, "WDS: 1.9"},
                             {6, "Customer ID String:  BENCH  7 "}})),
              0);
    EXPECT_EQ(failures_, 0);
    EXPECT_FLOAT_EQ(main_.agn, 12.496f);
    EXPECT_EQ(main_.alv, 140);
    EXPECT_EQ(adv_.wds, 1);
    EXPECT_STREQ(adv_.cid, "BENCH  7");
}

// FOC is the focus's key and, further down, the zoom's: two such lines go to
// them in order; a single one to the setting its position is nearer to.
TEST_F(SettingsReaderTest, TheTwiceUsedFocusKeyGoesByOrderThenByPosition)
{
    const struct {
        int from, to;  // the lines taken out
        int failures;
        float foc, zmc;
    } cases[] = {
        {20, 21, 1, 0.0f, -1.417323f},  // the focus
        {39, 40, 1, 9.0f, 0.0f},        // the zoom
        {11, 16, 5, 9.0f, -1.417323f},  // five lines before the focus
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        std::vector<std::string> lines = knownLines();
        lines.erase(lines.begin() + c.from, lines.begin() + c.to);
        ASSERT_EQ(read(joined(lines)), 0);
        EXPECT_EQ(failures_, c.failures);
        EXPECT_FLOAT_EQ(main_.foc, c.foc);
        EXPECT_FLOAT_EQ(main_.zmc, c.zmc);
    }
}

// The search for the count a value was printed from looks at the counts next
// to it; at the end of int there are none above or below, and it overflowed
// (signed overflow: the sanitizer build, build-asan, stops on it).
TEST_F(SettingsReaderTest, AValueAtTheLastCountSnapsToThatCount)
{
    Comm_RecordModel(5);  // VKC-475: the pedestal is in millivolts, one count each
    const int vpd = SettingsLineIndex("VPD");
    ASSERT_GE(vpd, 0);
    adv_.vpd = -2147483648.0f;
    SettingsLineSet lines;
    lines.set(static_cast<std::size_t>(vpd));
    SnapToPrintedCounts(&main_, &adv_, lines);
    EXPECT_EQ(adv_.vpd, -2147483648.0f);
}

// The reset edges go to the camera packed as pos x 256 + neg.  An edge far
// beyond a byte overflowed int when the comparison packed it (found by the
// settings fuzz target): 37509202 x 256 wraps to 1012421120 on the wire,
// whose high byte is 82 and low byte 0.
TEST_F(SettingsReaderTest, AResetEdgeBeyondAByteIsComparedAsTheCameraWouldHoldIt)
{
    Comm_RecordModel(5);
    main_.rst_pos = 37509202;
    main_.rst_neg = 0;
    EXPECT_EQ(Comm_PackRSE(37509202, 0), 1012421120);

    CamMainSettings camera = main_;
    camera.rst_pos = 82;
    camera.rst_neg = 0;
    for (const SettingsDifference& d : DiffSettings(main_, adv_, camera, adv_))
        EXPECT_NE(d.name.rfind("RST", 0), 0u)
            << d.name << ": file " << d.fileValue << ", camera " << d.cameraValue;

    camera.rst_pos = 3;  // a camera that did not take it
    const auto differences = DiffSettings(main_, adv_, camera, adv_);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].name, "RST Pos");
    EXPECT_EQ(differences[0].fileValue, "37509202");
    EXPECT_EQ(differences[0].cameraValue, "3");
}

}  // namespace
