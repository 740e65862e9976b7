// KROI<T>: pixel dimensions (held by the image at the top of the tree), the
// mask operations that need no geometry, and the dump.
#ifndef LUMORA_IMAGE_ROI_VIEW_MISC_IMPL_H
#define LUMORA_IMAGE_ROI_VIEW_MISC_IMPL_H

#include <lumora/image.h>

#include "frame/report.h"

#include <ostream>

template <class T>
void KROI<T>::GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const {
    KOk();
    const KGenericROI* top = GetTopParent();
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::GetPixelDimensions");
        return;
    }
    top->GetPixelDimensions(width, height, unit);
}

template <class T>
void KROI<T>::GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const {
    KOk();
    const KGenericROI* top = GetTopParent();
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::GetResolution");
        return;
    }
    top->GetResolution(x, y, unit);
}

template <class T>
void KROI<T>::SetPixelDimensions(float width, float height, KMeasurementUnit* unit) {
    KOk();
    KGenericROI* top = GetTopParent();
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::SetPixelDimensions");
        return;
    }
    top->SetPixelDimensions(width, height, unit);
}

template <class T>
void KROI<T>::SetResolution(float x, float y, KMeasurementUnit* unit) {
    KOk();
    KGenericROI* top = GetTopParent();
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::SetResolution");
        return;
    }
    top->SetResolution(x, y, unit);
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
