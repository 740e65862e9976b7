// The stopwatch: per-thread start and stop marks, read from the
// high-resolution counter when the platform has one and from the system
// clock otherwise. A thread that stops without having started reads the
// marks its record holds (zero in a fresh record), so the result is
// meaningless but defined.
#include <lumora/lifecycle.h>
#include <lumora/settings.h>

#include "frame/numeric.h"
#include "platform/clock.h"

namespace {

int g_highResolutionAvailable = 0;
int64_t g_frequency = 0;

// Days of the month only: month and year are ignored, as the system-time
// path always has been.
int32_t ElapsedMilliseconds(const SYSTEMTIME& start, const SYSTEMTIME& stop) {
    int32_t elapsed = stop.wDay - start.wDay;
    elapsed = elapsed * 24 + stop.wHour - start.wHour;
    elapsed = elapsed * 60 + stop.wMinute - start.wMinute;
    elapsed = elapsed * 60 + stop.wSecond - start.wSecond;
    return elapsed * 1000 + stop.wMilliseconds - start.wMilliseconds;
}

}  // namespace

void KStartTiming() {
    QuillTLSStruct* state = KGetTLSPtr();
    if (!state) {
        return;
    }
    if (lumora::platform::QueryPerformanceFrequency(&g_frequency)) {
        g_highResolutionAvailable = 1;
        lumora::platform::QueryPerformanceCounter(&state->m_n64TimingStart);
    } else {
        g_highResolutionAvailable = 0;
        lumora::platform::GetSystemTime(&state->m_TimingStartTime);
    }
}

int KStopTiming(int resolution) {
    QuillTLSStruct* state = KGetTLSPtr();
    if (!state) {
        return 0;
    }
    if (g_highResolutionAvailable == 1) {
        lumora::platform::QueryPerformanceCounter(&state->m_n64TimingStop);
        const int64_t ticks = state->m_n64TimingStop - state->m_n64TimingStart;
        if (g_frequency == 0) {
            return 0;
        }
        return lumora::detail::TruncateToInt(static_cast<double>(ticks) / static_cast<double>(g_frequency) * resolution);
    }
    lumora::platform::GetSystemTime(&state->m_TimingStopTime);
    const int32_t elapsed = ElapsedMilliseconds(state->m_TimingStartTime, state->m_TimingStopTime);
    return lumora::detail::TruncateToInt(static_cast<double>(static_cast<int64_t>(elapsed) * resolution) * 0.001);
}

int KTrueTimingResolution() {
    if (!lumora::platform::QueryPerformanceFrequency(&g_frequency)) {
        return 1000;
    }
    return static_cast<int>(static_cast<uint32_t>(g_frequency));
}
