// Drawing an image or ROI through a draw adapter. The display layer's image
// drawing is not available yet: the call reports "not yet implemented".
#include <lumora/generic_roi.h>

#include "frame/report.h"

void KGenericROI::Draw(Corvane::DrawAdapter* /*adapter*/, float /*zoomX*/, float /*zoomY*/, float /*panX*/,
                       float /*panY*/) {
    KOk();
    lumora::detail::Fail(K_ERROR_NOT_IMPLEMENTED, "KGenericROI::Draw");
}
