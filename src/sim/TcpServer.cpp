#include "sim/TcpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include "sim/SimEndpoint.h"

namespace sim {

TcpServer::TcpServer(SimEndpoint& endpoint, QObject* parent) : QObject(parent), endpoint_(endpoint)
{
    connect(&server_, &QTcpServer::newConnection, this, &TcpServer::takeNextClient);
    endpoint_.setSink([this](const QByteArray& bytes) {
        if (client_) client_->write(bytes);
    });
    endpoint_.setHangupHandler([this] { hangUp(); });
}

TcpServer::~TcpServer()
{
    endpoint_.setSink(nullptr);
    endpoint_.setHangupHandler(nullptr);
    if (client_) {
        client_->disconnect(this);
        client_->abort();
    }
}

bool TcpServer::listen(const QString& host, quint16 port, QString* error)
{
    QHostAddress address;
    if (host.isEmpty() || host == QLatin1String("*"))
        address = QHostAddress::Any;
    else if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(host)) {
        if (error) *error = QStringLiteral("not an IP address: %1").arg(host);
        return false;
    }
    if (!server_.listen(address, port)) {
        if (error)
            *error =
                QStringLiteral("cannot listen on %1:%2: %3").arg(host).arg(port).arg(server_.errorString());
        return false;
    }
    host_ = host;
    return true;
}

QString TcpServer::address() const
{
    return QStringLiteral("tcp:%1:%2").arg(host_).arg(port());
}

void TcpServer::takeNextClient()
{
    // Further connections stay queued in the server until this client leaves.
    while (!client_ && server_.hasPendingConnections()) {
        QTcpSocket* socket = server_.nextPendingConnection();
        if (socket->state() != QAbstractSocket::ConnectedState) {
            socket->deleteLater();
            continue;
        }
        client_ = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket == client_) endpoint_.feed(socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, this, &TcpServer::clientGone);
        if (socket->bytesAvailable() > 0) endpoint_.feed(socket->readAll());
    }
}

void TcpServer::clientGone()
{
    if (client_) {
        client_->disconnect(this);
        client_->deleteLater();
        client_ = nullptr;
    }
    endpoint_.cancelPending();
    endpoint_.camera().clearPendingInput();
    takeNextClient();
}

void TcpServer::hangUp()
{
    // Let the reply just written reach the client, then close; whatever the
    // client sends meanwhile is not heard any more.
    if (client_) {
        QObject::disconnect(client_, &QTcpSocket::readyRead, this, nullptr);
        client_->disconnectFromHost();
    }
    if (client_ && client_->state() == QAbstractSocket::UnconnectedState) clientGone();
}

}  // namespace sim
