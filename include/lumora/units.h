// Measurement units of length and values measured in them.
//
// A KMeasurementUnit is a magnitude (its size in metres; 0 means undefined)
// and a short name, narrow or UTF-16 in the same 16 bytes. Fourteen units are
// predefined as exported global objects; they are constant-initialised, so
// other libraries' static objects may use them during their own static
// initialisation. They are shared and writable, without a lock.
//
// A KDimensionalValue is a float together with a copy of its unit; it
// converts between units by the ratio of their magnitudes. No operation here
// sets an error code.
#ifndef LUMORA_UNITS_H
#define LUMORA_UNITS_H

#include <lumora/export.h>

#include <cstdint>

class KSerializer;

namespace lumora::detail {

// Character i of a unit name as the name field stores it: zero from the first
// terminator on, so nothing past it is read. Lets the unit constructors run
// at compile time.
template <class Char>
constexpr Char UnitNameAt(const Char* name, int i) {
    if (!name) {
        return 0;
    }
    for (int j = 0; j < i; ++j) {
        if (name[j] == 0) {
            return 0;
        }
    }
    return name[i];
}

}  // namespace lumora::detail

class LUMORA_API KMeasurementUnit {
public:
    // Longest names the 16-byte field holds before its terminator.
    static constexpr int kMaxNameChars = 15;
    static constexpr int kMaxNameUnits = 7;

    // Magnitude 0, empty name.
    constexpr KMeasurementUnit() : m_un32Reserved1(0), m_un32Reserved2(0), m_f32Magnitude(0.0f), m_szName{} {}
    // The other unit's magnitude and narrow name; magnitude 0 and an empty
    // name when other is null.
    explicit KMeasurementUnit(KMeasurementUnit* other);
    // The name is cut to 15 characters (7 UTF-16 units) and zero-padded.
    constexpr KMeasurementUnit(float magnitude, const char* name)
        : m_un32Reserved1(0),
          m_un32Reserved2(0),
          m_f32Magnitude(magnitude),
          m_szName{lumora::detail::UnitNameAt(name, 0), lumora::detail::UnitNameAt(name, 1),
                   lumora::detail::UnitNameAt(name, 2), lumora::detail::UnitNameAt(name, 3),
                   lumora::detail::UnitNameAt(name, 4), lumora::detail::UnitNameAt(name, 5),
                   lumora::detail::UnitNameAt(name, 6), lumora::detail::UnitNameAt(name, 7),
                   lumora::detail::UnitNameAt(name, 8), lumora::detail::UnitNameAt(name, 9),
                   lumora::detail::UnitNameAt(name, 10), lumora::detail::UnitNameAt(name, 11),
                   lumora::detail::UnitNameAt(name, 12), lumora::detail::UnitNameAt(name, 13),
                   lumora::detail::UnitNameAt(name, 14), 0} {}
    constexpr KMeasurementUnit(float magnitude, const unsigned short* name)
        : m_un32Reserved1(0),
          m_un32Reserved2(0),
          m_f32Magnitude(magnitude),
          m_wszName{lumora::detail::UnitNameAt(name, 0), lumora::detail::UnitNameAt(name, 1),
                    lumora::detail::UnitNameAt(name, 2), lumora::detail::UnitNameAt(name, 3),
                    lumora::detail::UnitNameAt(name, 4), lumora::detail::UnitNameAt(name, 5),
                    lumora::detail::UnitNameAt(name, 6), 0} {}

    float GetMagnitude() const { return m_f32Magnitude; }
    void SetMagnitude(float magnitude) { m_f32Magnitude = magnitude; }

    // The name field itself, read as narrow or as UTF-16 text.
    char* GetName() { return m_szName; }
    const char* GetName() const { return m_szName; }
    unsigned short* GetNameUnicode() { return m_wszName; }
    const unsigned short* GetNameUnicode() const { return m_wszName; }
    // Cut to 15 characters (7 UTF-16 units), zero-padded; null empties it.
    void SetName(const char* name);
    void SetNameUnicode(const unsigned short* name);

    // The factor that turns a value in this unit into one in target: this
    // magnitude over the target's (+infinity for a target of magnitude 0),
    // or 3.4028235e38 when this unit's magnitude is 0.
    float ConversionFactorTo(const KMeasurementUnit& target) const;

    // 1 when this object is one of the fourteen predefined units (by
    // identity: a copy of one is not predefined), else 0.
    int IsPredefinedUnit() const;
    // The first predefined unit whose narrow name equals name exactly
    // (case-sensitive), or null.
    static KMeasurementUnit* GetPredefinedUnit(const char* name);

private:
    // Zero in every unit; nothing reads them.
    [[maybe_unused]] uint32_t m_un32Reserved1;
    [[maybe_unused]] uint32_t m_un32Reserved2;
    float m_f32Magnitude;
    union {
        char m_szName[16];
        unsigned short m_wszName[8];
    };

    // The fourteen predefined units in the order of their declarations
    // below, then null.
    static KMeasurementUnit* const KPredefinedUnits[15];
};

// The predefined units: name, magnitude in metres (the nearest float).
LUMORA_API extern KMeasurementUnit KUnitNone;  // "None", 1
LUMORA_API extern KMeasurementUnit KUnit_um;   // 0xB5 'm' (micro sign in code page 1252), 1e-6
LUMORA_API extern KMeasurementUnit KUnit_mm;   // "mm", 0.001
LUMORA_API extern KMeasurementUnit KUnit_cm;   // "cm", 0.01
LUMORA_API extern KMeasurementUnit KUnit_dm;   // "dm", 0.1
LUMORA_API extern KMeasurementUnit KUnit_m;    // "m", 1
LUMORA_API extern KMeasurementUnit KUnit_dam;  // "Dm", 10
LUMORA_API extern KMeasurementUnit KUnit_hm;   // "Hm", 100
LUMORA_API extern KMeasurementUnit KUnit_km;   // "Km", 1000
LUMORA_API extern KMeasurementUnit KUnit_mil;  // "mil", 2.54e-5
LUMORA_API extern KMeasurementUnit KUnit_inch; // "inch", 0.0254
LUMORA_API extern KMeasurementUnit KUnit_foot; // "feet", 0.3048
LUMORA_API extern KMeasurementUnit KUnit_yard; // "yard", 0.9144
LUMORA_API extern KMeasurementUnit KUnit_mile; // "mile", 1609.344

class LUMORA_API KDimensionalValue {
public:
    // 1.0 in a copy of KUnitNone.
    KDimensionalValue();
    // The unit is copied as by KMeasurementUnit(KMeasurementUnit*): a null
    // unit gives an empty one.
    KDimensionalValue(float value, KMeasurementUnit* unit);
    KDimensionalValue(const KDimensionalValue& other);
    KDimensionalValue& operator=(const KDimensionalValue& other);
    virtual ~KDimensionalValue();

    // The archive record of the value; defined with the archive format.
    virtual void Serialize(KSerializer* serializer, unsigned int version);
    // Version of the archive record written.
    static unsigned int GetVersion();

    float GetValue() const { return m_f32Value; }
    void SetValue(float value) { m_f32Value = value; }
    // Stores the value and, unless unit is null or the held unit itself,
    // a copy of the unit. Nothing is converted.
    void SetValue(float value, KMeasurementUnit* unit);
    // The value expressed in unit (the raw value when unit is null).
    float GetValue(KMeasurementUnit* unit) const;

    KMeasurementUnit* GetUnit() { return &m_Unit; }
    const KMeasurementUnit* GetUnit() const { return &m_Unit; }
    // Converts the value into unit and adopts a copy of it; null does nothing.
    void SetUnit(KMeasurementUnit* unit);

private:
    // Zero in every value; nothing reads them.
    [[maybe_unused]] uint32_t m_un32Reserved1;
    [[maybe_unused]] uint32_t m_un32Reserved2;
    float m_f32Value;
    KMeasurementUnit m_Unit;
};

#endif
