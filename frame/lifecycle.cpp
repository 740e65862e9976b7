// Library attach and detach and the per-thread record.
//
// Choices of ours:
// - When the thread that loaded the library ends, its record lives in static
//   storage and is not freed; it is reset to the initial values instead.
// - Releasing a record (thread detach, CloseThreadLocalStorage) also clears
//   the thread's slot, so a later call from the same thread gets a fresh
//   record instead of reaching the released one.
// - InitializeThreadLocalStorage on a thread that already has a heap record
//   releases the old record, so that no record leaks.
// - The platform layer notifies a thread detach only for threads that hold a
//   record: a thread that never called the library costs nothing at its end.
#include <lumora/lifecycle.h>

#include "platform/gdi_object.h"
#include "platform/module_entry.h"
#include "platform/tls.h"

#include <cstdlib>
#include <cstring>

namespace {

uint32_t g_tlsIndex = lumora::platform::kTlsOutOfIndexes;
QuillTLSStruct g_attachRecord;

void InitRecord(QuillTLSStruct* record) {
    std::memset(record, 0, sizeof *record);
    record->m_eError = K_SUCCESS;
    record->m_eTraceMode = K_TRACE_MESSAGE_BOX;
    record->m_GrayPaletteDescription.palVersion = 0x300;
    record->m_ColorCubePaletteDescription.palVersion = 0x300;
    record->m_un32JpegQuality = 50;
    record->m_un8TiffThreshold = 128;
    record->m_un32TiffStripSize = 8192;
    record->m_aun8Color[0] = 0;
    record->m_aun8Color[1] = 0;
    record->m_aun8Color[2] = 255;
}

QuillTLSStruct* NewHeapRecord() {
    auto* record = new QuillTLSStruct;
    InitRecord(record);
    return record;
}

void ReleaseRecord(QuillTLSStruct* record) {
    if (record == &g_attachRecord) {
        InitRecord(record);
    } else {
        delete record;
    }
}

void ProcessAttach() {
    g_tlsIndex = lumora::platform::TlsAlloc();
    InitRecord(&g_attachRecord);
    lumora::platform::TlsSetValue(g_tlsIndex, &g_attachRecord);
}

void ProcessDetach() {
    lumora::platform::TlsFree(g_tlsIndex);
}

}  // namespace

int DllMain(HINSTANCE /*module*/, uint32_t reason, void* /*reserved*/) {
    return KInternalDllMain(nullptr, reason, nullptr);
}

int KInternalDllMain(HINSTANCE /*module*/, uint32_t reason, void* /*reserved*/) {
    switch (reason) {
    case K_DLL_PROCESS_ATTACH:
        ProcessAttach();
        break;
    case K_DLL_THREAD_DETACH:
        CloseThreadLocalStorage();
        break;
    case K_DLL_PROCESS_DETACH:
        ProcessDetach();
        break;
    default:
        break;
    }
    return 1;
}

QuillTLSStruct* KGetTLSPtr() {
    void* value = lumora::platform::TlsGetValue(g_tlsIndex);
    if (value) {
        return static_cast<QuillTLSStruct*>(value);
    }
    if (lumora::platform::GetLastError() != lumora::platform::kErrorSuccess) {
        return nullptr;
    }
    QuillTLSStruct* record = NewHeapRecord();
    lumora::platform::TlsSetValue(g_tlsIndex, record);
    return record;
}

extern "C" QuillTLSStruct* InitializeThreadLocalStorage() {
    QuillTLSStruct* record = NewHeapRecord();
    auto* previous = static_cast<QuillTLSStruct*>(lumora::platform::TlsGetValue(g_tlsIndex));
    lumora::platform::TlsSetValue(g_tlsIndex, record);
    if (previous && previous != &g_attachRecord) {
        delete previous;
    }
    return record;
}

extern "C" void CloseThreadLocalStorage() {
    QuillTLSStruct* record = KGetTLSPtr();
    if (!record) {
        return;
    }
    lumora::platform::DeleteObject(record->m_hGrayPalette);
    lumora::platform::DeleteObject(record->m_hColorCubePalette);
    record->m_hGrayPalette = nullptr;
    record->m_hColorCubePalette = nullptr;
    if (record != &g_attachRecord) {
        lumora::platform::TlsSetValue(g_tlsIndex, nullptr);
    }
    ReleaseRecord(record);
}

extern "C" void* Lumora_Malloc(uint32_t size) { return std::malloc(size); }

extern "C" void Lumora_Free(void* pointer) { std::free(pointer); }

namespace Corvane::Lumora {
void Initialize() {}
void Terminate() {}
}  // namespace Corvane::Lumora
