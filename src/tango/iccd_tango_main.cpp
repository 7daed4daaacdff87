// iccd-tango: the TANGO device server of one camera.  The Qt event loop,
// which carries the camera link, runs in the main thread; TANGO serves its
// clients from threads of its own and hands every request to the link.
#include <QCoreApplication>
#include <QMetaObject>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "devices/DeviceTransports.h"
#include "platform/Version.h"
#include "tango/CameraLink.h"
#include "tango/SettingAttributes.h"
#include "tango/UlvoIccdCamera.h"

namespace {

void printHelp()
{
    std::cout
        << "Usage: iccd-tango INSTANCE [--device DEVICE] [--baud N] [--factory] [TANGO server options]\n"
           "\n"
           "Serves one ICCD camera as a TANGO device of the class UlvoIccdCamera.\n"
           "\n"
           "  --device DEVICE   the camera: a serial device, tcp:HOST:PORT or sim:MODEL\n"
           "                    (the device property Device takes precedence)\n"
           "  --baud N          the baud rate (default 9600; the property BaudRate takes precedence)\n"
           "  --factory         factory mode: the Expert commands FactoryDefaults, WriteAfe,\n"
           "                    ReadFpga, WriteFpga and Raw (the property FactoryMode takes precedence)\n"
           "  --attribute-table print the attributes of every setting as a Markdown table\n"
           "  --help, --version\n"
           "\n"
           "Without a TANGO database: iccd-tango 1 --device sim:VK-470 -nodb -dlist lab/iccd/1 \\\n"
           "                          -ORBendPoint giop:tcp:127.0.0.1:45450\n";
}

bool positiveNumber(const std::string& text, int* value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::stoi(text);
    return *value > 0;
}

void classFactory(Tango::DServer* server)
{
    server->_add_class(iccdtango::UlvoIccdCameraClass::init("UlvoIccdCamera"));
}

}  // namespace

int main(int argc, char** argv)
{
    // Our options out, TANGO's left in order.
    iccdtango::ServerOptions& options = iccdtango::CommandLineOptions();
    std::vector<char*> tangoArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printHelp();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "iccd-tango " << ProgramVersion() << "\n";
            return 0;
        }
        if (arg == "--attribute-table") {
            std::cout << AttributeTableMarkdown();
            return 0;
        }
        if (arg == "--factory") {
            options.factory = true;
        } else if (arg == "--device" || arg == "--baud") {
            if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0) {
                std::cerr << "iccd-tango: " << arg << " needs a value (see iccd-tango --help)\n";
                return 2;
            }
            const std::string value = argv[++i];
            if (arg == "--device") {
                options.device = value;
            } else if (!positiveNumber(value, &options.baud)) {
                std::cerr << "iccd-tango: --baud takes a positive number\n";
                return 2;
            }
        } else if (arg.rfind("--", 0) == 0) {
            std::cerr << "iccd-tango: unknown option " << arg << " (see iccd-tango --help)\n";
            return 2;
        } else {
            tangoArgs.push_back(argv[i]);
        }
    }
    if (tangoArgs.size() < 2) {
        std::cerr << "iccd-tango: no instance name given (see iccd-tango --help)\n";
        return 2;
    }

    // TANGO waits for these in a thread of its own; no other thread may take them.
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int s : {SIGINT, SIGTERM, SIGQUIT, SIGHUP}) sigaddset(&blocked, s);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    InstallDeviceTransports();
    CameraLink link;
    SetServerLink(&link);

    int result = 0;
    std::thread tango([&] {
        omni_thread::create_dummy();  // TANGO's monitors know their owner as an omniORB thread
        try {
            Tango::DServer::register_class_factory(classFactory);
            Tango::Util* util = Tango::Util::init(static_cast<int>(tangoArgs.size()), tangoArgs.data());
            util->server_init(false);
            std::cout << "Ready to accept request" << std::endl;
            util->server_run();
            util->server_cleanup();
        } catch (const Tango::DevFailed& e) {
            Tango::Except::print_exception(e);
            result = 1;
        } catch (const CORBA::Exception& e) {
            Tango::Except::print_exception(e);
            result = 1;
        }
        omni_thread::release_dummy();
        QMetaObject::invokeMethod(
            &app, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    });
    app.exec();
    tango.join();
    SetServerLink(nullptr);
    return result;
}
