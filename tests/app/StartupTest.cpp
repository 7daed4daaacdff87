// Start-up and shutdown: finding the camera, the window without one, the
// factory switch, the quit paths, and a second copy of the program.
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QWidget>
#include <cstdlib>

#include "AppFixture.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "platform/Timing.h"
#include "resources/UlvoIccd.h"
#include "support/UiTestDriver.h"

namespace {

using uitest::Popup;

using Startup = AppTest;

TEST_F(Startup, CameraOnThePreferredPortFillsTheWindowAndIsSavedAtExit)
{
    writeIni(2);
    putCamera(1, "VK-400");
    putCamera(2, "VKC-475");
    camera(2).setReg("ALV", 77);

    ASSERT_EQ(start(), AppStartResult::Started);
    EXPECT_EQ(g_com_port, 2);
    EXPECT_EQ(g_cam_model_user_idx, 5);
    EXPECT_TRUE(uitest::Popups().empty());
    EXPECT_EQ(uitest::TopPopup(), 0);
    EXPECT_TRUE(camera(1).log().empty());  // found without a search
    EXPECT_EQ(camera(2).log().front(), ":CAM?");

    EXPECT_EQ(CtrlInt(g_mainpanel, MAIN_ALV), 77);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_ALV), 0);
    EXPECT_EQ(MainTitle(), "Ulvo VKC-475 Camera Control");
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Control");

    // Normal mode: no factory items.
    for (int item : {MAINMNU_FILE_SEPARATOR, MAINMNU_FILE_FTEST, MAINMNU_FILE_AFEACC})
        EXPECT_FALSE(MenuItemPresent(item)) << item;
    EXPECT_EQ(MenuDimmed(MAINMNU_FILE_LOAD), 0);

    ASSERT_EQ(uitest::Click(g_mainpanel, MAIN_QUIT), 0);
    stop();
    EXPECT_FALSE(PortOpen(2));
    EXPECT_EQ(iniLines().at(0), "Camera Comm Port: 2");
}

// A setting the camera does not answer in time at start-up is shown as not
// read, never as the laid-out value, and the status line counts it.
TEST_F(Startup, ASettingNotAnsweredIsShownAsNotRead)
{
    writeIni(2);
    putCamera(2, "VK-470");
    camera(2).faults().late = {"SHS"};
    camera(2).faults().lateDelayMs = 6000;  // past the query and its second chance
    ASSERT_EQ(start(), AppStartResult::Started);
    const std::string timeout = "Not read from the camera: Timeout error waiting for camera response.";
    for (int c : {MAIN_SHS, MAIN_TIMEMS}) EXPECT_EQ(NoValue(g_mainpanel, c), timeout) << c;
    EXPECT_NE(MainStatus().find("Connected"), std::string::npos) << MainStatus();
    EXPECT_NE(MainStatus().find("1 setting could not be read"), std::string::npos) << MainStatus();
    if (const char* shot = std::getenv("ICCD_SHOT")) uitest::PanelWidget(g_mainpanel)->grab().save(shot);
    ASSERT_EQ(uitest::Click(g_mainpanel, MAIN_QUIT), 0);
    stop();
}

// The preferred port first, then ports 1 to 8, each once; a port beyond
// eight only when preferred.  A start with the camera switched off keeps its
// port for the next start, which the search would never find.
TEST_F(Startup, ThePreferredPortThenPortsOneToEight)
{
    const struct {
        int preferred, camera, found;
    } cases[] = {{9, 0, 0}, {9, 9, 9}, {12, 12, 12}, {3, 0, 0}, {3, 5, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preferred * 100 + c.camera);
        writeIni(c.preferred);
        if (c.camera) putCamera(c.camera, c.camera == 5 ? "EH-4000" : "VK-470");
        uitest::ClearPopups();
        ASSERT_EQ(start(), AppStartResult::Started);
        EXPECT_EQ(g_com_port, c.found);
        if (c.found) {
            EXPECT_EQ(g_cam_model_user_idx, c.camera == 5 ? 1 : 4);
            EXPECT_TRUE(uitest::Popups().empty());
        } else {
            std::string report = "No Camera Communication Link Found";
            for (int at = 0; at <= 8; ++at) {
                const std::string port = std::to_string(at ? at : c.preferred);
                if (at != c.preferred)
                    report += "\nCOM" + port + " (/nonexistent/iccd-test-com" + port +
                              "): Cannot open port: No such file or directory.";
            }
            EXPECT_EQ(uitest::Popups(), (std::vector<Popup>{{"WARNING", report}}));
        }
        quit();
        EXPECT_EQ(iniLines().at(0), "Camera Comm Port: " + std::to_string(c.found ? c.found : c.preferred));
    }
}

TEST_F(Startup, WithoutACameraTheWindowIsDimmedAndPreferencesOpen)
{
    ASSERT_EQ(start(), AppStartResult::Started);  // no "ICCD.ini" either
    EXPECT_EQ(g_com_port, 0);
    ASSERT_EQ(uitest::Popups().size(), 1u);
    EXPECT_EQ(uitest::Popups()[0].text.substr(0, 35), "No Camera Communication Link Found\n");
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_AGN), 1);
    EXPECT_EQ(Dimmed(g_mainpanel, MAIN_QUIT), 0);
    for (int item : {MAINMNU_FILE_LOAD, MAINMNU_FILE_SAVESET, MAINMNU_ADVSET}) EXPECT_EQ(MenuDimmed(item), 1);
    EXPECT_EQ(MenuDimmed(MAINMNU_FILE_LOADFILE), 0);
    // Never shaped for a model: the captions are the resource's own.
    EXPECT_EQ(CtrlText(g_mainpanel, MAIN_L1), "Zoom Control");
    EXPECT_EQ(MainStatus(), "No camera");
    // The user screen shows no factory controls, camera or not.
    for (int control : {MAIN_FACBOX, MAIN_MODEL, MAIN_RS232, MAIN_CGAIN_RED})
        EXPECT_EQ(Visible(g_mainpanel, control), 0) << control;

    const int pref = uitest::TopPopup();
    ASSERT_EQ(PanelName(pref), "PREF");
    EXPECT_EQ(uitest::Click(g_mainpanel, MAIN_QUIT), UIEControlNotOperable);  // behind the dialog
    ASSERT_EQ(uitest::Click(pref, PREF_CANCEL), 0);
    ASSERT_EQ(uitest::Click(g_mainpanel, MAIN_QUIT), 0);
    stop();

    const std::vector<std::string> lines = iniLines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Camera Comm Port: 1");  // the default, not the missing link's 0
    EXPECT_EQ(lines[1], "Camera Baud Rate: 9600");
}

TEST_F(Startup, FactoryModeOnlyWithSlashFacAsTheFirstArgument)
{
    putCamera(1, "VKC-475");
    ASSERT_EQ(start({"/fac"}), AppStartResult::Started);
    EXPECT_EQ(g_prog_type, 1);
    for (int item : {MAINMNU_FILE_SEPARATOR, MAINMNU_FILE_FTEST, MAINMNU_FILE_AFEACC})
        EXPECT_TRUE(MenuItemPresent(item)) << item;
    // The traffic monitor was connected before the camera was looked for.
    int lines = 0;
    GetNumTextBoxLines(g_mainpanel, MAIN_RS232, &lines);
    EXPECT_GT(lines, 2);
    quit();

    for (auto args : {std::vector<const char*>{"/FAC"}, {"-fac"}, {"x", "/fac"}, {"/fac "}, {"/factory"}}) {
        static char name[] = "iccd-control";
        std::vector<char*> argv{name};
        for (const char* a : args) argv.push_back(const_cast<char*>(a));
        g_prog_type = 0;
        ProcessCommandLineArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(g_prog_type, 0) << args.back();
    }
}

TEST_F(Startup, EveryQuitPathEndsTheLoopAndSavesThePreferences)
{
    putCamera(1, "VK-400");
    for (int way = 0; way < 3; ++way) {
        ASSERT_EQ(start(), AppStartResult::Started);
        QFile::remove(QString::fromStdString(path("ICCD.ini")));
        switch (way) {
            case 0:
                EXPECT_EQ(uitest::Click(g_mainpanel, MAIN_QUIT), 0);
                break;
            case 1:
                EXPECT_EQ(uitest::ClosePanel(g_mainpanel), 0);
                break;
            default:
                EXPECT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, MAINMNU_FILE_EXIT), 0);
                break;
        }
        stop();
        EXPECT_EQ(iniLines().size(), 15u) << "quit path " << way;
    }
}

// The name the run time's instance check listens under.
QString instanceServer(const QString& key)
{
    QString name = key + u'-' + qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_') c = u'_';
    return name;
}

TEST_F(Startup, ASecondCopyIsRefused)
{
    const QString key = QStringLiteral("IccdAppTest-%1").arg(::getpid());
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("ICCD_COM1");
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(dir_->path());
    first.start(QStringLiteral(ICCD_BIN_DIR "/iccd-control"), {"--model", "VK-400", "--instance-key", key});
    ASSERT_TRUE(first.waitForStarted(5000));
    bool listening = false;
    for (int i = 0; i < 200 && !listening; ++i) {
        QLocalSocket probe;
        probe.connectToServer(instanceServer(key));
        listening = probe.waitForConnected(50);
        if (!listening) WaitForSystemEvents(0.05);
    }
    ASSERT_TRUE(listening) << first.readAllStandardError().toStdString();

    char name[] = "iccd-control";
    char* argv[] = {name, nullptr};
    AppOptions options;
    options.instanceKey = key.toStdString();
    EXPECT_EQ(AppStart(1, argv, options), AppStartResult::Duplicate);
    EXPECT_EQ(uitest::Popups(),
              (std::vector<Popup>{{"ERROR", "Another copy of this program is already running."}}));
    EXPECT_EQ(g_mainpanel, 0);
    SetAppInstanceKey(nullptr);

    // Two copies starting together once both ran: the later one could not
    // reach the first one's socket yet, removed it and listened itself.  The
    // first copy decides by holding its lock, whatever became of the socket.
    uitest::ClearPopups();
    QLocalServer::removeServer(instanceServer(key));
    EXPECT_EQ(AppStart(1, argv, options), AppStartResult::Duplicate);
    SetAppInstanceKey(nullptr);

    first.kill();
    first.waitForFinished(5000);
    QLocalServer::removeServer(instanceServer(key));
}

// A run nobody watches ends by itself, also without a camera, and says on
// stderr what a window would have shown; an unknown option is only warned of.
TEST_F(Startup, QuitAfterStartEndsWithoutACameraToo)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (int port = 1; port <= 8; ++port) env.insert(QStringLiteral("ICCD_COM%1").arg(port), "/nonexistent");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir_->path());
    program.start(QStringLiteral(ICCD_BIN_DIR "/iccd-control"),
                  {"--quit-after-start", "--colour", "-fac", "--instance-key",
                   QStringLiteral("IccdQuit-%1").arg(::getpid())});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(err.contains("iccd-control: ignoring unknown option --colour (see --help)"))
        << err.toStdString();
    EXPECT_FALSE(err.contains("-fac")) << err.toStdString();  // what is no "--" switch is nobody's
    EXPECT_TRUE(err.contains("WARNING: No Camera Communication Link Found")) << err.toStdString();
}

// --open with --screenshot pictures the dialog it opened, not the window behind.
TEST_F(Startup, AScreenshotOfAnOpenedDialogIsOfTheDialog)
{
    for (const char* panel : {"preferences", "presets"}) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir_->path());
        const QString picture = dir_->filePath(QStringLiteral("%1.png").arg(panel));
        program.start(QStringLiteral(ICCD_BIN_DIR "/iccd-control"),
                      {"--model", "VK-470", "--open", panel, "--screenshot", picture, "--instance-key",
                       QStringLiteral("IccdShot-%1").arg(::getpid())});
        ASSERT_TRUE(program.waitForFinished(20000)) << panel;
        EXPECT_EQ(program.exitCode(), 0) << panel;
        // The main window of a VK-470 is 884 pixels wide; these dialogs are narrower.
        const QImage image(picture);
        EXPECT_GT(image.width(), 0) << panel;
        EXPECT_LT(image.width(), 700) << panel;
    }
}

// The three programs of the package carry one version, the project's.
TEST(Versions, EveryProgramPrintsTheOneVersion)
{
    for (const char* name : {"iccd-control", "iccdctl", "iccdsim"}) {
        QProcess program;
        program.start(QStringLiteral(ICCD_BIN_DIR "/") + QLatin1String(name), {"--version"});
        ASSERT_TRUE(program.waitForFinished(10000)) << name;
        EXPECT_EQ(program.exitCode(), 0) << name;
        EXPECT_EQ(program.readAllStandardOutput().toStdString(), std::string(name) + " 0.1\n");
    }
}

}  // namespace
