#include "tango/CameraLink.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <future>

#include "camera/Connect.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"
#include "platform/ComPortMap.h"

namespace {

// The server drives one camera on one port, as iccdctl does.
constexpr int kPort = 1;
constexpr int kRetryMs = 1000;

CameraLink* s_link = nullptr;

void linkLost()
{
    // The observer is a plain function: the link tells its one server.
    if (s_link)
        QMetaObject::invokeMethod(
            s_link, [] { s_link->restoreNow(); }, Qt::QueuedConnection);
}

}  // namespace

CameraLink& ServerLink()
{
    return *s_link;
}

void SetServerLink(CameraLink* link)
{
    s_link = link;
    Comm_SetLinkLostHook(link ? linkLost : nullptr);
}

CameraLink::CameraLink() : retry_(new QTimer(this))
{
    retry_->setInterval(kRetryMs);
    connect(retry_, &QTimer::timeout, this, &CameraLink::tryToConnect);
}

CameraLink::~CameraLink()
{
    if (g_com_port != 0) {
        Comm_ClosePort(g_com_port);
        g_com_port = 0;
    }
}

void CameraLink::call(const std::function<void()>& job)
{
    if (QThread::currentThread() == thread()) {
        job();
        return;
    }
    const std::lock_guard<std::mutex> one(callMutex_);
    std::promise<void> done;
    // An operation of the link's own (finding the camera) finishes first:
    // the job waits for the link to be idle, so it is never refused as busy.
    QMetaObject::invokeMethod(
        this,
        [this, &job, &done] {
            Comm_WhenLinkIdle([this, &job, &done] {
                inJob_ = true;
                try {
                    job();
                    done.set_value();
                } catch (...) {
                    done.set_exception(std::current_exception());
                }
                inJob_ = false;
            });
        },
        Qt::QueuedConnection);
    done.get_future().get();
}

void CameraLink::start(const std::string& device, int baud)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        device_ = device;
        baud_ = baud;
    }
    setState(LinkState::Init, "Identifying the camera on " + device);
    QMetaObject::invokeMethod(
        this,
        [this, device] {
            if (g_com_port != 0) {
                Comm_ClosePort(g_com_port);
                g_com_port = 0;
            }
            SetComPortDevice(kPort, QString::fromStdString(device));
            tryToConnect();
        },
        Qt::QueuedConnection);
}

void CameraLink::tryToConnect()
{
    // A job owns the link; the next tick tries again.
    if (inJob_ || Comm_LinkInUse()) return;
    const std::string where = device();
    if (g_com_port != 0 && !Comm_LinkLost()) {
        retry_->stop();
        return;
    }
    if (g_com_port != 0) {
        const int modelBefore = modelRow_;
        if (Comm_Reconnect() == COMM_OK) {
            identified(g_cam_model_user_idx == modelBefore);
        } else {
            retry_->start();
        }
        return;
    }
    if (OpenCamera(kPort, baud_, 0) != 0) {
        setState(LinkState::Fault,
                 "No camera found, looking for the camera on " + where + ": " + Comm_OpenCameraReport());
        retry_->start();
        return;
    }
    if (!Comm_LastModelKnown()) {
        // Read or written in another model's shape, its settings would be wrong.
        std::string text = "The camera on " + where + " names an unknown model '";
        text += Comm_LastModelName();
        text += "'; looking again";
        Comm_ClosePort(g_com_port);
        g_com_port = 0;
        setState(LinkState::Fault, text);
        retry_->start();
        return;
    }
    identified(g_cam_model_user_idx == modelRow_);
}

void CameraLink::identified(bool sameModel)
{
    retry_->stop();
    setState(LinkState::Init, "Identifying the camera on " + device());
    // The shutter-speed range is the camera's to tell.
    Settings_AskLongestShutter();
    if (!sameModel) noteModel(g_cam_model_user_idx);
    if (Comm_LinkLost()) {
        onLinkLost();
        return;
    }
    std::string text = "Connected to the ";
    text += g_cam_models[g_cam_model_user_idx];
    text += " on " + device();
    setState(LinkState::On, text);
}

void CameraLink::onLinkLost()
{
    setState(LinkState::Fault, "Camera link lost, looking for the camera on " + device());
    retry_->start();
}

bool CameraLink::restoreNow()
{
    if (g_com_port == 0 || !Comm_LinkLost()) return false;
    if (state() != LinkState::Fault) onLinkLost();
    tryToConnect();
    return state() == LinkState::On;
}

int CameraLink::reidentify()
{
    const int modelBefore = modelRow_;
    const int status = Comm_QueryAndRecordModel();
    if (status == COMM_OK && g_cam_model_user_idx != modelBefore) identified(false);
    return status;
}

void CameraLink::setLoading(const std::string& path, bool loading)
{
    if (loading) {
        setState(LinkState::Running, "Loading the settings file " + path);
    } else if (state() == LinkState::Running) {
        if (Comm_LinkLost()) {
            onLinkLost();
        } else {
            identified(true);
        }
    }
}

void CameraLink::noteModel(int row)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    modelRow_ = row;
    ++modelGeneration_;
    ++changes_;
    changed_.notify_all();
}

void CameraLink::setState(LinkState state, const std::string& status)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (state == state_ && status == status_) return;
    state_ = state;
    status_ = status;
    ++changes_;
    changed_.notify_all();
}

LinkState CameraLink::state() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

std::string CameraLink::status() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

std::string CameraLink::device() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return device_;
}

std::uint64_t CameraLink::modelGeneration() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return modelGeneration_;
}

std::uint64_t CameraLink::changes() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return changes_;
}

std::uint64_t CameraLink::waitForChange(std::uint64_t seen, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return changes_ != seen; });
    return changes_;
}
