#include "platform/gdi_object.h"

namespace lumora::platform {

bool DeleteObject(HGDIOBJ object) {
    if (!object) {
        return false;
    }
    delete object;
    return true;
}

}  // namespace lumora::platform
