#include "platform/message_box.h"
#include "platform/tls.h"
#include "platform/utf16.h"

#include <lumora/message_box.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

namespace lumora::platform {
namespace {

TEST(MessageBox, GoesToTheInstalledHandlerOrAsOneLineToStandardError) {
    struct Seen {
        std::string text, caption;
        unsigned int style = 0;
        int calls = 0;
    } seen;
    KSetMessageBoxHandler(
        [](const char* text, const char* caption, unsigned int style, void* context) {
            auto* s = static_cast<Seen*>(context);
            *s = {text, caption, style, s->calls + 1};
            return 7;
        },
        &seen);
    EXPECT_EQ(MessageBox(nullptr, "body", "title", 0x30), 7);
    KSetMessageBoxHandler(nullptr, nullptr);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.text + "|" + seen.caption, "body|title");
    EXPECT_EQ(seen.style, 0x30u);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "Function: X\r\nSome failure", "KTrace", 0x2030), kMessageBoxResultOk);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "KTrace: Function: X | Some failure\n");
}

TEST(ThreadSlots, ValuesArePerThreadAndLookupsOnFreedSlotsFail) {
    const uint32_t slot = TlsAlloc();
    ASSERT_NE(slot, kTlsOutOfIndexes);
    int mine = 1;
    SetLastError(kErrorInvalidParameter);
    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_EQ(GetLastError(), kErrorSuccess) << "an empty slot is no error";
    ASSERT_TRUE(TlsSetValue(slot, &mine));
    void* seenByOther = &mine;
    std::thread([&] { seenByOther = TlsGetValue(slot); }).join();
    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(TlsGetValue(slot), &mine);
    ASSERT_TRUE(TlsSetValue(slot, nullptr));
    ASSERT_TRUE(TlsFree(slot));

    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
    EXPECT_FALSE(TlsSetValue(slot, &mine));
    EXPECT_FALSE(TlsFree(slot));
    SetLastError(kErrorSuccess);
    EXPECT_EQ(TlsGetValue(kTlsOutOfIndexes), nullptr);
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(Utf16, ConvertsBmpPairsAndBrokenSurrogatesAndOpensFilesByWidePath) {
    const unsigned short text[] = {'a', 0xB5, 0x20AC, 0xD83D, 0xDE00, 0xD800, 'z', 0xDC00, '!', 0};
    EXPECT_EQ(Utf16Length(text), 9u);
    EXPECT_EQ(Utf16ToUtf8(text), "a\xC2\xB5\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBDz\xEF\xBF\xBD!");
    EXPECT_EQ(Utf16Length(nullptr), 0u);
    EXPECT_EQ(Utf16ToUtf8(nullptr), "");

    const std::string dir = ::testing::TempDir();
    std::basic_string<unsigned short> wide(dir.begin(), dir.end());
    wide += {'w', 0xB5, '.', 'b', 'i', 'n'};
    const unsigned short writeMode[] = {'w', 'b', 0};
    FILE* file = OpenWideFile(wide.c_str(), writeMode);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(std::remove((dir + "w\xC2\xB5.bin").c_str()), 0) << "the UTF-8 name reaches the file system";
    const unsigned short empty[] = {0};
    EXPECT_EQ(OpenWideFile(empty, writeMode), nullptr);
    EXPECT_EQ(OpenWideFile(nullptr, writeMode), nullptr);
}

}  // namespace
}  // namespace lumora::platform
