// get, set and snapshot: the camera's settings by mnemonic and as records.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Connect.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/SettingAccess.h"
#include "camera/SettingsTable.h"
#include "camera/Snapshot.h"
#include "cli/CliCommands.h"
#include "cli/Iccdctl.h"
#include "cli/ValueText.h"

namespace {

std::string Real(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// The digits the text output prints, not the float's binary tail.
QJsonValue JsonReal(double value)
{
    return std::stod(Real(value));
}

int UsageError(CliContext& context, const std::string& message)
{
    context.err << "iccdctl: " << message << "\n";
    return kExitUsage;
}

int get(CliContext& context, const std::vector<std::string>& args)
{
    bool json = false;
    std::vector<const CommCommand*> commands;
    for (const std::string& name : args) {
        if (name == "--json") {
            json = true;
            continue;
        }
        const CommCommand* command = Comm_FindCommand(name);
        if (!command) return UsageError(context, "unknown mnemonic " + name);
        if (!(command->access & kCommQuery)) return UsageError(context, name + " cannot be read");
        commands.push_back(command);
    }
    if (commands.empty()) return UsageError(context, "get needs at least one mnemonic (see iccdctl --help)");
    // The pedestal and white-clip units depend on the camera's function class.
    if (!OpenCameraOfKnownModel(context)) return kExitFailure;

    int result = kExitOk;
    QJsonObject values;  // a setting that could not be read is null
    for (const CommCommand* command : commands) {
        std::string text;
        QJsonValue value;
        int status = COMM_OK;
        switch (command->kind) {
            case CommValueKind::Int: {
                int v = 0;
                status = Comm_GetInt(*command, &v);
                text = std::to_string(v);
                value = v;
                break;
            }
            case CommValueKind::Real: {
                float v = 0;
                status = Comm_GetReal(*command, &v);
                text = Real(v);
                value = JsonReal(v);
                break;
            }
            case CommValueKind::Text: {
                char reply[kReplySize] = "";
                status = Comm_GetTextValue(*command, reply, sizeof reply);
                text = reply;
                value = QString::fromLatin1(reply);
                break;
            }
        }
        if (status == COMM_OK) {
            if (!json) context.out << command->mnemonic << ": " << text << "\n";
        } else {
            value = QJsonValue::Null;
            context.err << command->mnemonic << ": " << Comm_FailureText(status) << "\n";
            result = kExitFailure;
        }
        values.insert(QLatin1String(command->mnemonic), value);
    }
    if (json) context.out << QJsonDocument(values).toJson(QJsonDocument::Compact).toStdString() << "\n";
    return result;
}

// Why the value is not one the camera's model takes (empty: it is): the
// range and unit of the setting, as the panels bound it.  raw still sends
// anything.
std::string OutsideItsRange(const CommCommand& command, const std::string& text, int intValue,
                            float realValue)
{
    const SettingInfo* setting = Settings_Find(command.mnemonic);
    if (!setting || command.kind == CommValueKind::Text) return {};
    const double value = command.kind == CommValueKind::Int ? intValue : static_cast<double>(realValue);
    return Settings_Refusal(*setting, value, text);
}

int set(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() != 2) return UsageError(context, "set takes a mnemonic and a value (see iccdctl --help)");
    const CommCommand* command = Comm_FindCommand(args[0]);
    if (!command) return UsageError(context, "unknown mnemonic " + args[0]);
    if (!(command->access & kCommSet)) return UsageError(context, args[0] + " cannot be set");
    const std::string& text = args[1];
    int intValue = 0;
    float realValue = 0;
    if (command->kind == CommValueKind::Int && !ParseIntValue(text, intValue))
        return UsageError(context,
                          std::string(command->mnemonic) + " takes a whole number, not '" + text + "'");
    if (command->kind == CommValueKind::Real && !ParseRealValue(text, realValue))
        return UsageError(context, std::string(command->mnemonic) + " takes a number, not '" + text + "'");
    // The pedestal and white-clip units depend on the camera's function class.
    if (!OpenCameraOfKnownModel(context)) return kExitFailure;

    // Checked once the class is known: the pedestal and white-clip rules
    // depend on it.
    if (!SetValueFits(*command, intValue, realValue))
        return UsageError(context, std::string(command->mnemonic) + " " + text + " is out of range");
    if (const std::string refusal = OutsideItsRange(*command, text, intValue, realValue); !refusal.empty())
        return UsageError(context, refusal);

    int status = COMM_OK;
    switch (command->kind) {
        case CommValueKind::Int:
            status = Comm_SetInt(*command, intValue);
            break;
        case CommValueKind::Real:
            status = Comm_SetReal(*command, realValue);
            break;
        case CommValueKind::Text:
            status = Comm_SetTextValue(*command, text.c_str());
            break;
    }
    return status == COMM_OK ? kExitOk : ReportFailure(context, status);
}

// --- snapshot output

// A field is unread when its query failed or a stopped pass never reached
// it: what it holds then is not the camera's and is printed as "unread"
// (null in JSON).
std::vector<bool> UnreadFields(std::span<const SettingsField> fields, const SnapshotStats& stats)
{
    std::vector<bool> unread;
    for (const SettingsField& f : fields) unread.push_back(stats.fieldUnread(f.name));
    return unread;
}

void PrintRecord(std::ostream& out, const void* rec, std::span<const SettingsField> fields,
                 const std::vector<bool>& unread)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out << fields[i].name << ": ";
        if (unread[i]) {
            out << "unread";
        } else if (fields[i].type == SettingsFieldType::Int) {
            out << SettingsInt(rec, fields[i]);
        } else if (fields[i].type == SettingsFieldType::Float) {
            out << Real(SettingsFloat(rec, fields[i]));
        } else {
            out << SettingsText(rec, fields[i]);
        }
        out << "\n";
    }
}

QJsonValue JsonValue(const void* rec, const SettingsField& f, bool unread)
{
    if (unread) return QJsonValue::Null;
    switch (f.type) {
        case SettingsFieldType::Int:
            return SettingsInt(rec, f);
        case SettingsFieldType::Float:
            return JsonReal(SettingsFloat(rec, f));
        case SettingsFieldType::Text:
            break;
    }
    return QString::fromLatin1(SettingsText(rec, f));
}

// Array elements ("k[0]" ..) are gathered into one array.
QJsonObject JsonRecord(const void* rec, std::span<const SettingsField> fields,
                       const std::vector<bool>& unread)
{
    QJsonObject record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string field = fields[i].name;
        const QString base = QString::fromStdString(field.substr(0, field.find('[')));
        const QJsonValue value = JsonValue(rec, fields[i], unread[i]);
        if (field.find('[') == std::string::npos) {
            record.insert(base, value);
        } else {
            QJsonArray elements = record.value(base).toArray();
            elements.append(value);
            record.insert(base, elements);
        }
    }
    return record;
}

std::string FailedNames(const SnapshotStats& main, const SnapshotStats& adv)
{
    std::string names;
    for (const auto& [stats, fields] :
         {std::pair{&main, MainSettingsFields()}, std::pair{&adv, AdvSettingsFields()}})
        for (const char* field : UnreadFieldNames(fields, *stats))
            names += (names.empty() ? "" : ", ") + std::string(field);
    return names;
}

int snapshot(CliContext& context, const std::vector<std::string>& args)
{
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") return UsageError(context, "snapshot takes only --json");
        json = true;
    }
    if (!OpenCameraOfKnownModel(context)) return kExitFailure;

    CamMainSettings main{};
    CamAdvSettings adv{};
    SnapshotStats mainStats;
    SnapshotStats advStats;
    const char* failure = nullptr;
    bool haveAdv = false;
    CommOperation operation;  // both records, one reading: its first failure is the one told
    if (Comm_QueryMainSettings(&main, &mainStats) != 0) {
        failure = "Failure querying camera for current settings.";
    } else {
        haveAdv = true;
        if (Comm_QueryAdvanced(&adv, &advStats) != 0)
            failure = "Failure querying camera for factory settings.";
    }
    const std::vector<bool> mainUnread = UnreadFields(MainSettingsFields(), mainStats);
    const std::vector<bool> advUnread = UnreadFields(AdvSettingsFields(), advStats);

    if (json) {
        QJsonObject doc{{"main", JsonRecord(&main, MainSettingsFields(), mainUnread)}};
        if (haveAdv) doc.insert(QLatin1String("advanced"), JsonRecord(&adv, AdvSettingsFields(), advUnread));
        context.out << QJsonDocument(doc).toJson(QJsonDocument::Compact).toStdString() << "\n";
    } else {
        PrintRecord(context.out, &main, MainSettingsFields(), mainUnread);
        if (haveAdv) PrintRecord(context.out, &adv, AdvSettingsFields(), advUnread);
    }
    const int last = advStats.lastFailure != 0 ? advStats.lastFailure : mainStats.lastFailure;
    if (failure) context.err << failure << " " << Comm_FailureText(last) << "\n";
    if (mainStats.anyFailed() || advStats.anyFailed()) {
        if (!failure) context.err << "Failure querying camera. " << Comm_FailureText(last) << "\n";
        context.err << "Not read: " << FailedNames(mainStats, advStats) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> SettingsCommands()
{
    return {
        {"get", "[--json] MNEMONIC...",
         "print each setting as 'MNEMONIC: value' (reals in the user unit); --json prints one object, with "
         "null for "
         "a setting that could not be read",
         get},
        {"set", "MNEMONIC VALUE", "set one setting, VALUE in the user unit (set AGN 2.0 sends 57)", set},
        {"snapshot", "[--json]", "read the main and the advanced settings records and print them", snapshot},
    };
}
