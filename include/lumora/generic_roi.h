// KGenericROI: the abstract base of every image and region of interest.
//
// It holds what does not depend on the pixel type: the place of the object
// in a tree of nested regions (parent, first daughter, next sibling), the
// origin relative to the parent and the size, the colour system, four
// descriptive texts in a narrow and a UTF-16 form, and the allocated mark
// that tells a parent to delete this daughter when the parent is emptied.
// The tree links own nothing at this level; KROI<T> attaches, detaches and
// deletes marked daughters.
//
// The virtual operations keep one fixed order for every image and ROI class.
// Archiving, drawing and masks are declared here and defined with the layers
// that do that work.
#ifndef LUMORA_GENERIC_ROI_H
#define LUMORA_GENERIC_ROI_H

#include <lumora/export.h>
#include <lumora/object_type.h>
#include <lumora/pixel.h>
#include <lumora/win_types.h>

#include <cstdint>
#include <cstdio>
#include <iosfwd>

class KMeasurementUnit;
class KSerializer;
namespace Corvane {
class DrawAdapter;
}

class LUMORA_API KGenericROI {
public:
    KGenericROI();
    KGenericROI(const KGenericROI&) = delete;
    KGenericROI& operator=(const KGenericROI&) = delete;

    virtual ~KGenericROI();
    virtual const KGenericROI* GetTopParent() const = 0;
    virtual KGenericROI* GetTopParent() = 0;
    virtual void ResetMask() = 0;
    virtual void SetRectangleMask(int orgX, int orgY, int width, int height) = 0;
    virtual void SetEllipseMask(int orgX, int orgY, int width, int height) = 0;
    virtual void SetBinarizedMask(unsigned int threshold) = 0;
    virtual void SetColorSystem() = 0;
    virtual void GetPixelDimensions(float& width, float& height, const KMeasurementUnit*& unit) const = 0;
    virtual void GetResolution(float& x, float& y, const KMeasurementUnit*& unit) const = 0;
    virtual void SetPixelDimensions(float width, float height, KMeasurementUnit* unit) = 0;
    virtual void SetResolution(float x, float y, KMeasurementUnit* unit) = 0;
    virtual int IsAnROI() = 0;
    virtual K_IMAGE_TYPES GetType() = 0;
    virtual int GetBitsPerPixel() const = 0;
    virtual int GetPlanesPerPixel() const = 0;
    virtual short SameSize(const KGenericROI* other) const;
    virtual int Void() const = 0;
    virtual void SetSize(const KGenericROI* other) = 0;
    virtual void SetSize(KGenericROI* other) = 0;
    virtual void SetSize(int width, int height) = 0;
    virtual const void* GetGenericImagePtr(int x, int y) const = 0;
    virtual void* GetGenericImagePtr(int x, int y) = 0;
    virtual int GetColPitch() const = 0;
    virtual int GetRowPitch() const = 0;
    virtual int GetImgPitch() const = 0;
    virtual void VersionLessPartialSerialize(KSerializer* serializer, unsigned int alignment) = 0;
    virtual void VersionLessPartialSerialize(FILE* stream, int writing, unsigned int alignment) = 0;
    virtual void PartialSerialize(KSerializer* serializer) = 0;
    virtual void PartialSerialize(FILE* stream, int writing) = 0;

protected:
    // Reads or writes the generic fields; derived classes call it from theirs.
    virtual void Serialize(KSerializer* serializer, unsigned int version) = 0;

private:
    virtual KObjectTypes::ObjectType GetSerializationType() = 0;
    virtual unsigned int GetCurrentVersion() const;

public:
    virtual void DumpToStream(std::ostream& stream, int indent) const;
    virtual void DrawMask(HDC dc, float zoomX, float zoomY, float panX, float panY) = 0;
    virtual void Draw(Corvane::DrawAdapter* adapter, float zoomX, float zoomY, float panX, float panY);
    virtual void Draw(HDC dc, float zoomX, float zoomY) = 0;
    virtual unsigned int GetBitIndex(int x, int y) const = 0;
    virtual void NotVoid() const = 0;
    virtual int GetSkip() const = 0;
    virtual short GetBitsPerPixelCode() const = 0;
    virtual short GetDataType() = 0;
    virtual short SameDataType(KGenericROI* other);
    virtual short SameSizeDepthType(KGenericROI* other, short depthMask, short dataTypeMask);
    virtual short SameDepth(KGenericROI* other);
    virtual short PermittedDepth(short depthMask);
    virtual short PermittedDataType(short dataTypeMask);

    void InitEmpty();
    void MakeEmpty();
    void SetAllocated();

    // The native archive: this object and its whole daughter tree, at the
    // serializer's current position. Failures only store their code in the
    // error word (which these never clear themselves) and put a rewindable
    // stream back where the object began. The FILE* forms run over the
    // caller's open stream and leave it open, positioned after the object.
    void Save(KSerializer* serializer) const;
    void Load(KSerializer* serializer);
    void Save(FILE* stream) const;
    void Load(FILE* stream);

    int GetOrgX() const { return m_n32OrgX; }
    int GetOrgY() const { return m_n32OrgY; }
    int GetWidth() const { return m_n32Width; }
    int GetHeight() const { return m_n32Height; }
    K_COLOR_SYSTEM GetColorSystem() const { return m_eColorSystem; }
    void SetColorSystem(K_COLOR_SYSTEM colorSystem) { m_eColorSystem = colorSystem; }

    KGenericROI* GetParent() { return m_pParent; }
    const KGenericROI* GetParent() const { return m_pParent; }
    KGenericROI* GetNextSiblingROI() { return m_pSibling; }
    const KGenericROI* GetNextSiblingROI() const { return m_pSibling; }
    KGenericROI* GetFirstSubROI() { return m_pFirstDaughter; }
    const KGenericROI* GetFirstSubROI() const { return m_pFirstDaughter; }

    // Next node of a depth-first, pre-order walk; null when the walk comes
    // back to stop.
    KGenericROI* GetNextROI(KGenericROI* stop);
    const KGenericROI* GetNextROI(const KGenericROI* stop) const;

    int GetTotalOrgX() const;
    int GetTotalOrgY() const;
    int GetTotalWidth() const;
    int GetTotalHeight() const;

    int GetVoid() const { return Void(); }
    void* GetImagePtr(int x, int y) { return GetGenericImagePtr(x, y); }
    const void* GetImagePtr(int x, int y) const { return GetGenericImagePtr(x, y); }

    void SetAuthor(const char* text);
    void SetAuthor(const unsigned short* text);
    void SetComment(const char* text);
    void SetComment(const unsigned short* text);
    void SetDate(const char* text);
    void SetDate(const unsigned short* text);
    void SetTitle(const char* text);
    void SetTitle(const unsigned short* text);
    const char* GetAuthor() const { return m_pszAuthorASCII; }
    const char* GetComment() const { return m_pszCommentASCII; }
    const char* GetDate() const { return m_pszDateASCII; }
    const char* GetTitle() const { return m_pszTitleASCII; }
    const unsigned short* GetAuthorUnicode() const { return m_pszAuthorUnicode; }
    const unsigned short* GetCommentUnicode() const { return m_pszCommentUnicode; }
    const unsigned short* GetDateUnicode() const { return m_pszDateUnicode; }
    const unsigned short* GetTitleUnicode() const { return m_pszTitleUnicode; }

protected:
    uint32_t m_aun32Reserved[2];
    char* m_pszAuthorASCII;
    unsigned short* m_pszAuthorUnicode;
    char* m_pszCommentASCII;
    unsigned short* m_pszCommentUnicode;
    char* m_pszDateASCII;
    unsigned short* m_pszDateUnicode;
    char* m_pszTitleASCII;
    unsigned short* m_pszTitleUnicode;
    KGenericROI* m_pParent;
    KGenericROI* m_pSibling;
    KGenericROI* m_pFirstDaughter;
    int32_t m_n32OrgX;
    int32_t m_n32OrgY;
    int32_t m_n32Width;
    int32_t m_n32Height;
    K_COLOR_SYSTEM m_eColorSystem;
    int32_t m_bAllocated;

    // The allocated mark: set on daughters their parent is to delete.
    bool IsAllocated() const { return m_bAllocated != 0; }

    // Save and Load of one nested object: the same steps, but a failure
    // rewinds and propagates as Corvane::Lumora::Exception.
    void SaveObject(KSerializer* serializer) const;
    void LoadObject(KSerializer* serializer);
};

// Writes a three-line banner, then the object's dump.
LUMORA_API std::ostream& operator<<(std::ostream& stream, const KGenericROI& roi);

#endif
