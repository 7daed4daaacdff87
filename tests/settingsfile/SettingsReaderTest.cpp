// Reading settings files: by line position, with the failure counting and the
// limits on what a line may hold.
#include <cstring>
#include <random>

#include "SettingsFileSupport.h"
#include "camera/Composite.h"
#include "camera/Models.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsLines.h"

namespace {

class SettingsReaderTest : public SettingsFileTest {
protected:
    // The hand-written file with some of its lines (0-based) replaced.
    std::string fileWith(std::initializer_list<std::pair<int, const char*>> replacements, bool crlf = true)
    {
        std::vector<std::string> lines;
        const std::string text = KnownValuesFile("comment");
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(text.substr(start, end - start));
        for (const auto& [index, line] : replacements) lines[static_cast<std::size_t>(index)] = line;
        std::string out;
        for (const std::string& line : lines) out += line + (crlf ? "\r\n" : "\n");
        return out;
    }

    static std::vector<std::string> knownLines()
    {
        std::vector<std::string> lines;
        const std::string text = KnownValuesFile("comment");
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    static std::string joined(const std::vector<std::string>& lines)
    {
        std::string out;
        for (const std::string& line : lines) out += line + "\r\n";
        return out;
    }

    int read(const std::string& text, int* failures)
    {
        writeAll(path("in.cfg"), text);
        main_ = {};
        adv_ = {};
        return ReadSettingsFile(path("in.cfg").c_str(), &main_, &adv_, failures);
    }

    CamMainSettings main_{};
    CamAdvSettings adv_{};
};

// Reading a file and writing the records again gives the same text: every
// value survives its own format.
TEST_F(SettingsReaderTest, EveryLineTheWriterWritesReadsBackToItsValue)
{
    // The reader passes over the version lines, so they come back empty.
    const std::string original = fileWith({{3, "Firmware verson: "}, {4, "FPGA version: "}});
    int failures = -1;
    ASSERT_EQ(read(original, &failures), 0);
    EXPECT_EQ(failures, 0);
    const int out = RT_OpenFile(path("again.cfg").c_str(), RT_WRITE);
    WriteSettingsLines(out, "comment", main_, adv_);
    ASSERT_EQ(RT_CloseFile(out), 0);
    EXPECT_EQ(readAll(path("again.cfg")), original);
}

TEST_F(SettingsReaderTest, LineEndsMayBeCrLfOrLf)
{
    int failures = -1;
    ASSERT_EQ(read(fileWith({}, false), &failures), 0);
    const CamMainSettings lfMain = main_;
    ASSERT_EQ(read(fileWith({}, true), &failures), 0);
    EXPECT_EQ(std::memcmp(&lfMain, &main_, sizeof main_), 0);
    EXPECT_FLOAT_EQ(main_.zmc, -1.417323f);
}

TEST_F(SettingsReaderTest, FiveUnreadableLinesAreToleratedTheSixthAborts)
{
    int failures = -1;
    EXPECT_EQ(read(fileWith({{7, "AGN: x"}, {8, "ALV:"}, {18, "SB2 no colon 5"}, {47, ""}, {80, "SLT: -"}}),
                   &failures),
              0);
    EXPECT_EQ(failures, 5);
    EXPECT_EQ(main_.agn, 0.0f);  // a failed line leaves its field as it was
    EXPECT_EQ(main_.alv, 0);
    EXPECT_EQ(main_.srt, 0);
    EXPECT_EQ(main_.slr, 200);  // later lines still read

    EXPECT_EQ(read(fileWith({{7, "x"}, {8, "x"}, {9, "x"}, {10, "x"}, {11, "x"}, {12, "x"}}), &failures), 1);
    EXPECT_EQ(failures, 6);
    EXPECT_EQ(main_.cgr, 0.0f);  // reading stopped at the sixth
}

TEST_F(SettingsReaderTest, MatrixLinesNeverCount)
{
    int failures = -1;
    EXPECT_EQ(read(fileWith({{49, "x"},
                             {50, "K[GREEN1]"},
                             {51, "K[BLUE1]: ?"},
                             {52, "x"},
                             {53, "x"},
                             {54, "x"},
                             {55, "x"},
                             {56, "x"},
                             {57, "x"},
                             {7, "x"},
                             {8, "x"}}),
                   &failures),
              0);
    EXPECT_EQ(failures, 2);
    for (float k : adv_.k) EXPECT_EQ(k, 0.0f);
}

TEST_F(SettingsReaderTest, ShortFileCountsEveryMissingLine)
{
    const std::string full = fileWith({});
    std::size_t cut = 0;
    for (int i = 0; i < 85; ++i) cut = full.find("\r\n", cut) + 2;
    int failures = -1;
    EXPECT_EQ(read(full.substr(0, cut), &failures), 0);  // lines 85..89 missing: five
    EXPECT_EQ(failures, 5);
    cut = full.rfind("\r\n", cut - 3) + 2;
    EXPECT_EQ(read(full.substr(0, cut), &failures), 1);  // one more missing: aborted
    EXPECT_EQ(read("", &failures), 1);
}

TEST_F(SettingsReaderTest, LinesWithoutAKnownKeyAreTakenByPosition)
{
    int failures = -1;
    ASSERT_EQ(read(fileWith({{0, "anything"},
                             {1, "at all"},
                             {2, "Camera model index: banana"},
                             {3, ""},
                             {4, "\x01\x02"},
                             {7, "Gain is -3.5 dB"},
                             {8, "level=42"},
                             {18, "SB2 = 1 : 1"},
                             {39, "FOC: 2.5"},
                             {20, "ZMC: 1.5"}}),
                   &failures),
              0);
    EXPECT_EQ(failures, 0);
    EXPECT_FLOAT_EQ(main_.agn, -3.5f);
    EXPECT_EQ(main_.alv, 42);
    EXPECT_EQ(main_.dfc_access, 1);    // after the colon, not the digit in the key
    EXPECT_FLOAT_EQ(main_.zmc, 2.5f);  // line 39 is the zoom whatever its key says
    EXPECT_FLOAT_EQ(main_.foc, 1.5f);
}

TEST_F(SettingsReaderTest, WdsIsCutToAnIntegerAndIdTextsToSixteenCharacters)
{
    int failures = -1;
    ASSERT_EQ(read(fileWith({{48, "WDS: 2.9"},
                             {5, "Camera ID String:    ABCDEFGHIJKLMNOPQRST"},
                             {6, "Customer ID String:"}}),
                   &failures),
              0);
    EXPECT_EQ(adv_.wds, 2);
    EXPECT_STREQ(adv_.sno, "ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(adv_.cid, "");
}

TEST_F(SettingsReaderTest, BinaryJunkAndEnormousLinesCostNoMemoryAndAbort)
{
    std::mt19937 random(7);
    std::string junk(4 << 20, '\0');
    for (char& c : junk) c = static_cast<char>(random() % 256);
    int failures = -1;
    EXPECT_EQ(read(junk, &failures), 1);

    // One enormous line in the middle is one unreadable line.
    const std::string huge = std::string("ALV: ") + std::string(100 << 10, '7');
    std::string text = fileWith({});
    const std::size_t at = text.find("ALV: 140");
    text.replace(at, 8, huge);
    EXPECT_EQ(read(text, &failures), 0);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(main_.amx, 24.006399f);  // the lines after it are where they were

    // A file larger than any settings file stops the read.
    text.replace(text.find(huge), huge.size(), std::string("ALV: ") + std::string(2 << 20, '7'));
    EXPECT_EQ(read(text, &failures), 1);
}

TEST_F(SettingsReaderTest, MissingFileCannotBeRead)
{
    EXPECT_EQ(ReadSettingsFile(path("missing.cfg").c_str(), &main_, &adv_), -1);
}

// Each 0/1 setting read at both of its values: a reader that read a constant,
// or a digit of the key, cannot pass both.
TEST_F(SettingsReaderTest, EveryOnOffSettingReadsAtBothValues)
{
    int failures = -1;
    ASSERT_EQ(read(KnownValuesFile("comment"), &failures), 0);
    const CamMainSettings knownMain = main_;
    const CamAdvSettings knownAdv = adv_;
    ASSERT_EQ(read(OnOffFlippedFile("comment"), &failures), 0);
    EXPECT_EQ(failures, 0);
    const std::pair<const char*, int> known[] = {
        {"CMD", 1}, {"DFC", 1}, {"ESH", 1}, {"BIN", 0}, {"SB2", 0}, {"GAM", 1}, {"IFC", 1},
        {"MFT", 1}, {"MIR", 0}, {"SHE", 1}, {"TMD", 0}, {"VMD", 0}, {"VPS", 1}, {"AEC", 0},
        {"SB1", 0}, {"WDS", 1}, {"WBM", 0}, {"SHA", 1}, {"SEN", 0}, {"CDI", 1}, {"SSE", 1},
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
    int failures = -1;
    ASSERT_EQ(read(KnownValuesFile("comment"), &failures), 0);
    const CamMainSettings wholeMain = main_;
    const CamAdvSettings wholeAdv = adv_;

    std::vector<std::string> lines = knownLines();
    lines.erase(lines.begin() + 10, lines.begin() + 13);  // BTS, CGB, CGG
    ASSERT_EQ(read(joined(lines), &failures), 0);
    EXPECT_EQ(failures, 3);
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
    ASSERT_EQ(read(joined(lines), &failures), 0);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(std::memcmp(&main_, &wholeMain, sizeof main_), 0);
    EXPECT_EQ(std::memcmp(&adv_, &wholeAdv, sizeof adv_), 0);
    EXPECT_FLOAT_EQ(main_.agn, 12.496f);
}

// The first lines hold free text: a comment that reads like a setting is
// still the comment.
TEST_F(SettingsReaderTest, TheFirstLinesAreNeverTakenForSettings)
{
    int failures = -1;
    ASSERT_EQ(read(fileWith({{1, "AGN: 3"}, {0, "ALV: 9"}, {2, "Camera model index: 7"}}), &failures), 0);
    EXPECT_EQ(failures, 0);
    EXPECT_FLOAT_EQ(main_.agn, 12.496f);
    EXPECT_EQ(main_.alv, 140);
}

// FOC is the focus's key and, further down, the zoom's: two such lines go to
// them in order; a single one to the setting its position is nearer to.
TEST_F(SettingsReaderTest, TheTwiceUsedFocusKeyGoesByOrderThenByPosition)
{
    int failures = -1;
    std::vector<std::string> lines = knownLines();
    lines.erase(lines.begin() + 20);  // the focus
    ASSERT_EQ(read(joined(lines), &failures), 0);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(main_.foc, 0.0f);
    EXPECT_FLOAT_EQ(main_.zmc, -1.417323f);

    lines = knownLines();
    lines.erase(lines.begin() + 39);  // the zoom
    ASSERT_EQ(read(joined(lines), &failures), 0);
    EXPECT_EQ(failures, 1);
    EXPECT_FLOAT_EQ(main_.foc, 9.0f);
    EXPECT_EQ(main_.zmc, 0.0f);

    lines = knownLines();
    lines.erase(lines.begin() + 11, lines.begin() + 16);  // five lines before the focus
    ASSERT_EQ(read(joined(lines), &failures), 0);
    EXPECT_EQ(failures, 5);
    EXPECT_FLOAT_EQ(main_.foc, 9.0f);
    EXPECT_FLOAT_EQ(main_.zmc, -1.417323f);
}

// A value that is no number, or whose count would not fit the camera's 32-bit
// register, is an unreadable line: sent, it would arrive as another number.
TEST_F(SettingsReaderTest, ValuesWithoutACountAreUnreadable)
{
    int failures = -1;
    ASSERT_EQ(read(fileWith({{7, "AGN: 3e38"},
                             {8, "ALV: 99999999999"},
                             {9, "AMX: 76000000"},
                             {10, "BTS: 0x10"},  // reads as 0, as strtol reads it
                             {79, "SSA: 90"},
                             {20, "FOC: 9.0"}}),
                   &failures),
              0);
    EXPECT_EQ(failures, 4);
    EXPECT_EQ(main_.agn, 0.0f);
    EXPECT_EQ(main_.amx, 0.0f);
    EXPECT_EQ(main_.ssa, 0);
    EXPECT_EQ(adv_.bts, 0);
    ASSERT_EQ(read(fileWith({{9, "AMX: 75000000"}}), &failures), 0);  // 2,130,675,029.75 counts fit
    EXPECT_EQ(failures, 0);
    EXPECT_FLOAT_EQ(main_.amx, 75000000.0f);
}

// The search for the count a value was printed from looks at the counts next
// to it; at the end of int there are none above or below, and it overflowed
// (signed overflow: the sanitizer build, build-asan, stops on it).
TEST_F(SettingsReaderTest, AValueAtTheLastCountSnapsToThatCount)
{
    Comm_RecordModel(5);  // VKC-475: the pedestal is in millivolts, one count each
    const int vpd = SettingsLineIndex("VPD");
    ASSERT_GE(vpd, 0);
    int failures = -1;
    ASSERT_EQ(read(fileWith({{vpd, "VPD: -2147483648.000000"}}), &failures), 0);
    EXPECT_EQ(failures, 0);
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
    const int pos = SettingsLineIndex("RST Pos");
    const int neg = SettingsLineIndex("RST Neg");
    ASSERT_GE(pos, 0);
    ASSERT_GE(neg, 0);
    int failures = -1;
    ASSERT_EQ(read(fileWith({{pos, "RST Pos: 37509202"}, {neg, "RST Neg: 0"}}), &failures), 0);
    EXPECT_EQ(main_.rst_pos, 37509202);
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
