// Field transfers and checks shared by the archive records: the serializer
// behind a KSerializer*, fixed-size fields, long blocks, the bounds that keep
// a hostile stream from making us allocate, and the catch-all conversion of
// a failure into the error word.
#ifndef LUMORA_PERSIST_ARCHIVE_IO_H
#define LUMORA_PERSIST_ARCHIVE_IO_H

#include <lumora/errors.h>
#include <lumora/serializer.h>

#include <cstdint>

class KDimensionalValue;
class KGenericROI;

namespace lumora::detail {

[[noreturn]] void RaiseArchive(K_ERRORS code);

// The implementation every library serializer is. A null serializer raises
// 1011; one that is not a KOpaqueSerializer raises 1116.
KOpaqueSerializer& ArchiveStream(KSerializer* serializer);

// One fixed-size field, read or written in the stream's direction.
template <class Field>
void TransferField(KOpaqueSerializer& stream, Field& field, const char* name) {
    stream.SerializeBytes(&field, static_cast<unsigned int>(sizeof field), name);
}

// A block of any length, moved in pieces that SerializeBytes can take.
void TransferBlock(KOpaqueSerializer& stream, void* data, uint64_t size, const char* name);

// Raises 1105 when a reading stream is known to end before bytes more bytes;
// a stream whose end cannot be measured passes.
void ExpectAvailable(const KOpaqueSerializer& stream, uint64_t bytes);

// Call from inside a catch block: a library exception's code, 1303 for an
// exhausted allocator, 1112 for anything else; stores it and returns it.
K_ERRORS StoreArchiveFailure();

// The dimensional-value record; raises on failure (32767, traced, for a
// version-3 record that names a predefined unit).
void SerializeDimensionalRecord(KDimensionalValue& value, KOpaqueSerializer& stream, unsigned int version);
// The record version an image archive of the given version carries.
unsigned int DimensionalRecordVersion(unsigned int archiveVersion);
// The bytes a record of that version takes.
uint64_t DimensionalRecordBytes(unsigned int recordVersion);

// Raises what saving the object would raise for its pixel rows (1402 for a
// row pitch the archive cannot store, 1400 for a sized image without
// pixels), so that Save can refuse before the header is written. type is the
// object's archive type code; ROIs have no rows of their own and pass.
void CheckSavableRows(const KGenericROI& object, int type);

}  // namespace lumora::detail

#endif
