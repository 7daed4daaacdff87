// The device behind an open port.  Three kinds exist: a serial device, a TCP
// connection to a serial device server, and the in-process simulated camera.
// All of them report received bytes and the loss of the device from the Qt
// event loop of the thread that opened them.
#pragma once

#include <QString>
#include <functional>
#include <memory>

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

    /// Received bytes, in order.
    std::function<void(const char* data, int count)> onData;
    /// The device went away; nothing more will arrive.
    std::function<void()> onLinkDown;
};

/// Makes the transport for a device text ("sim:MODEL", "tcp:HOST:PORT", or a
/// serial device path/name) of the given port.
std::unique_ptr<Transport> MakeTransport(const QString& device, int port);

std::unique_ptr<Transport> MakeSerialTransport(const QString& device);
std::unique_ptr<Transport> MakeTcpTransport(const QString& host, quint16 tcpPort);
std::unique_ptr<Transport> MakeSimTransport(const QString& device, int port);
