// Serves a simulated camera on a pseudo-terminal, so that programs open it like
// a serial port.  A hang-up of the camera closes the terminal and brings up a
// fresh one shortly after, re-pointing the optional symlink to it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace sim {

class SimEndpoint;

class PtyServer : public QObject {
    Q_OBJECT
public:
    /// Serve this endpoint; linkPath (if not empty) is kept pointing at the device.
    explicit PtyServer(SimEndpoint& endpoint, QString linkPath = {}, QObject* parent = nullptr);
    /// Closes the terminal and removes the link.
    ~PtyServer() override;

    /// Create the first terminal.  False (with a reason) when that fails.
    bool start(QString* error = nullptr);

    /// Path of the current slave device ("/dev/pts/7"), empty while down.
    QString devicePath() const { return devicePath_; }

    /// Time between a hang-up and the new terminal (default 500 ms).
    void setReopenDelayMs(int ms) { reopenDelayMs_ = ms; }

signals:
    /// A terminal is up at this path (after start() and after every hang-up).
    void deviceReady(const QString& path);
    /// A hang-up could not be followed by a new terminal; the server is down.
    void failed(const QString& reason);

private:
    bool openPty(QString* error);
    void closePty();
    bool pointLink(QString* error);
    void readHost();
    void writeHost(const QByteArray& bytes);
    void flushOutput();
    void hangUp();
    void closeWhenDrained();
    void reopen();

    SimEndpoint& endpoint_;
    QString linkPath_;
    QString devicePath_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees EIO when a client leaves
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QByteArray output_;  // bytes the terminal could not take yet
    int reopenDelayMs_ = 500;
    QElapsedTimer hangupStarted_;
};

}  // namespace sim
