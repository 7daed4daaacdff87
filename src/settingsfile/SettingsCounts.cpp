// Values read from a file turned back into the counts they were printed from.
//
// The writer prints the user value of the camera's count with six (or two)
// decimals.  Sent through the set functions as it stands, such a value can
// land one count off: the percent and factor rules cut toward zero or round up,
// and the printed digits sit just below or above the count's exact value.  So
// the loader first finds the count the digits were printed from and gives the
// set function a value it converts to exactly that count.
#include <climits>
#include <cmath>
#include <cstring>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"

namespace {

bool isSaturation(const SettingsLine& line)
{
    return std::strcmp(line.name, "CRSAT") == 0 || std::strcmp(line.name, "CBSAT") == 0;
}

// The conversion of a line's value and its way back, for the saturation bytes
// (not in the command table: they share one register) as for the rules.
struct LineConversion {
    const SettingsLine& line;
    CommRule rule;

    int toCount(float value) const
    {
        return isSaturation(line) ? Comm_SaturationToByte(value) : Comm_UserToCount(rule, value);
    }
    // The value as a snapshot stores it: single precision.
    float toValue(int count) const
    {
        return isSaturation(line) ? Comm_SaturationFromByte(count)
                                  : static_cast<float>(Comm_CountToUser(rule, count));
    }
};

// How far a value read back may lie from the count it was printed from: half
// the last printed digit, and the single precision that both the printed and
// the read value went through.
double tolerance(LineFormat format, double value)
{
    const double half = format == LineFormat::Real2 ? 0.005 : 0.0000005;
    return half + std::fabs(value) * 0x1p-22;
}

// The count whose value was printed as value: the nearest one within half a
// printed digit, the count the set function would send winning a tie.  False
// when no count lies that near.
bool printedCount(const LineConversion& c, double value, int* count)
{
    const long long sent = c.toCount(static_cast<float>(value));
    double best = tolerance(c.line.format, value);
    bool found = false;
    for (const long long offset : {0, -1, 1, -2, 2}) {
        // A count at the end of int has no neighbour beyond it.
        const long long wide = sent + offset;
        if (wide < INT_MIN || wide > INT_MAX) continue;
        const int candidate = static_cast<int>(wide);
        if (isSaturation(c.line) && (candidate < 0 || candidate > 255)) continue;
        const double distance = std::fabs(static_cast<double>(c.toValue(candidate)) - value);
        if (distance < best || (!found && distance <= best)) {
            best = distance;
            *count = candidate;
            found = true;
        }
    }
    return found;
}

// A value the set function turns into count: the count's own value, or the
// float next to it that the rule's cut or rounding up takes to the count.
bool valueForCount(const LineConversion& c, int count, float* value)
{
    const float exact = c.toValue(count);
    float up = exact;
    float down = exact;
    for (int step = 0; step < 16; ++step) {
        for (float candidate : {up, down}) {
            if (c.toCount(candidate) == count) {
                *value = candidate;
                return true;
            }
        }
        up = std::nextafter(up, HUGE_VALF);
        down = std::nextafter(down, -HUGE_VALF);
    }
    return false;
}

}  // namespace

void SnapToPrintedCounts(CamMainSettings* main, CamAdvSettings* adv, const SettingsLineSet& linesRead)
{
    const std::span<const SettingsLine> lines = SettingsFileLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SettingsLine& line = lines[i];
        if (!linesRead.test(i) || line.field != LineField::Float) continue;
        if (line.format != LineFormat::Real6 && line.format != LineFormat::Real2) continue;
        const CommCommand* command = Comm_FindCommand(line.name);
        if (!isSaturation(line) && (!command || command->rule == CommRule::Count)) continue;
        const LineConversion conversion{line, command ? command->rule : CommRule::Count};
        char* base =
            line.record == LineRecord::Main ? reinterpret_cast<char*>(main) : reinterpret_cast<char*>(adv);
        float value = 0.0f;
        std::memcpy(&value, base + line.offset, sizeof value);
        int count = 0;
        float sent = 0.0f;
        if (printedCount(conversion, value, &count) && valueForCount(conversion, count, &sent))
            std::memcpy(base + line.offset, &sent, sizeof sent);
    }
}
