// Processor identification.
#ifndef LUMORA_PLATFORM_CPU_H
#define LUMORA_PLATFORM_CPU_H

#include <cstdint>

namespace lumora::platform {

// False when the processor has no identification instruction.
bool HasCpuId();
// The standard feature flags (EDX of function 1); 0 without identification.
uint32_t CpuFeatureFlags();

constexpr uint32_t kCpuFeatureMmx = 1u << 23;

}  // namespace lumora::platform

#endif
