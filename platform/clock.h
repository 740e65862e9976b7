// The high-resolution performance counter and the system clock.
#ifndef LUMORA_PLATFORM_CLOCK_H
#define LUMORA_PLATFORM_CLOCK_H

#include <lumora/win_types.h>

#include <cstdint>

namespace lumora::platform {

// Ticks per second of the counter; false when there is no such counter.
bool QueryPerformanceFrequency(int64_t* frequency);
bool QueryPerformanceCounter(int64_t* count);

// The current time in UTC, to the millisecond.
void GetSystemTime(SYSTEMTIME* time);

// Lets tests run the code paths of a machine without a high-resolution
// counter. Process-wide; true by default.
void SetPerformanceCounterAvailable(bool available);

}  // namespace lumora::platform

#endif
