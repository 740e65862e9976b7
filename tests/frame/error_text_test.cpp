#include <lumora/errors.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct Row {
    int code;
    const char* text;
};

constexpr Row kTable[] = {
#define LUMORA_ERROR(name, code, text) {code, text},
#include <lumora/error_codes.inc>
#undef LUMORA_ERROR
};

std::string Narrow(const unsigned short* wide) {
    std::string text;
    for (; *wide; ++wide) {
        text += static_cast<char>(*wide);
    }
    return text;
}

std::string UnknownText(int code) { return "Unknown error code: " + std::to_string(static_cast<short>(code)); }

TEST(ErrorText, KeepsTheHistoricalTextsLetterForLetter) {
    EXPECT_STREQ(KGetErrorText(K_SUCCESS), "Success");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1006)), "Inalvid data size - Check type compatibility");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1031)),
                 "Template call needs specialization  - Please contact Technical Support");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1112)), "An unexpected error occured during archive access.");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1053)),
                 "This is property is undefined and may not be accessed.");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1302)), "Unsufficient memory allocation - Contact Technical Support");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1403)), "Images not of the same size - Adjust image size( s)");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1504)), "Maximum pixels in countour reached - Contact Technical Support");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(32765)),
                 "Cannot trace errors because of a system failure - Contact Technical Support");
    EXPECT_EQ(std::size(kTable), 149u);
}

TEST(ErrorText, EveryCodeAnswersItsOwnTextAndGapsAnswerTheUnknownText) {
    std::set<int> known;
    for (const Row& row : kTable) {
        known.insert(row.code);
        EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(row.code)), row.text) << row.code;
    }
    for (int code = -70000; code <= 70000; ++code) {
        if (!known.count(code)) {
            ASSERT_EQ(KGetErrorText(static_cast<K_ERRORS>(code)), UnknownText(code)) << code;
        }
    }
}

TEST(ErrorText, UnknownCodesPrintAsSigned16BitNumbers) {
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(1001)), "Unknown error code: 1001");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(-5)), "Unknown error code: -5");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(40000)), "Unknown error code: -25536");
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(15101)), "Unknown error code: 15101");
    // The longest possible text still fits the 44-byte buffer with its end.
    EXPECT_STREQ(KGetErrorText(static_cast<K_ERRORS>(-32768)), "Unknown error code: -32768");
}

TEST(ErrorText, WideTextIsTheUtf16FormWhateverTheCurrentCode) {
    KSetError(static_cast<K_ERRORS>(1105));
    EXPECT_EQ(Narrow(KGetErrorTextUnicode(static_cast<K_ERRORS>(1403))),
              "Images not of the same size - Adjust image size( s)");
    EXPECT_EQ(Narrow(KGetErrorTextUnicode()), "Bad file format - Check file source or contents");
    EXPECT_STREQ(KGetErrorText(), "Bad file format - Check file source or contents");
    KOk();
    EXPECT_STREQ(KGetErrorText(), "Success");
}

TEST(Version, NarrowAndWideAgree) {
    EXPECT_STREQ(KGetVersion(), "6.7.1.0");
    EXPECT_EQ(Narrow(KGetVersionUnicode()), "6.7.1.0");
}

}  // namespace
