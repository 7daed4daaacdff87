#include "support/SimProcess.h"

#include "platform/Timing.h"

#ifndef ICCD_BIN_DIR
#define ICCD_BIN_DIR "."
#endif

QString BuiltProgram(const char* name)
{
    return QStringLiteral(ICCD_BIN_DIR "/") + QLatin1String(name);
}

SimProcess::SimProcess(const QStringList& args)
{
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(BuiltProgram("iccdsim"), args);
    if (!process_.waitForStarted(5000)) return;
    device_ = nextLine(5000);
}

SimProcess::~SimProcess()
{
    kill();
}

void SimProcess::kill()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(3000);
}

QString SimProcess::nextLine(int timeoutMs)
{
    const double deadline = Timer() + timeoutMs / 1000.0;
    while (!process_.canReadLine() && Timer() < deadline && process_.state() == QProcess::Running)
        process_.waitForReadyRead(static_cast<int>((deadline - Timer()) * 1000) + 1);
    return QString::fromLocal8Bit(process_.readLine()).trimmed();
}
