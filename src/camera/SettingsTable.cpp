#include "camera/SettingsTable.h"
#include "camera/Link.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "camera/CamTypes.h"
#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Globals.h"

namespace {

using M = SettingModels;
using L = SettingLimit;

constexpr SettingInfo whole(const char* mnemonic, const char* name, const char* unit, double lo, double hi,
                            M models = M::All, L limit = L::Laid)
{
    return {mnemonic, name, unit, {lo, hi}, {lo, hi}, false, models, limit, true};
}
constexpr SettingInfo choice(const char* mnemonic, const char* name, int last, M models = M::All,
                             L limit = L::Laid)
{
    return whole(mnemonic, name, "", 0, last, models, limit);
}
constexpr SettingInfo real(const char* mnemonic, const char* name, const char* unit, double lo, double hi,
                           M models = M::All, L limit = L::Laid)
{
    return {mnemonic, name, unit, {lo, hi}, {lo, hi}, false, models, limit, false};
}
// A setting laid out on both Advanced Settings panels, each with its own range.
constexpr SettingInfo twoPanels(const char* mnemonic, const char* name, const char* unit, SettingRange basic,
                                SettingRange panel47x, M models, L limit)
{
    return {mnemonic, name, unit, basic, panel47x, true, models, limit, false};
}

// The pedestal of the current hardware is a fine scale of its own.
constexpr SettingRange kCurrentPedestal{0.0, 10.0};
// Where the white clip is carried in millivolts it reaches this far.
constexpr double kMillivoltWhiteClipMax = 1000.0;

const SettingInfo kSettings[] = {
    choice("AEC", "ALC Mode", 1, M::NotAgc),
    whole("AFA", "AFE Address", "", 0, 255, M::Family47x),
    whole("AFW", "AFE Data", "", 0, 16777215, M::Family47x),
    real("AGN", "Manual Gain", "dB", 5.0, 32.0, M::All, L::Gain),
    choice("ALM", "ALC Metering Mode", 2, M::Family47x, L::Metering),
    whole("ALV", "ALC Level", "", 0, 255, M::All, L::AlcLevel),
    choice("AMD", "AGC Mode", 1, M::Agc),
    real("AMX", "ALC Max Gain", "dB", 18.0, 32.0, M::All, L::Gain),
    choice("BIN", "High Sensitivity Mode", 1, M::Family47x),
    real("BTH", "Blemish Threshold", "%", 0.0, 100.0, M::Family47x),
    whole("BTS", "Bright Speed", "", 1, 100, M::Family47x),
    real("CBH", "CbHue", "deg", 0.0, 360.0, M::Colour),
    real("CBSAT", "CbSAT", "x", 1.0, 2.0, M::Colour),
    whole("CD1", "Column Defect Address 1", "", 0, 1023, M::Family47x),
    whole("CD2", "Column Defect Address 2", "", 0, 1023, M::Family47x),
    whole("CD3", "Column Defect Address 3", "", 0, 1023, M::Family47x),
    whole("CD4", "Column Defect Address 4", "", 0, 1023, M::Family47x),
    choice("CDI", "Column Defect Indicator", 1, M::Family47x),
    real("CGB", "Color Gain Blue", "x", 0.001, 3.999, M::Colour),
    real("CGG", "Color Gain Green", "x", 0.001, 3.999, M::Colour),
    real("CGR", "Color Gain Red", "x", 0.001, 3.999, M::Colour),
    choice("CMD", "Color Mode", 1, M::Colour),
    real("CRH", "CrHue", "deg", 0.0, 360.0, M::Colour),
    real("CRSAT", "CrSAT", "x", 1.0, 2.0, M::Colour),
    choice("DFC", "White Blemish Compensation", 1, M::Family47x),
    whole("DKS", "Dark Speed", "", 1, 100, M::Family47x),
    whole("DOU", "DOut Phase", "", 0, 47, M::Family47x),
    choice("ESH", "Electronic Shutter", 1, M::Family47x),
    choice("FMX", "FPGA Input Source", 3, M::Family47x),
    real("FOC", "Focus", "V", -9.0, 9.0),
    whole("FPA", "FPGA Register Address", "", 0, 255, M::Family47x),
    whole("FPR", "FPGA Register Value", "", 0, 65535, M::Family47x),
    choice("GAM", "Gamma", 1),
    real("HUE", "Hue", "%", 0.0, 100.0, M::Colour),
    whole("IFC", "Impulse Filter", "", 1, 100, M::Family47x),
    whole("IPH", "Interpolator Phase", "", 0, 3, M::Colour),
    real("IRC", "Iris", "V", -9.0, 9.0),
    real("KB1", "Color Correction Row 1 Blue", "", 0.0, 3.992, M::Colour),
    real("KB2", "Color Correction Row 2 Blue", "", 0.0, 3.992, M::Colour),
    real("KB3", "Color Correction Row 3 Blue", "", 0.0, 3.992, M::Colour),
    real("KG1", "Color Correction Row 1 Green", "", 0.0, 3.992, M::Colour),
    real("KG2", "Color Correction Row 2 Green", "", 0.0, 3.992, M::Colour),
    real("KG3", "Color Correction Row 3 Green", "", 0.0, 3.992, M::Colour),
    real("KR1", "Color Correction Row 1 Red", "", 0.0, 3.992, M::Colour),
    real("KR2", "Color Correction Row 2 Red", "", 0.0, 3.992, M::Colour),
    real("KR3", "Color Correction Row 3 Red", "", 0.0, 3.992, M::Colour),
    whole("LAW", "Log Avg Wt", "", 1, 100, M::Family47x),
    whole("LLT", "Left Line Thickness", "%", 0, 100),
    whole("LRX", "ALC Window Lower Right X", "", 3, 768, M::Family47x),
    whole("LRY", "ALC Window Lower Right Y", "", 3, 494, M::Family47x),
    choice("MFI", "MFI Input", 2, M::All, L::TriggerInput),
    choice("MFT", "MFI Termination", 1),
    choice("MIR", "Mirror Image", 1, M::Family47x),
    whole("RLT", "Right Line Thickness", "%", 0, 100),
    whole("RST Neg", "RST Neg Edge", "", 0, 255, M::Family47x),
    whole("RST Pos", "RST Pos Edge", "", 0, 47, M::Family47x),
    choice("SB1", "ALC User Access", 1),
    choice("SB2", "Blemish User Access", 1, M::Family47x),
    choice("SEN", "Sharpening Mode", 1, M::Colour),
    choice("SHA", "Sharpening", 1, M::Colour),
    whole("SHD", "SHD", "", 0, 47, M::Family47x),
    choice("SHE", "Shutter Control", 1, M::ShutterSwitch),
    real("SHG", "Sharpening Gain", "x", 1.0, 2.0, M::Colour),
    whole("SHP", "SHP", "", 0, 47, M::Family47x),
    whole("SHS", "Shutter Speed", "lines", 1, 100, M::Shutter, L::ShutterLines),
    whole("SLB", "Left Blue", "", 0, 255),
    whole("SLG", "Left Green", "", 0, 255),
    whole("SLR", "Left Red", "", 0, 255),
    whole("SLT", "Left Transparency", "%", 0, 100),
    whole("SMX", "ALC Max Shutter Speed", "lines", 1, 100, M::Family47x, L::ShutterLines),
    whole("SRB", "Right Blue", "", 0, 255),
    whole("SRG", "Right Green", "", 0, 255),
    whole("SRR", "Right Red", "", 0, 255),
    whole("SRT", "Right Transparency", "%", 0, 100),
    whole("SSA", "Split Screen Angle", "deg", -10, 10),
    choice("SSE", "Split Screen Mode", 1),
    whole("SSP", "Split Screen Position", "%", 0, 100),
    choice("TMD", "Trigger Mode", 3, M::NotColour),
    whole("ULX", "ALC Window Upper Left X", "", 1, 766, M::Family47x),
    whole("ULY", "ALC Window Upper Left Y", "", 1, 492, M::Family47x),
    real("USA", "U-Sat", "%", 0.0, 100.0, M::Colour),
    choice("VMD", "Vertical Mode", 1, M::NotColour),
    twoPanels("VPD", "Video Pedestal", "mV", {0.0, 100.0}, {0.0, 255.0}, M::All, L::Pedestal),
    choice("VPS", "Video Pedestal Feature", 1, M::Colour),
    real("VSA", "V-Sat", "%", 0.0, 100.0, M::Colour),
    twoPanels("VWC", "Video White Clip", "mV", {300.0, 1000.0}, {0.0, 255.0}, M::WhiteClip, L::WhiteClip),
    choice("WBM", "White Balance Mode", 1, M::Colour),
    choice("WDS", "ALC Window Display", 1, M::Family47x),
    real("YGA", "Y-Gain", "%", 0.0, 100.0, M::Colour),
    real("ZMC", "Zoom", "V", -9.0, 9.0),
};

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The longest shutter speed the camera last told, for its model row and on
// its link: a camera that does not answer again keeps the range it told, and
// another camera of the same model found on a new link is asked afresh.
struct ToldShutter {
    int row = -1;
    std::uint64_t link = 0;
    int lines = 0;
};
ToldShutter s_told;

std::string number(double value, bool whole)
{
    char text[32];
    if (whole)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

std::span<const SettingInfo> Settings_Table()
{
    return kSettings;
}

const SettingInfo* Settings_Find(std::string_view mnemonic)
{
    if (!mnemonic.empty() && mnemonic.front() == ':') mnemonic.remove_prefix(1);
    for (const SettingInfo& s : kSettings)
        if (sameName(mnemonic, s.mnemonic)) return &s;
    return nullptr;
}

SettingRange Settings_LaidOut(std::string_view mnemonic, bool panel47x)
{
    const SettingInfo* s = Settings_Find(mnemonic);
    if (!s) {
        std::fprintf(stderr, "no setting %.*s in the settings table\n", static_cast<int>(mnemonic.size()),
                     mnemonic.data());
        std::abort();
    }
    return panel47x && s->own47xLayout ? s->laid47x : s->laid;
}

bool Settings_ModelHas(const SettingInfo& setting, int functionClass)
{
    const CamClassTraits& t = Comm_ClassTraits(functionClass);
    if (!t.known) return false;
    switch (setting.models) {
        case M::All:
            return true;
        case M::Agc:
            return t.agcMode;
        case M::NotAgc:
            return !t.agcMode;
        case M::Shutter:
            return t.hasShutter;
        case M::ShutterSwitch:
            return t.hasShutter && !t.colour;
        case M::NotColour:
            return !t.colour;
        case M::Family47x:
            return t.family47x;
        case M::Mono47x:
            return t.family47x && !t.colour;
        case M::Colour:
            return t.colour;
        case M::WhiteClip:
            return t.hasWhiteClip;
    }
    return false;
}

SettingRange Settings_Range(const SettingInfo& setting, int functionClass, int hardwareRev,
                            int longestShutter)
{
    const CamClassTraits& t = Comm_ClassTraits(functionClass);
    SettingRange r = t.family47x && setting.own47xLayout ? setting.laid47x : setting.laid;
    switch (setting.limit) {
        case L::Laid:
            break;
        case L::Gain:
            if (t.known) r = {t.minGainDb, t.maxGainDb};
            break;
        case L::AlcLevel:
            if (t.minAlcLevel >= 0) r.minimum = t.minAlcLevel;
            break;
        case L::ShutterLines:
            if (longestShutter >= 1) r.maximum = longestShutter;
            break;
        case L::Pedestal:
            if (t.family47x && hardwareRev == 1) r = kCurrentPedestal;
            break;
        case L::WhiteClip:
            if (t.whiteClipInMillivolts) r.maximum = kMillivoltWhiteClipMax;
            break;
        case L::TriggerInput:
            if (t.colour) r.maximum = 1;
            break;
        case L::Metering:
            if (t.colour) r.maximum = 0;
            break;
    }
    return r;
}

SettingRange Settings_CameraRange(const SettingInfo& setting)
{
    return Settings_Range(setting, g_cam_model_idx, g_hardware_rev, Settings_LongestShutter());
}

int Settings_AskLongestShutter()
{
    int lines = 0;
    if (Comm_GetSSX(&lines) == COMM_OK && lines >= 1) {
        s_told = {g_cam_model_user_idx, Comm_LinkSerial(), lines};
        return lines;
    }
    return Settings_LongestShutter();
}

int Settings_LongestShutter()
{
    return s_told.row == g_cam_model_user_idx && s_told.link == Comm_LinkSerial() ? s_told.lines : 0;
}

bool Settings_InRange(const SettingInfo& setting, const SettingRange& range, double value)
{
    const CommCommand* command = Settings_Command(setting);
    if (command && command->rule != CommRule::Count) {
        int count = 0;
        if (!Comm_UserToCountChecked(command->rule, static_cast<float>(value), &count)) return false;
        const int low = Comm_UserToCount(command->rule, static_cast<float>(range.minimum));
        const int high = Comm_UserToCount(command->rule, static_cast<float>(range.maximum));
        return count >= std::min(low, high) && count <= std::max(low, high);
    }
    const float v = static_cast<float>(value);
    return v >= static_cast<float>(range.minimum) && v <= static_cast<float>(range.maximum);
}

bool Settings_CameraTakes(const SettingInfo& setting, double value, SettingRange* range)
{
    SettingRange r = Settings_CameraRange(setting);
    bool takes = Settings_InRange(setting, r, value);
    if (!takes && setting.limit == L::ShutterLines && Settings_LongestShutter() == 0 &&
        Settings_AskLongestShutter() > 0) {
        r = Settings_CameraRange(setting);
        takes = Settings_InRange(setting, r, value);
    }
    if (range) *range = r;
    return takes;
}

std::string Settings_RangeText(const SettingInfo& setting, const SettingRange& range)
{
    std::string text = number(range.minimum, setting.whole) + " to " + number(range.maximum, setting.whole);
    if (setting.unit[0]) text += std::string(" ") + setting.unit;
    return text;
}

const CommCommand* Settings_Command(const SettingInfo& setting)
{
    return Comm_FindCommand(setting.mnemonic);
}
