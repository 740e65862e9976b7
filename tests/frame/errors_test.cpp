#include <lumora/errors.h>
#include <lumora/exception.h>

#include "platform/utf16.h"
#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Row = std::pair<int, const char*>;

constexpr Row kTable[] = {
#define LUMORA_ERROR(name, code, text) {code, text},
#include <lumora/error_codes.inc>
#undef LUMORA_ERROR
};

TEST(ErrorText, KeepsTheHistoricalTextsLetterForLetter) {
    const Row spots[] = {
        {0, "Success"},
        {1006, "Inalvid data size - Check type compatibility"},
        {1031, "Template call needs specialization  - Please contact Technical Support"},
        {1053, "This is property is undefined and may not be accessed."},
        {1112, "An unexpected error occured during archive access."},
        {1302, "Unsufficient memory allocation - Contact Technical Support"},
        {1403, "Images not of the same size - Adjust image size( s)"},
        {1504, "Maximum pixels in countour reached - Contact Technical Support"},
        {32765, "Cannot trace errors because of a system failure - Contact Technical Support"},
    };
    for (const Row& spot : spots) {
        EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(spot.first)), spot.second) << spot.first;
    }
    EXPECT_EQ(std::size(kTable), 149u);
}

// Unknown codes print as signed 16-bit numbers (40000 as -25536); -32768 is
// the longest text of the 44-byte buffer.
TEST(ErrorText, EveryCodeAnswersItsOwnTextAndGapsAnswerTheUnknownText) {
    std::set<int> known;
    for (const Row& row : kTable) {
        known.insert(row.first);
        EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(row.first)), row.second) << row.first;
    }
    for (int code = -70000; code <= 70000; ++code) {
        if (!known.count(code)) {
            ASSERT_EQ(KGetErrorText(static_cast<K_ERRORS>(code)),
                      "Unknown error code: " + std::to_string(static_cast<short>(code)))
                << code;
        }
    }
}

TEST(ErrorText, WideFormCurrentCodeVersionAndExceptions) {
    KSetError(static_cast<K_ERRORS>(1105));
    EXPECT_EQ(lumora::platform::Utf16ToUtf8(KGetErrorTextUnicode(static_cast<K_ERRORS>(1403))),
              "Images not of the same size - Adjust image size( s)");
    // A shorter text after a longer one in the shared buffer.
    EXPECT_EQ(lumora::platform::Utf16ToUtf8(KGetErrorTextUnicode()), "Bad file format - Check file source or contents");
    EXPECT_STREQ(KGetErrorText(), "Bad file format - Check file source or contents");
    try {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } catch (const Corvane::Exception& caught) {
        EXPECT_STREQ(caught.GetText(), KGetErrorText(K_ERROR_NEEDS_SPECIALIZATION)) << "not the error word's";
        EXPECT_EQ(dynamic_cast<const Corvane::Lumora::Exception&>(caught).GetCode(), 1031);
    }
    KOk();
    EXPECT_STREQ(KGetErrorText(), "Success");
    EXPECT_STREQ(KGetVersion(), "6.7.1.0");
    EXPECT_EQ(lumora::platform::Utf16ToUtf8(KGetVersionUnicode()), "6.7.1.0");
}

class Trace : public ::testing::Test {
protected:
    // The boxes shown since the last call, each with the trace caption and style.
    void ExpectBoxes(const std::vector<std::string>& texts) {
        std::vector<std::string> shown;
        for (const CapturedBox& box : boxes.Boxes()) {
            shown.push_back(box.text);
            EXPECT_EQ(box.caption, "KTrace");
            EXPECT_EQ(box.style, 0x2030u);
        }
        EXPECT_EQ(shown, texts);
        boxes.Clear();
    }
    MessageBoxCapture boxes;
};

// Codes below 1000 are successes or warnings, never traced; 1000 and up are
// failures, shown in trace modes 0 and 2 only.
TEST_F(Trace, The1000ThresholdAndTheModesThatShowAFailure) {
    using SuccessFailure = std::pair<int, int>;
    EXPECT_EQ(KSetError(static_cast<K_ERRORS>(999)), 999);
    EXPECT_EQ(SuccessFailure(KSuccess(), KFailure()), SuccessFailure(1, 0));
    EXPECT_EQ(KTraceError("Test::Warning"), 999);
    ExpectBoxes({});
    EXPECT_EQ(KSetError(static_cast<K_ERRORS>(1000)), 1000);
    EXPECT_EQ(SuccessFailure(KSuccess(), KFailure()), SuccessFailure(0, 1));
    KTraceError(nullptr);
    ExpectBoxes({"Function: \nNot a valid descriptor - Contact Technical Support"});
    KSetError(K_ERROR_SIZE_MISMATCH);
    EXPECT_EQ(KTraceError("KROI::SameSize"), K_ERROR_SIZE_MISMATCH);
    ExpectBoxes({"Function: KROI::SameSize\nImages not of the same size - Adjust image size( s)"});
    EXPECT_EQ(KGetError(), K_ERROR_SIZE_MISMATCH) << "tracing keeps the error word";
    for (int mode : {1, 3, 4, 5, 6, 7, 8, -1}) {
        KSetTraceMode(static_cast<K_TRACE_MODE>(mode));
        KTraceError("Quiet");
    }
    ExpectBoxes({});
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    KTraceError("Loud");
    ExpectBoxes({"Function: Loud\nImages not of the same size - Adjust image size( s)"});
    EXPECT_EQ(KOk(), K_SUCCESS);
    EXPECT_EQ(KGetError(), 0);
    TraceSilent();
    EXPECT_EQ(KGetTraceMode(), K_TRACE_SILENT);
}

// A wrapped call's failure is shown once, with the caller's file and line, in
// mode 2 only; the flag is cleared by a failure and kept by a success or warning.
TEST_F(Trace, AWrappedCallIsReportedOnceWithFileAndLine) {
    const struct {
        K_TRACE_MODE mode;
        int error;
        K_TRACE_MODE after;
        std::vector<std::string> shown;
    } rows[] = {
        {K_TRACE_FULL_MESSAGE_BOX, 1102, K_TRACE_FULL_MESSAGE_BOX,
         {"File caller.cpp, line 42\nLoadIt()\nFile could not be opened - Check file pathname, troubleshoot disk device"}},
        {K_TRACE_MESSAGE_BOX, 1102, K_TRACE_MESSAGE_BOX, {}},
        {K_TRACE_FULL_MESSAGE_BOX, 0, K_TRACE_MODE(6), {}},
        {K_TRACE_MESSAGE_BOX, 500, K_TRACE_MODE(4), {}},
    };
    for (const auto& row : rows) {
        KSetTraceMode(row.mode);
        KKTraceTraceMode();
        EXPECT_EQ(KGetTraceMode(), row.mode | 4);
        KSetError(static_cast<K_ERRORS>(row.error));
        KTraceError("Inner::Operation");  // silent: the wrapped-call flag is set
        EXPECT_EQ(KTraceFullError("caller.cpp", 42, "LoadIt()"), row.error);
        EXPECT_EQ(KGetTraceMode(), row.after) << row.error;
        ExpectBoxes(row.shown);
    }
    KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    const int line = __LINE__ + 1;
    KTRACE(KSetError(K_ERROR_FILE_READ));
    ExpectBoxes({"File " __FILE__ ", line " + std::to_string(line) +
                 "\nKSetError(K_ERROR_FILE_READ)\nFile error while reading - Check file integrity, troubleshoot disk device"});
}

}  // namespace
