// The device server's camera link: the one path to the port.  It lives in
// the thread that runs the Qt event loop, where the link's transports,
// timers and waits live; the TANGO request threads hand it their work with
// call(), which runs one job at a time there and waits for it.  It finds
// the camera, keeps its state (identifying, connected, lost, loading a
// file) with the text that explains it, and looks for the camera again
// about once a second while the link is lost, as the desktop program does.
#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

class QTimer;

/// What the server tells its clients (TANGO's INIT, ON, FAULT, RUNNING).
enum class LinkState { Init, On, Fault, Running };

class CameraLink : public QObject {
public:
    /// Made in the Qt thread, before the TANGO threads start.
    CameraLink();
    ~CameraLink() override;

    /// Runs job in the link's thread and returns once it is done; jobs from
    /// several threads run one after the other.  Called from the link's own
    /// thread, the job runs at once.
    void call(const std::function<void()>& job);

    /// Starts (again) on device at baud: the state becomes INIT, the camera
    /// is looked for in the link's thread and the call returns at once.
    void start(const std::string& device, int baud);

    // Readable from any thread.
    LinkState state() const;
    std::string status() const;
    std::string device() const;
    /// Counts the times a camera was found with another model than before
    /// (the first camera counts): the device re-makes its attributes then.
    std::uint64_t modelGeneration() const;
    /// Counts every change of state, status or model.
    std::uint64_t changes() const;
    /// Waits until changes() differs from seen, or timeoutMs passed.
    std::uint64_t waitForChange(std::uint64_t seen, int timeoutMs) const;

    // In the link's thread only (inside call()).
    /// Marks a settings-file load under way (RUNNING) or over.
    void setLoading(const std::string& path, bool loading);
    /// Asks the camera its model again; a different one counts as a new
    /// model.  Returns the query's status.
    int reidentify();
    /// With the link lost, tries the port once now.  True when a camera
    /// answered.
    bool restoreNow();

private:
    void tryToConnect();
    void onLinkLost();
    void identified(bool sameModel);
    void setState(LinkState state, const std::string& status);
    void noteModel(int row);

    QTimer* retry_ = nullptr;
    int baud_ = 9600;
    int modelRow_ = -1;
    bool inJob_ = false;
    std::mutex callMutex_;  // one job at a time
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    LinkState state_ = LinkState::Init;
    std::string status_;
    std::string device_;
    std::uint64_t modelGeneration_ = 0;
    std::uint64_t changes_ = 0;
};

/// The link the server runs on: one per process, like the port it owns.
CameraLink& ServerLink();
/// Installs it (made by main in the Qt thread; nullptr removes it).
void SetServerLink(CameraLink* link);
