#include "settingsfile/SettingsDiff.h"
#include "camera/Globals.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"

namespace {

constexpr int kUnreadInt = INT_MIN;
constexpr char kUnreadText = '\x7F';

char* fieldOf(const SettingsLine& line, CamMainSettings* main, CamAdvSettings* adv)
{
    if (line.record == LineRecord::Main) return reinterpret_cast<char*>(main) + line.offset;
    if (line.record == LineRecord::Advanced) return reinterpret_cast<char*>(adv) + line.offset;
    return nullptr;
}

bool unread(const SettingsLine& line, const CamMainSettings& main, const CamAdvSettings& adv)
{
    if (line.field == LineField::Text) return SettingsLineText(line, main, adv)[0] == kUnreadText;
    const double value = SettingsLineNumber(line, main, adv);
    return std::isnan(value) || (line.field == LineField::Int && value == kUnreadInt);
}

std::string formatNumber(const SettingsLine& line, double value)
{
    char text[64];
    if (line.field == LineField::Int)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%f", value);
    return text;
}

// The identifier text the camera would get from the file: without control
// characters, at most 16 characters.
std::string sentText(const char* text)
{
    std::string out;
    for (const char* p = text; *p && out.size() < 16; ++p)
        if (static_cast<unsigned char>(*p) >= 0x20 && *p != 0x7F) out += *p;
    return out;
}

bool is(const SettingsLine& line, const char* name)
{
    return std::strcmp(line.name, name) == 0;
}

// What the camera reports after it was sent this line's value from the file:
// the value taken through the count it is sent as.
double afterSending(const SettingsLine& line, const CamMainSettings& m, double value)
{
    if (line.field == LineField::Float) {
        if (is(line, "CRSAT") || is(line, "CBSAT"))
            return Comm_SaturationFromByte(Comm_SaturationToByte(static_cast<float>(value)));
        const CommCommand* command = Comm_FindCommand(line.name);
        if (!command || command->rule == CommRule::Count) return static_cast<float>(value);
        const int count = Comm_UserToCount(command->rule, static_cast<float>(value));
        return static_cast<float>(Comm_CountToUser(command->rule, count));
    }
    if (is(line, "SSP") || is(line, "LLT") || is(line, "RLT")) {
        int p = 0, l = 0, r = 0;
        Comm_SplitLineFromCounts(Comm_SplitLineToCounts(m.ssp, m.llt, m.rlt), &p, &l, &r);
        return is(line, "SSP") ? p : is(line, "LLT") ? l : r;
    }
    if (is(line, "SLR") || is(line, "SLG") || is(line, "SLB"))
        return Comm_SplitColourFromCount(Comm_SplitColourToCount(static_cast<int>(value), m.slt), m.slt);
    if (is(line, "SRR") || is(line, "SRG") || is(line, "SRB"))
        return Comm_SplitColourFromCount(Comm_SplitColourToCount(static_cast<int>(value), m.srt), m.srt);
    if (is(line, "SSA")) return Comm_SplitAngleFromCount(Comm_SplitAngleToCount(static_cast<int>(value)));
    if (is(line, "RST Pos") || is(line, "RST Neg")) {
        int pos = 0, neg = 0;
        Comm_UnpackRSE(Comm_PackRSE(m.rst_pos, m.rst_neg), &pos, &neg);
        return is(line, "RST Pos") ? pos : neg;
    }
    return value;
}

// A file holds a value to the digits it prints: a camera value that prints
// the same is what the file says.  Two decimals cannot tell the saturation
// bytes apart (32, 33 and 34 all print as 1.13), so a file saved a moment ago
// must not differ from the camera it was saved from.
bool printsAlike(const SettingsLine& line, double file, double camera)
{
    const char* format = line.format == LineFormat::Real2   ? "%.2f"
                         : line.format == LineFormat::Real6 ? "%f"
                                                            : nullptr;
    if (!format) return false;
    char a[64];
    char b[64];
    std::snprintf(a, sizeof a, format, file);
    std::snprintf(b, sizeof b, format, camera);
    return std::strcmp(a, b) == 0;
}

}  // namespace

void MarkSettingsUnread(CamMainSettings* main, CamAdvSettings* adv)
{
    for (const SettingsLine& line : SettingsFileLines()) {
        char* field = fieldOf(line, main, adv);
        if (!field) continue;
        if (line.field == LineField::Int) {
            std::memcpy(field, &kUnreadInt, sizeof kUnreadInt);
        } else if (line.field == LineField::Float) {
            const float nan = std::numeric_limits<float>::quiet_NaN();
            std::memcpy(field, &nan, sizeof nan);
        } else if (line.field == LineField::Text) {
            field[0] = kUnreadText;
            field[1] = '\0';
        }
    }
}

bool SettingsLineMarkedUnread(const SettingsLine& line, const CamMainSettings& main,
                              const CamAdvSettings& adv)
{
    return unread(line, main, adv);
}

std::vector<SettingsDifference> DiffSettings(const CamMainSettings& fileMain, const CamAdvSettings& fileAdv,
                                             const CamMainSettings& cameraMain,
                                             const CamAdvSettings& cameraAdv,
                                             const SettingsLineSet* linesRead)
{
    // What a load would send: the counts the printed digits stand for.
    CamMainSettings sentMain = fileMain;
    CamAdvSettings sentAdv = fileAdv;
    SnapToPrintedCounts(&sentMain, &sentAdv, SettingsLineSet().set());
    std::vector<SettingsDifference> differences;
    const std::span<const SettingsLine> lines = SettingsFileLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SettingsLine& line = lines[i];
        if (line.read == LineRead::Skip || line.read == LineRead::ModelRow ||
            unread(line, cameraMain, cameraAdv))
            continue;
        if (linesRead && !linesRead->test(i)) continue;
        if (SettingsLineIsIdentity(line) && g_prog_type == 0) continue;
        if (line.field == LineField::Text) {
            const std::string file = sentText(SettingsLineText(line, fileMain, fileAdv));
            const std::string camera = SettingsLineText(line, cameraMain, cameraAdv);
            if (file != camera) differences.push_back({line.name, file, camera});
            continue;
        }
        const double file = SettingsLineNumber(line, fileMain, fileAdv);
        const double camera = SettingsLineNumber(line, cameraMain, cameraAdv);
        if (file != camera && !printsAlike(line, file, camera) &&
            afterSending(line, sentMain, SettingsLineNumber(line, sentMain, sentAdv)) != camera)
            differences.push_back({line.name, formatNumber(line, file), formatNumber(line, camera)});
    }
    return differences;
}
