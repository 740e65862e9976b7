#include <lumora/errors.h>
#include <lumora/settings.h>

#include "platform/clock.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Unknown units are stored and reported, but keep the previous factors.
TEST(AngleUnits, EachUnitHasItsExactFactorsAndNameAndUnknownUnitsKeepTheFactors) {
    EXPECT_EQ(KGetAngleUnit(), K_ANGLE_UNIT_DEGREES) << "the default";
    EXPECT_EQ(KToRadians(1.0f), 0.01745329238474369f);
    MessageBoxCapture boxes;
    const float grad = 63.6619758605957f;
    const K_ERRORS ok = K_SUCCESS, unknown = K_ERROR_PARAMETER_1_OUT_OF_RANGE;
    const struct {
        int unit;
        float unitsPerRadian;
        const char* name;
        K_ERRORS error;
    } table[] = {
        {K_ANGLE_UNIT_RADIANS, 1.0f, "Rad", ok},   {K_ANGLE_UNIT_DEGREES, 57.2957763671875f, "Deg", ok},
        {K_ANGLE_UNIT_GRADIANS, grad, "Grad", ok}, {7, grad, "", unknown},
        {4, grad, "", unknown},                    {-1, grad, "", unknown},
        {K_ANGLE_UNIT_REVOLUTIONS, 0.15915493667125702f, "Rev", ok},
    };
    for (const auto& e : table) {
        KSetError(K_ERROR_INTERNAL);
        KSetAngleUnit(static_cast<K_ANGLE_UNITS>(e.unit));
        EXPECT_EQ(KGetError(), e.error) << e.unit;
        EXPECT_EQ(KGetAngleUnit(), e.unit);
        EXPECT_STREQ(KGetAngleUnitName(), e.name);
        EXPECT_EQ(KFromRadians(1.0f), e.unitsPerRadian) << e.unit;
        volatile float one = 1.0f;
        EXPECT_EQ(KToRadians(1.0f), one / e.unitsPerRadian) << e.unit;
    }
    EXPECT_NEAR(KToRadians(1.0f), 6.2831855f, 1e-6f) << "a revolution in radians";
    KSetAngleUnit(K_ANGLE_UNIT_DEGREES);
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Function: KSetAngleUnit\nParameter 1 out of range - See Reference Manual");
}

TEST(StepPlanner, MeanDistanceStepsCountsRoundedHalfAwayFromZeroAndAdjustedSteps) {
    unsigned int skewCount = 0, scaleCount = 0;
    float skewStep = 0, scaleStep = 0;
    KSkewScaleSteps(1, 1, 0.0f, skewCount, skewStep, 0.0f, scaleCount, scaleStep, 0);
    EXPECT_NEAR(skewStep, 1.0f / 0.38260f, 1e-3f) << "the unit square";
    EXPECT_EQ(skewStep, scaleStep);
    EXPECT_EQ(skewCount, 1u);
    EXPECT_EQ(scaleCount, 1u);

    KSkewScaleSteps(100, 50, 0.5f, skewCount, skewStep, 0.2f, scaleCount, scaleStep, 0);
    const float q = skewStep;
    EXPECT_EQ(skewCount, static_cast<unsigned int>(0.5f / q + 0.5f) + 1u);
    EXPECT_EQ(scaleCount, static_cast<unsigned int>(0.2f / q + 0.5f) + 1u);
    KSkewScaleSteps(100, 50, 0.5f, skewCount, skewStep, 0.2f, scaleCount, scaleStep, 1);
    EXPECT_FLOAT_EQ(skewStep * static_cast<float>(skewCount - 1), 0.5f);
    EXPECT_FLOAT_EQ(scaleStep * static_cast<float>(scaleCount - 1), 0.2f);
    KSkewScaleSteps(100, 50, -0.5f, skewCount, skewStep, 0.0f, scaleCount, scaleStep, 0);
    EXPECT_EQ(static_cast<int>(skewCount), -static_cast<int>(0.5f / q + 0.5f) + 1);
    EXPECT_EQ(scaleCount, 1u);

    // Degenerate patterns and absurd ranges stay defined (checked by UBSan).
    KSkewScaleSteps(0, 0, 1.0f, skewCount, skewStep, 1.0f, scaleCount, scaleStep, 1);
    KSkewScaleSteps(1, 1, 1e30f, skewCount, skewStep, -1e30f, scaleCount, scaleStep, 0);
}

TEST(Stopwatch, MeasuresWithTheCounterOrTheSystemClockAndMarksArePerThread) {
    for (bool counter : {true, false}) {
        lumora::platform::SetPerformanceCounterAvailable(counter);
        EXPECT_EQ(KTrueTimingResolution(), counter ? 1000000000 : 1000);
        KStartTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::thread([] {  // another thread's marks leave this thread's alone
            KStartTiming();
            EXPECT_LT(KStopTiming(1000), 1000);
        }).join();
        const int elapsed = KStopTiming(100000);
        EXPECT_GE(elapsed, 1900) << "counter " << counter;
        EXPECT_LT(elapsed, 500000) << "counter " << counter;
    }
    lumora::platform::SetPerformanceCounterAvailable(true);
}

TEST(Switches, CopiesRecurseByDefaultAndX86ProcessorsHaveMmx) {
    EXPECT_EQ(KGetRecursiveCopyBehavior(), 1);
#if defined(__x86_64__)
    EXPECT_EQ(KGetMMX(), 1);
#endif
}

}  // namespace
