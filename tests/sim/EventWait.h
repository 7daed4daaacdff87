// Waiting in the Qt event loop for something to happen, with a time limit.
#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <functional>

/// Processes events until done() holds (true) or timeoutMs pass (false).
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(timeoutMs);
    while (!done()) {
        if (!guard.isActive()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

/// Processes events for ms milliseconds.
inline void PumpFor(int ms)
{
    WaitUntil([] { return false; }, ms);
}
