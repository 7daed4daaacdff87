// "ICCD.ini": the fifteen lines as written, read back, and what counts as a
// file that cannot be used.
#include <QDir>
#include <QFile>
#include <cstring>
#include <string>

#include "AppFixture.h"
#include "app/Prefs.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"

namespace {

const char kDefaultFile[] =
    "Camera Comm Port: 1\r\n"
    "Camera Baud Rate: 9600\r\n"
    "Save Set No: 1\r\n"
    "Zoom Max V: 9.0\r\n"
    "Zoom Coarse Adjust: 10\r\n"
    "Zoom Fine Adjust: 1\r\n"
    "Focus Max V: 9.0\r\n"
    "Focus Coarse Adjust: 10\r\n"
    "Focus Fine Adjust: 1\r\n"
    "Iris Max V: 9.0\r\n"
    "Iris Coarse Adjust: 10\r\n"
    "Iris Fine Adjust: 1\r\n"
    "Label 1:Zoom Control\r\n"
    "Label 2:Focus Control\r\n"
    "Label 3:Iris Control\r\n";

class PrefsFile : public AppTest {
protected:
    void write(const std::string& text)
    {
        QFile file(QString::fromStdString(path(kPrefsFileName)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    // Values no default has, so that a fall-back to the defaults shows.
    static void setUnusual()
    {
        g_com_port = 7;
        g_com_baud = 19200;
        g_set_no = 2;
        g_zoom_maxv = 7.5f, g_zoom_coarse = 12.0f, g_zoom_fine = 2.0f;
        g_focus_maxv = 8.0f, g_focus_coarse = 20.4f, g_focus_fine = 2.5f;
        g_iris_maxv = 6.34f, g_iris_coarse = 5.0f, g_iris_fine = 0.4f;
        SetLensLabel(g_label1, "Tele");
        SetLensLabel(g_label2, "Near: Far");
        SetLensLabel(g_label3, "");
    }

    static void expectDefaults()
    {
        EXPECT_EQ(g_com_port, 1);
        EXPECT_EQ(g_com_baud, 9600);
        EXPECT_EQ(g_set_no, 1);
        EXPECT_FLOAT_EQ(g_zoom_maxv, 9.0f);
        EXPECT_FLOAT_EQ(g_focus_coarse, 10.0f);
        EXPECT_FLOAT_EQ(g_iris_fine, 1.0f);
        EXPECT_STREQ(g_label1, "Zoom Control");
        EXPECT_STREQ(g_label3, "Iris Control");
    }
};

TEST_F(PrefsFile, DefaultsWhenTheFileIsMissing)
{
    setUnusual();
    EXPECT_EQ(InitState(), 1);
    expectDefaults();
    ASSERT_EQ(SaveState(), 0);
    EXPECT_EQ(iniText(), kDefaultFile);
}

TEST_F(PrefsFile, AllFifteenLinesRoundTrip)
{
    setUnusual();
    ASSERT_EQ(SaveState(), 0);
    const std::vector<std::string> lines = iniLines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Camera Comm Port: 7");
    EXPECT_EQ(lines[1], "Camera Baud Rate: 19200");
    EXPECT_EQ(lines[2], "Save Set No: 2");
    EXPECT_EQ(lines[3], "Zoom Max V: 7.5");
    EXPECT_EQ(lines[7], "Focus Coarse Adjust: 20");  // step sizes as whole numbers
    EXPECT_EQ(lines[8], "Focus Fine Adjust: 3");     // half goes up
    EXPECT_EQ(lines[9], "Iris Max V: 6.3");
    EXPECT_EQ(lines[13], "Label 2:Near: Far");
    EXPECT_EQ(lines[14], "Label 3:");

    SetDefaultPrefs();
    ASSERT_EQ(InitState(), 0);
    EXPECT_EQ(g_com_port, 7);
    EXPECT_EQ(g_com_baud, 19200);
    EXPECT_EQ(g_set_no, 2);
    EXPECT_FLOAT_EQ(g_zoom_maxv, 7.5f);
    EXPECT_FLOAT_EQ(g_zoom_coarse, 12.0f);
    EXPECT_FLOAT_EQ(g_focus_fine, 3.0f);
    EXPECT_FLOAT_EQ(g_iris_maxv, 6.3f);
    EXPECT_FLOAT_EQ(g_iris_fine, 0.0f);
    EXPECT_STREQ(g_label1, "Tele");
    EXPECT_STREQ(g_label2, "Near: Far");  // only the first colon ends the caption
    EXPECT_STREQ(g_label3, "");
}

TEST_F(PrefsFile, HandEditedCaptionsAndLineEndsAreRead)
{
    std::string text = kDefaultFile;
    auto replace = [&text](const char* from, const char* to) {
        text.replace(text.find(from), std::strlen(from), to);
    };
    replace("Camera Comm Port: 1", "Port of the camera:   4  ");
    replace("Zoom Max V: 9.0", "Zoom max-V .. 7.5");
    replace("Label 1:Zoom Control", "Zoom caption:Lens A");
    std::erase(text, '\r');  // LF line ends, as an editor on Linux leaves them
    write(text);
    ASSERT_EQ(InitState(), 0);
    EXPECT_EQ(g_com_port, 4);
    EXPECT_FLOAT_EQ(g_zoom_maxv, 7.5f);
    EXPECT_STREQ(g_label1, "Lens A");
}

TEST_F(PrefsFile, LongCaptionsAreCutToTwentyThreeCharacters)
{
    std::string text = kDefaultFile;
    const std::string longCaption(300, 'x');  // longer than a line the reader holds, too
    text.replace(text.find("Label 1:Zoom Control"), 20, "Label 1:" + longCaption);
    text.replace(text.find("Focus Control"), 13, "Focus of the front lens group");
    write(text);
    ASSERT_EQ(InitState(), 0);
    EXPECT_EQ(std::string(g_label1), std::string(23, 'x'));
    EXPECT_STREQ(g_label2, "Focus of the front lens");
    EXPECT_STREQ(g_label3, "Iris Control");  // the line after a long one is still its own
}

TEST_F(PrefsFile, AnyUnreadableLineGivesAllDefaults)
{
    const std::vector<std::pair<const char*, const char*>> breakages = {
        {"Camera Baud Rate: 9600", "Camera Baud Rate: fast"},
        {"Zoom Fine Adjust: 1", "Zoom Fine Adjust:"},
        {"Label 2:Focus Control", "Label 2 Focus Control"},
        {"Label 3:Iris Control\r\n", ""},  // fourteen lines
        {"Camera Comm Port: 5", "Camera Comm Port: 40"},
        {"Camera Baud Rate: 9600", "Camera Baud Rate: 0"},
        {"Iris Max V: 9.0", "Iris Max V: nan"},
    };
    for (const auto& [from, to] : breakages) {
        std::string text = kDefaultFile;
        text.replace(text.find("Camera Comm Port: 1"), 19, "Camera Comm Port: 5");
        text.replace(text.find("Zoom Max V: 9.0"), 15, "Zoom Max V: 4.0");
        text.replace(text.find(from), std::strlen(from), to);
        write(text);
        setUnusual();
        EXPECT_EQ(InitState(), 1) << to;
        expectDefaults();  // also the port and voltage, whose lines were good
    }
    write("");
    EXPECT_EQ(InitState(), 1);
}

TEST_F(PrefsFile, SavingReplacesTheFileWhole)
{
    write(std::string(kDefaultFile) + "an old sixteenth line that must go\r\n");
    setUnusual();
    ASSERT_EQ(SaveState(), 0);
    EXPECT_EQ(iniLines().size(), 15u);
    EXPECT_EQ(QDir(dir_->path()).entryList(QDir::Files),
              QStringList{kPrefsFileName});  // nothing left beside it

    EXPECT_EQ(WritePrefsFile(path("no-such-dir/ICCD.ini").c_str()), -1);
}

}  // namespace
