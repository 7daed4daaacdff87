// The in-process simulated cameras behind ports mapped to "sim:MODEL".
//
// A port's camera is made the first time it is asked for (or the port is
// opened) and then lives for the rest of the process, like a real camera that
// keeps its settings while the program closes and reopens the port.  Adding
// ",paced" to the device text ("sim:VKC-475,paced") paces the line at the baud
// rate the port is opened with.
#pragma once

#include <QString>
#include <memory>

#include "platform/Transport.h"

namespace sim {
class SimEndpoint;
}

/// The simulated camera on a port, made on first use; nullptr when the port
/// does not map to "sim:MODEL" or MODEL is unknown.
sim::SimEndpoint* SimCameraOnPort(int port);

/// Forgets every in-process simulated camera (ports using them must be closed).
void ResetSimCameras();

/// The transport to the simulated camera of a port for "sim:MODEL[,paced]";
/// nullptr for any other text, an unknown MODEL or a port outside 1..32.
std::unique_ptr<Transport> MakeSimTransport(const QString& device, int port);
