// KROI<T>: a typed rectangular view onto pixels of type T.
//
// A view owns no pixels. It is placed (origin, width, height) inside its
// parent, an image or another view of the same pixel type, and every pixel
// address it hands out is the parent's address at the shifted coordinates,
// down to the image at the root of the tree. KImage<T> derives from KROI<T>:
// an image is a view without a parent, and the operations that only make
// sense for a view (placement, attach, detach) refuse an image with 1417.
//
// A view's mask is a run list (KVectorTemplate<KRun>): empty means no mask.
//
// Choices of ours:
// - The cursor fields start at 0.
// - GetPixel and SetPixel of a view that addresses no pixels (unattached, or
//   its image is empty) return a zero value and write nothing, instead of
//   dereferencing a null address. Coordinates are otherwise not checked.
// - GetBitIndex of an unattached view is 0.
// - KYUY2 accessors compare the absolute column and row with the width and
//   height of the image at the top of the tree, the bounds of the memory
//   that exists; for an image this is its own size.
// - Attaching a view to itself or to one of its own descendants is refused
//   with 1011, traced as "KROI::Attach": the tree would become a cycle.
// - Recursive copies give the destination heap clones of the daughters that
//   the destination's user deletes; they do not carry the allocated mark.
#ifndef LUMORA_ROI_H
#define LUMORA_ROI_H

#include <lumora/errors.h>
#include <lumora/generic_roi.h>
#include <lumora/pixel_traits.h>
#include <lumora/vector.h>

template <class T>
class KImage;

template <class T>
class LUMORA_API KROI : public KGenericROI {
public:
    KROI();
    KROI(KROI<T>* parent, int orgX, int orgY, int width, int height);
    KROI(const KROI<T>& other);
    KROI<T>& operator=(const KROI<T>& other);
    ~KROI() override;

    const KGenericROI* GetTopParent() const override;
    KGenericROI* GetTopParent() override;
    void ResetMask() override;
    void SetRectangleMask(int orgX, int orgY, int width, int height) override;
    void SetEllipseMask(int orgX, int orgY, int width, int height) override;
    void SetBinarizedMask(unsigned int threshold) override;
    using KGenericROI::SetColorSystem;
    void SetColorSystem() override;
    void GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const override;
    void GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const override;
    void SetPixelDimensions(float width, float height, KMeasurementUnit* unit) override;
    void SetResolution(float x, float y, KMeasurementUnit* unit) override;
    int IsAnROI() override;
    K_IMAGE_TYPES GetType() override;
    int GetBitsPerPixel() const override;
    int GetPlanesPerPixel() const override;
    int Void() const override;
    void SetSize(const KGenericROI* other) override;
    void SetSize(KGenericROI* other) override;
    void SetSize(int width, int height) override;
    const void* GetGenericImagePtr(int x, int y) const override;
    void* GetGenericImagePtr(int x, int y) override;
    int GetColPitch() const override;
    int GetRowPitch() const override;
    int GetImgPitch() const override;
    void VersionLessPartialSerialize(KSerializer* serializer, unsigned int alignment) override;
    void VersionLessPartialSerialize(FILE* stream, int writing, unsigned int alignment) override;
    void PartialSerialize(KSerializer* serializer) override;
    void PartialSerialize(FILE* stream, int writing) override;

protected:
    void Serialize(KSerializer* serializer, unsigned int version) override;

private:
    KObjectTypes::ObjectType GetSerializationType() override;

public:
    void DumpToStream(std::ostream& stream, int indent) const override;
    void DrawMask(HDC dc, float zoomX, float zoomY, float panX, float panY) override;
    using KGenericROI::Draw;
    void Draw(HDC dc, float zoomX, float zoomY) override;
    unsigned int GetBitIndex(int x, int y) const override;
    void NotVoid() const override;
    int GetSkip() const override;
    short GetBitsPerPixelCode() const override;
    short GetDataType() override;

    virtual KROI<T>* CreateROIClone(int recursive) const;
    virtual void Attach(KROI<T>* parent);
    virtual void Detach();

    void SetPlacement(int orgX, int orgY, int width, int height);
    void SetOrgX(int x);
    void SetOrgY(int y);
    void SetWidth(int width);
    void SetHeight(int height);

    T* GetImagePtr(int x, int y);
    const T* GetImagePtr(int x, int y) const;
    T GetPixel(int x, int y);
    void SetPixel(T value, int x, int y);

    KROI<T>* CopyTo(KROI<T>* dest, int recursive) const;

    void SetMaskOffsets(int offsets) { m_bMaskOffsets = offsets; }
    int GetMaskOffsets() const { return m_bMaskOffsets; }
    // The mask's run list, for the code that builds and walks masks.
    KVectorTemplate<KRun>& GetMaskRuns() { return m_Mask; }
    const KVectorTemplate<KRun>& GetMaskRuns() const { return m_Mask; }
    int GetCursorX() const { return m_n32CursorX; }
    int GetCursorY() const { return m_n32CursorY; }

protected:
    KROI<T>* InternalCopyTo(KROI<T>* dest, int recursive, int freshTarget) const;
    void MakeEmpty();

    // The image at the top of the tree, or null (1416 stored and traced).
    const KImage<T>* TopImage() const;
    void ResetToWholeParent(K_ERRORS code, const char* operation);
    void ReclipDaughters();

    // One axis of the placement: the origin and extent fields, the parent's
    // extent, and the trace names of the origin and extent setters.
    struct PlacementAxis {
        int32_t KGenericROI::*origin;
        int32_t KGenericROI::*extent;
        int (KGenericROI::*parentExtent)() const;
        const char* originOperation;
        const char* extentOperation;
    };
    static const PlacementAxis& Horizontal();
    static const PlacementAxis& Vertical();
    void SetExtent(const PlacementAxis& axis, int extent);
    void SetOrigin(const PlacementAxis& axis, int origin);

    int32_t m_bMaskOffsets;
    KVectorTemplate<KRun> m_Mask;
    int32_t m_n32CursorX;
    int32_t m_n32CursorY;

private:
    void InitEmpty();
};

#define LUMORA_DECLARE_ROI(T) extern template class LUMORA_API KROI<T>;
LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_DECLARE_ROI)
#undef LUMORA_DECLARE_ROI

#endif
