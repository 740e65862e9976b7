// On x86-64 the identification instruction always exists, so the flag-toggle
// probe (bit 21 of the flags register) is only needed on 32-bit x86. Other
// architectures have neither the instruction nor MMX.
#include "platform/cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace lumora::platform {

bool HasCpuId() {
#if defined(__x86_64__)
    return true;
#elif defined(__i386__)
    unsigned int before = 0;
    unsigned int after = 0;
    __asm__ volatile(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl $0x200000, %0\n\t"
        "pushl %0\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %0\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        : "=&r"(after), "=&r"(before));
    return ((after ^ before) & 0x200000u) != 0;
#else
    return false;
#endif
}

uint32_t CpuFeatureFlags() {
#if defined(__x86_64__) || defined(__i386__)
    if (!HasCpuId()) {
        return 0;
    }
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        return 0;
    }
    return edx;
#else
    return 0;
#endif
}

}  // namespace lumora::platform
