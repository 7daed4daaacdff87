// The device behind an open port.  The serial services know two kinds by
// themselves: a serial device and a TCP connection to a serial device server.
// A program adds others (the simulated camera in this process) by installing a
// factory that knows their device texts.  Every kind reports received bytes
// and the loss of the device from the Qt event loop of the thread that opened
// it.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

class Transport {
public:
    virtual ~Transport() = default;

    /// Connects to the device; returns 0 or a negative Rs232Status.
    virtual int open(long baudRate, int parity, int dataBits, int stopBits) = 0;
    /// Queues bytes toward the device; returns count or a negative Rs232Status.
    virtual int write(const char* data, int count) = 0;
    /// Drops output not yet handed to the device.
    virtual void discardOutput() {}
    /// Lets go of the device at once (so it can be opened again) and stops all
    /// reporting.  The object itself may be deleted later.
    virtual void close() = 0;

    /// The system's words for why the last open failed ("Permission denied",
    /// "Connection refused"); empty when it had none.
    std::string openError;

    /// Received bytes, in order.
    std::function<void(const char* data, int count)> onData;
    /// The device went away; nothing more will arrive.
    std::function<void()> onLinkDown;
};

/// Makes the transport for the device text of a port; nullptr when it cannot.
using TransportFactory = std::unique_ptr<Transport> (*)(const QString& device, int port);

/// Installs the factory that OpenComConfig makes its transports with and
/// returns the one installed before (nullptr: none).  Without one, ports open
/// what MakeSerialOrTcpTransport knows, so a program that installs nothing
/// still reaches real devices.
TransportFactory SetTransportFactory(TransportFactory factory);

/// The transport OpenComConfig opens for a device text: the installed
/// factory's, else MakeSerialOrTcpTransport's.
std::unique_ptr<Transport> MakeTransport(const QString& device, int port);

/// "tcp:HOST:PORT" is a serial device server, any other text a serial device
/// path or name.  nullptr for an empty text or a malformed "tcp:" one.
std::unique_ptr<Transport> MakeSerialOrTcpTransport(const QString& device);

std::unique_ptr<Transport> MakeSerialTransport(const QString& device);
std::unique_ptr<Transport> MakeTcpTransport(const QString& host, quint16 tcpPort);
