// The compatibility checks run at the start of most image operations. Each
// returns the error word afterwards as a 16-bit value: 0 when it passes.
#include <lumora/generic_roi.h>

#include "frame/report.h"

short KGenericROI::SameSize(const KGenericROI* other) const {
    KOk();
    if (m_n32Height != other->m_n32Height || m_n32Width != other->m_n32Width) {
        KSetError(K_ERROR_SIZE_MISMATCH);  // a plain answer, not a traced failure
    }
    return static_cast<short>(KGetError());
}

short KGenericROI::SameDataType(KGenericROI* other) {
    KOk();
    if (GetDataType() != other->GetDataType()) {
        lumora::detail::Fail(K_ERROR_INVALID_DATA_TYPE, "KROI::SameDataType");
    }
    return static_cast<short>(KGetError());
}

short KGenericROI::SameDepth(KGenericROI* other) {
    KOk();
    if (GetBitsPerPixel() != other->GetBitsPerPixel()) {
        lumora::detail::Fail(K_ERROR_DEPTH_MISMATCH, "KROI::SameDepth");
    }
    return static_cast<short>(KGetError());
}

short KGenericROI::PermittedDepth(short depthMask) {
    KOk();
    if ((GetBitsPerPixelCode() & depthMask & 0xFFFF) == 0) {
        lumora::detail::Fail(K_ERROR_INVALID_DEPTH, "KROI::PermittedDepth");
    }
    return static_cast<short>(KGetError());
}

short KGenericROI::PermittedDataType(short dataTypeMask) {
    KOk();
    if ((GetDataType() & dataTypeMask & 0xFFFF) == 0) {
        lumora::detail::Fail(K_ERROR_INVALID_DATA_TYPE, "KROI::PermittedDataType");
    }
    return static_cast<short>(KGetError());
}

short KGenericROI::SameSizeDepthType(KGenericROI* other, short depthMask, short dataTypeMask) {
    const bool failed = SameSize(other) != 0 || SameDepth(other) != 0 || SameDataType(other) != 0 ||
                        PermittedDepth(depthMask) != 0 || PermittedDataType(dataTypeMask) != 0;
    if (failed) {
        KTraceError("KROI::SameSizeDepthType");
    }
    return static_cast<short>(KGetError());
}
