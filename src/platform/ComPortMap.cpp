#include "platform/ComPortMap.h"

#include <QByteArray>
#include <array>

#include "platform/Rs232.h"

namespace {

std::array<QString, kMaxComPort + 1>& overrides()
{
    static std::array<QString, kMaxComPort + 1> table;
    return table;
}

bool validPort(int port)
{
    return port >= 1 && port <= kMaxComPort;
}

}  // namespace

QString DefaultComPortDevice(int port)
{
    if (!validPort(port)) return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    if (port <= 8) return QStringLiteral("/dev/ttyS%1").arg(port - 1);
    if (port <= 16) return QStringLiteral("/dev/ttyUSB%1").arg(port - 9);
    if (port <= 24) return QStringLiteral("/dev/ttyACM%1").arg(port - 17);
    return {};
#endif
}

QString ComPortDevice(int port)
{
    if (!validPort(port)) return {};
    if (!overrides()[port].isEmpty()) return overrides()[port];
    const QByteArray env = qgetenv(QStringLiteral("ICCD_COM%1").arg(port).toLatin1().constData());
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return DefaultComPortDevice(port);
}

void SetComPortDevice(int port, const QString& device)
{
    if (validPort(port)) overrides()[port] = device;
}

void ClearComPortDevices()
{
    for (QString& device : overrides()) device.clear();
}
