#include "platform/Timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace {

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
    // The guard timer is itself an event, so the blocking call below returns by
    // the deadline even when nothing else happens.
    QTimer guard;
    guard.setSingleShot(true);
    guard.setTimerType(Qt::PreciseTimer);
    guard.start(static_cast<int>(std::ceil(maxSeconds * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
