#include <lumora/units.h>

#include <cfloat>
#include <cstring>

KMeasurementUnit::KMeasurementUnit(KMeasurementUnit* other) : KMeasurementUnit() {
    if (other) {
        m_f32Magnitude = other->m_f32Magnitude;
        SetName(other->m_szName);
    }
}

// Copies up to the first terminator, then zero-fills to the end of the field,
// so the last byte (last unit) is always a terminator. The name may be the
// field itself or a part of it: each position is read before it is written.
void KMeasurementUnit::SetName(const char* name) {
    bool ended = !name;
    for (int i = 0; i < kMaxNameChars; ++i) {
        ended = ended || name[i] == 0;
        m_szName[i] = ended ? 0 : name[i];
    }
    m_szName[kMaxNameChars] = 0;
}

void KMeasurementUnit::SetNameUnicode(const unsigned short* name) {
    bool ended = !name;
    for (int i = 0; i < kMaxNameUnits; ++i) {
        ended = ended || name[i] == 0;
        m_wszName[i] = ended ? 0 : name[i];
    }
    m_wszName[kMaxNameUnits] = 0;
}

float KMeasurementUnit::ConversionFactorTo(const KMeasurementUnit& target) const {
    if (m_f32Magnitude == 0.0f) {
        return FLT_MAX;
    }
    return m_f32Magnitude / target.m_f32Magnitude;
}

int KMeasurementUnit::IsPredefinedUnit() const {
    for (KMeasurementUnit* const* unit = KPredefinedUnits; *unit; ++unit) {
        if (*unit == this) {
            return 1;
        }
    }
    return 0;
}

KMeasurementUnit* KMeasurementUnit::GetPredefinedUnit(const char* name) {
    if (!name) {
        return nullptr;
    }
    // A name longer than the field holds cannot be any unit's.
    const size_t length = strnlen(name, sizeof(m_szName));
    if (length == sizeof(m_szName)) {
        return nullptr;
    }
    for (KMeasurementUnit* const* unit = KPredefinedUnits; *unit; ++unit) {
        if (std::memcmp((*unit)->m_szName, name, length + 1) == 0) {
            return *unit;
        }
    }
    return nullptr;
}
