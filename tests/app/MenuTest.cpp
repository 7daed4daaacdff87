// The File menu's camera user sets and settings files, through the menus and
// dialogs an operator uses.
#include <QFile>

#include <QDir>
#include <QTimer>

#include "AppFixture.h"
#include "app/MenuCallbacks.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "settingsfile/SettingsFile.h"
#include "support/UiTestDriver.h"

namespace {

using uitest::Popup;

class Menus : public AppTest {
protected:
    // Replaces one line of a saved settings file.
    void replaceLine(const char* name, const char* line, const char* by)
    {
        QFile file(QString::fromStdString(path(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        ASSERT_TRUE(text.contains(line)) << line;
        text.replace(line, by);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
};

TEST_F(Menus, LoadingAUserSetReReadsTheCamera)
{
    writeIni(1, 2);
    startOn("VK-400");
    camera(1).setReg("ALV", 30);
    ASSERT_EQ(Comm_SaveSet(2), 0);
    camera(1).setReg("ALV", 99);
    camera(1).clearLog();

    const int dialog = choose(MAINMNU_FILE_LOAD);
    ASSERT_EQ(PanelName(dialog), "LOADSET");
    EXPECT_EQ(CtrlInt(dialog, LOADSET_SETNO), 2);  // "ICCD.ini" preselects it
    ASSERT_EQ(uitest::Click(dialog, LOADSET_OKBUTTON), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_EQ(CountSent(camera(1).log(), ":LSTA=2"), 1);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 30);
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(Mpnl_LastAction().substr(9), "Recalled user set 2");  // after "HH:MM:SS "

    // The way back: the level the camera had before the recall.
    choose(MAINMNU_EDIT_RESTORE);
    EXPECT_EQ(*camera(1).reg("ALV"), 99);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 99);
    EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"Restore Previous Settings",
                                                     "The camera is back at the settings it had before the "
                                                     "recall of user set 2."}}));
    uitest::ClearPopups();

    // Loaded, but the re-read stops: said, not passed over.
    camera(1).faults().refuse = {"SB1", "SB2", "SHE", "AEC", "AGN", "ALV", "AMX"};
    ASSERT_EQ(uitest::Click(choose(MAINMNU_FILE_LOAD), LOADSET_OKBUTTON), 0);
    EXPECT_EQ(uitest::Popups(),
              (std::vector<Popup>{{"ERROR",
                                   "Failure querying camera for current settings.\n"
                                   "Camera returned error message NAK.\n"
                                   "Reading SB1 (ALC User Access): the camera refused it."}}));
    uitest::ClearPopups();

    camera(1).faults().refuse = {"LSTA"};
    ASSERT_EQ(uitest::Click(choose(MAINMNU_FILE_LOAD), LOADSET_OKBUTTON), 0);
    EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"Error", "Error on Load Set"}}));
    EXPECT_EQ(uitest::TopPopup(), 0);
}

TEST_F(Menus, OnlyTheFactorySavesOverTheFactoryDefaults)
{
    startOn("VK-400");
    int dialog = choose(MAINMNU_FILE_SAVESET);
    int items = 0;
    GetNumListItems(dialog, SAVESET_SETNO, &items);
    EXPECT_EQ(items, 2);
    ASSERT_EQ(uitest::Click(dialog, SAVESET_CANCEL), 0);
    EXPECT_TRUE(camera(1).log().empty());
    quit();

    camera(1).clearLog();
    ASSERT_EQ(start({"/fac"}), AppStartResult::Started);
    dialog = choose(MAINMNU_FILE_SAVESET);
    std::string first;
    GetLabelFromIndex(dialog, SAVESET_SETNO, 0, &first);
    EXPECT_EQ(first, "Factory Defaults");
    EXPECT_EQ(CtrlInt(dialog, SAVESET_SETNO), 1);  // still the preselected user set
    camera(1).clearLog();
    ASSERT_EQ(uitest::Commit(dialog, SAVESET_SETNO, 0), 0);
    ASSERT_EQ(uitest::Click(dialog, SAVESET_OKBUTTON), 0);
    EXPECT_EQ(camera(1).log(), std::vector<std::string>{":WSTA=0"});
    EXPECT_EQ(uitest::TopPopup(), 0);
}

TEST_F(Menus, SettingsFileSavedAndLoadedBack)
{
    startOn("VKC-475");
    camera(1).setReg("ALV", 44);

    int dialog = choose(MAINMNU_FILE_SAVEFILE);
    ASSERT_EQ(PanelName(dialog), "F_SAVESET");
    ASSERT_EQ(uitest::Commit(dialog, F_SAVESET_COMMENT, "bench camera A"), 0);
    uitest::AnswerFileDialog("a.cfg");
    ASSERT_EQ(uitest::Click(dialog, F_SAVESET_OK), 0);
    EXPECT_EQ(uitest::TopPopup(), 0);
    ASSERT_EQ(uitest::FileDialogs().size(), 1u);
    EXPECT_EQ(uitest::FileDialogs()[0].title, "Save Camera Settings to File");
    QFile file(QString::fromStdString(path("a.cfg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.size(), 91);  // 90 lines and the empty rest after the last
    EXPECT_TRUE(lines[1].startsWith("bench camera A"));

    camera(1).setReg("ALV", 99);
    camera(1).clearLog();
    uitest::AnswerFileDialog("a.cfg");
    choose(MAINMNU_FILE_LOADFILE);
    EXPECT_EQ(uitest::FileDialogs().back().title, "Load Camera Settings From File");
    EXPECT_EQ(CountSent(camera(1).log(), ":ALV=44"), 1);
    EXPECT_EQ(*camera(1).reg("ALV"), 44);
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 44);  // refreshed at the end of the load
    // Then held against the file.
    EXPECT_EQ(uitest::Popups(), (std::vector<uitest::Popup>{{"Load Settings From File",
                                                             "The camera took every setting of the file."}}));
}

// A file saved from another model is named before anything is sent; Cancel
// sends nothing, OK sends it.  A load says which settings the camera did not take.
TEST_F(Menus, AFileOfAnotherModelIsSentOnlyWhenAskedAndALoadSaysWhatTheCameraDidNotTake)
{
    startOn("VK-470");
    ASSERT_EQ(SaveSettingsFile(path("m.cfg").c_str(), "bench"), 0);
    replaceLine("m.cfg", "Camera model index: 4\r\n", "Camera model index: 7\r\n");
    const uitest::Popup asked{"Load Settings From File",
                              "This settings file was saved from a VK-475; the camera is a VK-470.\n"
                              "Send its settings to this camera?"};

    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        uitest::ClearPopups();
        camera(1).clearLog();
        uitest::AnswerConfirm(ok);
        uitest::AnswerFileDialog("m.cfg");
        choose(MAINMNU_FILE_LOADFILE);
        ASSERT_FALSE(uitest::Popups().empty());
        EXPECT_EQ(uitest::Popups().front(), asked);
        EXPECT_EQ(CountSent(camera(1).log(), ":ALV="), ok ? 1 : 0);
    }

    uitest::ClearPopups();
    camera(1).setReg("GAM", 1);
    ASSERT_EQ(SaveSettingsFile(path("b.cfg").c_str(), "bench"), 0);
    camera(1).setReg("GAM", 0);
    // A window corner within the layout but beyond this camera's sensor: it
    // refuses that one setting.
    replaceLine("b.cfg", "LRX: 31\r\n", "LRX: 500\r\n");

    uitest::AnswerFileDialog("b.cfg");
    choose(MAINMNU_FILE_LOADFILE);
    EXPECT_EQ(*camera(1).reg("GAM"), 1);  // the rest was taken
    // First the step that failed, then what the camera holds against the file.
    EXPECT_EQ(uitest::Popups(), (std::vector<uitest::Popup>{
                                    {"Load Settings From File",
                                     "These lines and steps of the file failed:\n"
                                     "step 46 (LRX, LRY, ULX, ULY): Camera returned error message NAK.\n"},
                                    {"Load Settings From File",
                                     "The camera did not take these settings of the file:\n"
                                     "LRX: file 500, camera 31"}}));
}

// Cancel on the progress panel while the file is being sent.
TEST_F(Menus, ALoadCancelledStopsSendingYetShowsTheCameraAndSaysHowFarItGot)
{
    startOn("VK-470");
    const int dialog = choose(MAINMNU_FILE_SAVEFILE);
    uitest::AnswerFileDialog("c.cfg");
    ASSERT_EQ(uitest::Click(dialog, F_SAVESET_OK), 0);

    camera(1).faults().replyDelayMs = 20;  // a slow line: the sending takes a while
    camera(1).setReg("ALV", 99);
    int progress = -1, cancel = -1;
    // The camera's settings are kept first; the cancel comes once the level's
    // step was sent.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (int handle = 1; handle < 200 && cancel != 0; ++handle)
            if (PanelName(handle) == "LOADPROG" && GetCtrlVal(handle, LOADPROG_PROGRESS, &progress) == 0 &&
                progress >= 20)
                cancel = uitest::Click(handle, LOADPROG_CANCEL);
    });
    poll.start(100);
    uitest::AnswerFileDialog("c.cfg");
    choose(MAINMNU_FILE_LOADFILE);

    EXPECT_EQ(cancel, 0);
    EXPECT_GT(progress, 0);
    ASSERT_EQ(uitest::Popups().size(), 2u);
    EXPECT_EQ(uitest::Popups()[1],
              (Popup{"Load Settings From File", "The steps sent before the cancel stay in the camera."}));
    const std::string text = uitest::Popups()[0].text;
    EXPECT_EQ(text.rfind("Load cancelled: ", 0), 0u) << text;
    const int sent = std::stoi(text.substr(16));
    EXPECT_GE(sent, progress);
    EXPECT_LT(sent, 64);
    EXPECT_EQ(CountSent(camera(1).log(), ":CRH="), 0);  // the last step never went out
    EXPECT_EQ(*camera(1).reg("ALV"), 128);              // the file's level, sent before the cancel
    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 128);     // and the window re-read afterwards

    // The summary's button sends back what the camera held before the load.
    camera(1).faults().replyDelayMs = 0;
    uitest::ClearPopups();
    uitest::AnswerFileDialog("c.cfg");
    uitest::AnswerConfirm(true);  // Restore Previous Settings
    camera(1).setReg("ALV", 77);
    choose(MAINMNU_FILE_LOADFILE);
    EXPECT_EQ(*camera(1).reg("ALV"), 77);
    EXPECT_EQ(uitest::Popups().back(), (Popup{"Restore Previous Settings",
                                              "The camera is back at the settings it had before the load of "
                                              "\"c.cfg\"."}));
}

// What cannot go back is named: a setting never read before the recall, and
// one the camera refuses on the way back.
TEST_F(Menus, RestoringSaysWhatDidNotComeBack)
{
    startOn("VK-470");
    EXPECT_EQ(MenuDimmed(MAINMNU_EDIT_RESTORE), 1);  // nothing kept yet
    camera(1).setReg("ALV", 99);
    camera(1).setReg("GAM", 1);
    camera(1).faults().refuse = {"SB1?"};
    ASSERT_EQ(uitest::Click(choose(MAINMNU_FILE_LOAD), LOADSET_OKBUTTON), 0);
    EXPECT_EQ(MenuDimmed(MAINMNU_EDIT_RESTORE), 0);
    camera(1).faults().refuse = {"ALV="};
    camera(1).setReg("GAM", 0);
    uitest::ClearPopups();
    choose(MAINMNU_EDIT_RESTORE);
    EXPECT_EQ(*camera(1).reg("GAM"), 1);  // the rest came back
    ASSERT_FALSE(uitest::Popups().empty());
    // Step 4 of the sending is the level (after SNO, CID and AGN); user set 1
    // holds the simulated camera's default level, 128.
    EXPECT_EQ(uitest::Popups().back().text,
              "The camera is back at the settings it had before the recall of user set 1, except for these:\n"
              "not read before, so not restored: SB1\n"
              "step 4 (ALV): Camera returned error message NAK.\n"
              "ALV: kept 99, camera 128");
    EXPECT_EQ(Mpnl_LastAction().substr(9),
              "Restored the settings from before the recall of user set 1, not all of them");
}

TEST_F(Menus, SettingsFileDialogsOpenWhereTheLastOneLeftOff)
{
    startOn("VK-400");
    // Cancelled, then a file that is not there: the second line names it and the system's reason.
    uitest::CancelFileDialog();
    choose(MAINMNU_FILE_LOADFILE);
    uitest::AnswerFileDialog("missing.cfg");
    choose(MAINMNU_FILE_LOADFILE);
    const std::string missing =
        "Failure opening camera settings file.\n" + path("missing.cfg") + ": No such file or directory";
    EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"ERROR", missing}}));
    EXPECT_TRUE(camera(1).log().empty());
    uitest::ClearPopups();

    QDir(QString::fromStdString(path(""))).mkpath("cameras/bench");
    int dialog = choose(MAINMNU_FILE_SAVEFILE);
    uitest::AnswerFileDialog(path("cameras/bench/one"));  // saved as "one.cfg"
    ASSERT_EQ(uitest::Click(dialog, F_SAVESET_OK), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("cameras/bench/one"))));
    uitest::AnswerFileDialog("one.cfg");  // found in the folder the dialog opens in
    choose(MAINMNU_FILE_LOADFILE);
    ASSERT_EQ(uitest::FileDialogs().size(), 4u);
    EXPECT_EQ(uitest::FileDialogs()[3].directory, path("cameras/bench"));
    EXPECT_EQ(uitest::Popups().size(), 1u);  // the comparison after the load

    // A folder given at start (an installed program's documents) is where the first one opens.
    SetSettingsFileFolder(path("cameras"));
    uitest::CancelFileDialog();
    choose(MAINMNU_FILE_LOADFILE);
    EXPECT_EQ(uitest::FileDialogs().back().directory, path("cameras"));
}

// Lens parameters changed on the Advanced Settings panel outlive the run.
TEST_F(Menus, AdvancedSettingsLensParametersAreSavedAtExit)
{
    writeIni(1);
    startOn("VK-470");
    const int panel = choose(MAINMNU_ADVSET);
    ASSERT_EQ(PanelName(panel), "ADVSET_C");
    ASSERT_EQ(uitest::Commit(panel, ADVSET_C_Z_MAXV, 7.5), 0);
    ASSERT_EQ(uitest::Commit(panel, ADVSET_C_F_FINE, 3.0), 0);
    ASSERT_EQ(uitest::ClosePanel(panel), 0);
    quit();
    const std::vector<std::string> lines = iniLines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[3], "Zoom Max V: 7.5");
    EXPECT_EQ(lines[8], "Focus Fine Adjust: 3");
}

}  // namespace
