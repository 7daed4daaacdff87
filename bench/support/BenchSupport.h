// What the benchmark programs share: the main of a Google Benchmark program
// with the programs' transports installed, and the desktop program started
// in-process on a simulated camera.
#pragma once

#include <QApplication>
#include <QTemporaryDir>

/// Runs the registered benchmarks in a Qt application (a QApplication when
/// withGui, on the offscreen platform unless one is chosen) with the device
/// transports installed; the exit status of main.
int RunBenchmarks(int argc, char** argv, bool withGui = false);

/// The desktop program started as a user would start it, on the offscreen
/// platform, in a folder of its own, with COM1 on a simulated VKC-475.
class DesktopOnSim {
public:
    /// Starts the program; factory adds "/fac".  Qt's remarks are silenced:
    /// the figures are what counts.
    DesktopOnSim(int& argc, char** argv, bool factory);
    /// Whether the program came up on the wanted screen with the camera on COM1.
    bool started() const { return started_; }

private:
    QApplication app_;
    QTemporaryDir dir_;
    bool started_ = false;
};
