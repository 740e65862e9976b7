// Library attach and detach, the per-thread state record and the shared
// allocation routines.
//
// Every thread that calls the library gets one QuillTLSStruct holding its
// error word, trace mode, display working area, stopwatch marks and file
// format settings. The thread that loads the library uses a record in static
// storage; every other thread gets a heap record on first use, released when
// the thread ends.
#ifndef LUMORA_LIFECYCLE_H
#define LUMORA_LIFECYCLE_H

#include <lumora/errors.h>
#include <lumora/export.h>
#include <lumora/win_types.h>

#include <cstdint>

struct QuillTLSStruct {
    K_ERRORS m_eError;
    K_TRACE_MODE m_eTraceMode;
    KBitmapInfo256 m_DisplayBitmapInfo;
    KLogPalette256 m_GrayPaletteDescription;
    KLogPalette256 m_ColorCubePaletteDescription;
    HPALETTE m_hGrayPalette;
    HPALETTE m_hColorCubePalette;
    HPALETTE m_hPreviousPalette;
    HDC m_hImageDC;
    int64_t m_n64TimingStart;
    int64_t m_n64TimingStop;
    SYSTEMTIME m_TimingStartTime;
    SYSTEMTIME m_TimingStopTime;
    uint32_t m_un32JpegQuality;
    uint8_t m_un8TiffThreshold;
    uint32_t m_un32TiffStripSize;
    uint8_t m_aun8Color[3];
    uint32_t m_aun32Words[3];
};

LUMORA_API int KInternalDllMain(HINSTANCE module, uint32_t reason, void* reserved);

// The calling thread's record, made on first use; null only when the
// thread-slot lookup itself fails.
LUMORA_API QuillTLSStruct* KGetTLSPtr();

extern "C" {
LUMORA_API QuillTLSStruct* InitializeThreadLocalStorage();
LUMORA_API void CloseThreadLocalStorage();
LUMORA_API void* Lumora_Malloc(uint32_t size);
LUMORA_API void Lumora_Free(void* pointer);
}

namespace Corvane {
namespace Lumora {
// Explicit start and end calls for hosts that want them; all set-up happens
// when the library is loaded, so both do nothing.
LUMORA_API void Initialize();
LUMORA_API void Terminate();
}  // namespace Lumora
}  // namespace Corvane

#endif
