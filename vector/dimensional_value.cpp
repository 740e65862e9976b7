#include <lumora/units.h>

KDimensionalValue::KDimensionalValue() : KDimensionalValue(1.0f, &KUnitNone) {}

KDimensionalValue::KDimensionalValue(float value, KMeasurementUnit* unit)
    : m_un32Reserved1(0), m_un32Reserved2(0), m_f32Value(value), m_Unit(unit) {}

KDimensionalValue::KDimensionalValue(const KDimensionalValue& other)
    : m_un32Reserved1(0), m_un32Reserved2(0), m_f32Value(other.m_f32Value), m_Unit(other.m_Unit) {}

KDimensionalValue& KDimensionalValue::operator=(const KDimensionalValue& other) {
    if (this != &other) {
        m_f32Value = other.m_f32Value;
        m_Unit = other.m_Unit;
    }
    return *this;
}

KDimensionalValue::~KDimensionalValue() = default;

unsigned int KDimensionalValue::GetVersion() { return 3; }

void KDimensionalValue::SetValue(float value, KMeasurementUnit* unit) {
    m_f32Value = value;
    if (unit && unit != &m_Unit) {
        m_Unit = KMeasurementUnit(unit);
    }
}

float KDimensionalValue::GetValue(KMeasurementUnit* unit) const {
    if (!unit) {
        return m_f32Value;
    }
    return m_f32Value * m_Unit.ConversionFactorTo(*unit);
}

void KDimensionalValue::SetUnit(KMeasurementUnit* unit) {
    if (!unit) {
        return;
    }
    m_f32Value *= m_Unit.ConversionFactorTo(*unit);
    if (unit != &m_Unit) {
        m_Unit = KMeasurementUnit(unit);
    }
}
