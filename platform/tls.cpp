// Slots are a fixed table of POSIX keys. The key destructor is how the
// thread-detach notification reaches the module: POSIX clears the value
// before calling it, so the destructor puts the value back for the duration
// of the notification (the module finds its record the usual way) and
// clears the slot afterwards so the destructor does not run again.
#include "platform/tls.h"

#include "platform/module_entry.h"

#include <lumora/win_types.h>

#include <pthread.h>

#include <array>
#include <mutex>
#include <utility>

namespace lumora::platform {
namespace {

constexpr uint32_t kSlotCount = 64;

struct Slot {
    bool allocated = false;
    pthread_key_t key{};
};

Slot g_slots[kSlotCount];
std::mutex g_slotsLock;
thread_local uint32_t t_lastError = kErrorSuccess;
thread_local bool t_detaching = false;

void NotifyThreadDetach(void* value, uint32_t index) {
    if (t_detaching) {
        return;
    }
    t_detaching = true;
    pthread_setspecific(g_slots[index].key, value);
    DllMain(nullptr, K_DLL_THREAD_DETACH, nullptr);
    pthread_setspecific(g_slots[index].key, nullptr);
    t_detaching = false;
}

template <uint32_t Index>
void SlotDestructor(void* value) {
    NotifyThreadDetach(value, Index);
}

template <uint32_t... I>
constexpr auto MakeDestructors(std::integer_sequence<uint32_t, I...>) {
    using Destructor = void (*)(void*);
    return std::array<Destructor, sizeof...(I)>{&SlotDestructor<I>...};
}

constexpr auto g_destructors = MakeDestructors(std::make_integer_sequence<uint32_t, kSlotCount>{});

bool ValidIndex(uint32_t index) { return index < kSlotCount && g_slots[index].allocated; }

}  // namespace

uint32_t TlsAlloc() {
    std::lock_guard<std::mutex> hold(g_slotsLock);
    for (uint32_t index = 0; index < kSlotCount; ++index) {
        if (!g_slots[index].allocated) {
            if (pthread_key_create(&g_slots[index].key, g_destructors[index]) != 0) {
                break;
            }
            g_slots[index].allocated = true;
            t_lastError = kErrorSuccess;
            return index;
        }
    }
    t_lastError = kErrorInvalidParameter;
    return kTlsOutOfIndexes;
}

void* TlsGetValue(uint32_t index) {
    if (!ValidIndex(index)) {
        t_lastError = kErrorInvalidParameter;
        return nullptr;
    }
    t_lastError = kErrorSuccess;
    return pthread_getspecific(g_slots[index].key);
}

bool TlsSetValue(uint32_t index, void* value) {
    if (!ValidIndex(index) || pthread_setspecific(g_slots[index].key, value) != 0) {
        t_lastError = kErrorInvalidParameter;
        return false;
    }
    return true;
}

bool TlsFree(uint32_t index) {
    std::lock_guard<std::mutex> hold(g_slotsLock);
    if (!ValidIndex(index)) {
        t_lastError = kErrorInvalidParameter;
        return false;
    }
    pthread_key_delete(g_slots[index].key);
    g_slots[index].allocated = false;
    return true;
}

uint32_t GetLastError() { return t_lastError; }
void SetLastError(uint32_t error) { t_lastError = error; }

}  // namespace lumora::platform
