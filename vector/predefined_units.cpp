// The fourteen predefined units. They are constant-initialised: their bytes
// are in the library's image before any code runs, so static objects of other
// libraries can use them whatever the order of static initialisation. The
// compilers that can say so are asked to refuse anything else.
#include <lumora/units.h>

#if defined(__clang__)
#define LUMORA_CONSTANT_INITIALIZED [[clang::require_constant_initialization]]
#elif defined(__GNUC__) && __GNUC__ >= 10
#define LUMORA_CONSTANT_INITIALIZED __constinit
#else
#define LUMORA_CONSTANT_INITIALIZED
#endif

// Magnitudes in metres, each the float nearest to the decimal value.
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnitNone(1.0f, "None");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_um(1.0e-6f, "\xB5m");  // micro sign in code page 1252
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_mm(0.001f, "mm");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_cm(0.01f, "cm");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_dm(0.1f, "dm");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_m(1.0f, "m");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_dam(10.0f, "Dm");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_hm(100.0f, "Hm");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_km(1000.0f, "Km");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_mil(2.54e-5f, "mil");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_inch(0.0254f, "inch");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_foot(0.3048f, "feet");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_yard(0.9144f, "yard");
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit KUnit_mile(1609.344f, "mile");

// GetPredefinedUnit answers the first match in this order.
LUMORA_CONSTANT_INITIALIZED KMeasurementUnit* const KMeasurementUnit::KPredefinedUnits[15] = {
    &KUnitNone, &KUnit_um,  &KUnit_mm,  &KUnit_cm,   &KUnit_dm,   &KUnit_m,    &KUnit_dam, &KUnit_hm,
    &KUnit_km,  &KUnit_mil, &KUnit_inch, &KUnit_foot, &KUnit_yard, &KUnit_mile, nullptr};
