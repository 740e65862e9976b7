#include <lumora/units.h>

#include "frame/report.h"

// Stand-in until the archive format defines the record; that work replaces it.
void KDimensionalValue::Serialize(KSerializer* /*serializer*/, unsigned int /*version*/) {
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, "KDimensionalValue::Serialize");
}
