// The program's command line and its run from start to exit.
#include <QApplication>
#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPixmap>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/App.h"
#include "app/MenuCallbacks.h"
#include "app/Pref.h"
#include "app/Prefs.h"
#include "app/Presets.h"
#include "camera/Models.h"
#include "devices/DeviceTransports.h"
#include "panels/AdvSetPnl.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/ServicePnls.h"
#include "platform/ComPortMap.h"
#include "platform/CommandLine.h"
#include "platform/Timing.h"
#include "platform/Version.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace {

constexpr char kUsage[] =
    "usage: iccd-control [/fac] [--factory] [--model NAME] [--quit-after-start]\n"
    "                    [--open PANEL] [--screenshot FILE] [--instance-key KEY]\n"
    "                    [--config-dir DIR] [--help] [--version]\n"
    "\n"
    "Controls an ICCD camera on a serial port.  \"ICCD.ini\" holds the preferred\n"
    "port; without a camera there, ports 1 to 8 are searched.  An installed program\n"
    "keeps it in the user's configuration folder (~/.config/Ulvo/iccd-control), one\n"
    "run from its build tree in the working directory.\n"
    "\n"
    "  /fac               factory mode (only as the first argument, exactly so)\n"
    "  --factory          factory mode, wherever it stands\n"
    "  --model NAME       COM1 is the simulated camera NAME (sim:NAME) unless the\n"
    "                     environment variable ICCD_COM1 names a device\n"
    "  --quit-after-start quit as soon as the main window is filled\n"
    "  --open PANEL       once started, open a panel as its menu item does:\n"
    "                     advanced, split, color, preferences, presets, afe\n"
    "                     (factory) or fpga (factory)\n"
    "  --screenshot FILE  save the main window (or the panel --open opened) as a\n"
    "                     PNG picture, then quit\n"
    "  --instance-key KEY only copies started with the same KEY refuse each other\n"
    "  --config-dir DIR   keep \"ICCD.ini\" in DIR\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "\n"
    "Ports name devices through ICCD_COM<n> (a serial device, tcp:HOST:PORT or\n"
    "sim:MODEL); otherwise COM1..8 are /dev/ttyS0..7, COM9..16 /dev/ttyUSB0..7 and\n"
    "COM17..24 /dev/ttyACM0..7.\n";

// Where "ICCD.ini" lives: the folder asked for; else, for an installed
// program (started from a desktop menu, in the home folder, its own folder
// not writable), the user's configuration folder; else the working directory.
std::string preferencesFolder(const AppOptions& options, const char* argv0)
{
    if (!options.configDir.empty()) return options.configDir;
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (exe.isEmpty() && argv0) exe = QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath();
    if (RunsFromBuildTree(exe.toStdString(), ICCD_BUILD_TREE)) return {};
    QCoreApplication::setOrganizationName(QStringLiteral("Ulvo"));
    QCoreApplication::setApplicationName(QStringLiteral("iccd-control"));
    // Its settings files start among the user's documents, not in /usr/bin.
    SetSettingsFileFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
}

std::string modelList()
{
    std::string list;
    for (const char* model : g_cam_models) list += (list.empty() ? "" : ", ") + std::string(model);
    return list;
}

// The main window (its frame as the window system draws it is not part of it).
QWidget* mainWindow()
{
    std::string title;
    if (GetPanelAttribute(g_mainpanel, ATTR_TITLE, &title) < 0) return nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle().toStdString() == title) return w;
    return nullptr;
}

// The panels --open knows, by the menu command that opens each.
struct OpenablePanel {
    const char* name;
    int menuItem;
    void (*open)() = nullptr;  ///< a dialog that is no camera pop-up
};
constexpr OpenablePanel kOpenable[] = {
    {"advanced", MAINMNU_ADVSET},
    {"split", MAINMNU_FILE_SPLIT},
    {"color", MAINMNU_COLORPROC},
    {"afe", MAINMNU_FILE_AFEACC},
    {"fpga", MAINMNU_FILE_FTEST},
    {"preferences", MAINMNU_FILE_SETUP,
     [] { MMnu_FilePrefCallback(g_mainmnuhandle, MAINMNU_FILE_SETUP, nullptr, g_mainpanel); }},
    {"presets", MAINMNU_FILE_PRESETS, OpenPresetsDialog},
};

const OpenablePanel* openable(const std::string& name)
{
    for (const OpenablePanel& p : kOpenable)
        if (name == p.name) return &p;
    return nullptr;
}

std::string openableList()
{
    std::string list;
    for (const OpenablePanel& p : kOpenable) list += (list.empty() ? "" : ", ") + std::string(p.name);
    return list;
}

bool saveScreenshot(const std::string& path)
{
    // A pop-up on screen is what the picture is of; a window system that
    // does not activate windows (offscreen) leaves it without focus.
    QWidget* main = mainWindow();
    QWidget* w = QApplication::activeModalWidget();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (!w && top->isVisible() && top != main && top->windowModality() != Qt::NonModal) w = top;
    if (!w) w = main;
    if (!w) return false;
    return w->grab().save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

// Once start-up is over: the picture, then the way out.  A picture waits a
// moment for the layout to settle.
void scheduleAfterStart(const AppOptions& options, int* status)
{
    if (const OpenablePanel* p = openable(options.open))
        QTimer::singleShot(0, [p, name = options.open] {
            // Only what the operator could choose: the item is on the menu and not greyed.
            int dimmed = 1;
            if (GetMenuBarAttribute(g_mainmnuhandle, p->menuItem, ATTR_DIMMED, &dimmed) < 0 || dimmed) {
                std::fprintf(stderr, "iccd-control: %s is not on offer for this camera and screen\n",
                             name.c_str());
                return;
            }
            if (p->open)
                p->open();
            else
                CameraPopupMenuCallback(g_mainmnuhandle, p->menuItem, nullptr, g_mainpanel);
        });
    if (!options.quitAfterStart && options.screenshot.empty()) return;
    const std::string screenshot = options.screenshot;
    QTimer::singleShot(screenshot.empty() ? 0 : 100, [screenshot, status] {
        ProcessSystemEvents();
        if (!screenshot.empty() && !saveScreenshot(screenshot)) {
            std::fprintf(stderr, "iccd-control: cannot save the window to %s\n", screenshot.c_str());
            *status = 1;
        }
        QuitUserInterface(0);
    });
}

}  // namespace

const char* AppUsage()
{
    return kUsage;
}

int ParseAppOptions(int argc, char** argv, AppOptions* options, std::string* error)
{
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i] ? argv[i] : ""));
    auto withValue = [](const char* name, const char* value) {
        return QCommandLineOption(QLatin1String(name), QString(), QLatin1String(value));
    };
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption factory(QStringLiteral("factory"));
    const QCommandLineOption quitAfterStart(QStringLiteral("quit-after-start"));
    const QCommandLineOption model = withValue("model", "NAME");
    const QCommandLineOption screenshot = withValue("screenshot", "FILE");
    const QCommandLineOption open = withValue("open", "PANEL");
    const QCommandLineOption instanceKey = withValue("instance-key", "KEY");
    const QCommandLineOption configDir = withValue("config-dir", "DIR");
    QCommandLineParser parser;
    const CommandLine line = ParseCommandLine(
        parser, {help, version, factory, quitAfterStart, model, screenshot, open, instanceKey, configDir},
        args);
    if (!line.missingValue.isEmpty()) {
        *error = line.missingValue.toStdString() + " needs a value";
        return 2;
    }
    // The program has always ignored what it does not know ("/fac" is read
    // apart, "-fac" is nobody's); a typo in a developer switch still
    // deserves a word.
    for (const QString& unknown : line.unknown)
        if (unknown.startsWith(QStringLiteral("--")))
            options->warnings.push_back("ignoring unknown option " + unknown.toStdString() + " (see --help)");
    if (!line.parsed && line.unknown.isEmpty())
        options->warnings.push_back("ignoring: " + parser.errorText().toStdString());

    options->help = parser.isSet(help);
    options->version = parser.isSet(version);
    options->factory = parser.isSet(factory);
    options->quitAfterStart = parser.isSet(quitAfterStart);
    auto take = [&](const QCommandLineOption& option, std::string* into) {
        if (parser.isSet(option)) *into = parser.value(option).toLocal8Bit().toStdString();
    };
    take(model, &options->simModel);
    take(screenshot, &options->screenshot);
    take(open, &options->open);
    take(instanceKey, &options->instanceKey);
    take(configDir, &options->configDir);
    if (parser.isSet(model) && Comm_ModelRow(options->simModel) < 0) {
        *error = "unknown model " + options->simModel + " (known: " + modelList() + ")";
        return 2;
    }
    if (parser.isSet(open) && !openable(options->open)) {
        *error = "unknown panel " + options->open + " (known: " + openableList() + ")";
        return 2;
    }
    return 0;
}

int RunIccdControl(int argc, char** argv)
{
    AppOptions options;
    std::string error;
    if (ParseAppOptions(argc, argv, &options, &error) != 0) {
        std::fprintf(stderr, "iccd-control: %s\n", error.c_str());
        return 2;
    }
    for (const std::string& warning : options.warnings)
        std::fprintf(stderr, "iccd-control: %s\n", warning.c_str());
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("iccd-control %s\n", ProgramVersion());
        return 0;
    }
    InstallDeviceTransports();
    const std::string prefsFolder = preferencesFolder(options, argc > 0 ? argv[0] : nullptr);
    SetPrefsFolder(prefsFolder);
    // Presets and the recent-file list: beside "ICCD.ini" when it was put
    // somewhere, in the user's data folder for an installed program.
    SetUserDataFolder(options.configDir.empty() && !prefsFolder.empty()
                          ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()
                          : prefsFolder);
    // A device named in the environment is the operator's choice and wins.
    if (!options.simModel.empty() && qEnvironmentVariableIsEmpty("ICCD_COM1"))
        SetComPortDevice(1, QString::fromStdString("sim:" + options.simModel));

    // A run nobody watches must not wait for someone to press OK.
    if (options.quitAfterStart || !options.screenshot.empty()) SetUnattendedMessages(true);
    switch (AppStart(argc, argv, options)) {
        case AppStartResult::Failed:
            if (!QCoreApplication::instance())
                std::fprintf(stderr, "iccd-control: no display to show the window on (DISPLAY is not set)\n");
            return -1;
        case AppStartResult::Duplicate:
            return 0;
        case AppStartResult::Started:
            break;
    }
    int status = 0;
    scheduleAfterStart(options, &status);
    AppRun();
    AppStop();
    CloseRunTime();
    return status;
}
