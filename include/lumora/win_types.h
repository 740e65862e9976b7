// Plain data shapes of the Windows interfaces the library is defined against:
// bitmap headers, colour tables, palettes, system time and the handle types.
// On Linux these are our own definitions with the same field order, so that
// the per-thread record and the display code keep their documented layout.
// Handles are pointer-sized opaque pointers into the software platform layer.
#ifndef LUMORA_WIN_TYPES_H
#define LUMORA_WIN_TYPES_H

#include <cstdint>

struct LumoraGdiObject;      // pens, brushes, palettes, bitmaps, fonts
struct LumoraDeviceContext;  // the software device context

typedef LumoraGdiObject* HGDIOBJ;
typedef LumoraGdiObject* HPALETTE;
typedef LumoraDeviceContext* HDC;
typedef void* HINSTANCE;

// Reasons the loader passes to a library's entry point.
enum : uint32_t {
    K_DLL_PROCESS_DETACH = 0,
    K_DLL_PROCESS_ATTACH = 1,
    K_DLL_THREAD_ATTACH = 2,
    K_DLL_THREAD_DETACH = 3,
};

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

struct PALETTEENTRY {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};

// A bitmap header followed by a full 256-entry colour table.
struct KBitmapInfo256 {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};
static_assert(sizeof(KBitmapInfo256) == 40 + 1024, "header plus colour table");

// A logical palette description with room for 256 entries.
struct KLogPalette256 {
    uint16_t palVersion;
    uint16_t palNumEntries;
    PALETTEENTRY palPalEntry[256];
};
static_assert(sizeof(KLogPalette256) == 4 + 1024, "version, count, entries");

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is 16 bytes");

#endif
