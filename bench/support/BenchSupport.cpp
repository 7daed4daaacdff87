#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <memory>

#include "app/App.h"
#include "camera/Globals.h"
#include "devices/DeviceTransports.h"
#include "platform/ComPortMap.h"

int RunBenchmarks(int argc, char** argv, bool withGui)
{
    std::unique_ptr<QCoreApplication> app;
    if (withGui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    InstallDeviceTransports();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

namespace {

// QApplication reads the platform when it is made, so the variable is set
// before the member is constructed.
int& offscreen(int& argc)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return argc;
}

}  // namespace

DesktopOnSim::DesktopOnSim(int& argc, char** argv, bool factory) : app_(offscreen(argc), argv)
{
    InstallDeviceTransports();
    QDir::setCurrent(dir_.path());
    SetComPortDevice(1, QStringLiteral("sim:VKC-475"));
    static char name[] = "iccd-control";
    static char fac[] = "/fac";
    char* args[] = {name, factory ? fac : nullptr, nullptr};
    AppOptions options;
    options.checkInstance = false;
    started_ = AppStart(factory ? 2 : 1, args, options) == AppStartResult::Started && g_com_port == 1 &&
               g_prog_type == (factory ? 1 : 0);
}
