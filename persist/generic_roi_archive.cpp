// Save and Load of an image or ROI with its daughter tree, and the body that
// every archived object starts with (fields 1 to 23).
//
// Object header: 0x4B, the type code, the archive version (4), the XOR of the
// three. Body of KGenericROI, all little-endian:
//   for author, comment, date and title: the narrow text's length (4 bytes)
//   and its characters, then the wide text's length in UTF-16 units (4) and
//   its units, without terminators; a length of 0 means no text;
//   "numChildren" (4), then each daughter as a complete object;
//   "m_n32OrgX", "m_n32OrgY", "m_n32Width", "m_n32Height", "m_eColorSystem".
//
// Choices of ours:
// - A daughter of a KROI<T> or KImage<T> can only be a KROI<T> of the same
//   pixel type, the one kind of node a tree holds; a daughter header naming
//   any other type fails with 1111 before anything is created.
// - A daughter whose load fails ends the parent's load with its code (the
//   parent rewinds too) and is deleted. Going on would read the parent's
//   next fields from the failed daughter's bytes, and a hostile archive could
//   make every level retry its failed daughters.
// - A negative origin, width or height fails with 1105: a view placed so
//   would address memory outside its image.
// - Loads nest at most 256 objects deep (1105 beyond), so that a crafted
//   archive cannot exhaust the stack. Saving has no such limit.
// - A text length or daughter count that the rest of a measurable stream
//   cannot hold fails with 1105 before anything is allocated; texts from a
//   stream whose end is unknown are read in chunks of 1 MiB, so memory grows
//   only with the bytes that actually arrive.
// - A failed allocation gives 1303, a foreign exception 1112. Neither Save
//   nor Load traces: inner operations that trace (an image's SetSize) have
//   done so already.
#include <lumora/generic_roi.h>
#include <lumora/roi.h>
#include <lumora/serializer.h>

#include "frame/text_length.h"
#include "persist/archive_io.h"
#include "persist/stream_remaining.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

namespace {

using lumora::detail::RaiseArchive;
using lumora::detail::TransferField;

constexpr uint8_t kSignature = 0x4B;
constexpr int kMaxNesting = 256;
// The smallest object: header, eight text lengths, daughter count, five
// placement fields and the three ROI fields.
constexpr uint64_t kMinObjectBytes = 4 + 8 * 4 + 4 + 5 * 4 + 3 * 4;
constexpr uint64_t kTextChunkUnits = uint64_t{1} << 20;

thread_local int t_nesting = 0;

class NestingGuard {
public:
    NestingGuard() {
        if (++t_nesting > kMaxNesting) {
            --t_nesting;
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
    }
    ~NestingGuard() { --t_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

template <class Char>
void WriteText(KOpaqueSerializer& stream, const Char* text, const char* countName, const char* textName) {
    const size_t length = text ? lumora::detail::TextLength(text) : 0;
    if (length > UINT32_MAX) {
        RaiseArchive(K_ERROR_PARAMETERS_OUT_OF_RANGE);
    }
    uint32_t count = static_cast<uint32_t>(length);
    TransferField(stream, count, countName);
    lumora::detail::TransferBlock(stream, const_cast<Char*>(text), uint64_t{count} * sizeof(Char), textName);
}

// Reads a text of count units into a new buffer with a terminator. The
// buffer grows with the bytes read unless the stream is known to hold them.
template <class Char>
Char* ReadText(KOpaqueSerializer& stream, uint32_t count, const char* textName) {
    lumora::detail::ExpectAvailable(stream, uint64_t{count} * sizeof(Char));
    const bool measured = lumora::detail::BytesLeft(stream) >= 0;
    std::unique_ptr<Char[]> text;
    uint64_t capacity = 0;
    for (uint64_t have = 0; have < count; have = capacity) {
        const uint64_t want = measured ? count : std::min<uint64_t>(count, std::max(capacity * 2, kTextChunkUnits));
        std::unique_ptr<Char[]> grown(new (std::nothrow) Char[want + 1]);
        if (!grown) {
            RaiseArchive(K_ERROR_ALLOCATION);
        }
        std::copy(text.get(), text.get() + have, grown.get());
        text = std::move(grown);
        capacity = want;
        lumora::detail::TransferBlock(stream, text.get() + have, (capacity - have) * sizeof(Char), textName);
    }
    text[count] = 0;
    return text.release();
}

// One text of the body. When reading, the field has been freed already.
template <class Char>
void SerializeText(KOpaqueSerializer& stream, Char*& field, const char* countName, const char* textName) {
    if (stream.IsWriting()) {
        WriteText(stream, field, countName, textName);
        return;
    }
    uint32_t count = 0;
    TransferField(stream, count, countName);
    if (count != 0) {
        field = ReadText<Char>(stream, count, textName);
    }
}

template <class T>
KGenericROI* NewView() {
    return new (std::nothrow) KROI<T>();
}

struct ViewFactory {
    int type;
    KGenericROI* (*make)();
};

#define LUMORA_VIEW_FACTORY(T) {PixelTraits<T>::roiObjectType, &NewView<T>},
constexpr ViewFactory kViewFactories[] = {LUMORA_FOR_EACH_PIXEL_TYPE(LUMORA_VIEW_FACTORY)};
#undef LUMORA_VIEW_FACTORY

// A new, unattached KROI<T> for an archived ROI type code.
KGenericROI* NewDaughter(int type) {
    for (const ViewFactory& factory : kViewFactories) {
        if (factory.type == type) {
            KGenericROI* view = factory.make();
            if (!view) {
                RaiseArchive(K_ERROR_ALLOCATION);
            }
            return view;
        }
    }
    RaiseArchive(K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE);
}

// The ROI type code of the same pixel type: images and ROIs are numbered in
// the same order, the ROIs thirteen codes after the images.
int ViewTypeOf(int type) {
    return type < KObjectTypes::ROI_BW1 ? type + (KObjectTypes::ROI_BW1 - KObjectTypes::IMAGE_BW1) : type;
}

}  // namespace

void KGenericROI::SaveObject(KSerializer* serializer) const {
    KOpaqueSerializer& stream = lumora::detail::ArchiveStream(serializer);
    stream.PushStreamPos();
    try {
        if (!stream.IsWriting()) {
            RaiseArchive(K_ERROR_SERIALIZER_NOT_WRITING);
        }
        auto* self = const_cast<KGenericROI*>(this);
        uint8_t signature = kSignature;
        auto type = static_cast<uint8_t>(self->GetSerializationType());
        auto version = static_cast<uint8_t>(GetCurrentVersion());
        auto checkSum = static_cast<uint8_t>(signature ^ type ^ version);
        lumora::detail::CheckSavableRows(*this, type);
        TransferField(stream, signature, "fileSig");
        TransferField(stream, type, "objType");
        TransferField(stream, version, "objVersion");
        TransferField(stream, checkSum, "checkSum");
        self->Serialize(serializer, version);
        stream.PopAndForgetStreamPos();
    } catch (...) {
        stream.PopAndApplyStreamPos();
        throw;
    }
}

void KGenericROI::LoadObject(KSerializer* serializer) {
    KOpaqueSerializer& stream = lumora::detail::ArchiveStream(serializer);
    NestingGuard nesting;
    stream.PushStreamPos();
    try {
        if (!stream.IsReading()) {
            RaiseArchive(K_ERROR_SERIALIZER_NOT_READING);
        }
        uint8_t signature = 0;
        uint8_t type = 0;
        uint8_t version = 0;
        uint8_t checkSum = 0;
        TransferField(stream, signature, "fileSig");
        if (signature != kSignature) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        TransferField(stream, type, "objType");
        if (type != GetSerializationType()) {
            RaiseArchive(K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE);
        }
        TransferField(stream, version, "objVersion");
        if (version > GetCurrentVersion()) {
            RaiseArchive(K_ERROR_UNSUPPORTED_FILE_VERSION);
        }
        TransferField(stream, checkSum, "checkSum");
        if (checkSum != (signature ^ type ^ version)) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        Serialize(serializer, version);
        stream.PopAndForgetStreamPos();
    } catch (...) {
        stream.PopAndApplyStreamPos();
        throw;
    }
}

void KGenericROI::Save(KSerializer* serializer) const {
    try {
        SaveObject(serializer);
    } catch (...) {
        lumora::detail::StoreArchiveFailure();
    }
}

void KGenericROI::Load(KSerializer* serializer) {
    try {
        LoadObject(serializer);
    } catch (...) {
        lumora::detail::StoreArchiveFailure();
    }
}

void KGenericROI::Save(FILE* stream) const {
    KFilePointerSerializer serializer(stream, 1);
    Save(&serializer);
}

void KGenericROI::Load(FILE* stream) {
    KFilePointerSerializer serializer(stream, 0);
    Load(&serializer);
}

void KGenericROI::Serialize(KSerializer* serializer, unsigned int /*version*/) {
    KOpaqueSerializer& stream = lumora::detail::ArchiveStream(serializer);
    const bool writing = stream.IsWriting() != 0;
    if (!writing) {
        MakeEmpty();
    }
    SerializeText(stream, m_pszAuthorASCII, "authorASCIINumChars", "m_pszAuthorASCII");
    SerializeText(stream, m_pszAuthorUnicode, "authorUnicodeNumUnichars", "m_pszAuthorUnicode");
    SerializeText(stream, m_pszCommentASCII, "commentASCIINumChars", "m_pszCommentASCII");
    SerializeText(stream, m_pszCommentUnicode, "commentUnicodeNumUnichars", "m_pszCommentUnicode");
    SerializeText(stream, m_pszDateASCII, "dateASCIINumChars", "m_pszDateASCII");
    SerializeText(stream, m_pszDateUnicode, "dateUnicodeNumUnichars", "m_pszDateUnicode");
    SerializeText(stream, m_pszTitleASCII, "titleASCIINumChars", "m_pszTitleASCII");
    SerializeText(stream, m_pszTitleUnicode, "titleUnicodeNumUnichars", "m_pszTitleUnicode");

    uint32_t count = 0;
    if (writing) {
        for (const KGenericROI* node = m_pFirstDaughter; node; node = node->m_pSibling) {
            ++count;
        }
        TransferField(stream, count, "numChildren");
        for (const KGenericROI* node = m_pFirstDaughter; node; node = node->m_pSibling) {
            node->SaveObject(serializer);
        }
    } else {
        TransferField(stream, count, "numChildren");
        lumora::detail::ExpectAvailable(stream, count * kMinObjectBytes);
        const int daughterType = ViewTypeOf(GetSerializationType());
        KGenericROI* last = nullptr;
        for (uint32_t i = 0; i < count; ++i) {
            const KSerializer::ObjectType next = serializer->GetNextObjectType();
            if (next == KSerializer::OBJECT_FAILURE) {
                RaiseArchive(KFailure() ? KGetError() : K_ERROR_ARCHIVE_UNEXPECTED);
            }
            if (next != daughterType) {
                RaiseArchive(K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE);
            }
            KGenericROI* daughter = NewDaughter(next);
            daughter->SetAllocated();
            try {
                daughter->LoadObject(serializer);
            } catch (...) {
                delete daughter;
                throw;
            }
            daughter->m_pParent = this;
            daughter->m_pSibling = nullptr;
            daughter->m_eColorSystem = m_eColorSystem;
            (last ? last->m_pSibling : m_pFirstDaughter) = daughter;
            last = daughter;
        }
    }

    int32_t placement[5] = {m_n32OrgX, m_n32OrgY, m_n32Width, m_n32Height, m_eColorSystem};
    TransferField(stream, placement[0], "m_n32OrgX");
    TransferField(stream, placement[1], "m_n32OrgY");
    TransferField(stream, placement[2], "m_n32Width");
    TransferField(stream, placement[3], "m_n32Height");
    TransferField(stream, placement[4], "m_eColorSystem");
    if (!writing) {
        if (std::any_of(placement, placement + 4, [](int32_t value) { return value < 0; })) {
            RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
        }
        m_n32OrgX = placement[0];
        m_n32OrgY = placement[1];
        m_n32Width = placement[2];
        m_n32Height = placement[3];
        m_eColorSystem = static_cast<K_COLOR_SYSTEM>(placement[4]);
    }
}
