// The camera's settings as the operator knows them: for each, the name the
// panels give it, its unit, the range of values each model takes and which
// models have it.  The panels lay their controls out with these ranges and
// reshape them by the same rules; iccdctl checks and lists by them; the
// settings-file reader refuses what lies outside them.  A range lives here
// and nowhere else.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct CommCommand;

/// Lowest and highest value, in the setting's user unit.
struct SettingRange {
    double minimum = 0.0;
    double maximum = 0.0;
};

/// Which function classes have a setting.
enum class SettingModels {
    All,
    Agc,            ///< the AGC camera only
    NotAgc,         ///< every class but the AGC camera
    Shutter,        ///< the classes with a shutter
    ShutterSwitch,  ///< a shutter with its switch: not the AGC camera, not colour
    NotColour,      ///< monochrome classes
    Family47x,      ///< the 47x family
    Mono47x,        ///< the monochrome 47x family
    Colour,         ///< the colour 47x family
    WhiteClip,      ///< the classes that carry a white clip
};

/// How a class changes the laid-out range.
enum class SettingLimit {
    Laid,          ///< the laid-out range holds for every class
    Gain,          ///< the class's gain range
    AlcLevel,      ///< the class's lowest ALC level
    ShutterLines,  ///< up to the longest shutter speed the camera tells
    Pedestal,      ///< the current hardware's fine pedestal scale
    WhiteClip,     ///< millivolts where the class carries them
    TriggerInput,  ///< the colour cameras have no trigger input
    Metering,      ///< the colour cameras meter on average only
};

struct SettingInfo {
    const char* mnemonic;  ///< the command's mnemonic, or the file key of a part of a composite ("SSP")
    const char* name;      ///< as the panels label it
    const char* unit;      ///< the user unit ("dB", "lines", "%"; "" for counts and choices)
    SettingRange laid;     ///< the range the panels lay out
    SettingRange laid47x;  ///< the 47x family's panel, where it lays the setting out otherwise
    bool own47xLayout;     ///< laid47x applies to the 47x family
    SettingModels models;
    SettingLimit limit;
    bool whole;  ///< whole numbers only
};

/// Every setting, in mnemonic order.
std::span<const SettingInfo> Settings_Table();

/// The setting of a mnemonic (upper or lower case, a leading ':' allowed);
/// nullptr for a command the table does not describe.
const SettingInfo* Settings_Find(std::string_view mnemonic);

/// The laid-out range of a setting, for the panel descriptions: on the 47x
/// family's panel with panel47x.  An unknown mnemonic is a programming
/// mistake and stops the program.
SettingRange Settings_LaidOut(std::string_view mnemonic, bool panel47x = false);

/// Whether a function class has the setting.
bool Settings_ModelHas(const SettingInfo& setting, int functionClass);

/// The range for a function class and hardware revision (0 legacy, 1
/// current); longestShutter is the longest shutter speed the camera told (0:
/// not told, the laid-out range stays).
SettingRange Settings_Range(const SettingInfo& setting, int functionClass, int hardwareRev,
                            int longestShutter);

/// Settings_Range for the connected camera: its class, hardware revision and
/// the longest shutter speed it last told for its model.
SettingRange Settings_CameraRange(const SettingInfo& setting);

/// Asks the camera for its longest shutter speed (SSX) and keeps it for its
/// model; returns it, or what the camera told for the same model before, or
/// 0 when it never told one.
int Settings_AskLongestShutter();

/// What Settings_AskLongestShutter last kept for the connected model (0: none).
int Settings_LongestShutter();

/// Whether the camera takes value for the setting: its count lies within the
/// counts of the range's ends, so that a value read back from the count the
/// range's end was sent as (3.0 dB goes out as 85 and reads 2.992 dB) is
/// still taken.  Settings without a converting command compare the value as
/// its single-precision field holds it (3.999 is within 0.001 .. 3.999).  The
/// pedestal and white-clip rules follow the connected camera.
bool Settings_InRange(const SettingInfo& setting, const SettingRange& range, double value);

/// Whether the connected camera takes value for the setting: Settings_InRange
/// with Settings_CameraRange.  A shutter speed beyond the laid-out range may
/// be one the camera takes: the camera is asked for its longest shutter speed
/// then, and only if it never told it.  range (when given) gets the range
/// the value was held against.
bool Settings_CameraTakes(const SettingInfo& setting, double value, SettingRange* range = nullptr);

/// "0 to 36 dB", "1 to 625 lines", "-10 to 10".
std::string Settings_RangeText(const SettingInfo& setting, const SettingRange& range);

/// The command of a setting's mnemonic; nullptr for the parts of a composite.
const CommCommand* Settings_Command(const SettingInfo& setting);
