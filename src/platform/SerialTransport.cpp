// A real serial device through QSerialPort.
#include <QFile>
#include <QSerialPort>

#include "platform/Rs232.h"
#include "platform/Transport.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

// Two programs on one device would each take the other's replies.  The
// exclusive open that Qt asks for does not hold against root, nor across two
// names of one device (a symlink), so the device is also locked with flock,
// which holds for every process and every name of the same device.
class DeviceLock {
public:
    ~DeviceLock() { release(); }

    /// kRS_Ok, or kRS_PortInUse when another holder has the device.
    int take(const QString& device)
    {
#ifdef Q_OS_UNIX
        release();
        fd_ = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return errno == EBUSY ? kRS_PortInUse : kRS_Ok;  // the real open reports the rest
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            release();
            return held ? kRS_PortInUse : kRS_Ok;
        }
#else
        (void)device;
#endif
        return kRS_Ok;
    }

    void release()
    {
#ifdef Q_OS_UNIX
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
#endif
    }

private:
    int fd_ = -1;
};

class SerialTransport final : public Transport {
public:
    explicit SerialTransport(const QString& device) : device_(device) { port_.setPortName(device); }

    ~SerialTransport() override { close(); }

    void close() override
    {
        QObject::disconnect(&port_, nullptr, nullptr, nullptr);
        if (port_.isOpen()) port_.close();
        lock_.release();
    }

    int open(long baudRate, int parity, int dataBits, int stopBits) override
    {
        if (!port_.setBaudRate(static_cast<qint32>(baudRate))) return kRS_InvalidBaudRate;
        port_.setDataBits(static_cast<QSerialPort::DataBits>(dataBits));
        port_.setParity(parity == 0   ? QSerialPort::NoParity
                        : parity == 1 ? QSerialPort::OddParity
                        : parity == 2 ? QSerialPort::EvenParity
                        : parity == 3 ? QSerialPort::MarkParity
                                      : QSerialPort::SpaceParity);
        port_.setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
        port_.setFlowControl(QSerialPort::NoFlowControl);
        if (const int lock = lock_.take(device_); lock != kRS_Ok) return lock;
        if (!port_.open(QIODevice::ReadWrite)) {
            openError = port_.errorString().toStdString();
            lock_.release();
            return kRS_CanNotOpenPort;
        }
        // Qt does not drop what the driver queued before the open.
        port_.clear(QSerialPort::AllDirections);

        QObject::connect(&port_, &QSerialPort::readyRead, [this] { readAll(); });
        QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
            // Unplugged adapters and closed pseudo-terminals show up as any of
            // these, depending on the driver; all mean the device is gone.
            if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError ||
                e == QSerialPort::WriteError)
                linkDown();
        });
        return kRS_Ok;
    }

    int write(const char* data, int count) override
    {
        if (down_ || !port_.isOpen()) return kRS_LinkDown;
        int done = 0;
#ifdef Q_OS_UNIX
        // A command line is a few bytes that the driver takes at once.  Qt's
        // own write queues it, turns a write notifier on and off and sends it
        // on the next turn of the event loop; writing the descriptor directly
        // sends it now, and only a rest the driver cannot take goes Qt's way.
        if (port_.bytesToWrite() == 0) {
            const ssize_t n = ::write(static_cast<int>(port_.handle()), data, static_cast<size_t>(count));
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return kRS_UnknownIOError;
            done = n > 0 ? static_cast<int>(n) : 0;
            if (done == count) return count;
        }
#endif
        if (port_.write(data + done, count - done) < 0) return kRS_UnknownIOError;
        port_.flush();
        return count;
    }

    void discardOutput() override
    {
        // What Qt still holds is dropped; once it has handed everything to
        // the driver, a healthy line has sent it and there is nothing to drop.
        if (port_.isOpen() && port_.bytesToWrite() > 0) port_.clear(QSerialPort::Output);
    }

private:
    void readAll()
    {
        const QByteArray bytes = port_.readAll();
        if (!bytes.isEmpty() && onData) onData(bytes.constData(), static_cast<int>(bytes.size()));
    }

    void linkDown()
    {
        if (down_) return;
        down_ = true;
        // Closing stops a notifier that would otherwise keep firing on a dead
        // descriptor; the port number stays open until the program closes it.
        QObject::disconnect(&port_, nullptr, nullptr, nullptr);
        port_.close();
        if (onLinkDown) onLinkDown();
    }

    QString device_;
    DeviceLock lock_;
    QSerialPort port_;
    bool down_ = false;
};

}  // namespace

std::unique_ptr<Transport> MakeSerialTransport(const QString& device)
{
    return std::make_unique<SerialTransport>(device);
}
