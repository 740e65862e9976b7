// Process-wide switches, the stopwatch, angle units and the search step
// planner.
//
// The switches and the angle unit are shared by all threads without a lock;
// the stopwatch marks are kept per thread.
#ifndef LUMORA_SETTINGS_H
#define LUMORA_SETTINGS_H

#include <lumora/export.h>

#include <cstdint>

enum K_ANGLE_UNITS : int32_t {
    K_ANGLE_UNIT_REVOLUTIONS = 0,
    K_ANGLE_UNIT_RADIANS = 1,
    K_ANGLE_UNIT_DEGREES = 2,
    K_ANGLE_UNIT_GRADIANS = 3,
};

LUMORA_API int KGetRecursiveCopyBehavior();
LUMORA_API void KSetRecursiveCopyBehavior(int recursive);
LUMORA_API int KGetMMX();
LUMORA_API void KSetMMX(int enabled);

LUMORA_API void KStartTiming();
LUMORA_API int KStopTiming(int resolution);
LUMORA_API int KTrueTimingResolution();

LUMORA_API void KSetAngleUnit(K_ANGLE_UNITS unit);
LUMORA_API K_ANGLE_UNITS KGetAngleUnit();
LUMORA_API const char* KGetAngleUnitName();
LUMORA_API float KFromRadians(float radians);
LUMORA_API float KToRadians(float angle);

// Plans the rotation and scale steps for matching a width x height pattern:
// one step moves a point at the pattern's mean distance from its centre by
// one pixel. Ranges and steps are in radians and plain ratios. With adjust
// set, the steps are stretched so that the counts cover the ranges exactly;
// when a count is 1 that division is by zero and the step is then an
// infinity or NaN, which callers must not use.
LUMORA_API void KSkewScaleSteps(int width, int height, float skewRange, unsigned int& skewSteps,
                                float& skewStep, float scaleRange, unsigned int& scaleSteps,
                                float& scaleStep, int adjust);

#endif
