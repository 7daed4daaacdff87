#include "platform/Timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// The step of a wait shorter than a millisecond: what arrives meanwhile is
// handled at most this late.
constexpr double kPollMicroseconds = 50.0;

const QElapsedTimer& startClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock;
}

// Started when the library is loaded, so Timer() counts from program start.
[[maybe_unused]] const bool clockStarted = (startClock(), true);

}  // namespace

double Timer()
{
    return static_cast<double>(startClock().nsecsElapsed()) * 1e-9;
}

int ProcessSystemEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return 0;
}

void WaitForSystemEvents(double maxSeconds)
{
    if (maxSeconds <= 0.0) {
        ProcessSystemEvents();
        return;
    }
    // Qt's timers count whole milliseconds.  The whole ones are slept in the
    // event loop; a last fraction is polled in short sleeps, so that a wait
    // of half a millisecond does not last a whole one.
    const int wholeMs = static_cast<int>(maxSeconds * 1000.0);
    if (wholeMs == 0) {
        ProcessSystemEvents();
        QThread::usleep(static_cast<unsigned long>(std::min(kPollMicroseconds, maxSeconds * 1e6)));
        ProcessSystemEvents();
        return;
    }
    // The guard timer is itself an event, so the blocking call below returns by
    // the deadline even when nothing else happens.
    QTimer guard;
    guard.setSingleShot(true);
    guard.setTimerType(Qt::PreciseTimer);
    guard.start(wholeMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
