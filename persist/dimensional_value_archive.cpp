// The archive record of a KDimensionalValue (no header of its own):
//   "m_f32Value"       4, float
//   "bPredefinedUnit"  4, signed   record versions 2 and 3 only; written as 0
//   "f32Magnitude"     4, float    the unit's magnitude
//   "pszName"         16           the unit's narrow name, zero-terminated
// Records are always written in version 3, with the name's bytes after its
// terminator written as zeros. Version 1 records lack the flag. A version-3
// record whose flag is set names a predefined unit by reference, which this
// library never writes and cannot resolve: 32767, and the unit is left as is.
#include <lumora/serializer.h>
#include <lumora/units.h>

#include "frame/report.h"
#include "persist/archive_io.h"

#include <cstring>

namespace {

constexpr unsigned int kCurrentRecordVersion = 3;
constexpr size_t kNameBytes = 16;

}  // namespace

namespace lumora::detail {

unsigned int DimensionalRecordVersion(unsigned int archiveVersion) {
    if (archiveVersion < 3) {
        return 1;
    }
    return archiveVersion == 3 ? 2 : 3;
}

uint64_t DimensionalRecordBytes(unsigned int recordVersion) { return recordVersion > 1 ? 28 : 24; }

void SerializeDimensionalRecord(KDimensionalValue& value, KOpaqueSerializer& stream, unsigned int version) {
    if (version == static_cast<unsigned int>(-1)) {
        version = kCurrentRecordVersion;
    }
    KMeasurementUnit* unit = value.GetUnit();
    float number = value.GetValue();
    int32_t predefined = 0;
    float magnitude = unit->GetMagnitude();
    char name[kNameBytes] = {};
    if (stream.IsWriting()) {
        const char* held = unit->GetName();
        const size_t length = strnlen(held, kNameBytes - 1);
        std::memcpy(name, held, length);
        TransferField(stream, number, "m_f32Value");
        TransferField(stream, predefined, "bPredefinedUnit");
        TransferField(stream, magnitude, "f32Magnitude");
        TransferField(stream, name, "pszName");
        return;
    }
    TransferField(stream, number, "m_f32Value");
    value.SetValue(number);
    if (version > 1) {
        TransferField(stream, predefined, "bPredefinedUnit");
    }
    if (version > 2 && predefined != 0) {
        Fail(K_ERROR_INTERNAL, "KDimensionalValue::Serialize");
        RaiseArchive(K_ERROR_INTERNAL);
    }
    TransferField(stream, magnitude, "f32Magnitude");
    TransferField(stream, name, "pszName");
    name[kNameBytes - 1] = 0;
    unit->SetMagnitude(magnitude);
    unit->SetName(name);
}

}  // namespace lumora::detail

void KDimensionalValue::Serialize(KSerializer* serializer, unsigned int version) {
    KOk();
    try {
        lumora::detail::SerializeDimensionalRecord(*this, lumora::detail::ArchiveStream(serializer), version);
    } catch (...) {
        lumora::detail::StoreArchiveFailure();
    }
}
