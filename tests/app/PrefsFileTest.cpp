// "ICCD.ini": the fifteen lines as written, read back, and what counts as a
// file that cannot be used.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppFixture.h"
#include "app/Prefs.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "platform/TextFile.h"

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

// Missing: the defaults, written as the whole file.  An old file is replaced
// whole, nothing left beside it.
TEST_F(PrefsFile, DefaultsWhenTheFileIsMissingAndSavingReplacesTheFileWhole)
{
    setUnusual();
    EXPECT_EQ(InitState(), 1);
    expectDefaults();
    ASSERT_EQ(SaveState(), 0);
    EXPECT_EQ(iniText(), kDefaultFile);

    write(std::string(kDefaultFile) + "an old sixteenth line that must go\r\n");
    setUnusual();
    ASSERT_EQ(SaveState(), 0);
    EXPECT_EQ(iniLines().size(), 15u);
    EXPECT_EQ(QDir(dir_->path()).entryList(QDir::Files), QStringList{kPrefsFileName});
    EXPECT_EQ(WritePrefsFile(path("no-such-dir/ICCD.ini").c_str()), -1);
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

    // Never inside a letter: "Zoomsteuerung äöüäöü" is 20 letters in 26 bytes;
    // the 23rd byte would be the first half of the fifth umlaut.
    SetLensLabel(g_label1, "Zoomsteuerung \xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_STREQ(g_label1, "Zoomsteuerung \xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4");
    EXPECT_EQ(std::strlen(g_label1), 22u);
}

TEST_F(PrefsFile, AnyUnreadableLineGivesAllDefaults)
{
    const std::vector<std::pair<const char*, const char*>> breakages = {
        {"Camera Baud Rate: 9600", "Camera Baud Rate: fast"},
        {"Zoom Fine Adjust: 1", "Zoom Fine Adjust:"},
        {"Label 2:Focus Control", "Label 2 Focus Control"},
        {"Label 3:Iris Control\r\n", ""},  // fourteen lines
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

// A value outside what the dialogs offer is never taken nor written back: that
// preference gets its default, and every other line keeps its own value.
TEST_F(PrefsFile, AValueOutOfRangeGivesOnlyItsOwnDefault)
{
    setUnusual();
    ASSERT_EQ(SaveState(), 0);
    const std::vector<std::string> unusual = iniLines();
    const std::vector<std::pair<std::string, std::string>> cases = {
        // line as edited, line written back
        {"Camera Comm Port: 40", "Camera Comm Port: 1"},
        {"Camera Baud Rate: 0", "Camera Baud Rate: 9600"},
        {"Save Set No: 7", "Save Set No: 1"},
        {"Focus Max V: 1e30", "Focus Max V: 9.0"},
        {"Iris Max V: 9.5", "Iris Max V: 9.0"},
        {"Zoom Coarse Adjust: 150", "Zoom Coarse Adjust: 10"},
        {"Focus Fine Adjust: -1", "Focus Fine Adjust: 1"},
    };
    for (const auto& [edited, written] : cases) {
        const std::string caption = edited.substr(0, edited.find(':'));
        std::string text;
        std::vector<std::string> expected = unusual;
        for (std::string& line : expected) {
            const bool hit = line.rfind(caption + ":", 0) == 0;
            text += (hit ? edited : line) + "\r\n";
            if (hit) line = written;
        }
        write(text);
        EXPECT_EQ(InitState(), 0) << edited;
        ASSERT_EQ(SaveState(), 0);
        EXPECT_EQ(iniLines(), expected) << edited;
    }
}

// Files edited by hand on other systems: LF alone and CR alone end a line as
// CR LF does, and the captions before the values are not read.
TEST_F(PrefsFile, HandEditedCaptionsAndAnyLineEndReadTheSameLines)
{
    std::string text = kDefaultFile;
    auto replace = [&text](const char* from, const char* to) {
        text.replace(text.find(from), std::strlen(from), to);
    };
    replace("Camera Comm Port: 1", "Port of the camera:   4  ");
    replace("Save Set No: 1", "Save Set No: 2");
    replace("Zoom Max V: 9.0", "Zoom max-V .. 7.5");
    replace("Label 1:Zoom Control", "Zoom caption:Lens A");
    replace("Label 2:Focus Control", "Label 2:Near");
    for (const char* end : {"\n", "\r"}) {
        std::string edited;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t crlf = text.find("\r\n", at);
            edited += text.substr(at, crlf - at) + end;
            at = crlf + 2;
        }
        write(edited);
        setUnusual();
        EXPECT_EQ(InitState(), 0) << (end[0] == '\n' ? "LF" : "CR");
        EXPECT_EQ(g_com_port, 4);
        EXPECT_EQ(g_set_no, 2);
        EXPECT_FLOAT_EQ(g_zoom_maxv, 7.5f);
        EXPECT_STREQ(g_label1, "Lens A");
        EXPECT_STREQ(g_label2, "Near");
        EXPECT_STREQ(g_label3, "Iris Control");
        EXPECT_EQ(g_com_baud, 9600);
    }
}

// A disk that fills up while the file is written: the old file stays byte for
// byte and the system's reason is reported.  A file-size limit stands in for
// the full disk; the write fails in the system exactly as it would then.
TEST_F(PrefsFile, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    write(kDefaultFile);
    setUnusual();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;  // the file needs 317 bytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int saved = SaveState();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(saved, -1);
    EXPECT_EQ(iniText(), kDefaultFile);
    EXPECT_STREQ(RT_LastErrorText(), "File too large");
    EXPECT_EQ(QDir(dir_->path()).entryList(QDir::Files), QStringList{kPrefsFileName});
}

// In a folder the program may not create files in, "ICCD.ini" is written in
// place rather than silently not at all.
TEST_F(PrefsFile, AFolderWithoutRoomForATemporaryFileIsWrittenInPlace)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root may create files anywhere";
    write(kDefaultFile);
    QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    setUnusual();
    const int saved = SaveState();
    QFile::setPermissions(dir_->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(iniLines()[0], "Camera Comm Port: 7");
}

// Only regular files are read or replaced: a FIFO or a device never ends.
TEST_F(PrefsFile, OnlyRegularFilesAreReadOrReplaced)
{
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(RT_OpenFile(fifo.c_str(), RT_READ), -1);
    EXPECT_EQ(RT_OpenFile(fifo.c_str(), RT_WRITE), -1);
    EXPECT_STREQ(RT_LastErrorText(), "not a regular file");
    EXPECT_EQ(RT_OpenFile("/dev/zero", RT_READ), -1);
    EXPECT_EQ(WritePrefsFile(fifo.c_str()), -1);
    EXPECT_FALSE(QFileInfo(QString::fromStdString(fifo)).isFile());  // still the FIFO
}

// Where the file lives: the working directory for a program run from its
// build tree, the folder --config-dir names, else the user's configuration
// folder for an installed program.
TEST_F(PrefsFile, TheFolderAskedForIsMadeAndUsed)
{
    const std::string folder = path("config/iccd");
    SetPrefsFolder(folder);
    EXPECT_EQ(PrefsFilePath(), folder + "/ICCD.ini");
    g_com_port = 7;
    ASSERT_EQ(SaveState(), 0);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/ICCD.ini")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("ICCD.ini"))));
    g_com_port = 0;
    EXPECT_EQ(InitState(), 0);
    EXPECT_EQ(g_com_port, 7);
    SetPrefsFolder("");
    EXPECT_EQ(PrefsFilePath(), "ICCD.ini");

    EXPECT_TRUE(RunsFromBuildTree("/home/op/src/build/iccd-control", "/home/op/src/build"));
    EXPECT_TRUE(RunsFromBuildTree("/home/op/src/build/tests/test_app", "/home/op/src/build/"));
    EXPECT_FALSE(RunsFromBuildTree("/usr/bin/iccd-control", "/home/op/src/build"));
    EXPECT_FALSE(RunsFromBuildTree("/home/op/src/build2/iccd-control", "/home/op/src/build"));
    EXPECT_FALSE(RunsFromBuildTree("/usr/bin/iccd-control", ""));
}

TEST_F(PrefsFile, AnInstalledProgramKeepsItInTheUsersConfigurationFolder)
{
    // The program copied out of the build tree stands for an installed one.
    const QString bin = QString::fromStdString(path("bin"));
    QDir().mkpath(bin);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ICCD_BIN_DIR "/iccd-control"), bin + "/iccd-control"));
    const QString home = QString::fromStdString(path("home"));
    QDir().mkpath(home + "/work");
    auto run = [&](const QStringList& args) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/.config");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home + "/work");
        program.start(bin + "/iccd-control", QStringList{"--model", "VK-400", "--quit-after-start",
                                                         "--instance-key", "installed-test"} +
                                                 args);
        EXPECT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    };
    run({});
    EXPECT_TRUE(QFile::exists(home + "/.config/Ulvo/iccd-control/ICCD.ini"));
    EXPECT_FALSE(QFile::exists(home + "/work/ICCD.ini"));

    run({"--config-dir", home + "/elsewhere"});
    EXPECT_TRUE(QFile::exists(home + "/elsewhere/ICCD.ini"));
    EXPECT_FALSE(QFile::exists(home + "/work/ICCD.ini"));
}

}  // namespace
