#include "platform/message_box.h"

#include <lumora/message_box.h>

#include <gtest/gtest.h>

namespace lumora::platform {
namespace {

TEST(MessageBox, DefaultWritesOneLineToStandardError) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "Function: X\nSome failure", "KTrace", 0x2030), kMessageBoxResultOk);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "KTrace: Function: X | Some failure\n");
}

TEST(MessageBox, AnInstalledHandlerReceivesEveryBox) {
    struct Seen {
        std::string text, caption;
        unsigned int style = 0;
        int calls = 0;
    } seen;
    KSetMessageBoxHandler(
        [](const char* text, const char* caption, unsigned int style, void* context) {
            auto* s = static_cast<Seen*>(context);
            s->text = text;
            s->caption = caption;
            s->style = style;
            ++s->calls;
            return 7;
        },
        &seen);
    EXPECT_EQ(MessageBox(nullptr, "body", "title", 0x30), 7);
    KSetMessageBoxHandler(nullptr, nullptr);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.text, "body");
    EXPECT_EQ(seen.caption, "title");
    EXPECT_EQ(seen.style, 0x30u);
}

}  // namespace
}  // namespace lumora::platform
