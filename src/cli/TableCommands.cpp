// list: the settings of the camera's model, with their names, units and
// ranges, from the settings table.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Globals.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"
#include "cli/CliCommands.h"
#include "cli/Iccdctl.h"

namespace {

// How a setting is reached: by get and set, or only through a settings file
// and the panels (the parts of a composite command).
std::string accessText(const SettingInfo& s)
{
    const CommCommand* command = Settings_Command(s);
    if (!command) return "file";
    std::string text;
    if (command->access & kCommQuery) text = "get";
    if (command->access & kCommSet) text += text.empty() ? "set" : ", set";
    return text;
}

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text + "  ";
}

int list(CliContext& context, const std::vector<std::string>& args)
{
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") {
            context.err << "iccdctl: list takes only --json\n";
            return kExitUsage;
        }
        json = true;
    }
    if (!OpenCameraOfKnownModel(context)) return kExitFailure;
    const int ssx = Settings_AskLongestShutter();

    std::vector<const SettingInfo*> settings;
    for (const SettingInfo& s : Settings_Table())
        if (Settings_ModelHas(s, g_cam_model_idx)) settings.push_back(&s);

    if (json) {
        QJsonArray rows;
        for (const SettingInfo* s : settings) {
            const SettingRange r = Settings_Range(*s, g_cam_model_idx, g_hardware_rev, ssx);
            const CommCommand* command = Settings_Command(*s);
            rows.append(QJsonObject{{"mnemonic", s->mnemonic},
                                    {"name", s->name},
                                    {"unit", s->unit},
                                    {"minimum", r.minimum},
                                    {"maximum", r.maximum},
                                    {"whole", s->whole},
                                    {"get", command && (command->access & kCommQuery) != 0},
                                    {"set", command && (command->access & kCommSet) != 0}});
        }
        const QJsonObject doc{{"model", g_cam_models[g_cam_model_user_idx]}, {"settings", rows}};
        context.out << QJsonDocument(doc).toJson(QJsonDocument::Indented).toStdString();
        return kExitOk;
    }

    std::size_t nameWidth = 4;
    for (const SettingInfo* s : settings) nameWidth = std::max(nameWidth, std::string(s->name).size());
    context.out << padded("MNEMONIC", 8) << padded("NAME", nameWidth) << padded("RANGE", 22) << "ACCESS\n";
    for (const SettingInfo* s : settings) {
        const SettingRange r = Settings_Range(*s, g_cam_model_idx, g_hardware_rev, ssx);
        context.out << padded(s->mnemonic, 8) << padded(s->name, nameWidth)
                    << padded(Settings_RangeText(*s, r), 22) << accessText(*s) << "\n";
    }
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> TableCommands()
{
    return {
        {"list", "[--json]", "list the settings of the camera's model: name, range and unit, get/set", list},
    };
}
