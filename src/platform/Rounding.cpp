#include "platform/Rounding.h"

#include <climits>
#include <cmath>

long RoundRealToNearestInteger(double x)
{
    if (std::isnan(x)) return 0;
    // Compare in double: LONG_MAX itself is not representable, 2^63 is.
    if (x >= 9223372036854775807.0) return LONG_MAX;
    if (x <= -9223372036854775808.0) return LONG_MIN;
    return std::lround(x);
}

int TruncateToInt(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT_MAX;
    if (x <= -2147483648.0) return INT_MIN;
    return static_cast<int>(x);
}
