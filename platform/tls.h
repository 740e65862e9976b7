// Thread-local storage slots with the semantics of the Windows TLS calls the
// library is written against, on top of POSIX thread keys.
//
// A slot holds one pointer per thread. A lookup on a slot that was never
// allocated, or was freed, fails and leaves an error in the calling thread's
// last-error word; a lookup that finds an empty slot succeeds with null.
// When a thread ends while it holds a value in a slot, the module's entry
// point is notified of the thread detach (module_entry.h).
#ifndef LUMORA_PLATFORM_TLS_H
#define LUMORA_PLATFORM_TLS_H

#include <cstdint>

namespace lumora::platform {

constexpr uint32_t kTlsOutOfIndexes = 0xFFFFFFFFu;
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorInvalidParameter = 87;

uint32_t TlsAlloc();
void* TlsGetValue(uint32_t index);
bool TlsSetValue(uint32_t index, void* value);
bool TlsFree(uint32_t index);

uint32_t GetLastError();
void SetLastError(uint32_t error);

}  // namespace lumora::platform

#endif
