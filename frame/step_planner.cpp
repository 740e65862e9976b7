// The search step planner: everything in 32-bit float arithmetic.
#include <lumora/settings.h>

#include "frame/numeric.h"

#include <cmath>

namespace {

// Half away from zero, then truncation towards zero. A degenerate pattern
// (zero width or height) gives NaN or infinite quotients, which saturate
// instead of being undefined.
unsigned int RoundedCount(float quotient) {
    const float rounded = quotient >= 0.0f ? quotient + 0.5f : quotient - 0.5f;
    return static_cast<unsigned int>(lumora::detail::TruncateToInt(rounded)) + 1u;
}

}  // namespace

void KSkewScaleSteps(int width, int height, float skewRange, unsigned int& skewSteps, float& skewStep,
                     float scaleRange, unsigned int& scaleSteps, float& scaleStep, int adjust) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float d = std::sqrt(w * w + h * h);
    // Mean distance from the centre of a w x h rectangle to its points.
    const float meanDistance = h * h * std::log((d + w) / h) / (12.0f * w) +
                               w * w * std::log((d + h) / w) / (12.0f * h) + d / 6.0f;
    const float q = 1.0f / meanDistance;
    skewStep = q;
    scaleStep = q;
    skewSteps = RoundedCount(skewRange / q);
    scaleSteps = RoundedCount(scaleRange / q);
    if (adjust) {
        skewStep = skewRange / static_cast<float>(skewSteps - 1u);
        scaleStep = scaleRange / static_cast<float>(scaleSteps - 1u);
    }
}
