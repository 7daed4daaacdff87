#include "platform/CommandLine.h"

CommandLine ParseCommandLine(QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                             const QStringList& args)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options);
    CommandLine line;
    // The parser takes the first argument for the program's name.
    line.parsed = parser.parse(QStringList{QString()} + args);
    if (line.parsed) return line;

    qsizetype next = 0;
    for (const QString& name : parser.unknownOptionNames()) {
        QString written = QStringLiteral("--") + name;
        for (qsizetype i = next; i < args.size(); ++i) {
            const QString option = args[i].section(u'=', 0, 0);
            if (option == QStringLiteral("--") + name || option == QStringLiteral("-") + name) {
                written = args[i];
                next = i + 1;
                break;
            }
        }
        line.unknown.append(written);
    }

    // Only the last argument can lack its value: every other one has a next.
    const QStringList found = parser.optionNames();
    if (found.isEmpty()) return line;
    for (const QCommandLineOption& option : options) {
        if (option.valueName().isEmpty() || !option.names().contains(found.last())) continue;
        qsizetype given = 0;
        for (const QString& name : found) given += option.names().contains(name) ? 1 : 0;
        if (parser.values(found.last()).size() < given) line.missingValue = args.last();
    }
    return line;
}
