// iccdctl save, load, diff, load-set and save-set against the in-process
// simulated camera mapped to port 1.
#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

#include "CliTest.h"

namespace {

class FileCommandsTest : public CliTest {
protected:
    std::string file(const char* name) { return dir_.filePath(QLatin1String(name)).toStdString(); }
    // Saves over a file that holds "precious", which a failed save must leave so.
    CliResult saveOverAnOldFile()
    {
        const std::string path = file("keep.cfg");
        std::ofstream(path) << "precious";
        const CliResult save = run({"save", path});
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
        return save;
    }
    QTemporaryDir dir_;
};

TEST_F(FileCommandsTest, SavedFileLoadsBackAndShowsNoDifferenceForEveryModel)
{
    for (const char* model : {"VK-400", "EH-4000", "VK-405", "VKC-473", "VK-470", "VKC-475", "VK-473",
                              "VK-475", "LS-370", "LS-373", "LS-375", "LSC-373", "LSC-375"}) {
        SCOPED_TRACE(model);
        use(model);
        camera().setReg("YGA", 31);  // a value the percent rule moves on its way back
        camera().setReg("SHG", 64);
        const std::string path = file("model.cfg");
        const CliResult save = run({"save", path, "--comment", model});
        ASSERT_EQ(save.status, 0) << save.err;
        EXPECT_EQ(run({"load", path}),
                  (CliResult{0, "read failures: 0\nsend failures: 0\n",
                             "Reading Settings from File...\nSending Settings to Camera...\n"
                             "Refreshing displayed values...\n"}));
        EXPECT_EQ(run({"diff", path}), (CliResult{0, "", ""}));
    }
}

TEST_F(FileCommandsTest, DiffListsWhatTheCameraChangedAndNothingItCouldNotRead)
{
    const std::string path = file("a.cfg");
    // Saturation bytes 32 (Cb) and 32 (Cr): 1 + 32 / 255 = 1.1255, saved as
    // "1.13", which a byte of 33 would print too.  Right after the save the
    // file holds what the camera holds.
    camera().setReg("SAC", 32 * 256 + 32);
    ASSERT_EQ(run({"save", path}).status, 0);
    EXPECT_EQ(run({"diff", path}).out, "");
    camera().setReg("AGN", 355);
    camera().setReg("ZMC", 20);
    camera().setText("CID", "OTHER");
    // The unit's own identity stays the unit's: a difference only in factory mode.
    camera().setText("SNO", "C4759920261208A1");
    const CliResult diff = run({"diff", path});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out,
              "CID: file DEMO UNIT, camera OTHER\n"
              "AGN: file 2.006400, camera 12.496000\n"
              "ZMC: file 4.535433, camera 1.417323\n");
    EXPECT_EQ(run({"diff", path, "--factory"})
                  .out.rfind("SNO: file C4752120250317C2, camera C4759920261208A1\n", 0),
              0u);

    // A refused query is no camera value to compare with: diff says what it
    // could not read instead of listing "camera 0.000000".
    camera().faults().refuse = {"AGN", "KB2"};
    EXPECT_EQ(run({"diff", path}),
              (CliResult{1, "",
                         "Failure querying camera for current settings.\nCamera returned error message NAK.\n"
                         "Reading AGN (Manual Gain): the camera refused it.\nNot read: AGN, KB2.\n"}));
}

// A load names each line it could not take, and warns of a file of another
// model before it sends it.
TEST_F(FileCommandsTest, LoadNamesFailedLinesAndWarnsOfAnotherModel)
{
    const std::string path = file("c.cfg");
    ASSERT_EQ(run({"save", path}).status, 0);
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        std::ofstream(path, std::ios::binary) << t;
    };
    replaced("ALV: 128\r\n", "ALV: 77abc\r\n");
    const CliResult bad = run({"load", path});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("line 9 (ALV) \"ALV: 77abc\": not a whole number\n"), std::string::npos)
        << bad.err;
    EXPECT_EQ(camera().reg("ALV"), 128);

    replaced("Camera model index: 5\r\n", "Camera model index: 4\r\n");
    const CliResult other = run({"load", path});
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_NE(other.err.find("iccdctl: warning: This settings file was saved from a VK-470; the camera is a "
                             "VKC-475.\n"),
              std::string::npos)
        << other.err;
}

// A save that failed leaves the file it was to replace byte for byte.  Fewer
// than four refusals do not stop a pass, but a failed query leaves 0 (or the
// value of count 0) in its field: saved, the file would later set the camera's
// gain to 0 dB.  (Four refusals that stop the reading: SettingsWriterTest.)
TEST_F(FileCommandsTest, AFailedSaveKeepsTheOldFileAndNamesWhatItDidNotRead)
{
    camera().faults().refuse = {"AGN", "ALV", "AMX", "VPS", "VPD", "BTS"};
    EXPECT_EQ(
        saveOverAnOldFile(),
        (CliResult{1, "",
                   "Failure querying camera for current settings. File not saved.\n"
                   "Camera returned error message NAK.\nReading AGN (Manual Gain): the camera refused it.\n"
                   "Not read: AGN, ALV, AMX, VPS, VPD, BTS.\n"}));
}

// A disk that fills up during the save: the old file stays and the system's
// reason is given.  A file-size limit stands in for the full disk; the write
// fails in the system exactly as it would then.
TEST_F(FileCommandsTest, SaveOnAFullDiskKeepsTheOldFileAndSaysWhy)
{
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;  // a settings file is about 1,900 bytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliResult save = saveOverAnOldFile();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(save,
              (CliResult{1, "", "Failure writing camera settings file. File not saved.\nFile too large\n"}));
    // Nor is anything but a regular file replaced.
    EXPECT_EQ(run({"save", "/dev/null"}),
              (CliResult{1, "", "Failure opening camera settings file for writing.\nnot a regular file\n"}));
}

TEST_F(FileCommandsTest, LoadReportsAbortsAndTheCameraIdRule)
{
    const std::string path = file("b.cfg");
    ASSERT_EQ(run({"save", path}).status, 0);
    camera().setText("SNO", "MY-OWN-UNIT");
    EXPECT_EQ(run({"load", path}).status, 0);
    EXPECT_EQ(camera().text("SNO"), "MY-OWN-UNIT");
    EXPECT_EQ(run({"load", path, "--factory"}).status, 0);
    EXPECT_NE(camera().text("SNO"), "MY-OWN-UNIT");

    camera().faults().refuse = {"AGN", "ALV", "AMX", "BTS", "CGB", "CGG"};
    const CliResult refused = run({"load", path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "read failures: 0\nsend failures: 6\n");
    EXPECT_NE(refused.err.find("Too many errors sending to camera. File load aborted.\n"), std::string::npos);

    std::ofstream(file("junk.cfg")) << "nothing like a settings file\n";
    const CliResult junk = run({"load", file("junk.cfg")});
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(junk.out, "read failures: 86\n");  // every setting missing
    EXPECT_NE(junk.err.find("Too many errors reading settings file. File load aborted.\n"),
              std::string::npos);

    EXPECT_EQ(run({"load", file("missing.cfg")}),
              (CliResult{1, "",
                         "Failure opening camera settings file.\n" + file("missing.cfg") +
                             ": No such file or directory\n"}));
}

TEST_F(FileCommandsTest, UserSetsAndUsageErrors)
{
    camera().clearLog();
    EXPECT_EQ(run({"save-set", "2"}).status, 0);
    EXPECT_EQ(run({"load-set", "0"}).status, 0);
    const auto& log = camera().log();
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{":WSTA=2", ":CAM?", ":LSTA=0"}));
    camera().faults().refuse = {"LSTA"};
    EXPECT_EQ(run({"load-set", "1"}),
              (CliResult{1, "",
                         "Error on Load Set\nCamera returned error message NAK.\nSending LSTA=1: the camera "
                         "refused it.\n"}));

    const std::vector<std::string> usages[] = {{"save"},          {"load"},     {"diff"},
                                               {"load-set", "3"}, {"save-set"}, {"save-set", "-1"},
                                               {"load", "a", "b"}};
    for (const std::vector<std::string>& args : usages) EXPECT_EQ(run(args).status, 2) << args[0];
}

}  // namespace
