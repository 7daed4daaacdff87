#include "camera/Conversions.h"

#include <climits>
#include <cmath>

#include "camera/ClassTraits.h"
#include "camera/Globals.h"
#include "platform/Rounding.h"

// Nothing is clamped to the camera's range here: a value outside it gives a
// count outside it, and the camera decides what to make of that.  Only a count
// beyond int is held at int's limit, so that it can never wrap round into a
// count of the other sign.

namespace {

int SaturatedInt(long count)
{
    if (count < INT_MIN) return INT_MIN;
    if (count > INT_MAX) return INT_MAX;
    return static_cast<int>(count);
}

double dBLinear(int count_offset, float counts_per_db, float db)
{
    return count_offset + static_cast<double>(db) * static_cast<double>(counts_per_db);
}

double UserLinear(int count_offset, float user_base, float counts_per_unit, float value)
{
    return count_offset + (static_cast<double>(value) - static_cast<double>(user_base)) *
                              static_cast<double>(counts_per_unit);
}

}  // namespace

int dB2Count(int count_offset, float counts_per_db, float db)
{
    return SaturatedInt(RoundRealToNearestInteger(dBLinear(count_offset, counts_per_db, db)));
}

double Count2dB(float db_per_count, int count)
{
    return count * static_cast<double>(db_per_count);
}

int User2Count(int count_offset, float user_base, float counts_per_unit, float value)
{
    return SaturatedInt(
        RoundRealToNearestInteger(UserLinear(count_offset, user_base, counts_per_unit, value)));
}

double Count2User(float user_base, int count_offset, float units_per_count, int count)
{
    return static_cast<double>(user_base) +
           (static_cast<double>(count) - count_offset) * static_cast<double>(units_per_count);
}

int Comm_round(double x)
{
    const double fraction = x - std::trunc(x);
    return TruncateToInt(fraction > 0.5 ? std::ceil(x) : std::floor(x));
}

namespace {

// One video line lasts 63.56 us; kept in double, since an exposure is shown
// to the hundredth of a millisecond over thousands of lines.
constexpr double kLineMs = 0.06356;

bool PedestalIsMillivolts()
{
    return Comm_CurrentClass().pedestalInMillivolts;
}

bool WhiteClipIsMillivolts()
{
    return Comm_CurrentClass().whiteClipInMillivolts;
}

// RoundRealToNearestInteger where long holds the result; beyond, the value
// itself, whose size the caller must see rather than long's limit.
double Rounded(double x)
{
    return std::fabs(x) < 0x1p62 ? static_cast<double>(RoundRealToNearestInteger(x)) : x;
}

// The whole count of a value by the rule, before it is made an int: beyond
// int's range (or NaN) when the value has no count the camera could hold.
double WholeCount(CommRule rule, float value)
{
    const double v = value;
    switch (rule) {
        case CommRule::Count:
            return std::trunc(v);
        case CommRule::Db:
            return Rounded(dBLinear(0, 28.409f, value));
        case CommRule::LensVolts:
            return Rounded(UserLinear(0, 0.0f, 14.111111f, value));
        case CommRule::Hue:
            return Rounded(UserLinear(0, 0.0f, 11.375f, value));
        case CommRule::ColourGain:
            return Rounded(UserLinear(1, 0.001f, 1024.012f, value));
        case CommRule::Matrix:
            return Rounded(UserLinear(0, 0.0f, 1024.0f, value));
        case CommRule::PercentOf63:
            return std::trunc(63 * (0.01 * v));
        case CommRule::PercentOf255:
            return std::trunc(255 * (0.01 * v));
        case CommRule::TenthPercent:
            return std::trunc(1000 * (0.01 * v));
        case CommRule::Factor1To2:
            return std::ceil(127 * (v - 1.0));
        case CommRule::Pedestal:
            if (g_hardware_rev == 1) return Rounded(UserLinear(0, 0.0f, 19.3f, value));
            return PedestalIsMillivolts() ? std::trunc(v) : Rounded(UserLinear(102, 0.0f, 0.56f, value));
        case CommRule::WhiteClip:
            return WhiteClipIsMillivolts() ? std::trunc(v)
                                           : Rounded(UserLinear(112, 228.0f, 0.06528662f, value));
        case CommRule::Angle: {
            // 46 is the count of a level line; the camera takes no count below 0.
            const double count = std::trunc(std::tan(v * 0.017453292519943295) * 256) + 46;
            return count < 0 ? 0 : count;
        }
        case CommRule::LineTime:
            return Rounded(v / kLineMs);
    }
    return 0;
}

}  // namespace

int Comm_UserToCount(CommRule rule, float value)
{
    return TruncateToInt(WholeCount(rule, value));
}

bool Comm_UserToCountChecked(CommRule rule, float value, int* count)
{
    if (!std::isfinite(value)) return false;
    const double whole = WholeCount(rule, value);
    if (!(whole >= INT_MIN && whole <= INT_MAX)) return false;
    *count = static_cast<int>(whole);
    return true;
}

double Comm_CountToUser(CommRule rule, int count)
{
    switch (rule) {
        case CommRule::Count:
            return count;
        case CommRule::Db:
            return Count2dB(0.0352f, count);
        case CommRule::LensVolts:
            return Count2User(0.0f, 0, 0.070866145f, count);
        case CommRule::Hue:
            return Count2User(0.0f, 0, 0.08791209f, count);
        case CommRule::ColourGain:
            return Count2User(0.001f, 1, 0.00097655103f, count);
        case CommRule::Matrix: {
            const double k = Count2User(0.0f, 0, 0.000977f, count);
            return k > 3.99 ? 3.99 : k;
        }
        case CommRule::PercentOf63:
            return 100 * (count / 63.0);
        case CommRule::PercentOf255:
            return 100 * (count / 255.0);
        case CommRule::TenthPercent:
            return 100 * (count / 1000.0);
        case CommRule::Factor1To2:
            return 1.0 + count / 127.0;
        case CommRule::Pedestal:
            if (g_hardware_rev == 1) return Count2User(0.0f, 0, 0.051813472f, count);
            return PedestalIsMillivolts() ? count : Count2User(0.0f, 102, 1.7857143f, count);
        case CommRule::WhiteClip:
            return WhiteClipIsMillivolts() ? count : Count2User(228.0f, 112, 15.317073f, count);
        case CommRule::Angle:
            return Comm_round(std::atan((count - 46.0) / 256.0) * 57.29577951308232);
        case CommRule::LineTime:
            return count * kLineMs;
    }
    return count;
}

const char* Comm_RuleUnit(CommRule rule)
{
    switch (rule) {
        case CommRule::Db:
            return "dB";
        case CommRule::LensVolts:
            return "V";
        case CommRule::Hue:
        case CommRule::Angle:
            return "deg";
        case CommRule::PercentOf63:
        case CommRule::PercentOf255:
        case CommRule::TenthPercent:
            return "%";
        case CommRule::Pedestal:
        case CommRule::WhiteClip:
            return "mV";
        case CommRule::ColourGain:
        case CommRule::Factor1To2:
            return "x";
        case CommRule::LineTime:
            return "ms";
        case CommRule::Count:
        case CommRule::Matrix:
            return "";
    }
    return "";
}
