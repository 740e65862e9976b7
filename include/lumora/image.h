// KImage<T>: the image at the root of a tree of views, holding the pixel
// buffer every view of the tree addresses.
//
// An image either owns a buffer it allocates when it is given a size, or
// adopts memory the caller hands in and never frees. Owned rows are padded
// to a multiple of 192 bits (a whole number of pixels of every type and of
// 8-byte words), the first pixel is aligned on 32 bytes, and every owned
// buffer has at least 8 bytes of slack after its last row. Copies of an
// owning image duplicate the pixels; copies of an adopting image share the
// caller's memory.
//
// Choices of ours:
// - SetSize refuses a negative width (1011) or height (1012), traced as
//   "KImage::SetSize", and leaves the image as it was. SetImagePtr takes its
//   arguments as given.
// - SetSize also refuses, with 1422, a size whose row pitch in bits does not
//   fit a signed 32-bit number (possible for KBW1, which the byte-size limit
//   lets through): the pitch is stored in 32 bits.
// - Owned buffers come from malloc, so an allocation the machine cannot make
//   gives 1303 and an empty image.
#ifndef LUMORA_IMAGE_H
#define LUMORA_IMAGE_H

#include <lumora/roi.h>
#include <lumora/units.h>

template <class T>
class LUMORA_API KImage : public KROI<T> {
public:
    KImage();
    KImage(int width, int height);
    KImage(const KImage<T>& other);
    KImage<T>& operator=(const KImage<T>& other);
    ~KImage() override;

    const KGenericROI* GetTopParent() const override;
    KGenericROI* GetTopParent() override;
    void GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const override;
    void GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const override;
    void SetPixelDimensions(float width, float height, KMeasurementUnit* unit) override;
    void SetResolution(float x, float y, KMeasurementUnit* unit) override;
    int IsAnROI() override;
    void SetSize(const KGenericROI* other) override;
    void SetSize(KGenericROI* other) override;
    void SetSize(int width, int height) override;
    const void* GetGenericImagePtr(int x, int y) const override;
    void* GetGenericImagePtr(int x, int y) override;
    void VersionLessPartialSerialize(KSerializer* serializer, unsigned int alignment) override;
    void VersionLessPartialSerialize(FILE* stream, int writing, unsigned int alignment) override;
    void PartialSerialize(KSerializer* serializer) override;
    void PartialSerialize(FILE* stream, int writing) override;

protected:
    void Serialize(KSerializer* serializer, unsigned int version) override;

private:
    KObjectTypes::ObjectType GetSerializationType() override;

public:
    // Images do not dump: this writes nothing and throws the integer 0.
    void DumpToStream(std::ostream& stream, int indent) const override;
    void DrawMask(HDC dc, float zoomX, float zoomY, float panX, float panY) override;
    void Draw(Corvane::DrawAdapter* adapter, float zoomX, float zoomY, float panX, float panY) override;
    void Draw(HDC dc, float zoomX, float zoomY) override;
    unsigned int GetBitIndex(int x, int y) const override;
    KROI<T>* CreateROIClone(int recursive) const override;

    // Adopts caller memory (never freed by the image). bitsPerRow 0 asks for
    // the row size rounded up to a multiple of 32 bits.
    void SetImagePtr(int width, int height, void* pixels, int bitsPerRow);
    void SetImagePtr(void* pixels, int bitsPerRow);
    int GetBitsPerRow() const { return m_n32BitsPerRow; }
    using KROI<T>::Void;
    int Void() { return m_pImagePtr == nullptr ? 1 : 0; }
    KImage<T>* CopyTo(KImage<T>* dest, int recursive) const;
    void MakeEmpty();
    // Whether the image owns its buffer (as opposed to empty or adopting).
    bool OwnsBuffer() const { return m_pAllocation != nullptr; }

protected:
    KImage<T>* InternalCopyTo(KImage<T>* dest, int recursive, int freshTarget) const;

private:
    void InitEmpty();
    void SetSize(int width, int height, bool clipDaughters);
    void ReleaseBuffer();

    void* m_pAllocation;
    unsigned char* m_pImagePtr;
    int32_t m_n32BitsPerPixel;
    int32_t m_n32BitsPerRow;
    KDimensionalValue m_PixelWidth;
    KDimensionalValue m_PixelHeight;
};

#define LUMORA_DECLARE_IMAGE(T) extern template class LUMORA_API KImage<T>;
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_DECLARE_IMAGE)
#undef LUMORA_DECLARE_IMAGE

#endif
