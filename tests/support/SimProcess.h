// Runs the iccdsim program in the background for end-to-end tests.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

class SimProcess {
public:
    /// Starts iccdsim with args and waits for its first line of output (the
    /// device it serves).  device() is empty when it did not start.
    explicit SimProcess(const QStringList& args);
    ~SimProcess();

    const QString& device() const { return device_; }
    /// Kills the simulator at once (the link drops).
    void kill();
    /// Next line the simulator prints (a new device after a hang-up), waiting
    /// up to timeoutMs in the event loop.
    QString nextLine(int timeoutMs = 3000);

private:
    QProcess process_;
    QString device_;
};

/// Path of a program built by this project (iccdsim, iccdctl).
QString BuiltProgram(const char* name);
