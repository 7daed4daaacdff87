#include "sim/PtyServer.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include "sim/SimEndpoint.h"

namespace sim {

namespace {

// How long a hang-up waits for the client to read the last reply.
constexpr int kDrainLimitMs = 250;
constexpr int kPassOnMs = 10;

QString SystemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(what, strerror(errno));
}

void SetError(QString* error, const QString& text)
{
    if (error) *error = text;
}

}  // namespace

PtyServer::PtyServer(SimEndpoint& endpoint, QString linkPath, QObject* parent)
    : QObject(parent), endpoint_(endpoint), linkPath_(std::move(linkPath))
{
    endpoint_.setSink([this](const QByteArray& bytes) { writeHost(bytes); });
    endpoint_.setHangupHandler([this] { hangUp(); });
}

PtyServer::~PtyServer()
{
    endpoint_.setSink(nullptr);
    endpoint_.setHangupHandler(nullptr);
    closePty();
    if (!linkPath_.isEmpty()) {
        struct stat st;
        const QByteArray link = QFile::encodeName(linkPath_);
        if (::lstat(link.constData(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(link.constData());
    }
}

bool PtyServer::start(QString* error)
{
    if (!openPty(error)) return false;
    emit deviceReady(devicePath_);
    return true;
}

bool PtyServer::openPty(QString* error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        SetError(error, SystemError("cannot create a pseudo-terminal"));
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || (name = ::ptsname(master)) == nullptr) {
        SetError(error, SystemError("cannot unlock the pseudo-terminal"));
        ::close(master);
        return false;
    }
    const QString path = QString::fromLocal8Bit(name);
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        SetError(error, SystemError("cannot open the pseudo-terminal's device"));
        ::close(master);
        return false;
    }
    // Raw: no echo, no CR/LF translation, every byte passed on at once.
    struct termios tio;
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    master_ = master;
    slave_ = slave;
    devicePath_ = path;
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyServer::readHost);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyServer::flushOutput);
    if (!pointLink(error)) {
        closePty();
        return false;
    }
    return true;
}

void PtyServer::closePty()
{
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
    devicePath_.clear();
    output_.clear();
}

bool PtyServer::pointLink(QString* error)
{
    if (linkPath_.isEmpty()) return true;
    // Make the new link beside the old one and rename it over, so a client
    // never finds the path missing.
    const QByteArray link = QFile::encodeName(linkPath_);
    const QByteArray temp = link + ".new" + QByteArray::number(::getpid());
    ::unlink(temp.constData());
    if (::symlink(QFile::encodeName(devicePath_).constData(), temp.constData()) != 0 ||
        ::rename(temp.constData(), link.constData()) != 0) {
        SetError(error, SystemError("cannot create the link"));
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

void PtyServer::readHost()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            endpoint_.feed(QByteArray(buffer, n));
            if (master_ < 0) return;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;  // EAGAIN: all read
    }
}

void PtyServer::writeHost(const QByteArray& bytes)
{
    if (master_ < 0) return;
    output_ += bytes;
    flushOutput();
}

void PtyServer::flushOutput()
{
    while (!output_.isEmpty()) {
        const ssize_t n = ::write(master_, output_.constData(), size_t(output_.size()));
        if (n > 0) {
            output_.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // the terminal is full: wait until it takes more
        }
    }
    if (writeNotifier_) writeNotifier_->setEnabled(!output_.isEmpty());
}

void PtyServer::hangUp()
{
    // Closing the master flushes whatever the client has not read yet, so the
    // last reply would never arrive: stop listening now, close once it is read.
    if (readNotifier_) readNotifier_->setEnabled(false);
    endpoint_.cancelPending();
    endpoint_.camera().clearPendingInput();
    hangupStarted_.start();
    // The terminal passes written bytes on to the client's side a moment later;
    // only then does the unread count below see them.
    QTimer::singleShot(kPassOnMs, this, &PtyServer::closeWhenDrained);
}

void PtyServer::closeWhenDrained()
{
    if (master_ < 0) return;
    int unread = 0;
    if (::ioctl(slave_, FIONREAD, &unread) != 0) unread = 0;
    if ((unread > 0 || !output_.isEmpty()) && hangupStarted_.elapsed() < kDrainLimitMs) {
        QTimer::singleShot(2, this, &PtyServer::closeWhenDrained);
        return;
    }
    closePty();
    QTimer::singleShot(reopenDelayMs_, this, &PtyServer::reopen);
}

void PtyServer::reopen()
{
    QString error;
    if (!openPty(&error)) {
        emit failed(error);
        return;
    }
    emit deviceReady(devicePath_);
}

}  // namespace sim
