// A simulated camera attached to a link: schedules the camera's replies on the
// Qt event loop with their fault delays and, optionally, at the pace of a serial
// line of a given baud rate (10 bit times per byte, both directions).
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "sim/SimCamera.h"

class QTimer;

namespace sim {

class SimEndpoint : public QObject {
    Q_OBJECT
public:
    explicit SimEndpoint(int modelRow = 5, QObject* parent = nullptr);
    ~SimEndpoint() override;

    SimCamera& camera() { return camera_; }

    /// Pace the line at this baud rate; 0 delivers without wire time.
    void setBaud(int baud);
    int baud() const { return baud_; }

    /// Where bytes toward the host go; called from the event loop, never from feed().
    void setSink(std::function<void(const QByteArray&)> sink);
    /// Called (from the event loop) when the camera drops the link.
    void setHangupHandler(std::function<void()> handler);

    /// Bytes from the host.  Replies are scheduled, never delivered synchronously.
    void feed(const QByteArray& bytes);

    /// Drops the link now, as a pulled cable does: what was scheduled is
    /// forgotten and the hang-up handler runs (from this call).
    void dropLink();

    /// Forget everything scheduled but not yet delivered.
    void cancelPending();

    /// Starts or stops the noise between replies as the camera's faults now
    /// ask (noiseRate, noiseByte).  Setting a sink and feeding bytes do it too.
    void updateNoise();

private:
    struct Scheduled {
        qint64 readyNs = 0;  ///< earliest time the first byte may go on the wire
        std::string bytes;
        std::size_t sent = 0;  ///< bytes of it already handed to the sink
        bool hangup = false;
    };

    void enqueue(std::vector<Emission> emissions, qint64 arrivedNs);
    void deliverDue();
    void scheduleNext();
    void sendNoise();
    qint64 nowNs() const { return clock_.nsecsElapsed(); }
    qint64 byteNs() const;

    SimCamera camera_;
    int baud_ = 0;
    std::function<void(const QByteArray&)> sink_;
    std::function<void()> hangup_;
    std::deque<Scheduled> queue_;  // ordered by readyNs; the front is on the wire
    QTimer* timer_;
    QElapsedTimer clock_;
    qint64 inputFreeAtNs_ = 0;   // when the host-to-camera wire is idle again
    qint64 outputFreeAtNs_ = 0;  // when the last delivered byte finished its wire time
    quint64 generation_ = 0;     // bumped by cancelPending
    QTimer* noiseTimer_;
    qint64 noiseDoneNs_ = 0;  // the noise is sent up to this time
    std::minstd_rand noiseBytes_{20261207};
};

}  // namespace sim
