// iccdsim: a simulated ICCD camera on a pseudo-terminal or a TCP port.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>

#include "sim/PtyServer.h"
#include "sim/SimEndpoint.h"
#include "sim/SimOptions.h"
#include "sim/TcpServer.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop, so that the servers clean up (the link
// is removed) and the program exits with status 0.
void QuitOnSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

void PrintLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Fail(const QString& reason, int status)
{
    std::fprintf(stderr, "iccdsim: %s\n", reason.toLocal8Bit().constData());
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // A reader that stopped after the first line must not kill us when a new
    // device path is printed after a hang-up.
    ::signal(SIGPIPE, SIG_IGN);
    QString error;
    const auto opts = sim::ParseSimOptions(app.arguments().mid(1), &error);
    if (!opts) return Fail(error, 2);
    if (opts->help) {
        std::fputs(sim::SimUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (opts->version) {
        std::printf("iccdsim %s\n", ICCD_VERSION);
        return 0;
    }

    sim::SimEndpoint endpoint(opts->modelRow);
    endpoint.setBaud(opts->baud);
    endpoint.camera().faults() = opts->faults;
    if (!opts->logFile.isEmpty()) {
        // A log that cannot be written would leave the caller believing it
        // records the commands.
        QFile log(opts->logFile);
        if (!log.open(QIODevice::Append))
            return Fail(QStringLiteral("cannot write the log %1: %2").arg(opts->logFile, log.errorString()),
                        2);
        endpoint.camera().setLogFile(opts->logFile.toStdString());
    }

    QuitOnSignals();

    std::unique_ptr<sim::PtyServer> pty;
    std::unique_ptr<sim::TcpServer> tcp;
    if (opts->pty) {
        pty = std::make_unique<sim::PtyServer>(endpoint, opts->linkPath);
        QObject::connect(pty.get(), &sim::PtyServer::deviceReady, &PrintLine);
        QObject::connect(pty.get(), &sim::PtyServer::failed, [](const QString& reason) {
            std::fprintf(stderr, "iccdsim: %s\n", reason.toLocal8Bit().constData());
            QCoreApplication::exit(1);
        });
        if (!pty->start(&error)) return Fail(error, 1);
    } else {
        tcp = std::make_unique<sim::TcpServer>(endpoint);
        if (!tcp->listen(opts->tcpHost, opts->tcpPort, &error)) return Fail(error, 1);
        PrintLine(tcp->address());
    }
    return app.exec();
}
