#include "platform/Transport.h"

namespace {

TransportFactory s_factory = nullptr;

}  // namespace

TransportFactory SetTransportFactory(TransportFactory factory)
{
    const TransportFactory previous = s_factory;
    s_factory = factory;
    return previous;
}

std::unique_ptr<Transport> MakeTransport(const QString& device, int port)
{
    return s_factory ? s_factory(device, port) : MakeSerialOrTcpTransport(device);
}

std::unique_ptr<Transport> MakeSerialOrTcpTransport(const QString& device)
{
    if (device.startsWith(QLatin1String("tcp:"))) {
        const int colon = device.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const uint tcpPort = device.mid(colon + 1).toUInt(&ok);
        const QString host = device.mid(4, colon - 4);
        if (colon <= 4 || !ok || tcpPort == 0 || tcpPort > 65535 || host.isEmpty()) return nullptr;
        return MakeTcpTransport(host, static_cast<quint16>(tcpPort));
    }
    if (device.isEmpty()) return nullptr;
    return MakeSerialTransport(device);
}
