// What a serializer factory stores when making a serializer fails.
#ifndef LUMORA_PERSIST_FACTORY_FAILURE_H
#define LUMORA_PERSIST_FACTORY_FAILURE_H

#include "frame/report.h"

#include <new>

namespace lumora::detail {

// Call from inside a catch block: a library exception's own code, 1303 when
// memory ran out, 32767 for anything else.
inline K_ERRORS StoreFactoryFailure() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return KSetError(K_ERROR_ALLOCATION);
    } catch (...) {
        return StoreCaughtException(K_ERROR_INTERNAL);
    }
}

}  // namespace lumora::detail

#endif
