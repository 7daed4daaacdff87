// Serves a simulated camera on a TCP port, the way a serial device server in raw
// mode would: one client at a time, others wait until it leaves.  A hang-up of
// the camera drops the client and the server goes on listening.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace sim {

class SimEndpoint;

class TcpServer : public QObject {
    Q_OBJECT
public:
    explicit TcpServer(SimEndpoint& endpoint, QObject* parent = nullptr);
    ~TcpServer() override;

    /// Listen on host ("127.0.0.1", "localhost", "0.0.0.0", "*") and port (0:
    /// any free port).  False (with a reason) when that fails.
    bool listen(const QString& host, quint16 port, QString* error = nullptr);

    /// The port listened on (the chosen one when 0 was asked for).
    quint16 port() const { return server_.serverPort(); }
    /// "tcp:HOST:PORT" as clients name this server.
    QString address() const;

    /// True while a client is being served.
    bool hasClient() const { return !client_.isNull(); }

private:
    void takeNextClient();
    void clientGone();
    void hangUp();

    SimEndpoint& endpoint_;
    QTcpServer server_;
    QString host_;
    QPointer<QTcpSocket> client_;
};

}  // namespace sim
