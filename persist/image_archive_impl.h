// KImage<T>: the image layer of the archive and the two partial records.
//
// Image fields after the ROI fields: "m_n32BitsPerPixel" (4), "m_n32BitsPerRow"
// (4, the row pitch P in bits), "m_pImagePtr" ((P / 8) x height bytes, rows
// from the top, each a full padded row), then the pixel height and the pixel
// width as dimensional-value records (version 1 in archives of versions 0 to
// 2, 2 in version 3, 3 in version 4; always 3 when writing).
//
// Partial record: "n32Width", "n32Height", "numberOfBytesPerRowPadded" (R, the
// writer's pitch in bytes), then R bytes for each row. Version-less record
// with alignment A: "n32Width", "n32Height", then each row as S bytes, S being
// the row's pixel bytes U rounded up to a multiple of A.
//
// Choices of ours:
// - The reader honours the stored pitch: rows of another length than its own
//   (an archive of an image over a caller's buffer) are read one by one and
//   their pixels placed in the image's own rows. A stored pitch that is
//   negative, not a whole number of bytes or shorter than a row of pixels, or
//   bits per pixel other than the type's, fail with 1105.
// - Writers fill row padding (and the padding of the version-less rows) with
//   zeros, never with whatever the buffer holds there.
// - An image whose rows cannot be written as stored rows (a caller's buffer
//   with a negative pitch, one that is not a whole number of bytes, or one
//   shorter than a row) is refused with 1402, and one whose buffer is missing
//   while its size is not empty with 1400, before anything is written.
// - A partial record whose stored rows are shorter than a row of pixels
//   fails with 1105: its pixels could not all be read, and the image it asks
//   for could be far larger than the stream.
// - When reading, a negative width or height fails with 1105; a size beyond
//   the image limit fails with 1422 from SetSize, before the stream's length
//   is compared with the pixels it must hold (1105 when it cannot), and only
//   then is the buffer allocated (1303 when that fails). From a stream whose
//   end cannot be measured the buffer is allocated first, bounded by the
//   image limit, and a short stream then fails with 1103.
// - An alignment of 0 is taken as 1.
// - The partial forms clear the error word at entry and store the code of
//   any failure; they do not rewind.
#ifndef LUMORA_PERSIST_IMAGE_ARCHIVE_IMPL_H
#define LUMORA_PERSIST_IMAGE_ARCHIVE_IMPL_H

#include <lumora/image.h>
#include <lumora/serializer.h>

#include "image/image_buffer_impl.h"
#include "persist/archive_io.h"
#include "persist/pixel_rows.h"

#include <algorithm>

namespace lumora::detail {

// Bytes of one row that hold pixels (the last byte of a 1-bit row may be
// partly used).
inline uint64_t UsefulRowBytes(int bitsPerPixel, int width) {
    return (static_cast<uint64_t>(bitsPerPixel) * static_cast<uint64_t>(std::max(width, 0)) + 7) / 8;
}

// Whether SetSize would refuse this size with 1422.
inline bool ExceedsImageLimit(int bitsPerPixel, int width, int height) {
    const uint64_t bytes =
        static_cast<uint64_t>(bitsPerPixel / 8) * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    return bytes >= kImageByteLimit || PaddedBitsPerRow(bitsPerPixel, width) > INT32_MAX;
}

// Raises 1402 when the image's rows are not whole, non-negative byte runs
// holding a row of pixels each, 1400 when a non-empty image has no buffer.
template <class T>
void CheckRowsMovable(const KImage<T>& image) {
    const int64_t pitch = image.GetBitsPerRow();
    if (pitch < 0 || pitch % 8 != 0 || pitch < static_cast<int64_t>(image.GetBitsPerPixel()) * image.GetWidth()) {
        RaiseArchive(K_ERROR_INVALID_IMAGE);
    }
    if (image.GetWidth() != 0 && image.GetHeight() != 0 && !image.GetGenericImagePtr(0, 0)) {
        RaiseArchive(K_ERROR_IMAGE_MEMORY);
    }
}

// A stored size the image cannot take: 1105 when negative, 1422 (stored and
// traced by SetSize) beyond the image limit.
template <class T>
void RefuseImpossibleSize(KImage<T>& image, int width, int height) {
    if (width < 0 || height < 0) {
        RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
    }
    if (ExceedsImageLimit(image.GetBitsPerPixel(), width, height)) {
        image.SetSize(width, height);
        RaiseArchive(KFailure() ? KGetError() : K_ERROR_ORIGIN_IMAGE_TOO_BIG);
    }
}

// Resizes an image that is being read to the stored size, once the stream is
// known to hold streamBytes more bytes.
template <class T>
void ResizeForLoad(KImage<T>& image, int width, int height, uint64_t streamBytes, const KOpaqueSerializer& stream) {
    RefuseImpossibleSize(image, width, height);
    ExpectAvailable(stream, streamBytes);
    image.SetSize(width, height);
    if (image.GetWidth() != width || image.GetHeight() != height) {
        RaiseArchive(KFailure() ? KGetError() : K_ERROR_ALLOCATION);
    }
    // An unchanged size keeps the buffer, which may be a caller's.
    CheckRowsMovable(image);
}

// The start of both partial records: when writing, refuse rows the record
// cannot hold, then move "n32Width" and "n32Height" (the image's own size
// when writing). Returns whether the stream writes.
template <class T>
bool TransferPartialSize(const KImage<T>& image, KOpaqueSerializer& stream, int32_t& width, int32_t& height) {
    const bool writing = stream.IsWriting() != 0;
    if (writing) {
        CheckRowsMovable(image);
    }
    width = image.GetWidth();
    height = image.GetHeight();
    TransferField(stream, width, "n32Width");
    TransferField(stream, height, "n32Height");
    return writing;
}

template <class T>
RowLayout RowsOf(KImage<T>& image, uint64_t storedBytes, uint64_t usefulBytes) {
    return RowLayout{static_cast<unsigned char*>(image.GetGenericImagePtr(0, 0)), image.GetBitsPerRow() >> 3,
                     image.GetHeight(), storedBytes, usefulBytes};
}

}  // namespace lumora::detail

template <class T>
KObjectTypes::ObjectType KImage<T>::GetSerializationType() {
    if constexpr (!PixelTraits<T>::archivable) {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } else {
        return static_cast<KObjectTypes::ObjectType>(PixelTraits<T>::imageObjectType);
    }
}

template <class T>
void KImage<T>::Serialize(KSerializer* serializer, unsigned int version) {
    using namespace lumora::detail;
    KOpaqueSerializer& stream = ArchiveStream(serializer);
    if (stream.IsWriting()) {
        // Save has checked the rows before writing the header.
        KROI<T>::Serialize(serializer, version);
        int32_t bitsPerPixel = m_n32BitsPerPixel;
        int32_t bitsPerRow = m_n32BitsPerRow;
        TransferField(stream, bitsPerPixel, "m_n32BitsPerPixel");
        TransferField(stream, bitsPerRow, "m_n32BitsPerRow");
        WriteRows(stream, RowsOf(*this, static_cast<uint64_t>(bitsPerRow) / 8,
                                 UsefulRowBytes(m_n32BitsPerPixel, this->m_n32Width)));
        SerializeDimensionalRecord(m_PixelHeight, stream, KDimensionalValue::GetVersion());
        SerializeDimensionalRecord(m_PixelWidth, stream, KDimensionalValue::GetVersion());
        return;
    }
    MakeEmpty();
    try {
        KROI<T>::Serialize(serializer, version);
        // The size read by the generic layer is applied by a resize from
        // nothing, so that the buffer is always allocated afresh.
        const int width = this->m_n32Width;
        const int height = this->m_n32Height;
        this->m_n32Width = 0;
        this->m_n32Height = 0;
        int32_t bitsPerPixel = 0;
        int32_t bitsPerRow = 0;
        TransferField(stream, bitsPerPixel, "m_n32BitsPerPixel");
        TransferField(stream, bitsPerRow, "m_n32BitsPerRow");
        RefuseImpossibleSize(*this, width, height);
        if (bitsPerPixel != m_n32BitsPerPixel || bitsPerRow < 0 || bitsPerRow % 8 != 0 ||
            static_cast<int64_t>(bitsPerRow) < static_cast<int64_t>(m_n32BitsPerPixel) * width) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        const uint64_t stored = static_cast<uint64_t>(bitsPerRow) / 8;
        const unsigned int recordVersion = DimensionalRecordVersion(version);
        ResizeForLoad(*this, width, height,
                      stored * static_cast<uint64_t>(height) + 2 * DimensionalRecordBytes(recordVersion), stream);
        ReadRows(stream, RowsOf(*this, stored, UsefulRowBytes(m_n32BitsPerPixel, width)), true);
        SerializeDimensionalRecord(m_PixelHeight, stream, recordVersion);
        SerializeDimensionalRecord(m_PixelWidth, stream, recordVersion);
    } catch (...) {
        // A size without pixels behind it is no image: a failed load leaves
        // either the resized image or an empty one.
        if (!m_pImagePtr) {
            this->m_n32Width = 0;
            this->m_n32Height = 0;
        }
        throw;
    }
}

template <class T>
void KImage<T>::PartialSerialize(KSerializer* serializer) {
    using namespace lumora::detail;
    KOk();
    try {
        KOpaqueSerializer& stream = ArchiveStream(serializer);
        int32_t width = 0;
        int32_t height = 0;
        const bool writing = TransferPartialSize(*this, stream, width, height);
        int32_t rowBytes = m_n32BitsPerRow >> 3;
        TransferField(stream, rowBytes, "numberOfBytesPerRowPadded");
        if (writing) {
            WriteRows(stream, RowsOf(*this, static_cast<uint64_t>(rowBytes), UsefulRowBytes(m_n32BitsPerPixel, width)));
            return;
        }
        RefuseImpossibleSize(*this, width, height);
        if (rowBytes < 0 || static_cast<uint64_t>(rowBytes) < UsefulRowBytes(m_n32BitsPerPixel, width)) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        const uint64_t stored = static_cast<uint64_t>(rowBytes);
        ResizeForLoad(*this, width, height, stored * static_cast<uint64_t>(std::max(height, 0)), stream);
        ReadRows(stream, RowsOf(*this, stored, UsefulRowBytes(m_n32BitsPerPixel, width)), true);
    } catch (...) {
        StoreArchiveFailure();
    }
}

template <class T>
void KImage<T>::VersionLessPartialSerialize(KSerializer* serializer, unsigned int alignment) {
    using namespace lumora::detail;
    KOk();
    try {
        KOpaqueSerializer& stream = ArchiveStream(serializer);
        int32_t width = 0;
        int32_t height = 0;
        const bool writing = TransferPartialSize(*this, stream, width, height);
        if (width < 0 || height < 0) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        const uint64_t align = std::max(alignment, 1u);
        const uint64_t useful = UsefulRowBytes(m_n32BitsPerPixel, width);
        const uint64_t stored = (useful + align - 1) / align * align;
        if (!writing) {
            ResizeForLoad(*this, width, height, stored * static_cast<uint64_t>(height), stream);
        }
        const RowLayout rows = RowsOf(*this, stored, useful);
        if (writing) {
            WriteRows(stream, rows);
        } else {
            ReadRows(stream, rows, align <= 24);
        }
    } catch (...) {
        StoreArchiveFailure();
    }
}

template <class T>
void KImage<T>::PartialSerialize(FILE* stream, int writing) {
    KFilePointerSerializer serializer(stream, writing);
    KImage<T>::PartialSerialize(&serializer);
}

template <class T>
void KImage<T>::VersionLessPartialSerialize(FILE* stream, int writing, unsigned int alignment) {
    KFilePointerSerializer serializer(stream, writing);
    KImage<T>::VersionLessPartialSerialize(&serializer, alignment);
}

#endif
