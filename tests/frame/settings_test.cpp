#include <lumora/errors.h>
#include <lumora/settings.h>

#include "platform/clock.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

class AngleUnits : public ::testing::Test {
protected:
    void TearDown() override { KSetAngleUnit(K_ANGLE_UNIT_DEGREES); }
};

TEST_F(AngleUnits, DegreesByDefaultAndEachUnitHasItsExactFactorAndName) {
    EXPECT_EQ(KGetAngleUnit(), K_ANGLE_UNIT_DEGREES);
    EXPECT_EQ(KToRadians(1.0f), 0.01745329238474369f);
    struct Expected {
        K_ANGLE_UNITS unit;
        float unitsPerRadian;
        const char* name;
    };
    const Expected table[] = {
        {K_ANGLE_UNIT_REVOLUTIONS, 0.15915493667125702f, "Rev"},
        {K_ANGLE_UNIT_RADIANS, 1.0f, "Rad"},
        {K_ANGLE_UNIT_DEGREES, 57.2957763671875f, "Deg"},
        {K_ANGLE_UNIT_GRADIANS, 63.6619758605957f, "Grad"},
    };
    for (const Expected& e : table) {
        KSetAngleUnit(e.unit);
        EXPECT_EQ(KGetError(), 0);
        EXPECT_EQ(KGetAngleUnit(), e.unit);
        EXPECT_STREQ(KGetAngleUnitName(), e.name);
        EXPECT_EQ(KFromRadians(1.0f), e.unitsPerRadian);
        volatile float one = 1.0f;
        EXPECT_EQ(KToRadians(1.0f), one / e.unitsPerRadian);
    }
    KSetAngleUnit(K_ANGLE_UNIT_REVOLUTIONS);
    EXPECT_NEAR(KToRadians(1.0f), 6.2831855f, 1e-6f);
}

TEST_F(AngleUnits, AnUnknownUnitIsStoredButKeepsTheFactors) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KSetAngleUnit(K_ANGLE_UNIT_GRADIANS);
    KSetAngleUnit(static_cast<K_ANGLE_UNITS>(7));
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    EXPECT_EQ(KGetAngleUnit(), 7);
    EXPECT_STREQ(KGetAngleUnitName(), "");
    EXPECT_EQ(KFromRadians(1.0f), 63.6619758605957f);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Function: KSetAngleUnit\nParameter 1 out of range - See Reference Manual");
    KSetAngleUnit(static_cast<K_ANGLE_UNITS>(-1));
    EXPECT_STREQ(KGetAngleUnitName(), "");
}

TEST(StepPlanner, UnitPatternGivesTheMeanDistanceStep) {
    unsigned int skewCount = 0, scaleCount = 0;
    float skewStep = 0, scaleStep = 0;
    KSkewScaleSteps(1, 1, 0.0f, skewCount, skewStep, 0.0f, scaleCount, scaleStep, 0);
    EXPECT_NEAR(skewStep, 1.0f / 0.38260f, 1e-3f);
    EXPECT_EQ(skewStep, scaleStep);
    EXPECT_EQ(skewCount, 1u);
    EXPECT_EQ(scaleCount, 1u);
}

TEST(StepPlanner, CountsRoundHalfAwayFromZeroAndAdjustCoversTheRange) {
    unsigned int skewCount = 0, scaleCount = 0;
    float skewStep = 0, scaleStep = 0;
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

TEST(Stopwatch, MeasuresWithTheCounterOrTheSystemClock) {
    for (bool counter : {true, false}) {
        lumora::platform::SetPerformanceCounterAvailable(counter);
        KStartTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const int elapsed = KStopTiming(1000);
        EXPECT_GE(elapsed, 19) << "counter " << counter;
        EXPECT_LT(elapsed, 5000) << "counter " << counter;
        KStartTiming();
        EXPECT_LT(KStopTiming(1000), 1000);
    }
    lumora::platform::SetPerformanceCounterAvailable(false);
    EXPECT_EQ(KTrueTimingResolution(), 1000);
    lumora::platform::SetPerformanceCounterAvailable(true);
    EXPECT_EQ(KTrueTimingResolution(), 1000000000);
}

TEST(Stopwatch, MarksArePerThread) {
    KStartTiming();
    std::thread([] {
        KStartTiming();
        EXPECT_LT(KStopTiming(1000), 1000);
    }).join();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(KStopTiming(1000000), 4000);
}

TEST(Switches, StoreWhatTheyAreGiven) {
    EXPECT_EQ(KGetRecursiveCopyBehavior(), 1);
    KSetRecursiveCopyBehavior(0);
    EXPECT_EQ(KGetRecursiveCopyBehavior(), 0);
    KSetRecursiveCopyBehavior(1);
    const int mmx = KGetMMX();
#if defined(__x86_64__)
    EXPECT_EQ(mmx, 1) << "every x86-64 processor has MMX";
#endif
    KSetMMX(0);
    EXPECT_EQ(KGetMMX(), 0);
    KSetMMX(mmx);
}

}  // namespace
