#include "tango/SettingAttributes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "camera/CommandTable.h"
#include "camera/Conversions.h"
#include "camera/Globals.h"
#include "camera/Models.h"
#include "camera/SettingAccess.h"
#include "camera/SettingsTable.h"

namespace {

// A limit as text that, read back as a double, still admits the value
// itself: the camera's values are floats, and a shorter text could cut
// the end off.
std::string limitText(double value, bool whole, bool upper)
{
    char text[40];
    if (whole) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    std::snprintf(text, sizeof text, "%.9g", value);
    const double back = std::strtod(text, nullptr);
    if (upper ? back < value : back > value) std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The range with its ends widened to what their counts read back as: 3.0 dB
// goes out as 85 and reads 2.992 dB, which the camera then holds.
SettingRange takenRange(const SettingInfo& setting)
{
    SettingRange range = Settings_CameraRange(setting);
    const CommCommand* command = Settings_Command(setting);
    if (!command || command->piece || command->rule == CommRule::Count || setting.whole) return range;
    for (const double end : {range.minimum, range.maximum}) {
        const float back = static_cast<float>(
            Comm_CountToUser(command->rule, Comm_UserToCount(command->rule, static_cast<float>(end))));
        range.minimum = std::min(range.minimum, static_cast<double>(back));
        range.maximum = std::max(range.maximum, static_cast<double>(back));
    }
    return range;
}

const char* modelsText(const SettingInfo& setting)
{
    switch (setting.models) {
        case SettingModels::All:
            return "all";
        case SettingModels::Agc:
            return "AGC camera";
        case SettingModels::NotAgc:
            return "all but the AGC camera";
        case SettingModels::Shutter:
            return "with a shutter";
        case SettingModels::ShutterSwitch:
            return "with a shutter switch";
        case SettingModels::NotColour:
            return "monochrome";
        case SettingModels::Family47x:
            return "47x family";
        case SettingModels::Mono47x:
            return "monochrome 47x family";
        case SettingModels::Colour:
            return "colour";
        case SettingModels::WhiteClip:
            return "with a white clip";
    }
    return "";
}

}  // namespace

std::string AttributeName(const SettingInfo& setting)
{
    std::string name = setting.mnemonic;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

bool IsFactoryRegister(const SettingInfo& setting)
{
    const std::string_view m = setting.mnemonic;
    return m == "AFA" || m == "AFW" || m == "FPA" || m == "FPR";
}

std::vector<AttributeInfo> CameraAttributes()
{
    std::vector<AttributeInfo> infos;
    const std::string model = g_cam_models[g_cam_model_user_idx];
    for (const SettingInfo& s : Settings_Table()) {
        if (!Settings_ModelHas(s, g_cam_model_idx) || IsFactoryRegister(s) || !Settings_Readable(s)) continue;
        const SettingRange range = takenRange(s);
        AttributeInfo info;
        info.name = AttributeName(s);
        info.setting = &s;
        info.whole = s.whole;
        info.writable = Settings_Writable(s);
        info.label = s.name;
        info.unit = s.unit;
        info.description = std::string(s.name) + " (" + s.mnemonic +
                           "): " + Settings_RangeText(s, Settings_CameraRange(s)) + " on the " + model;
        info.minimum = limitText(range.minimum, s.whole, false);
        info.maximum = limitText(range.maximum, s.whole, true);
        infos.push_back(info);
    }
    return infos;
}

std::string AttributeTableMarkdown()
{
    std::string table = "| Attribute | Label | Unit | Type | Models |\n|---|---|---|---|---|\n";
    for (const SettingInfo& s : Settings_Table()) {
        if (IsFactoryRegister(s) || !Settings_Readable(s)) continue;
        table += "| `" + AttributeName(s) + "` | " + s.name + " | " + s.unit + " | " +
                 (s.whole ? "DevLong" : "DevDouble") + (Settings_Writable(s) ? ", read-write" : ", read") +
                 " | " + modelsText(s) + " |\n";
    }
    return table;
}
