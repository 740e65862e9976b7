#include <lumora/errors.h>
#include <lumora/units.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Read during this file's dynamic initialisation: the units must already hold
// their values, whatever order the library's files are initialised in.
const float kMillimetreAtStartup = KUnit_mm.GetMagnitude();
const std::string kMicroNameAtStartup = KUnit_um.GetName();

// The constructors used for the predefined units run at compile time.
constexpr KMeasurementUnit kCompileTimeUnit(0.3048f, "feet");

TEST(PredefinedUnits, AreReadyBeforeDynamicInitialisation) {
    EXPECT_EQ(kMillimetreAtStartup, 0.001f);
    EXPECT_EQ(kMicroNameAtStartup, "\xB5m");
    EXPECT_EQ(kCompileTimeUnit.GetMagnitude(), KUnit_foot.GetMagnitude());
}

TEST(PredefinedUnits, NamesAndMagnitudes) {
    struct Row {
        KMeasurementUnit* unit;
        const char* name;
        float magnitude;
    };
    const Row rows[] = {
        {&KUnitNone, "None", 1.0f},    {&KUnit_um, "\xB5m", 1.0e-6f},  {&KUnit_mm, "mm", 0.001f},
        {&KUnit_cm, "cm", 0.01f},      {&KUnit_dm, "dm", 0.1f},        {&KUnit_m, "m", 1.0f},
        {&KUnit_dam, "Dm", 10.0f},     {&KUnit_hm, "Hm", 100.0f},      {&KUnit_km, "Km", 1000.0f},
        {&KUnit_mil, "mil", 2.54e-5f}, {&KUnit_inch, "inch", 0.0254f}, {&KUnit_foot, "feet", 0.3048f},
        {&KUnit_yard, "yard", 0.9144f}, {&KUnit_mile, "mile", 1609.344f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(row.unit->GetName(), row.name);
        EXPECT_EQ(row.unit->GetMagnitude(), row.magnitude);
        EXPECT_EQ(row.unit->IsPredefinedUnit(), 1);
        EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(row.name), row.unit);
    }
    const unsigned char micro[16] = {0xB5, 0x6D};
    EXPECT_EQ(std::memcmp(KUnit_um.GetName(), micro, sizeof micro), 0);
}

TEST(PredefinedUnits, LookupIsExactAndCaseSensitive) {
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("feet"), &KUnit_foot);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("foot"), nullptr);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("MM"), nullptr);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("Dm"), &KUnit_dam);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("dm"), &KUnit_dm);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("m "), nullptr);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(""), nullptr);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit(nullptr), nullptr);
    EXPECT_EQ(KMeasurementUnit::GetPredefinedUnit("Nonesuch-and-much-longer"), nullptr);
}

TEST(PredefinedUnits, IdentityNotEqualityMakesAUnitPredefined) {
    KMeasurementUnit lookalike(10.0f, "Dm");
    EXPECT_EQ(KUnit_dam.IsPredefinedUnit(), 1);
    EXPECT_EQ(lookalike.IsPredefinedUnit(), 0);
    EXPECT_EQ(KMeasurementUnit(&KUnit_dam).IsPredefinedUnit(), 0);
    KDimensionalValue value(3.0f, &KUnit_dam);
    EXPECT_EQ(value.GetUnit()->IsPredefinedUnit(), 0);
}

TEST(MeasurementUnit, ConversionFactors) {
    EXPECT_FLOAT_EQ(KUnit_mm.ConversionFactorTo(KUnit_m), 0.001f);
    EXPECT_NEAR(KUnit_inch.ConversionFactorTo(KUnit_mm), 25.4f, 1e-4f);
    EXPECT_FLOAT_EQ(KUnit_mile.ConversionFactorTo(KUnit_foot), 5280.0f);
    const KMeasurementUnit undefined;
    EXPECT_EQ(undefined.GetMagnitude(), 0.0f);
    EXPECT_EQ(undefined.ConversionFactorTo(KUnit_m), 3.4028235e38f);
    EXPECT_EQ(undefined.ConversionFactorTo(KUnit_m), FLT_MAX);
    const float toUndefined = KUnit_m.ConversionFactorTo(undefined);
    EXPECT_TRUE(std::isinf(toUndefined) && toUndefined > 0) << "a zero target is no fault";
}

TEST(MeasurementUnit, NamesAreCutToTheFieldAndZeroPadded) {
    KMeasurementUnit unit;
    EXPECT_STREQ(unit.GetName(), "");
    unit.SetName("abcdefghijklmnopqrst");
    EXPECT_STREQ(unit.GetName(), "abcdefghijklmno");
    unit.SetName("xy");
    const char expected[16] = {'x', 'y'};
    EXPECT_EQ(std::memcmp(unit.GetName(), expected, 16), 0) << "the rest of the old name is cleared";

    const unsigned short ten[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0};
    unit.SetNameUnicode(ten);
    const unsigned short seven[8] = {'0', '1', '2', '3', '4', '5', '6', 0};
    EXPECT_EQ(std::memcmp(unit.GetNameUnicode(), seven, 16), 0);
    EXPECT_STREQ(unit.GetName(), "0") << "both views share the bytes";

    EXPECT_STREQ(KMeasurementUnit(1.0f, "0123456789ABCDEFGH").GetName(), "0123456789ABCDE");
    const unsigned short um[] = {0xB5, 'm', 0};
    const KMeasurementUnit wide(1e-6f, um);
    EXPECT_EQ(wide.GetNameUnicode()[0], 0xB5);
    EXPECT_EQ(wide.GetNameUnicode()[2], 0);
    EXPECT_EQ(KMeasurementUnit(1.0f, ten).GetNameUnicode()[7], 0);

    unit.SetName(nullptr);
    EXPECT_STREQ(unit.GetName(), "");
}

TEST(MeasurementUnit, PointerConstructorCopiesMagnitudeAndName) {
    const KMeasurementUnit copy(&KUnit_inch);
    EXPECT_EQ(copy.GetMagnitude(), 0.0254f);
    EXPECT_STREQ(copy.GetName(), "inch");
    const KMeasurementUnit empty(static_cast<KMeasurementUnit*>(nullptr));
    EXPECT_EQ(empty.GetMagnitude(), 0.0f);
    EXPECT_STREQ(empty.GetName(), "");
}

TEST(DimensionalValue, DefaultIsOneInNone) {
    KDimensionalValue value;
    EXPECT_EQ(value.GetValue(), 1.0f);
    EXPECT_STREQ(value.GetUnit()->GetName(), "None");
    EXPECT_EQ(value.GetUnit()->GetMagnitude(), 1.0f);
    EXPECT_EQ(KDimensionalValue::GetVersion(), 3u);
}

TEST(DimensionalValue, SetUnitConvertsAndAdoptsACopy) {
    KDimensionalValue value(2.5f, &KUnit_cm);
    value.SetUnit(&KUnit_mm);
    EXPECT_FLOAT_EQ(value.GetValue(), 25.0f);
    EXPECT_STREQ(value.GetUnit()->GetName(), "mm");
    EXPECT_NE(value.GetUnit(), &KUnit_mm);
    EXPECT_FLOAT_EQ(value.GetValue(&KUnit_m), 0.025f);
    EXPECT_FLOAT_EQ(value.GetValue(nullptr), value.GetValue());

    value.SetUnit(nullptr);
    value.SetUnit(value.GetUnit());
    EXPECT_FLOAT_EQ(value.GetValue(), 25.0f);
    EXPECT_STREQ(value.GetUnit()->GetName(), "mm");

    KDimensionalValue undefined(2.0f, nullptr);
    EXPECT_TRUE(std::isinf(undefined.GetValue(&KUnit_m))) << "2 times 3.4028235e38 overflows";
}

TEST(DimensionalValue, SetValueWithAUnitDoesNotConvert) {
    KDimensionalValue value(2.5f, &KUnit_cm);
    value.SetValue(4.0f, &KUnit_inch);
    EXPECT_EQ(value.GetValue(), 4.0f);
    EXPECT_STREQ(value.GetUnit()->GetName(), "inch");
    value.SetValue(5.0f, nullptr);
    EXPECT_STREQ(value.GetUnit()->GetName(), "inch");
    value.SetValue(6.0f, value.GetUnit());
    EXPECT_EQ(value.GetValue(), 6.0f);
    EXPECT_EQ(value.GetUnit()->GetMagnitude(), 0.0254f);
}

TEST(DimensionalValue, AssignmentAndCopyTakeValueAndUnit) {
    const KDimensionalValue source(7.0f, &KUnit_yard);
    KDimensionalValue target;
    target = source;
    EXPECT_EQ(target.GetValue(), 7.0f);
    EXPECT_STREQ(target.GetUnit()->GetName(), "yard");
    const KDimensionalValue& same = target;
    target = same;
    EXPECT_EQ(target.GetValue(), 7.0f);
    KDimensionalValue copy(source);
    EXPECT_EQ(copy.GetUnit()->GetMagnitude(), 0.9144f);
}

}  // namespace
