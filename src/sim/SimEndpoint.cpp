#include "sim/SimEndpoint.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace sim {

namespace {

constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
// While a long reply is on the wire, hand it over in pieces at least this far
// apart instead of waking up for every byte.
constexpr qint64 kChunkNs = 4 * kNsPerMs;

}  // namespace

SimEndpoint::SimEndpoint(int modelRow, QObject* parent)
    : QObject(parent), camera_(modelRow), timer_(new QTimer(this)), noiseTimer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &SimEndpoint::deliverDue);
    connect(noiseTimer_, &QTimer::timeout, this, &SimEndpoint::sendNoise);
    clock_.start();
}

SimEndpoint::~SimEndpoint() = default;

void SimEndpoint::setBaud(int baud)
{
    baud_ = std::max(baud, 0);
}

void SimEndpoint::setSink(std::function<void(const QByteArray&)> sink)
{
    sink_ = std::move(sink);
    updateNoise();
}

void SimEndpoint::updateNoise()
{
    const int rate = camera_.faults().noiseRate;
    if (rate <= 0 || !sink_) {
        noiseTimer_->stop();
        return;
    }
    // Wake for every byte of a slow trickle, or every 4 ms for a fast one.
    const int intervalMs = std::max(4, 1000 / rate);
    if (noiseTimer_->isActive() && noiseTimer_->interval() == intervalMs) return;
    noiseDoneNs_ = nowNs();
    noiseTimer_->start(intervalMs);
}

void SimEndpoint::sendNoise()
{
    const Faults& faults = camera_.faults();
    if (faults.noiseRate <= 0 || !sink_) {
        noiseTimer_->stop();
        return;
    }
    const qint64 now = nowNs();
    // Between replies only: while one is on the wire the noise holds off.
    if (!queue_.empty() && queue_.front().readyNs <= now) {
        noiseDoneNs_ = now;
        return;
    }
    const qint64 nsPerNoiseByte = 1000000000LL / faults.noiseRate;
    const qint64 count = (now - noiseDoneNs_) / nsPerNoiseByte;
    if (count <= 0) return;
    noiseDoneNs_ += count * nsPerNoiseByte;
    QByteArray bytes;
    for (qint64 i = 0; i < count; ++i) {
        switch (faults.noiseByte) {
            case NoiseByte::Letter:
                bytes += 'x';
                break;
            case NoiseByte::Nul:
                bytes += '\0';
                break;
            case NoiseByte::Random:
                bytes += static_cast<char>(noiseBytes_() & 0xFF);
                break;
        }
    }
    sink_(bytes);
}

void SimEndpoint::setHangupHandler(std::function<void()> handler)
{
    hangup_ = std::move(handler);
}

void SimEndpoint::dropLink()
{
    cancelPending();
    if (hangup_) hangup_();
}

qint64 SimEndpoint::byteNs() const
{
    return baud_ > 0 ? kBitsPerByte * 1000000000LL / baud_ : 0;
}

void SimEndpoint::feed(const QByteArray& bytes)
{
    const qint64 now = nowNs();
    const qint64 perByte = byteNs();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        // Each byte occupies the inbound wire after the one before it.
        if (perByte > 0) inputFreeAtNs_ = std::max(inputFreeAtNs_, now) + perByte;
        if (bytes[i] != '\r' && i + 1 < bytes.size()) continue;
        const std::string_view chunk(bytes.constData() + lineStart,
                                     static_cast<std::size_t>(i + 1 - lineStart));
        lineStart = i + 1;
        enqueue(camera_.receive(chunk), perByte > 0 ? inputFreeAtNs_ : now);
    }
    updateNoise();
    scheduleNext();
}

void SimEndpoint::enqueue(std::vector<Emission> emissions, qint64 arrivedNs)
{
    for (Emission& e : emissions) {
        Scheduled s;
        s.readyNs = arrivedNs + qint64(e.delayMs) * kNsPerMs;
        s.bytes = std::move(e.bytes);
        s.hangup = e.hangup;
        // After everything due at the same time or earlier: replies keep their
        // order, and a reply already on the wire is never overtaken.
        auto at = std::upper_bound(queue_.begin(), queue_.end(), s.readyNs,
                                   [](qint64 t, const Scheduled& q) { return t < q.readyNs; });
        queue_.insert(at, std::move(s));
    }
}

void SimEndpoint::cancelPending()
{
    queue_.clear();
    timer_->stop();
    ++generation_;
}

void SimEndpoint::deliverDue()
{
    const qint64 now = nowNs();
    const qint64 perByte = byteNs();
    std::vector<QByteArray> chunks;
    bool hangup = false;

    while (!queue_.empty() && queue_.front().readyNs <= now) {
        Scheduled& s = queue_.front();
        if (s.hangup) {
            queue_.pop_front();
            hangup = true;
            break;
        }
        QByteArray chunk;
        while (s.sent < s.bytes.size()) {
            const qint64 done = perByte > 0 ? std::max(s.readyNs, outputFreeAtNs_) + perByte : s.readyNs;
            if (done > now) break;
            chunk += s.bytes[s.sent++];
            if (perByte > 0) outputFreeAtNs_ = done;
        }
        if (!chunk.isEmpty()) chunks.push_back(std::move(chunk));
        if (s.sent < s.bytes.size()) break;
        queue_.pop_front();
    }

    // The sink and the hang-up handler may feed more, cancel, or even delete us.
    QPointer<SimEndpoint> self(this);
    const quint64 generation = generation_;
    for (const QByteArray& chunk : chunks) {
        if (sink_) sink_(chunk);
        if (!self || generation_ != generation) return;
    }
    if (hangup && hangup_) {
        hangup_();
        if (!self) return;
    }
    scheduleNext();
}

void SimEndpoint::scheduleNext()
{
    if (queue_.empty()) {
        timer_->stop();
        return;
    }
    const Scheduled& s = queue_.front();
    qint64 due = s.readyNs;
    const qint64 perByte = byteNs();
    if (perByte > 0 && !s.hangup && s.sent < s.bytes.size()) {
        // Wake when the rest of this reply has crossed the wire, or after a
        // chunk's worth of it, whichever comes first.
        const qint64 firstDone = std::max(s.readyNs, outputFreeAtNs_) + perByte;
        const qint64 lastDone = firstDone + qint64(s.bytes.size() - s.sent - 1) * perByte;
        due = std::min(lastDone, std::max(firstDone, nowNs() + kChunkNs));
    }
    // Qt timers count whole milliseconds, and the system's wait may end a
    // fraction of one late.  Sleep for the whole milliseconds that are left
    // but one, then poll the event loop through the rest, so a byte is
    // handed over neither early nor late.
    const qint64 waitNs = std::max<qint64>(due - nowNs() - kNsPerMs, 0);
    timer_->start(int(waitNs / kNsPerMs));
}

}  // namespace sim
