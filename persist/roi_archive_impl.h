// KROI<T>: the ROI layer of the archive (fields 24 to 26 after the generic
// body) and the ROI partial record.
//
// ROI fields: "m_bMaskOffsets", "m_n32CursorX", "m_n32CursorY", 4 bytes each.
// The mask's runs are not archived; a loaded ROI has no mask.
//
// Partial record (both partial forms, the alignment being ignored):
// "n32OrgX", "n32OrgY", "n32Width", "n32Height", 4 signed bytes each. Read
// into a ROI, a negative origin is cut off the width (or height) and the
// origin becomes 0; width and height then go through SetWidth and SetHeight,
// which clip them to the parent. Read into an image it fails with 1417.
// The partial forms catch every failure and store its code; they clear the
// error word at entry.
#ifndef LUMORA_PERSIST_ROI_ARCHIVE_IMPL_H
#define LUMORA_PERSIST_ROI_ARCHIVE_IMPL_H

#include <lumora/image.h>
#include <lumora/serializer.h>

#include "frame/report.h"
#include "image/address_math.h"
#include "persist/archive_io.h"

template <class T>
KObjectTypes::ObjectType KROI<T>::GetSerializationType() {
    if constexpr (!PixelTraits<T>::archivable) {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } else {
        return static_cast<KObjectTypes::ObjectType>(PixelTraits<T>::roiObjectType);
    }
}

template <class T>
void KROI<T>::Serialize(KSerializer* serializer, unsigned int version) {
    KOpaqueSerializer& stream = lumora::detail::ArchiveStream(serializer);
    if (!stream.IsWriting()) {
        MakeEmpty();
    }
    KGenericROI::Serialize(serializer, version);
    lumora::detail::TransferField(stream, m_bMaskOffsets, "m_bMaskOffsets");
    lumora::detail::TransferField(stream, m_n32CursorX, "m_n32CursorX");
    lumora::detail::TransferField(stream, m_n32CursorY, "m_n32CursorY");
}

template <class T>
void KROI<T>::PartialSerialize(KSerializer* serializer) {
    KOk();
    try {
        KOpaqueSerializer& stream = lumora::detail::ArchiveStream(serializer);
        int32_t placement[4] = {m_n32OrgX, m_n32OrgY, m_n32Width, m_n32Height};
        lumora::detail::TransferField(stream, placement[0], "n32OrgX");
        lumora::detail::TransferField(stream, placement[1], "n32OrgY");
        lumora::detail::TransferField(stream, placement[2], "n32Width");
        lumora::detail::TransferField(stream, placement[3], "n32Height");
        if (stream.IsWriting()) {
            return;
        }
        if (!IsAnROI()) {
            lumora::detail::Fail(K_ERROR_APPLIED_TO_IMAGE, "KROI::SetPlacement");
            return;
        }
        int width = placement[2];
        int height = placement[3];
        if (placement[0] < 0) {
            width = lumora::detail::AddCoordinates(width, placement[0]);
            placement[0] = 0;
        }
        if (placement[1] < 0) {
            height = lumora::detail::AddCoordinates(height, placement[1]);
            placement[1] = 0;
        }
        m_n32OrgX = placement[0];
        m_n32OrgY = placement[1];
        // The steps of SetWidth and SetHeight without their clearing of the
        // error word, so that a refused width stays visible.
        SetExtent(Horizontal(), width);
        SetExtent(Vertical(), height);
    } catch (...) {
        lumora::detail::StoreArchiveFailure();
    }
}

template <class T>
void KROI<T>::VersionLessPartialSerialize(KSerializer* serializer, unsigned int /*alignment*/) {
    KROI<T>::PartialSerialize(serializer);
}

template <class T>
void KROI<T>::PartialSerialize(FILE* stream, int writing) {
    KFilePointerSerializer serializer(stream, writing);
    KROI<T>::PartialSerialize(&serializer);
}

template <class T>
void KROI<T>::VersionLessPartialSerialize(FILE* stream, int writing, unsigned int alignment) {
    KFilePointerSerializer serializer(stream, writing);
    KROI<T>::VersionLessPartialSerialize(&serializer, alignment);
}

#endif
