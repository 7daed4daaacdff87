#include "AppFixture.h"

#include <QDir>
#include <QFile>
#include <QString>

#include "app/MenuCallbacks.h"
#include "app/Prefs.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "devices/SimPorts.h"
#include "panels/PanelGlobals.h"
#include "platform/ComPortMap.h"
#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "sim/SimEndpoint.h"
#include "support/UiTestDriver.h"
#include "ui/Ui.h"

void AppTest::SetUp()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    oldDir_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    uitest::Reset();
    // No test may reach a real serial port.
    for (int port = 1; port <= kMaxComPort; ++port)
        SetComPortDevice(port, QStringLiteral("/nonexistent/iccd-test-com%1").arg(port));
    SetDefaultPrefs();
    SetSettingsFileFolder("");
    g_prog_type = 0;
    g_cam_model_user_idx = g_cam_model_idx = 0;
}

void AppTest::TearDown()
{
    if (started_) quit();
    Comm_SetTrafficHook(nullptr);
    for (int port = 1; port <= kMaxComPort; ++port) Comm_ClosePort(port);
    g_com_port = 0;
    pump();
    ClearComPortDevices();
    ResetSimCameras();
    uitest::Reset();
    QDir::setCurrent(oldDir_);
}

void AppTest::putCamera(int port, const char* model)
{
    SetComPortDevice(port, QStringLiteral("sim:") + QLatin1String(model));
}

sim::SimCamera& AppTest::camera(int port)
{
    return SimCameraOnPort(port)->camera();
}

void AppTest::writeIni(int port, int setNo)
{
    SetDefaultPrefs();
    g_com_port = port;
    g_set_no = setNo;
    ASSERT_EQ(SaveState(), 0);
    SetDefaultPrefs();
}

std::string AppTest::iniText() const
{
    QFile file(path(kPrefsFileName).c_str());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

std::vector<std::string> AppTest::iniLines() const
{
    std::vector<std::string> lines;
    const std::string text = iniText();
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

AppStartResult AppTest::start(std::initializer_list<const char*> args)
{
    static char name[] = "iccd-control";
    std::vector<std::string> storage(args.begin(), args.end());
    std::vector<char*> argv{name};
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
    AppOptions options;
    options.checkInstance = false;
    const AppStartResult result = AppStart(static_cast<int>(argv.size() - 1), argv.data(), options);
    started_ = result == AppStartResult::Started;
    return result;
}

void AppTest::startOn(const char* model, std::initializer_list<const char*> args)
{
    putCamera(1, model);
    ASSERT_EQ(start(args), AppStartResult::Started);
    ASSERT_EQ(g_com_port, 1);
    camera(1).clearLog();
}

void AppTest::stop()
{
    EXPECT_TRUE(uitest::QuitRequested());
    AppRun();  // returns at once with the quit asked for
    AppStop();
    started_ = false;
}

int AppTest::choose(int item)
{
    EXPECT_EQ(uitest::ChooseMenuItem(g_mainmnuhandle, item), 0) << item;
    return uitest::TopPopup();
}

void AppTest::pump()
{
    for (int i = 0; i < 5; ++i) WaitForSystemEvents(0.002);
}

std::string AppTest::path(const char* name) const
{
    return QDir(dir_->path()).filePath(name).toStdString();
}

std::string PanelName(int panel)
{
    std::string name;
    GetPanelAttribute(panel, ATTR_CONSTANT_NAME, &name);
    return name;
}

int Dimmed(int panel, int control)
{
    int dimmed = -1;
    GetCtrlAttribute(panel, control, ATTR_DIMMED, &dimmed);
    return dimmed;
}

int Visible(int panel, int control)
{
    int visible = -1;
    GetCtrlAttribute(panel, control, ATTR_VISIBLE, &visible);
    return visible;
}

int CtrlInt(int panel, int control)
{
    int value = 0;
    GetCtrlVal(panel, control, &value);
    return value;
}

std::string CtrlText(int panel, int control)
{
    std::string text;
    GetCtrlVal(panel, control, &text);
    return text;
}

std::string NoValue(int panel, int control)
{
    std::string reason;
    GetCtrlAttribute(panel, control, ATTR_NO_VALUE_REASON, &reason);
    return reason;
}

std::string MainTitle()
{
    std::string title;
    GetPanelAttribute(g_mainpanel, ATTR_TITLE, &title);
    return title;
}

std::string MainStatus()
{
    std::string text;
    GetPanelAttribute(g_mainpanel, ATTR_STATUS_TEXT, &text);
    return text;
}

bool MenuItemPresent(int item)
{
    int dimmed = 0;
    return GetMenuBarAttribute(g_mainmnuhandle, item, ATTR_DIMMED, &dimmed) == 0;
}

int MenuDimmed(int item)
{
    int dimmed = -1;
    GetMenuBarAttribute(g_mainmnuhandle, item, ATTR_DIMMED, &dimmed);
    return dimmed;
}

bool PortOpen(int port)
{
    return GetInQLen(port) >= 0;
}

int CountSent(const std::vector<std::string>& log, const std::string& prefix)
{
    int n = 0;
    for (const std::string& line : log) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}
