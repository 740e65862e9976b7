// Conversions from floating point to int that are defined for every input:
// truncation towards zero, saturated at the ends of the int range, and 0 for
// NaN. A plain cast is undefined for values outside the range.
#ifndef LUMORA_FRAME_NUMERIC_H
#define LUMORA_FRAME_NUMERIC_H

#include <climits>
#include <cmath>

namespace lumora::detail {

inline int TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace lumora::detail

#endif
