#include "support/DeviceServer.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/Timing.h"

quint16 FreeTcpPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

DeviceServer::DeviceServer(const QString& device, quint16 tcpPort, const QString& folder)
    : device_(device), port_(tcpPort), config_(folder + QStringLiteral("/ser2net.yaml"))
{
}

DeviceServer::~DeviceServer()
{
    stop();
}

bool DeviceServer::start()
{
    QString program = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin")});
    if (program.isEmpty()) {
        error_ = QStringLiteral("ser2net is not installed (scripts/install-deps installs it)");
        return false;
    }
    // Raw mode: the bytes pass as they are, as on a commercial server's
    // "raw TCP" port.  kickolduser lets a reconnecting program in at once.
    QFile file(config_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = QStringLiteral("cannot write ") + config_;
        return false;
    }
    file.write(QStringLiteral("%YAML 1.1\n---\n"
                              "connection: &camera\n"
                              "  accepter: tcp,127.0.0.1,%1\n"
                              "  connector: serialdev,%2,9600n81,local\n"
                              "  options:\n"
                              "    kickolduser: true\n")
                   .arg(port_)
                   .arg(device_)
                   .toUtf8());
    file.close();

    // -n: stay in the foreground; -u: no UUCP lock files in /var/lock.
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config_,
                             QStringLiteral("-P"), config_ + QStringLiteral(".pid")});
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("ser2net did not start");
        return false;
    }
    const double deadline = Timer() + 5.0;
    while (Timer() < deadline) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(200)) {
            probe.abort();
            // The probe took the device for a moment; let ser2net let go.
            WaitForSystemEvents(0.1);
            return true;
        }
        if (process_.state() != QProcess::Running) break;
        process_.waitForFinished(50);
    }
    error_ =
        QStringLiteral("ser2net does not accept connections: ") + QString::fromLocal8Bit(process_.readAll());
    stop();
    return false;
}

void DeviceServer::stop()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(3000);
}

QString DeviceServer::deviceText() const
{
    return QStringLiteral("tcp:127.0.0.1:%1").arg(port_);
}
