// KROI<T>: pixel dimensions (held by the image at the top of the tree), the
// mask operations that need no geometry, and the dump.
#ifndef LUMORA_IMAGE_ROI_VIEW_MISC_IMPL_H
#define LUMORA_IMAGE_ROI_VIEW_MISC_IMPL_H

#include <lumora/image.h>

#include "frame/report.h"

#include <ostream>

namespace lumora::detail {

// Runs action on the image at the top of the view's tree, or reports 1416
// under operation when the view has none (after the top-parent request has
// reported it too).
template <class View, class Action>
void WithTopImage(View& view, const char* operation, Action action) {
    KOk();
    if (auto* top = view.GetTopParent()) {
        action(*top);
    } else {
        Fail(K_ERROR_ROI_NO_PARENT, operation);
    }
}

}  // namespace lumora::detail

template <class T>
void KROI<T>::GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const {
    lumora::detail::WithTopImage(*this, "KROI::GetPixelDimensions",
                                 [&](const KGenericROI& top) { top.GetPixelDimensions(width, height, unit); });
}

template <class T>
void KROI<T>::GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const {
    lumora::detail::WithTopImage(*this, "KROI::GetResolution",
                                 [&](const KGenericROI& top) { top.GetResolution(x, y, unit); });
}

template <class T>
void KROI<T>::SetPixelDimensions(float width, float height, KMeasurementUnit* unit) {
    lumora::detail::WithTopImage(*this, "KROI::SetPixelDimensions",
                                 [&](KGenericROI& top) { top.SetPixelDimensions(width, height, unit); });
}

template <class T>
void KROI<T>::SetResolution(float x, float y, KMeasurementUnit* unit) {
    lumora::detail::WithTopImage(*this, "KROI::SetResolution",
                                 [&](KGenericROI& top) { top.SetResolution(x, y, unit); });
}

template <class T>
void KROI<T>::ResetMask() {
    KOk();
    m_Mask.SetMaxElements(0, 1);
    if (KFailure()) {
        KTraceError("KROI::ResetMask");
    }
}

template <class T>
void KROI<T>::SetBinarizedMask(unsigned int /*threshold*/) {
    // Accepted and ignored: no binarized mask is built.
}

template <class T>
void KROI<T>::DumpToStream(std::ostream& stream, int indent) const {
    KGenericROI::DumpToStream(stream, indent);
    stream << std::string(indent > 0 ? static_cast<size_t>(indent) : 0u, ' ') << "( KROI<Pixel>( "
           << static_cast<const void*>(this) << ") : " << "m_bMaskOffsets = " << KBooleanText(m_bMaskOffsets)
           << "m_n32CursorX = " << m_n32CursorX << "m_n32CursorY = " << m_n32CursorY << ")";
}

#endif
