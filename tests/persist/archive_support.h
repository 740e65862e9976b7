// Helpers for the archive tests: saving to and loading from bytes, and
// reading or patching little-endian fields of an archive.
#ifndef LUMORA_TESTS_PERSIST_ARCHIVE_SUPPORT_H
#define LUMORA_TESTS_PERSIST_ARCHIVE_SUPPORT_H

#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/serializer_support.h"

#include <cstdint>
#include <cstring>

inline Bytes SaveToBytes(const KGenericROI& object) {
    KMemSerializer writer;
    writer.OpenWriter();
    object.Save(&writer);
    return writer.GetBuffer();
}

// Loads bytes into object and returns the error word.
inline K_ERRORS LoadFromBytes(KGenericROI& object, const Bytes& bytes) {
    KMemSerializer reader;
    reader.OpenReader(bytes);
    KOk();
    object.Load(&reader);
    return KGetError();
}

template <class Field = uint32_t>
Field FieldAt(const Bytes& bytes, size_t offset) {
    Field value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <class Field>
void PatchAt(Bytes& bytes, size_t offset, Field value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Sets the version byte of the header at offset and repairs its checksum.
inline void SetHeaderVersion(Bytes& bytes, size_t offset, uint8_t version) {
    bytes[offset + 2] = version;
    bytes[offset + 3] = static_cast<uint8_t>(bytes[offset] ^ bytes[offset + 1] ^ version);
}

inline void SetHeaderType(Bytes& bytes, size_t offset, uint8_t type) {
    bytes[offset + 1] = type;
    bytes[offset + 3] = static_cast<uint8_t>(bytes[offset] ^ type ^ bytes[offset + 2]);
}

#endif
