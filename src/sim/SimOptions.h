// Command line of iccdsim.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "sim/SimCamera.h"

namespace sim {

struct SimOptions {
    int modelRow = 5;  // VKC-475
    bool pty = false;
    QString linkPath;
    bool tcp = false;
    QString tcpHost;
    quint16 tcpPort = 0;
    QString logFile;
    int baud = 0;
    Faults faults;
    bool help = false;
    bool version = false;
};

/// Parse the arguments (without the program name).  On a usage error returns
/// nothing and sets error to a one-line reason.
std::optional<SimOptions> ParseSimOptions(const QStringList& args, QString* error);

/// The --help text: one line per switch.
QString SimUsage();

}  // namespace sim
