#include "devices/DeviceTransports.h"

#include "devices/SimPorts.h"

std::unique_ptr<Transport> MakeDeviceTransport(const QString& device, int port)
{
    if (device.startsWith(QLatin1String("sim:"))) return MakeSimTransport(device, port);
    return MakeSerialOrTcpTransport(device);
}

void InstallDeviceTransports()
{
    SetTransportFactory(MakeDeviceTransport);
}
