// A serial device server for end-to-end tests: ser2net on 127.0.0.1, in raw
// TCP mode, in front of a serial device (a simulated camera's
// pseudo-terminal).  Its configuration is written into a folder of the test's.
#pragma once

#include <QProcess>
#include <QString>

/// A TCP port on 127.0.0.1 that nothing listens on just now.
quint16 FreeTcpPort();

class DeviceServer {
public:
    /// The server to be: TCP port tcpPort on 127.0.0.1 forwards to device;
    /// its configuration goes into folder.
    DeviceServer(const QString& device, quint16 tcpPort, const QString& folder);
    ~DeviceServer();

    /// Starts ser2net and waits until it accepts connections; false (with
    /// the reason in error()) when it did not.
    bool start();
    /// Ends it at once; its connections drop.
    void stop();

    /// "tcp:127.0.0.1:PORT".
    QString deviceText() const;
    const QString& error() const { return error_; }

private:
    QString device_;
    quint16 port_;
    QString config_;
    QProcess process_;
    QString error_;
};
