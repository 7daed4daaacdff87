// QCommandLineParser with the refusals our programs give: the parser itself
// names an unknown option without its dashes, and a missing value is only
// one more phrase of its error text.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

struct CommandLine {
    bool parsed = false;   ///< the parser took every argument
    QStringList unknown;   ///< unknown options as written ("--colour", "-x=1"), in their order
    QString missingValue;  ///< the option that ended the line wanting a value, as written
};

/// Adds options to parser and parses args (without the program name).  A
/// single dash starts a long option too ("-help" is --help), as the programs'
/// own "-h" and the operator's habits want.
CommandLine ParseCommandLine(QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                             const QStringList& args);
