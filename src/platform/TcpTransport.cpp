// A raw TCP connection to a serial device server ("tcp:HOST:PORT").
#include <QTcpSocket>

#include "platform/Rs232.h"
#include "platform/Timing.h"
#include "platform/Transport.h"

namespace {

constexpr double kConnectTimeoutSeconds = 2.0;

class TcpTransport final : public Transport {
public:
    TcpTransport(const QString& host, quint16 port) : host_(host), port_(port) {}

    ~TcpTransport() override { close(); }

    void close() override
    {
        QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
        socket_.abort();
        down_ = true;
    }

    int open(long, int, int, int) override
    {
        socket_.connectToHost(host_, port_);
        // Wait in the event loop, not in a blocking call, so the program stays
        // responsive while a device server is slow to answer.
        const double start = Timer();
        while (socket_.state() != QAbstractSocket::ConnectedState &&
               socket_.state() != QAbstractSocket::UnconnectedState) {
            const double left = kConnectTimeoutSeconds - (Timer() - start);
            if (left <= 0) break;
            WaitForSystemEvents(left);
        }
        if (socket_.state() != QAbstractSocket::ConnectedState) {
            openError = socket_.state() == QAbstractSocket::UnconnectedState
                            ? socket_.errorString().toStdString()
                            : "no answer within 2 seconds";
            socket_.abort();
            return kRS_CanNotOpenPort;
        }
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] {
            const QByteArray bytes = socket_.readAll();
            if (!bytes.isEmpty() && onData) onData(bytes.constData(), static_cast<int>(bytes.size()));
        });
        QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { linkDown(); });
        QObject::connect(&socket_, &QTcpSocket::errorOccurred, [this] { linkDown(); });
        return kRS_Ok;
    }

    int write(const char* data, int count) override
    {
        if (down_) return kRS_LinkDown;
        const qint64 n = socket_.write(data, count);
        return n < 0 ? kRS_UnknownIOError : static_cast<int>(n);
    }

private:
    void linkDown()
    {
        if (down_) return;
        down_ = true;
        if (onLinkDown) onLinkDown();
    }

    QString host_;
    quint16 port_;
    QTcpSocket socket_;
    bool down_ = false;
};

}  // namespace

std::unique_ptr<Transport> MakeTcpTransport(const QString& host, quint16 tcpPort)
{
    return std::make_unique<TcpTransport>(host, tcpPort);
}
