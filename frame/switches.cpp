// Process-wide switches: the default recursion of image and ROI copies, and
// the MMX flag that lets bilevel block copies move 8 bytes at a time. Plain
// words without a lock, read and written by any thread.
#include <lumora/settings.h>

#include "platform/cpu.h"

namespace {

int g_recursiveCopy = 1;
int g_mmx = 0;

// Runs when the library image is loaded, before the attach step (which runs
// at priority 102).
__attribute__((constructor(101))) void DetectMmx() {
    g_mmx = lumora::platform::HasCpuId() &&
                    (lumora::platform::CpuFeatureFlags() & lumora::platform::kCpuFeatureMmx) != 0
                ? 1
                : 0;
}

}  // namespace

int KGetRecursiveCopyBehavior() { return g_recursiveCopy; }
void KSetRecursiveCopyBehavior(int recursive) { g_recursiveCopy = recursive; }
int KGetMMX() { return g_mmx; }
void KSetMMX(int enabled) { g_mmx = enabled; }
