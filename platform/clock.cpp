// The counter is the monotonic clock in nanoseconds, so its frequency is
// 1,000,000,000 ticks per second, which also fits the 32-bit resolution
// query of the stopwatch.
#include "platform/clock.h"

#include <atomic>
#include <ctime>

namespace lumora::platform {
namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;
std::atomic<bool> g_counterAvailable{true};

}  // namespace

bool QueryPerformanceFrequency(int64_t* frequency) {
    if (!g_counterAvailable.load(std::memory_order_relaxed)) {
        *frequency = 0;
        return false;
    }
    *frequency = kNanosecondsPerSecond;
    return true;
}

bool QueryPerformanceCounter(int64_t* count) {
    if (!g_counterAvailable.load(std::memory_order_relaxed)) {
        *count = 0;
        return false;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    *count = static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
    return true;
}

void GetSystemTime(SYSTEMTIME* time) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    time->wYear = static_cast<uint16_t>(utc.tm_year + 1900);
    time->wMonth = static_cast<uint16_t>(utc.tm_mon + 1);
    time->wDayOfWeek = static_cast<uint16_t>(utc.tm_wday);
    time->wDay = static_cast<uint16_t>(utc.tm_mday);
    time->wHour = static_cast<uint16_t>(utc.tm_hour);
    time->wMinute = static_cast<uint16_t>(utc.tm_min);
    time->wSecond = static_cast<uint16_t>(utc.tm_sec);
    time->wMilliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

void SetPerformanceCounterAvailable(bool available) {
    g_counterAvailable.store(available, std::memory_order_relaxed);
}

}  // namespace lumora::platform
