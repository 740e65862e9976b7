#include <lumora/errors.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

namespace {

class Trace : public ::testing::Test {
protected:
    MessageBoxCapture boxes;
};

TEST_F(Trace, ModeZeroShowsOneBoxPerTracedFailure) {
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KSetError(K_ERROR_SIZE_MISMATCH);
    EXPECT_EQ(KTraceError("KROI::SameSize"), K_ERROR_SIZE_MISMATCH);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "KTrace");
    EXPECT_EQ(shown[0].style, 0x2030u);
    EXPECT_EQ(shown[0].text, "Function: KROI::SameSize\nImages not of the same size - Adjust image size( s)");
    EXPECT_EQ(KGetError(), K_ERROR_SIZE_MISMATCH) << "tracing never changes the error word";
}

TEST_F(Trace, OnlyModesZeroAndTwoShowAnything) {
    for (int mode : {1, 3, 4, 5, 6, 7, 8, -1}) {
        KSetTraceMode(static_cast<K_TRACE_MODE>(mode));
        KSetError(K_ERROR_INTERNAL);
        KTraceError("Quiet");
    }
    EXPECT_EQ(boxes.Count(), 0u);
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    KTraceError("Loud");
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(Trace, WrappedFailureInModeTwoShowsOneBoxWithFileAndLine) {
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    KKTraceTraceMode();
    EXPECT_EQ(KGetTraceMode(), 6);
    KSetError(K_ERROR_FILE_OPEN);
    KTraceError("Inner::Operation");  // silent: the wrapped-call flag is set
    EXPECT_EQ(KTraceFullError("caller.cpp", 42, "LoadIt()"), 1102);
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "KTrace");
    EXPECT_EQ(shown[0].style, 0x2030u);
    EXPECT_EQ(shown[0].text,
              "File caller.cpp, line 42\nLoadIt()\nFile could not be opened - Check file pathname, troubleshoot disk device");
    EXPECT_EQ(KGetTraceMode(), K_TRACE_FULL_MESSAGE_BOX);
}

TEST_F(Trace, WrappedFailureInModeZeroShowsNothingAndClearsTheFlag) {
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KKTraceTraceMode();
    KSetError(K_ERROR_FILE_OPEN);
    KTraceError("Inner");
    EXPECT_EQ(KTraceFullError("f.cpp", 1, "call"), 1102);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(KGetTraceMode(), K_TRACE_MESSAGE_BOX);
}

TEST_F(Trace, WrappedSuccessLeavesTheFlagSet) {
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    KKTraceTraceMode();
    KOk();
    EXPECT_EQ(KTraceFullError("f.cpp", 1, "call"), 0);
    EXPECT_EQ(KGetTraceMode(), 6);
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KKTraceTraceMode();
    KSetError(static_cast<K_ERRORS>(500));
    EXPECT_EQ(KTraceFullError("f.cpp", 1, "call"), 500);
    EXPECT_EQ(KGetTraceMode(), 4);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(Trace, TheWrappingMacroReportsTheCallersLine) {
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    const int line = __LINE__ + 1;
    KTRACE(KSetError(K_ERROR_FILE_READ));
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(", line " + std::to_string(line) + "\nKSetError(K_ERROR_FILE_READ)\n"),
              std::string::npos)
        << shown[0].text;
}

TEST_F(Trace, SilentHelperSetsModeOne) {
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    TraceSilent();
    EXPECT_EQ(KGetTraceMode(), K_TRACE_SILENT);
}

}  // namespace
