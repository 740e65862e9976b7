// The file side of KVectorTemplate<T>: the Serialize body and Save and Load
// by path. Elements go through a small buffer a chunk at a time, each one
// encoded by its traits, so no struct is ever written with its padding and a
// hostile file is never trusted beyond what was read and allocated.
#ifndef LUMORA_VECTOR_FILE_IMPL_H
#define LUMORA_VECTOR_FILE_IMPL_H

#include <lumora/errors.h>
#include <lumora/vector.h>

#include "vector/byte_order.h"
#include "vector/vector_element_traits.h"
#include "vector/vector_file.h"

#include <algorithm>

namespace lumora::detail {

// Elements moved per read or write: at most 12 KiB of buffer for the widest
// file element.
constexpr unsigned int kVectorFileChunkElements = 1024;

template <class T>
constexpr VectorFileHeader VectorFileHeaderOf() {
    return MakeVectorFileHeader(VectorElementTraits<T>::fileTypeCode, VectorElementTraits<T>::fileVersion);
}

template <class T>
void SerializeBodyForSave(void* vector, FILE* stream) {
    static_cast<KVectorTemplate<T>*>(vector)->Serialize(stream, 1, VectorElementTraits<T>::fileVersion);
}

template <class T>
void SerializeBodyForLoad(void* vector, FILE* stream) {
    static_cast<KVectorTemplate<T>*>(vector)->Serialize(stream, 0, VectorElementTraits<T>::fileVersion);
}

}  // namespace lumora::detail

// The version is part of the interface for members whose layout might one day
// depend on it; every member's layout is the same in all versions.
template <class T>
void KVectorTemplate<T>::Serialize(FILE* stream, int save, unsigned int /*version*/) {
    KOk();
    if (!stream) {
        KSetError(save ? K_ERROR_FILE_WRITE : K_ERROR_FILE_READ);
        return;
    }
    if (save) {
        WriteBody(stream);
    } else {
        ReadBody(stream);
    }
}

template <class T>
void KVectorTemplate<T>::WriteBody(FILE* stream) const {
    using Traits = VectorElementTraits<T>;
    uint8_t countBytes[4];
    lumora::detail::StoreLittleEndian32(m_un32NumElements, countBytes);
    if (!lumora::detail::WriteAll(stream, countBytes, sizeof countBytes)) {
        KSetError(K_ERROR_FILE_WRITE);
        return;
    }
    uint8_t buffer[lumora::detail::kVectorFileChunkElements * Traits::fileElementSize];
    for (unsigned int done = 0; done < m_un32NumElements;) {
        const unsigned int chunk = std::min(m_un32NumElements - done, lumora::detail::kVectorFileChunkElements);
        for (unsigned int i = 0; i < chunk; ++i) {
            Traits::Write(m_pData[done + i], buffer + i * Traits::fileElementSize);
        }
        if (!lumora::detail::WriteAll(stream, buffer, chunk * Traits::fileElementSize)) {
            KSetError(K_ERROR_FILE_WRITE);
            return;
        }
        done += chunk;
    }
}

// The count comes from the file. Where the stream can tell how much is left,
// a count whose elements cannot be there fails before anything is allocated,
// so a damaged header cannot ask for gigabytes; elsewhere the allocation is
// attempted and may fail with 1303.
template <class T>
void KVectorTemplate<T>::ReadBody(FILE* stream) {
    using Traits = VectorElementTraits<T>;
    uint8_t countBytes[4];
    if (!lumora::detail::ReadAll(stream, countBytes, sizeof countBytes)) {
        KSetError(K_ERROR_FILE_READ);
        return;
    }
    const unsigned int count = lumora::detail::LoadLittleEndian32(countBytes);
    uint64_t bodyBytes;
    if (__builtin_mul_overflow(static_cast<uint64_t>(count), static_cast<uint64_t>(Traits::fileElementSize),
                               &bodyBytes)) {
        KSetError(K_ERROR_FILE_READ);
        return;
    }
    uint64_t remaining;
    if (lumora::detail::RemainingStreamBytes(stream, &remaining) && bodyBytes > remaining) {
        KSetError(K_ERROR_FILE_READ);
        return;
    }
    SetNumElements(0);
    if (count != m_un32MaxElements && !Reallocate(count, true)) {
        return;
    }
    SetNumElements(count);
    uint8_t buffer[lumora::detail::kVectorFileChunkElements * Traits::fileElementSize];
    for (unsigned int done = 0; done < count;) {
        const unsigned int chunk = std::min(count - done, lumora::detail::kVectorFileChunkElements);
        if (!lumora::detail::ReadAll(stream, buffer, chunk * Traits::fileElementSize)) {
            KSetError(K_ERROR_FILE_READ);
            return;
        }
        for (unsigned int i = 0; i < chunk; ++i) {
            m_pData[done + i] = Traits::Read(buffer + i * Traits::fileElementSize);
        }
        done += chunk;
    }
}

template <class T>
void KVectorTemplate<T>::Save(const char* path) {
    lumora::detail::SaveVectorFile(lumora::detail::OpenVectorFile(path, true), lumora::detail::VectorFileHeaderOf<T>(),
                                   "KVector::Save", &lumora::detail::SerializeBodyForSave<T>, this);
}

template <class T>
void KVectorTemplate<T>::Save(const unsigned short* path) {
    lumora::detail::SaveVectorFile(lumora::detail::OpenVectorFile(path, true), lumora::detail::VectorFileHeaderOf<T>(),
                                   "KVector::Save ( Unicode)", &lumora::detail::SerializeBodyForSave<T>, this);
}

template <class T>
void KVectorTemplate<T>::Load(const char* path) {
    lumora::detail::LoadVectorFile(lumora::detail::OpenVectorFile(path, false), lumora::detail::VectorFileHeaderOf<T>(),
                                   "KVector::Load", &lumora::detail::SerializeBodyForLoad<T>, this);
}

template <class T>
void KVectorTemplate<T>::Load(const unsigned short* path) {
    lumora::detail::LoadVectorFile(lumora::detail::OpenVectorFile(path, false), lumora::detail::VectorFileHeaderOf<T>(),
                                   "KVector::Load ( Unicode)", &lumora::detail::SerializeBodyForLoad<T>, this);
}

#endif
