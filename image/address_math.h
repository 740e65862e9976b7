// Address arithmetic for pixel addressing. Coordinates are not checked, so
// offsets are computed in 64 bits and applied to the address as an integer:
// an out-of-range coordinate gives a meaningless address, never overflow.
#ifndef LUMORA_IMAGE_ADDRESS_MATH_H
#define LUMORA_IMAGE_ADDRESS_MATH_H

#include <cstdint>

namespace lumora::detail {

template <class Pointer>
Pointer OffsetAddress(Pointer base, int64_t offset) {
    return reinterpret_cast<Pointer>(reinterpret_cast<uintptr_t>(base) + static_cast<uintptr_t>(offset));
}

// The sum of two coordinates, saturated to the int range.
inline int AddCoordinates(int a, int b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > INT32_MAX) {
        return INT32_MAX;
    }
    if (sum < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int>(sum);
}

}  // namespace lumora::detail

#endif
