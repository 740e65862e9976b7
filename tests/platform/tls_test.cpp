#include "platform/tls.h"

#include <gtest/gtest.h>

#include <thread>

namespace lumora::platform {
namespace {

TEST(ThreadSlots, ValuesArePerThreadAndLookupsOnFreedSlotsFail) {
    const uint32_t slot = TlsAlloc();
    ASSERT_NE(slot, kTlsOutOfIndexes);
    int mine = 1;
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
    EXPECT_EQ(TlsGetValue(kTlsOutOfIndexes), nullptr);
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

}  // namespace
}  // namespace lumora::platform
