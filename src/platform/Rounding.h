// Rounding of real values to integers, as the command layer needs it.
#pragma once

/// Nearest integer to x.  A value exactly halfway between two integers goes
/// away from zero (2.5 gives 3, -2.5 gives -3), like std::lround.  Values
/// outside the range of long give LONG_MIN or LONG_MAX.
long RoundRealToNearestInteger(double x);

/// x truncated toward zero.  Values beyond the range of int give INT_MIN or
/// INT_MAX, NaN gives 0, so no user input can make the conversion undefined.
int TruncateToInt(double x);
