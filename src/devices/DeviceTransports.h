// Every device a port can stand for in these programs: what the serial
// services open by themselves (serial devices, "tcp:HOST:PORT") and the
// simulated camera in this process ("sim:MODEL", "sim:MODEL,paced").
//
// The serial services know only the transport interface; the programs, and
// the tests, install this factory at start so that "sim:" texts work too.
#pragma once

#include <QString>
#include <memory>

#include "platform/Transport.h"

/// The transport for a device text of a port; nullptr when nothing fits.
std::unique_ptr<Transport> MakeDeviceTransport(const QString& device, int port);

/// Makes MakeDeviceTransport the factory the serial services open ports with.
void InstallDeviceTransports();
