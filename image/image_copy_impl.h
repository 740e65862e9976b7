// KImage<T>: copies. An owning image is copied deeply (a fresh buffer of the
// same size and pitch, filled in one block); an adopting or empty image is
// copied shallowly (the copy refers to the same caller memory).
#ifndef LUMORA_IMAGE_IMAGE_COPY_IMPL_H
#define LUMORA_IMAGE_IMAGE_COPY_IMPL_H

#include <lumora/image.h>
#include <lumora/settings.h>

#include "image/address_math.h"

#include <cstring>

template <class T>
KImage<T>* KImage<T>::InternalCopyTo(KImage<T>* dest, int recursive, int freshTarget) const {
    if (!dest) {
        dest = new KImage<T>();
    }
    if (dest == this) {
        return dest;
    }
    if (freshTarget) {
        dest->InitEmpty();
    }
    KROI<T>::InternalCopyTo(dest, recursive, 0);

    if (!OwnsBuffer()) {
        dest->ReleaseBuffer();
        dest->SetImagePtr(this->m_n32Width, this->m_n32Height, m_pImagePtr, m_n32BitsPerRow);
    } else {
        dest->m_n32Width = 0;
        dest->m_n32Height = 0;
        dest->SetSize(static_cast<const KGenericROI*>(this));
        if (dest->m_pImagePtr) {
            const uint64_t bytes = (static_cast<uint64_t>(m_n32BitsPerRow) * this->m_n32Height + 7) / 8;
            std::memcpy(dest->m_pImagePtr, m_pImagePtr, static_cast<size_t>(bytes));
        }
    }
    dest->m_PixelWidth = m_PixelWidth;
    dest->m_PixelHeight = m_PixelHeight;

    // Runs that hold addresses move with the pixels to the copy's buffer.
    dest->m_Mask = this->m_Mask;
    if (!this->m_bMaskOffsets) {
        const int64_t delta = reinterpret_cast<intptr_t>(dest->GetGenericImagePtr(0, 0)) -
                              reinterpret_cast<intptr_t>(GetGenericImagePtr(0, 0));
        KRun* runs = dest->m_Mask.GetDataPtr();
        for (unsigned int i = 0; i < dest->m_Mask.GetNumElements(); ++i) {
            runs[i].pBeg = lumora::detail::OffsetAddress(runs[i].pBeg, delta);
            runs[i].pEnd = lumora::detail::OffsetAddress(runs[i].pEnd, delta);
        }
    }
    return dest;
}

template <class T>
KImage<T>* KImage<T>::CopyTo(KImage<T>* dest, int recursive) const {
    return InternalCopyTo(dest, recursive, 0);
}

template <class T>
KImage<T>& KImage<T>::operator=(const KImage<T>& other) {
    other.InternalCopyTo(this, KGetRecursiveCopyBehavior(), 0);
    return *this;
}

template <class T>
KROI<T>* KImage<T>::CreateROIClone(int recursive) const {
    auto* clone = new KImage<T>();
    InternalCopyTo(clone, recursive, 0);
    return clone;
}

#endif
