// KMemSerializer and the memory factories: a growable byte buffer read or
// written in place.
//
// A read past the end of the buffer raises 1103 before anything is copied and
// leaves the read position unchanged. Positions are 32-bit, so the buffer
// holds at most 0xFFFFFFFF bytes; a write beyond, or a failed allocation,
// raises 1303. The position stack works only while reading; while writing
// its operations do nothing, and OpenReader/OpenWriter empty it.
#include <lumora/serializer.h>

#include <lumora/errors.h>
#include <lumora/exception.h>

#include "persist/factory_failure.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

[[noreturn]] void Raise(K_ERRORS code) { throw Corvane::Lumora::Exception(code); }

constexpr size_t kMaxBufferBytes = UINT32_MAX;

}  // namespace

KMemSerializer::KMemSerializer() : m_un32ReadPos(0), m_un8Writing(0) {}

void KMemSerializer::OpenReader(const std::vector<unsigned char>& bytes) {
    KOk();
    m_un8Writing = 0;
    m_un32ReadPos = 0;
    m_aun32SavedPositions.clear();
    if (&bytes == &m_aun8Buffer) {
        return;
    }
    m_aun8Buffer.clear();
    if (bytes.size() > kMaxBufferBytes) {
        KSetError(K_ERROR_ALLOCATION);
        return;
    }
    try {
        m_aun8Buffer = bytes;
    } catch (const std::bad_alloc&) {
        m_aun8Buffer.clear();
        KSetError(K_ERROR_ALLOCATION);
    }
}

void KMemSerializer::OpenWriter() {
    KOk();
    m_aun8Buffer.clear();
    m_un8Writing = 1;
    m_un32ReadPos = 0;
    m_aun32SavedPositions.clear();
}

const std::vector<unsigned char>& KMemSerializer::GetBuffer() const { return m_aun8Buffer; }

KSerializer* KSerializer::CreateMemoryReader(unsigned char* data, unsigned int size) {
    KOk();
    if (!data && size != 0) {
        KSetError(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
        return nullptr;
    }
    KMemSerializer* serializer = nullptr;
    try {
        serializer = new KMemSerializer();
        if (size != 0) {
            serializer->m_aun8Buffer.assign(data, data + size);
        }
        return serializer;
    } catch (...) {
        delete serializer;
        lumora::detail::StoreFactoryFailure();
        return nullptr;
    }
}

KSerializer* KSerializer::CreateMemoryWriter() {
    KOk();
    KMemSerializer* serializer = new (std::nothrow) KMemSerializer();
    if (!serializer) {
        KSetError(K_ERROR_ALLOCATION);
        return nullptr;
    }
    serializer->OpenWriter();
    return serializer;
}

void KMemSerializer::Close() {}

unsigned int KMemSerializer::GetData(unsigned char* destination, unsigned int capacity) {
    KOk();
    const size_t length = m_aun8Buffer.size();
    if (length == 0) {
        return 0;
    }
    if (length > capacity) {
        KSetError(K_ERROR_INSUFFICIENT_ALLOCATION);
        return 0;
    }
    if (!destination) {
        KSetError(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
        return 0;
    }
    std::memcpy(destination, m_aun8Buffer.data(), length);
    return static_cast<unsigned int>(length);
}

unsigned int KMemSerializer::GetCurrentPos() {
    KOk();
    return static_cast<unsigned int>(m_aun8Buffer.size());
}

KMemSerializer::~KMemSerializer() = default;

unsigned int KMemSerializer::SerializeBytes(void* data, unsigned int size, const char*) {
    if (size == 0) {
        return 0;
    }
    if (!data) {
        Raise(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    }
    const size_t length = m_aun8Buffer.size();
    if (m_un8Writing) {
        if (size > kMaxBufferBytes - length) {
            Raise(K_ERROR_ALLOCATION);
        }
        try {
            const auto* bytes = static_cast<const unsigned char*>(data);
            m_aun8Buffer.insert(m_aun8Buffer.end(), bytes, bytes + size);
        } catch (const std::bad_alloc&) {
            Raise(K_ERROR_ALLOCATION);
        }
        m_un32ReadPos = static_cast<uint32_t>(m_aun8Buffer.size());
        return size;
    }
    // The read position never passes the length, so the subtraction is safe.
    if (size > length - m_un32ReadPos) {
        Raise(K_ERROR_FILE_READ);
    }
    std::memcpy(data, m_aun8Buffer.data() + m_un32ReadPos, size);
    m_un32ReadPos += size;
    return size;
}

int KMemSerializer::IsWriting() const { return m_un8Writing ? 1 : 0; }

int KMemSerializer::IsEOS() const { return m_un32ReadPos == m_aun8Buffer.size() ? 1 : 0; }

int KMemSerializer::IsReading() const { return m_un8Writing ? 0 : 1; }

void KMemSerializer::PushStreamPos() {
    if (m_un8Writing) {
        return;
    }
    try {
        m_aun32SavedPositions.push_back(m_un32ReadPos);
    } catch (const std::bad_alloc&) {
        Raise(K_ERROR_ALLOCATION);
    }
}

void KMemSerializer::PopAndForgetStreamPos() {
    if (!m_un8Writing && !m_aun32SavedPositions.empty()) {
        m_aun32SavedPositions.pop_back();
    }
}

void KMemSerializer::PopAndApplyStreamPos() {
    if (m_un8Writing || m_aun32SavedPositions.empty()) {
        return;
    }
    m_un32ReadPos = m_aun32SavedPositions.back();
    m_aun32SavedPositions.pop_back();
}
