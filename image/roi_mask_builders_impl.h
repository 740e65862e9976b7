// KROI<T>: the rectangle and ellipse mask builders. The mask geometry is
// not available yet: both report "not yet implemented" and leave the run
// list as it is.
#ifndef LUMORA_IMAGE_ROI_MASK_BUILDERS_IMPL_H
#define LUMORA_IMAGE_ROI_MASK_BUILDERS_IMPL_H

#include <lumora/image.h>

#include "frame/report.h"

template <class T>
void KROI<T>::SetRectangleMask(int /*orgX*/, int /*orgY*/, int /*width*/, int /*height*/) {
    KOk();
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, "KROI::SetRectangleMask");
}

template <class T>
void KROI<T>::SetEllipseMask(int /*orgX*/, int /*orgY*/, int /*width*/, int /*height*/) {
    KOk();
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, "KROI::SetEllipseMask");
}

#endif
