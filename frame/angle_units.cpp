// The process-wide angle unit and its two conversion factors. Conversions are
// one multiplication by a stored factor, so callers can use them in inner
// loops; a thread that changes the unit while another converts may be seen
// with a mixture of old and new factors.
#include <lumora/errors.h>
#include <lumora/settings.h>

namespace {

struct AngleUnit {
    float unitsPerRadian;
    const char* name;
};

constexpr AngleUnit kAngleUnits[] = {
    {0.15915493667125702f, "Rev"},
    {1.0f, "Rad"},
    {57.2957763671875f, "Deg"},
    {63.6619758605957f, "Grad"},
};

K_ANGLE_UNITS g_angleUnit = K_ANGLE_UNIT_DEGREES;
float g_unitsPerRadian = 57.2957763671875f;
float g_radiansPerUnit = 0.01745329238474369f;

bool KnownUnit(K_ANGLE_UNITS unit) { return unit >= K_ANGLE_UNIT_REVOLUTIONS && unit <= K_ANGLE_UNIT_GRADIANS; }

}  // namespace

void KSetAngleUnit(K_ANGLE_UNITS unit) {
    KOk();
    g_angleUnit = unit;
    if (!KnownUnit(unit)) {
        // The unit stays stored; the conversions keep the previous factors.
        KSetError(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
        KTraceError("KSetAngleUnit");
        return;
    }
    g_unitsPerRadian = kAngleUnits[unit].unitsPerRadian;
    g_radiansPerUnit = 1.0f / g_unitsPerRadian;
}

K_ANGLE_UNITS KGetAngleUnit() { return g_angleUnit; }

const char* KGetAngleUnitName() { return KnownUnit(g_angleUnit) ? kAngleUnits[g_angleUnit].name : ""; }

float KFromRadians(float radians) { return radians * g_unitsPerRadian; }

float KToRadians(float angle) { return angle * g_radiansPerUnit; }
