// What stands behind each port number, in words an operator can choose by:
// the device text and, for a serial device, whether it is plugged in now and
// what it says of itself (description, maker, serial number).
#pragma once

#include <QString>
#include <vector>

struct PortDescription {
    int port = 0;
    QString device;        ///< the port map's device text; empty: no device
    bool present = false;  ///< a serial device that is there now (network and simulated: always)
    QString description, manufacturer, serialNumber;  ///< as the system knows the serial device
};

/// One entry for each port 1..kMaxComPort, in order, from one look at the
/// serial devices present.
std::vector<PortDescription> DescribePorts();

/// The ring label: "COM9: /dev/ttyUSB0 (present: FT232R USB UART, FTDI,
/// serial A10K3XQ)", "COM10: /dev/ttyUSB1 (not present)", "COM1: sim:VK-470
/// (simulated camera)", "COM2: tcp:10.0.0.5:4001 (network)", "COM25: no
/// device".
QString PortLabel(const PortDescription& d);
