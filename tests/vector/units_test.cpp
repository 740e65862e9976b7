#include <lumora/errors.h>
#include <lumora/units.h>


#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Read during this file's dynamic initialisation: the units must already hold
// their values, whatever order the library's files are initialised in.
const float kMillimetreAtStartup = KUnit_mm.GetMagnitude();
const std::string kMicroNameAtStartup = KUnit_um.GetName();
constexpr KMeasurementUnit kCompileTimeUnit(0.3048f, "feet");  // the constructors run at compile time

// The name as its 16-byte field holds it.
std::string Padded(const char* name) { return std::string(name) + std::string(16 - std::strlen(name), '\0'); }

TEST(PredefinedUnits, TableLookupAndIdentity) {
    EXPECT_EQ(kMillimetreAtStartup, 0.001f);
    EXPECT_EQ(kMicroNameAtStartup, "\xB5m");
    EXPECT_EQ(kCompileTimeUnit.GetMagnitude(), KUnit_foot.GetMagnitude());
    const struct { KMeasurementUnit* unit; const char* name; float magnitude; } rows[] = {
        {&KUnitNone, "None", 1.0f},    {&KUnit_um, "\xB5m", 1.0e-6f},  {&KUnit_mm, "mm", 0.001f},
        {&KUnit_cm, "cm", 0.01f},      {&KUnit_dm, "dm", 0.1f},        {&KUnit_m, "m", 1.0f},
        {&KUnit_dam, "Dm", 10.0f},     {&KUnit_hm, "Hm", 100.0f},      {&KUnit_km, "Km", 1000.0f},
        {&KUnit_mil, "mil", 2.54e-5f}, {&KUnit_inch, "inch", 0.0254f}, {&KUnit_foot, "feet", 0.3048f},
        {&KUnit_yard, "yard", 0.9144f}, {&KUnit_mile, "mile", 1609.344f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(std::string(row.unit->GetName(), 16), Padded(row.name));
        EXPECT_EQ(row.unit->GetMagnitude(), row.magnitude);
        EXPECT_EQ(row.unit->IsPredefinedUnit(), 1);
        EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(row.name), row.unit);
    }
    // Lookup is exact and case-sensitive.
    for (const char* name : {"foot", "MM", "m ", "", "Nonesuch-and-much-longer"}) {
        EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(name), nullptr) << name;
    }
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(nullptr), nullptr);
    // Identity, not equality, makes a unit predefined.
    EXPECT_EQ(KMeasurementUnit(10.0f, "Dm").IsPredefinedUnit(), 0);
    EXPECT_EQ(KMeasurementUnit(&KUnit_dam).IsPredefinedUnit(), 0);
    EXPECT_EQ(KDimensionalValue(3.0f, &KUnit_dam).GetUnit()->IsPredefinedUnit(), 0);
}

TEST(MeasurementUnit, NamesAreCutToTheFieldAndZeroPadded) {
    KMeasurementUnit unit;
    unit.SetName("abcdefghijklmnopqrst");
    EXPECT_STREQ(unit.GetName(), "abcdefghijklmno");
    unit.SetName("xy");
    EXPECT_EQ(std::string(unit.GetName(), 16), Padded("xy")) << "the rest of the old name is cleared";
    const unsigned short ten[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0};
    const unsigned short seven[8] = {'0', '1', '2', '3', '4', '5', '6', 0};
    unit.SetNameUnicode(ten);
    EXPECT_EQ(std::memcmp(unit.GetNameUnicode(), seven, 16), 0);
    EXPECT_STREQ(unit.GetName(), "0") << "both views share the bytes";
    EXPECT_EQ(std::memcmp(KMeasurementUnit(1.0f, ten).GetNameUnicode(), seven, 16), 0);
    EXPECT_STREQ(KMeasurementUnit(1.0f, "0123456789ABCDEFGH").GetName(), "0123456789ABCDE");
    unit.SetName(nullptr);
    EXPECT_STREQ(unit.GetName(), "");
    EXPECT_STREQ(KMeasurementUnit(&KUnit_inch).GetName(), "inch");
    EXPECT_EQ(KMeasurementUnit(static_cast<KMeasurementUnit*>(nullptr)).GetMagnitude(), 0.0f);
}

TEST(DimensionalValue, ConversionsAndUnits) {
    EXPECT_FLOAT_EQ(KUnit_mm.ConversionFactorTo(KUnit_m), 0.001f);
    EXPECT_NEAR(KUnit_inch.ConversionFactorTo(KUnit_mm), 25.4f, 1e-4f);
    const KMeasurementUnit undefined;
    EXPECT_EQ(undefined.ConversionFactorTo(KUnit_m), 3.4028235e38f);
    EXPECT_EQ(KUnit_m.ConversionFactorTo(undefined), HUGE_VALF) << "a zero target is no fault";

    KDimensionalValue value(2.5f, &KUnit_cm);
    value.SetUnit(&KUnit_mm);
    EXPECT_FLOAT_EQ(value.GetValue(), 25.0f);
    EXPECT_STREQ(value.GetUnit()->GetName(), "mm");
    EXPECT_FLOAT_EQ(value.GetValue(&KUnit_m), 0.025f);
    EXPECT_FLOAT_EQ(value.GetValue(nullptr), 25.0f);
    value.SetUnit(nullptr);
    value.SetUnit(value.GetUnit());  // its own unit
    EXPECT_FLOAT_EQ(value.GetValue(), 25.0f);
    EXPECT_TRUE(std::isinf(KDimensionalValue(2.0f, nullptr).GetValue(&KUnit_m))) << "2 x 3.4028235e38";

    value.SetValue(4.0f, &KUnit_inch);
    EXPECT_EQ(value.GetValue(), 4.0f) << "no conversion";
    value.SetValue(6.0f, nullptr);
    EXPECT_EQ(value.GetValue(), 6.0f);
    EXPECT_EQ(value.GetUnit()->GetMagnitude(), 0.0254f) << "the unit of the first SetValue";
    const KDimensionalValue copy(value);
    value = KDimensionalValue(7.0f, &KUnit_yard);
    EXPECT_EQ(value.GetUnit()->GetMagnitude(), 0.9144f);
    EXPECT_STREQ(copy.GetUnit()->GetName(), "inch");
    EXPECT_EQ(copy.GetValue(), 6.0f);
}

}  // namespace
