// KROI<T>: pixel addressing through the parent chain, pitches, per-type
// constants and pixel access.
#ifndef LUMORA_IMAGE_ROI_PIXELS_IMPL_H
#define LUMORA_IMAGE_ROI_PIXELS_IMPL_H

#include <lumora/image.h>

#include "frame/report.h"
#include "image/address_math.h"
#include "image/pixel_access.h"

#include <type_traits>

template <class T>
const void* KROI<T>::GetGenericImagePtr(int x, int y) const {
    const KGenericROI* parent = m_pParent;
    if (!parent || !parent->GetGenericImagePtr(0, 0)) {
        return nullptr;
    }
    return parent->GetGenericImagePtr(lumora::detail::AddCoordinates(m_n32OrgX, x),
                                      lumora::detail::AddCoordinates(m_n32OrgY, y));
}

template <class T>
void* KROI<T>::GetGenericImagePtr(int x, int y) {
    return const_cast<void*>(static_cast<const KROI<T>*>(this)->GetGenericImagePtr(x, y));
}

template <class T>
const T* KROI<T>::GetImagePtr(int x, int y) const {
    if constexpr (std::is_same_v<T, KYUY2>) {
        // Pairs of YUY2 pixels share their chroma: there is no typed pixel.
        (void)x;
        (void)y;
        lumora::detail::Fail(K_ERROR_UNSUPPORTED_IMAGE_TYPE, "KROI::GetImagePtr ( YUY2)");
        return nullptr;
    } else {
        return static_cast<const T*>(GetGenericImagePtr(x, y));
    }
}

template <class T>
T* KROI<T>::GetImagePtr(int x, int y) {
    return const_cast<T*>(static_cast<const KROI<T>*>(this)->GetImagePtr(x, y));
}

template <class T>
unsigned int KROI<T>::GetBitIndex(int x, int y) const {
    if (!m_pParent) {
        return 0;
    }
    return m_pParent->GetBitIndex(lumora::detail::AddCoordinates(m_n32OrgX, x),
                                  lumora::detail::AddCoordinates(m_n32OrgY, y));
}

template <class T>
int KROI<T>::Void() const {
    return GetImagePtr(0, 0) == nullptr ? 1 : 0;
}

template <class T>
void KROI<T>::NotVoid() const {
    KOk();
    if constexpr (std::is_same_v<T, KYUY2>) {
        GetImagePtr(0, 0);
        KSetError(K_ERROR_IMAGE_MEMORY);
    } else if (!GetGenericImagePtr(0, 0)) {
        KSetError(K_ERROR_IMAGE_MEMORY);
    }
}

template <class T>
int KROI<T>::GetColPitch() const {
    return GetBitsPerPixel() >> 3;
}

template <class T>
int KROI<T>::GetRowPitch() const {
    const KImage<T>* top = TopImage();
    return top ? top->GetBitsPerRow() >> 3 : 0;
}

template <class T>
int KROI<T>::GetImgPitch() const {
    return static_cast<int>(static_cast<int64_t>(GetRowPitch()) * m_n32Height);
}

template <class T>
int KROI<T>::GetSkip() const {
    const KImage<T>* top = TopImage();
    if (!top) {
        lumora::detail::Fail(K_ERROR_ROI_NO_PARENT, "KROI::GetSkip");
        return 0;
    }
    const int64_t bits = static_cast<int64_t>(top->GetBitsPerRow()) -
                         static_cast<int64_t>(GetBitsPerPixel()) * m_n32Width;
    return static_cast<int>(bits >> 3);
}

template <class T>
T KROI<T>::GetPixel(int x, int y) {
    return lumora::detail::PixelAccess<T>::Get(*this, x, y);
}

template <class T>
void KROI<T>::SetPixel(T value, int x, int y) {
    lumora::detail::PixelAccess<T>::Set(*this, value, x, y);
}

template <class T>
K_IMAGE_TYPES KROI<T>::GetType() {
    return PixelTraits<T>::type;
}

template <class T>
int KROI<T>::GetBitsPerPixel() const {
    return PixelTraits<T>::bitsPerPixel;
}

template <class T>
int KROI<T>::GetPlanesPerPixel() const {
    return PixelTraits<T>::planes;
}

template <class T>
short KROI<T>::GetBitsPerPixelCode() const {
    return PixelTraits<T>::depthCode;
}

template <class T>
short KROI<T>::GetDataType() {
    return PixelTraits<T>::dataType;
}

template <class T>
void KROI<T>::SetColorSystem() {
    m_eColorSystem = PixelTraits<T>::colorSystem;
}

#endif
