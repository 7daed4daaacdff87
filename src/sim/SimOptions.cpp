#include "sim/SimOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

namespace sim {

namespace {

// Switches that take a value, and how it is stored.
enum class Value {
    None,
    Model,
    Link,
    Tcp,
    Log,
    Baud,
    Delay,
    Refuse,
    Garbage,
    Late,
    LateMs,
    Overlong,
    ModelName,
    Junk,
    Hangup,
    Noise,
    NoiseByte
};

struct Switch {
    const char* name;
    Value value;
    const char* argument;
    const char* help;
};

const Switch kSwitches[] = {
    {"--model", Value::Model, "NAME", "camera model to simulate (default VKC-475)"},
    {"--pty", Value::None, nullptr,
     "serve on a new pseudo-terminal; its device path is the first line printed"},
    {"--link", Value::Link, "PATH", "with --pty: keep a symlink PATH pointing at the device"},
    {"--tcp", Value::Tcp, "HOST:PORT",
     "serve one TCP client at a time; prints tcp:HOST:PORT (port 0: any free)"},
    {"--log", Value::Log, "FILE", "append every received command line to FILE"},
    {"--baud", Value::Baud, "N", "pace both directions like an 8N1 line at N baud"},
    {"--silent", Value::None, nullptr, "never answer (commands are still logged)"},
    {"--delay", Value::Delay, "MS", "wait MS milliseconds before every reply"},
    {"--refuse", Value::Refuse, "MN[,MN..]", "answer :e to these mnemonics"},
    {"--garbage", Value::Garbage, "MN[,MN..]",
     "answer these with a line that is neither acceptance nor refusal"},
    {"--late", Value::Late, "MN[,MN..]", "answer these only after --late-ms"},
    {"--late-ms", Value::LateMs, "MS", "delay of a late reply (default 3000)"},
    {"--overlong", Value::Overlong, "MN[,MN..]", "answer these with a reply line of 300 characters"},
    {"--junk", Value::Junk, "TEXT", "send TEXT ahead of every reply's colon"},
    {"--model-name", Value::ModelName, "NAME", "answer the model query with NAME, as an unknown camera does"},
    {"--byte-by-byte", Value::None, nullptr, "deliver every reply byte on its own, 1 ms apart"},
    {"--duplicate", Value::None, nullptr, "send every reply line twice"},
    {"--hangup-after", Value::Hangup, "N", "drop the link after answering the N-th command"},
    {"--noise", Value::Noise, "RATE", "send RATE bytes per second of noise between replies"},
    {"--noise-byte", Value::NoiseByte, "x|nul|random", "what the noise is made of (default x)"},
    {"--web", Value::None, nullptr, "answer every line like a web server refusing a bad request"},
    {"--help", Value::None, nullptr, "show this help and exit"},
    {"--version", Value::None, nullptr, "show the version and exit"},
};

std::optional<int> NonNegative(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0) return std::nullopt;
    return v;
}

bool ParseMnemonics(const QString& text, std::set<std::string>& into)
{
    static const QRegularExpression mnemonic(QStringLiteral("^[A-Z][A-Z0-9]*$"));
    for (QString item : text.split(QLatin1Char(','))) {
        item = item.trimmed().toUpper();
        if (item.startsWith(QLatin1Char(':'))) item.remove(0, 1);
        if (!mnemonic.match(item).hasMatch()) return false;
        into.insert(item.toStdString());
    }
    return true;
}

}  // namespace

QString SimUsage()
{
    QString text = QStringLiteral(
        "Usage: iccdsim [--model NAME] (--pty [--link PATH] | --tcp HOST:PORT) [options]\n"
        "A simulated ICCD camera that speaks the serial protocol.\n\n");
    for (const Switch& s : kSwitches) {
        QString left = QString::fromLatin1(s.name);
        if (s.argument) left += QLatin1Char(' ') + QString::fromLatin1(s.argument);
        text += QStringLiteral("  %1 %2\n").arg(left, -24).arg(QString::fromLatin1(s.help));
    }
    text += QStringLiteral("\nModels:");
    for (const char* name : kModelNames) text += QLatin1Char(' ') + QString::fromLatin1(name);
    text += QLatin1Char('\n');
    return text;
}

std::optional<SimOptions> ParseSimOptions(const QStringList& args, QString* error)
{
    SimOptions opts;
    auto fail = [&](const QString& reason) -> std::optional<SimOptions> {
        if (error) *error = reason;
        return std::nullopt;
    };

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Switch& s : kSwitches)
        parser.addOption(QCommandLineOption(QString::fromLatin1(s.name + 2), QString(),
                                            s.argument ? QString::fromLatin1(s.argument) : QString()));
    // The parser takes the first argument for the program's name.
    if (!parser.parse(QStringList{QString()} + args)) {
        if (!parser.unknownOptionNames().isEmpty())
            return fail(
                QStringLiteral("unknown argument --%1 (see --help)").arg(parser.unknownOptionNames()[0]));
        return fail(parser.errorText() + QStringLiteral(" (see --help)"));
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unknown argument %1 (see --help)").arg(parser.positionalArguments()[0]));

    for (const Switch& s : kSwitches) {
        const QString name = QString::fromLatin1(s.name);
        if (!parser.isSet(name.mid(2))) continue;
        // A mnemonic list given twice adds up; any other value given twice is the last one.
        const QStringList values = parser.values(name.mid(2));
        const QString value = values.isEmpty() ? QString() : values.last();
        const QString bad = QStringLiteral("bad value for %1: %2").arg(name, value);

        switch (s.value) {
            case Value::None:
                if (name == QLatin1String("--pty")) opts.pty = true;
                if (name == QLatin1String("--silent")) opts.faults.silent = true;
                if (name == QLatin1String("--byte-by-byte")) opts.faults.byteByByte = true;
                if (name == QLatin1String("--duplicate")) opts.faults.duplicateReplies = true;
                if (name == QLatin1String("--web")) opts.faults.web = true;
                if (name == QLatin1String("--help")) opts.help = true;
                if (name == QLatin1String("--version")) opts.version = true;
                break;
            case Value::Model:
                opts.modelRow = ModelRowFromName(value.toStdString());
                if (opts.modelRow < 0)
                    return fail(QStringLiteral("unknown model %1 (see --help)").arg(value));
                break;
            case Value::Link:
                if (value.isEmpty()) return fail(bad);
                opts.linkPath = value;
                break;
            case Value::Tcp: {
                const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
                bool ok = false;
                const uint port = colon > 0 ? value.mid(colon + 1).toUInt(&ok) : 0;
                if (!ok || port > 65535) return fail(bad);
                opts.tcp = true;
                opts.tcpHost = value.left(colon);
                opts.tcpPort = quint16(port);
                break;
            }
            case Value::Log:
                if (value.isEmpty()) return fail(bad);
                opts.logFile = value;
                break;
            case Value::Baud: {
                const auto v = NonNegative(value);
                if (!v || *v == 0) return fail(bad);
                opts.baud = *v;
                break;
            }
            case Value::Delay:
            case Value::LateMs:
            case Value::Hangup: {
                const auto v = NonNegative(value);
                if (!v || (s.value == Value::Hangup && *v == 0)) return fail(bad);
                if (s.value == Value::Delay) opts.faults.replyDelayMs = *v;
                if (s.value == Value::LateMs) opts.faults.lateDelayMs = *v;
                if (s.value == Value::Hangup) opts.faults.hangupAfter = *v;
                break;
            }
            case Value::Refuse:
            case Value::Garbage:
            case Value::Late:
            case Value::Overlong: {
                auto& set = s.value == Value::Refuse    ? opts.faults.refuse
                            : s.value == Value::Garbage ? opts.faults.garbage
                            : s.value == Value::Late    ? opts.faults.late
                                                        : opts.faults.overlong;
                for (const QString& list : values)
                    if (!ParseMnemonics(list, set))
                        return fail(QStringLiteral("bad value for %1: %2").arg(name, list));
                break;
            }
            case Value::Junk:
                opts.faults.junkBeforeColon = value.toStdString();
                break;
            case Value::ModelName:
                opts.faults.modelName = value.toStdString();
                break;
            case Value::Noise: {
                const auto v = NonNegative(value);
                if (!v || *v == 0) return fail(bad);
                opts.faults.noiseRate = *v;
                break;
            }
            case Value::NoiseByte:
                if (value == QLatin1String("x")) {
                    opts.faults.noiseByte = NoiseByte::Letter;
                } else if (value == QLatin1String("nul")) {
                    opts.faults.noiseByte = NoiseByte::Nul;
                } else if (value == QLatin1String("random")) {
                    opts.faults.noiseByte = NoiseByte::Random;
                } else {
                    return fail(bad);
                }
                break;
        }
    }

    if (opts.help || opts.version) return opts;
    if (opts.pty == opts.tcp) return fail(QStringLiteral("give exactly one of --pty and --tcp HOST:PORT"));
    if (!opts.linkPath.isEmpty() && !opts.pty) return fail(QStringLiteral("--link needs --pty"));
    return opts;
}

}  // namespace sim
