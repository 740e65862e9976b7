#include "platform/utf16.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace lumora::platform {
namespace {

TEST(Utf16, ConvertsBmpPairsAndBrokenSurrogates) {
    const unsigned short text[] = {'a', 0xB5, 0x20AC, 0xD83D, 0xDE00, 0xD800, 'z', 0xDC00, 0};
    EXPECT_EQ(Utf16Length(text), 8u);
    EXPECT_EQ(Utf16ToUtf8(text), "a\xC2\xB5\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_EQ(Utf16Length(nullptr), 0u);
    EXPECT_EQ(Utf16ToUtf8(nullptr), "");
}

TEST(Utf16, OpensFilesByWidePath) {
    const std::string name = ::testing::TempDir() + "wide_\xC2\xB5.bin";
    std::basic_string<unsigned short> wide;
    for (unsigned char c : ::testing::TempDir() + "wide_") {
        wide += c;
    }
    wide += 0xB5;
    for (char c : std::string(".bin")) {
        wide += static_cast<unsigned char>(c);
    }
    const unsigned short writeMode[] = {'w', 'b', 0};
    FILE* file = OpenWideFile(wide.c_str(), writeMode);
    ASSERT_NE(file, nullptr);
    std::fputs("x", file);
    std::fclose(file);
    FILE* check = std::fopen(name.c_str(), "rb");
    ASSERT_NE(check, nullptr) << "the UTF-8 name is what reaches the file system";
    std::fclose(check);
    std::remove(name.c_str());

    const unsigned short empty[] = {0};
    EXPECT_EQ(OpenWideFile(empty, writeMode), nullptr);
    EXPECT_EQ(OpenWideFile(nullptr, writeMode), nullptr);
}

}  // namespace
}  // namespace lumora::platform
