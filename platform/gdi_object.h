// The base of every object a device context can select (pens, brushes,
// palettes, bitmaps, fonts). A handle (HGDIOBJ) points at one of these.
#ifndef LUMORA_PLATFORM_GDI_OBJECT_H
#define LUMORA_PLATFORM_GDI_OBJECT_H

#include <lumora/win_types.h>

struct LumoraGdiObject {
    virtual ~LumoraGdiObject() = default;
};

namespace lumora::platform {

// Releases the object; a null handle does nothing. Returns false for null.
bool DeleteObject(HGDIOBJ object);

}  // namespace lumora::platform

#endif
