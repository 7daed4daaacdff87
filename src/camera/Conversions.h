// Linear conversions between a user value and the integer count the camera
// carries.  Arguments are single precision, as the command functions store
// them; the arithmetic runs in double on those values, so a constant takes
// effect with its single-precision value (28.409f is 28.409000396728516).
#pragma once

/// round(count_offset + db x counts_per_db).
int dB2Count(int count_offset, float counts_per_db, float db);

/// count x db_per_count.  No offset, even though dB2Count takes one.
double Count2dB(float db_per_count, int count);

/// round(count_offset + (value - user_base) x counts_per_unit).
int User2Count(int count_offset, float user_base, float counts_per_unit, float value);

/// user_base + (count - count_offset) x units_per_count.
double Count2User(float user_base, int count_offset, float units_per_count, int count);
