#include "camera/Conversions.h"

#include "platform/Rounding.h"

// Nothing is clamped here: a value outside the camera's range gives a count
// outside it, and the camera decides what to make of that.

int dB2Count(int count_offset, float counts_per_db, float db)
{
    const double count = count_offset + static_cast<double>(db) * static_cast<double>(counts_per_db);
    return static_cast<int>(RoundRealToNearestInteger(count));
}

double Count2dB(float db_per_count, int count)
{
    return count * static_cast<double>(db_per_count);
}

int User2Count(int count_offset, float user_base, float counts_per_unit, float value)
{
    const double count = count_offset + (static_cast<double>(value) - static_cast<double>(user_base)) *
                                            static_cast<double>(counts_per_unit);
    return static_cast<int>(RoundRealToNearestInteger(count));
}

double Count2User(float user_base, int count_offset, float units_per_count, int count)
{
    return static_cast<double>(user_base) +
           (static_cast<double>(count) - count_offset) * static_cast<double>(units_per_count);
}
