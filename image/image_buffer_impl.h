// KImage<T>: construction, the pixel buffer (owned or adopted), sizing with
// re-clipping of the views, pixel addresses and pixel dimensions.
#ifndef LUMORA_IMAGE_IMAGE_BUFFER_IMPL_H
#define LUMORA_IMAGE_IMAGE_BUFFER_IMPL_H

#include <lumora/image.h>
#include <lumora/settings.h>

#include "frame/report.h"
#include "image/address_math.h"

#include <climits>
#include <cstdlib>

namespace lumora::detail {

constexpr int64_t kRowPaddingBits = 192;
constexpr uintptr_t kPixelAlignment = 32;
// 31 bytes to align the first pixel on 32 bytes, and 8 bytes of slack.
constexpr uint64_t kAllocationSlack = 39;
constexpr uint64_t kImageByteLimit = uint64_t{1} << 32;

// Rows padded to 192 bits, computed on the unsigned 32-bit product of bits
// per pixel and width as the row layout has always been.
inline int64_t PaddedBitsPerRow(int bitsPerPixel, int width) {
    const uint32_t bits = static_cast<uint32_t>(bitsPerPixel) * static_cast<uint32_t>(width);
    return (static_cast<int64_t>(bits) + kRowPaddingBits - 1) / kRowPaddingBits * kRowPaddingBits;
}

// The pitch asked for by an adopting call without one: the row size rounded
// up to a multiple of 32 bits.
inline int DefaultAdoptedBitsPerRow(int bitsPerPixel, int width) {
    const int64_t rowBits = static_cast<int64_t>(bitsPerPixel) * width;
    return static_cast<int>(static_cast<uint32_t>((rowBits + 31) / 32 * 32));
}

}  // namespace lumora::detail

template <class T>
KImage<T>::KImage()
    : m_pAllocation(nullptr), m_pImagePtr(nullptr), m_n32BitsPerPixel(0), m_n32BitsPerRow(0) {
    InitEmpty();
}

template <class T>
KImage<T>::KImage(int width, int height) : KImage() {
    SetSize(width, height, true);
    this->SetColorSystem();
}

template <class T>
KImage<T>::KImage(const KImage<T>& other)
    : KROI<T>(), m_pAllocation(nullptr), m_pImagePtr(nullptr), m_n32BitsPerPixel(0), m_n32BitsPerRow(0) {
    other.InternalCopyTo(this, KGetRecursiveCopyBehavior(), 1);
}

template <class T>
KImage<T>::~KImage() {
    KROI<T>::MakeEmpty();
    SetSize(0, 0);
}

template <class T>
void KImage<T>::InitEmpty() {
    m_n32BitsPerPixel = this->GetBitsPerPixel();
    m_pAllocation = nullptr;
    m_pImagePtr = nullptr;
    SetSize(0, 0, false);
    m_n32BitsPerRow = 0;
    this->SetColorSystem();
}

template <class T>
void KImage<T>::MakeEmpty() {
    KROI<T>::MakeEmpty();
    SetSize(0, 0);
}

template <class T>
void KImage<T>::ReleaseBuffer() {
    std::free(m_pAllocation);
    m_pAllocation = nullptr;
    m_pImagePtr = nullptr;
}

template <class T>
void KImage<T>::SetSize(int width, int height) {
    // An unchanged size returns before anything else, the error word
    // included: resizing to the current size must cost nothing.
    if (width == this->m_n32Width && height == this->m_n32Height) {
        return;
    }
    KOk();
    SetSize(width, height, true);
}

template <class T>
void KImage<T>::SetSize(const KGenericROI* other) {
    SetSize(other->GetWidth(), other->GetHeight());
}

template <class T>
void KImage<T>::SetSize(KGenericROI* other) {
    SetSize(other->GetWidth(), other->GetHeight());
}

template <class T>
void KImage<T>::SetSize(int width, int height, bool clipDaughters) {
    if (width == this->m_n32Width && height == this->m_n32Height) {
        return;
    }
    if (width < 0 || height < 0) {
        lumora::detail::Fail(width < 0 ? K_ERROR_PARAMETER_1_OUT_OF_RANGE : K_ERROR_PARAMETER_2_OUT_OF_RANGE,
                             "KImage::SetSize");
        return;
    }
    const uint64_t bytes = static_cast<uint64_t>(m_n32BitsPerPixel / 8) * static_cast<uint64_t>(width) *
                           static_cast<uint64_t>(height);
    const int64_t bitsPerRow = lumora::detail::PaddedBitsPerRow(m_n32BitsPerPixel, width);
    if (bytes >= lumora::detail::kImageByteLimit || bitsPerRow > INT32_MAX) {
        lumora::detail::Fail(K_ERROR_ORIGIN_IMAGE_TOO_BIG, "KImage::SetSize");
        return;
    }
    this->m_Mask.Empty();
    this->m_n32Width = width;
    this->m_n32Height = height;
    if (clipDaughters) {
        this->ReclipDaughters();
    }
    m_n32BitsPerRow = static_cast<int32_t>(bitsPerRow);
    ReleaseBuffer();
    if (width == 0 || height == 0) {
        return;
    }
    const uint64_t rowBits = static_cast<uint64_t>(bitsPerRow) * static_cast<uint64_t>(height);
    const uint64_t allocation = (rowBits + 7) / 8 + lumora::detail::kAllocationSlack;
    m_pAllocation = allocation <= SIZE_MAX ? std::malloc(static_cast<size_t>(allocation)) : nullptr;
    if (!m_pAllocation) {
        this->m_n32Width = 0;
        this->m_n32Height = 0;
        lumora::detail::Fail(K_ERROR_ALLOCATION, "KImage::SetSize");
        return;
    }
    const uintptr_t start = reinterpret_cast<uintptr_t>(m_pAllocation);
    const uintptr_t aligned = (start + lumora::detail::kPixelAlignment - 1) & ~(lumora::detail::kPixelAlignment - 1);
    m_pImagePtr = static_cast<unsigned char*>(m_pAllocation) + (aligned - start);
}

template <class T>
void KImage<T>::SetImagePtr(int width, int height, void* pixels, int bitsPerRow) {
    if (bitsPerRow == 0) {
        bitsPerRow = lumora::detail::DefaultAdoptedBitsPerRow(this->GetBitsPerPixel(), width);
    }
    ReleaseBuffer();
    this->m_n32Height = height;
    this->m_n32Width = width;
    this->ReclipDaughters();
    m_n32BitsPerRow = bitsPerRow;
    m_pImagePtr = static_cast<unsigned char*>(pixels);
}

template <class T>
void KImage<T>::SetImagePtr(void* pixels, int bitsPerRow) {
    if (bitsPerRow == 0) {
        bitsPerRow = lumora::detail::DefaultAdoptedBitsPerRow(this->GetBitsPerPixel(), this->m_n32Width);
    }
    ReleaseBuffer();
    m_n32BitsPerRow = bitsPerRow;
    m_pImagePtr = static_cast<unsigned char*>(pixels);
}

template <class T>
const void* KImage<T>::GetGenericImagePtr(int x, int y) const {
    if (!m_pImagePtr) {
        return nullptr;
    }
    // Both divisions round toward minus infinity, as arithmetic shifts do.
    const int64_t offset = (static_cast<int64_t>(m_n32BitsPerRow) >> 3) * y +
                           ((static_cast<int64_t>(m_n32BitsPerPixel) * x) >> 3);
    return lumora::detail::OffsetAddress(static_cast<const unsigned char*>(m_pImagePtr), offset);
}

template <class T>
void* KImage<T>::GetGenericImagePtr(int x, int y) {
    return const_cast<void*>(static_cast<const KImage<T>*>(this)->GetGenericImagePtr(x, y));
}

template <class T>
unsigned int KImage<T>::GetBitIndex(int x, int y) const {
    const int64_t bits = static_cast<int64_t>(m_n32BitsPerPixel) * x + static_cast<int64_t>(m_n32BitsPerRow) * y;
    return static_cast<unsigned int>(bits & 7);
}

template <class T>
const KGenericROI* KImage<T>::GetTopParent() const {
    return this;
}

template <class T>
KGenericROI* KImage<T>::GetTopParent() {
    return this;
}

template <class T>
int KImage<T>::IsAnROI() {
    return 0;
}

template <class T>
void KImage<T>::DumpToStream(std::ostream& /*stream*/, int /*indent*/) const {
    throw 0;
}

template <class T>
void KImage<T>::SetPixelDimensions(float width, float height, KMeasurementUnit* unit) {
    KOk();
    if (width == 0.0f && height == 0.0f) {
        lumora::detail::Fail(K_ERROR_PIXEL_SIZE_NOT_FINITE, "KImage::SetPixelDimensions");
        return;
    }
    m_PixelWidth.SetValue(width, unit);
    m_PixelHeight.SetValue(height, unit);
}

template <class T>
void KImage<T>::SetResolution(float x, float y, KMeasurementUnit* unit) {
    KOk();
    if (x == 0.0f || y == 0.0f) {
        lumora::detail::Fail(K_ERROR_PIXEL_SIZE_NOT_FINITE, "KGenericImage::SetResolution");
        return;
    }
    m_PixelWidth.SetValue(1.0f / x, unit);
    m_PixelHeight.SetValue(1.0f / y, unit);
}

template <class T>
void KImage<T>::GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const {
    KOk();
    width = m_PixelWidth.GetValue();
    height = m_PixelHeight.GetValue();
    unit = m_PixelWidth.GetUnit();
}

template <class T>
void KImage<T>::GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const {
    KOk();
    x = 1.0f / m_PixelWidth.GetValue();
    y = 1.0f / m_PixelHeight.GetValue();
    unit = m_PixelWidth.GetUnit();
}

#endif
