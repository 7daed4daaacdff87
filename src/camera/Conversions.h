// Conversions between a user value and the integer count the camera carries:
// the linear formulas, the rounding of the split-screen arithmetic, and the
// conversion rule of each command built on them.  They only compute (the
// pedestal and white-clip rules read the identified model), so the command
// set and the composite commands can both use them without using each other.
//
// Arguments are single precision, as the command functions store them; the
// arithmetic runs in double on those values, so a constant takes effect with
// its single-precision value (28.409f is 28.409000396728516).
#pragma once

/// round(count_offset + db x counts_per_db).
int dB2Count(int count_offset, float counts_per_db, float db);

/// count x db_per_count.  No offset, even though dB2Count takes one.
double Count2dB(float db_per_count, int count);

/// round(count_offset + (value - user_base) x counts_per_unit).
int User2Count(int count_offset, float user_base, float counts_per_unit, float value);

/// user_base + (count - count_offset) x units_per_count.
double Count2User(float user_base, int count_offset, float units_per_count, int count);

/// Rounds to an integer with the rule the split-screen arithmetic relies on:
/// a fraction above one half goes up, anything else goes down.  2.5 gives 2,
/// 2.51 gives 3, -3.2 gives -4.  Saturates at the limits of int.
int Comm_round(double x);

/// Conversion between the count and the user value.
enum class CommRule {
    Count,         ///< the value is the count
    Db,            ///< decibels: dB2Count(0, 28.409, v) / Count2dB(0.0352, c)
    LensVolts,     ///< volts, 9.0 V = 127 counts
    Hue,           ///< degrees, 11.375 counts per degree
    ColourGain,    ///< gain factor, count 1 = 0.001, 1024.012 counts per unit
    Matrix,        ///< colour-matrix coefficient, 1024 counts per unit, reads at most 3.99
    PercentOf63,   ///< percent of a 0..63 count, truncated
    PercentOf255,  ///< percent of a 0..255 count, truncated
    TenthPercent,  ///< percent in 0.1 % steps, truncated
    Factor1To2,    ///< factor 1.0 .. 2.0 in 127 steps, rounded up
    Pedestal,      ///< video pedestal in mV: depends on function class and hardware revision
    WhiteClip,     ///< video white clip in mV: depends on function class
    Angle,         ///< split-screen angle in whole degrees (tangent x 256, centred on 46)
    LineTime,      ///< exposure in ms of a count of video lines, 63.56 us each
};

// ---------------------------------------------------------------------------
// The conversion rules of the command set.

/// Count for a user value by the rule (Count: the value truncated toward 0).
/// Pedestal and WhiteClip follow g_cam_model_idx and g_hardware_rev.  A count
/// beyond int is held at INT_MIN or INT_MAX; NaN gives 0.
int Comm_UserToCount(CommRule rule, float value);

/// The count Comm_UserToCount gives, for values that have one: false (and
/// *count untouched) when the value is not finite or its count does not fit
/// a signed 32-bit int, so that it would reach the camera as another number.
bool Comm_UserToCountChecked(CommRule rule, float value, int* count);

/// User value of a count by the rule.
double Comm_CountToUser(CommRule rule, int count);

/// Unit of the rule's user value: "dB", "V", "deg", "%", "mV", "x", "ms" or "".
const char* Comm_RuleUnit(CommRule rule);
