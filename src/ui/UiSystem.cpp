// The run time itself: the application object, screen and directory queries,
// error texts, and the single-instance check.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QScreen>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Rs232.h"
#include "platform/WaitCursor.h"
#include "ui/UiCore.h"

namespace {

QApplication* s_application = nullptr;  // made here, kept for the whole run
std::string g_instanceKey = "UlvoIccdControl";
QLocalServer* g_instanceServer = nullptr;
QLockFile* g_instanceLock = nullptr;

const char kRaiseRequest[] = "raise";

QString instanceServerName()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    QString name = QString::fromStdString(g_instanceKey) + u'-' + user;
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_') c = u'_';
    return name;
}

void bringToFront()
{
    QWidget* w = uiimpl::FrontWindow();
    if (!w) return;
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

// The first copy listens; a later copy's request brings its window forward.
void listenForLaterCopies(QLocalServer* server)
{
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            auto serve = [socket] {
                if (socket->readAll().contains(kRaiseRequest)) bringToFront();
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, serve);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, serve] {
                serve();
                socket->deleteLater();
            });
        }
    });
}

// The camera layer asks for the busy cursor through platform, which knows
// nothing of windows; a program without an application object that has a
// cursor (the command-line tools) shows nothing.
void showWaitCursor(int on)
{
    static bool shown = false;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (on && !shown) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        shown = true;
    } else if (!on && shown) {
        QGuiApplication::restoreOverrideCursor();
        shown = false;
    }
}

}  // namespace

int InitRunTime(void*, char** argv, int)
{
    SetWaitCursorHook(showWaitCursor);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return 1;
    if (QCoreApplication::instance()) return 0;  // a program without windows
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return 0;
#endif
    static std::vector<char*> args;
    static int argc = 0;
    static char name[] = "iccd-control";
    if (argv)
        for (char** a = argv; *a; ++a) args.push_back(*a);
    if (args.empty()) args.push_back(name);
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    s_application = new QApplication(argc, args.data());
    // The program decides when it ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    return 1;
}

void CloseRunTime()
{
    ReleaseClosedPorts();
    // Windows discarded from their own callbacks are still waiting to go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete s_application;
    s_application = nullptr;
}

int GetScreenSize(int* height, int* width)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !screen) return UIENoRunTime;
    if (height) *height = screen->size().height();
    if (width) *width = screen->size().width();
    return UIENoError;
}

int GetProjectDir(std::string* directory)
{
    *directory = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    return UIENoError;
}

int GetProjectDir(char* directory, std::size_t size)
{
    std::string dir;
    GetProjectDir(&dir);
    if (!directory || dir.size() >= size) return UIEBufferTooSmall;
    std::memcpy(directory, dir.c_str(), dir.size() + 1);
    return UIENoError;
}

void SetAppInstanceKey(const char* key)
{
    g_instanceKey = key && *key ? key : "UlvoIccdControl";
    // Listening under the old key would answer for a program this no longer is.
    delete g_instanceServer;
    g_instanceServer = nullptr;
    delete g_instanceLock;
    g_instanceLock = nullptr;
}

int CheckForDuplicateAppInstance(int activateOtherInstance, int* isDuplicate)
{
    int duplicate = 0;
    if (!isDuplicate) isDuplicate = &duplicate;
    *isDuplicate = 0;
    if (!QCoreApplication::instance()) return UIENoRunTime;
    if (g_instanceServer) return UIENoError;  // this copy is the first one

    // Which copy is the first is decided by a lock file: two copies started
    // together cannot both take it, and the lock of a copy that died is free
    // again.  The socket only carries the request to come to the front.
    const QString name = instanceServerName();
    auto lock = std::make_unique<QLockFile>(QDir::temp().filePath(name + QStringLiteral(".lock")));
    lock->setStaleLockTime(0);  // held for the whole run: only a dead owner frees it
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) return UIEInstanceCheckFailed;
        *isDuplicate = 1;
        if (activateOtherInstance) ActivateOtherAppInstance();
        return UIENoError;
    }

    auto* server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket file left is a dead copy's.
    QLocalServer::removeServer(name);
    if (!server->listen(name)) {
        delete server;
        return UIEInstanceCheckFailed;
    }
    g_instanceLock = lock.release();
    listenForLaterCopies(server);
    g_instanceServer = server;
    return UIENoError;
}

int ActivateOtherAppInstance()
{
    if (!QCoreApplication::instance()) return UIENoRunTime;
    // The first copy may not be listening yet if it started a moment ago.
    QLocalSocket probe;
    for (int attempt = 0; attempt < 20; ++attempt) {
        probe.connectToServer(instanceServerName());
        if (probe.waitForConnected(100)) {
            probe.write(kRaiseRequest);
            probe.waitForBytesWritten(1000);
            probe.disconnectFromServer();
            return UIENoError;
        }
        probe.abort();
    }
    return UIEInstanceCheckFailed;
}

const char* GetUILErrorString(int error)
{
    switch (error) {
        case UIENoError:
            return "No error.";
        case UIENoRunTime:
            return "The user interface is not running.";
        case UIEFileNotFound:
            return "No resource file of that name.";
        case UIEResourceNotFound:
            return "The resource file has no panel or menu bar of that number.";
        case UIEHandleInvalid:
            return "Not a loaded panel or menu bar.";
        case UIEControlNotFound:
            return "The panel has no control of that number.";
        case UIEMenuItemNotFound:
            return "The menu bar has no item of that number.";
        case UIEInvalidAttribute:
            return "The attribute does not apply here.";
        case UIEInvalidType:
            return "The value does not fit the control.";
        case UIEOutOfRange:
            return "Value or index out of range.";
        case UIEItemNotInList:
            return "No list item has that value.";
        case UIENoPopup:
            return "No pop-up panel is shown.";
        case UIEAlreadyPopup:
            return "The panel is already a pop-up.";
        case UIEBufferTooSmall:
            return "The text does not fit the buffer.";
        case UIEControlNotOperable:
            return "The operator cannot reach that control.";
        case UIEInstanceCheckFailed:
            return "The single-instance check could not be set up.";
        default:
            return "Unknown user-interface error.";
    }
}
