#include <lumora/errors.h>
#include <lumora/lifecycle.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(Lifecycle, WithoutPerThreadStateQueriesAnswer32765) {
    MessageBoxCapture boxes;
    KInternalDllMain(nullptr, K_DLL_PROCESS_DETACH, nullptr);
    EXPECT_EQ(KGetTLSPtr(), nullptr);
    EXPECT_EQ(KGetError(), 32765);
    EXPECT_EQ(KSuccess(), 0);
    EXPECT_EQ(KFailure(), 1);
    EXPECT_STREQ(KGetErrorText(), KGetErrorText(K_ERROR_SYSTEM_FAILURE));
    EXPECT_EQ(KTraceError("Nobody"), K_ERROR_SYSTEM_FAILURE);
    EXPECT_EQ(KTraceFullError("f", 1, "g"), 32765);
    EXPECT_EQ(KOk(), K_SUCCESS);  // stores nothing, but does not crash
    EXPECT_EQ(KGetError(), 32765);
    EXPECT_EQ(boxes.Count(), 0u);

    EXPECT_EQ(KInternalDllMain(nullptr, K_DLL_PROCESS_ATTACH, nullptr), 1);
    ASSERT_NE(KGetTLSPtr(), nullptr);
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(KInternalDllMain(nullptr, 77, nullptr), 1);
    EXPECT_EQ(KInternalDllMain(nullptr, K_DLL_THREAD_ATTACH, nullptr), 1);
}

TEST(Lifecycle, ClosingAThreadsRecordGivesAFreshOneOnNextUse) {
    std::thread worker([] {
        QuillTLSStruct* first = KGetTLSPtr();
        first->m_un32JpegQuality = 75;
        KSetError(K_ERROR_FILE_READ);
        CloseThreadLocalStorage();
        QuillTLSStruct* second = KGetTLSPtr();
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->m_un32JpegQuality, 50u);
        EXPECT_EQ(KGetError(), 0);
    });
    worker.join();
}

TEST(Lifecycle, InitializeMakesANewRecordEachTime) {
    std::thread worker([] {
        KSetError(K_ERROR_FILE_READ);
        QuillTLSStruct* fresh = InitializeThreadLocalStorage();
        EXPECT_EQ(KGetTLSPtr(), fresh);
        EXPECT_EQ(KGetError(), 0);
        QuillTLSStruct* again = InitializeThreadLocalStorage();
        EXPECT_EQ(KGetTLSPtr(), again);
    });
    worker.join();
}

TEST(Lifecycle, ThreadsThatEndReleaseTheirRecords) {
    // Each thread's heap record is released by the thread-detach step; the
    // leak checker of the sanitizer build would report any that is not.
    for (int i = 0; i < 16; ++i) {
        std::thread([] { KSetError(K_ERROR_FILE_READ); }).join();
    }
    std::thread([] {}).join();  // a thread that never used the library
    EXPECT_EQ(KGetError(), 0);
}

TEST(Lifecycle, TheAttachingThreadsRecordIsResetNotFreed) {
    QuillTLSStruct* record = KGetTLSPtr();
    record->m_un32TiffStripSize = 4096;
    KSetError(K_ERROR_FILE_READ);
    KInternalDllMain(nullptr, K_DLL_THREAD_DETACH, nullptr);
    EXPECT_EQ(KGetTLSPtr(), record);
    EXPECT_EQ(record->m_un32TiffStripSize, 8192u);
    EXPECT_EQ(KGetError(), 0);
}

TEST(Lifecycle, SharedAllocatorRoundTrips) {
    Lumora_Free(nullptr);
    auto* bytes = static_cast<unsigned char*>(Lumora_Malloc(64));
    ASSERT_NE(bytes, nullptr);
    bytes[63] = 1;
    Lumora_Free(bytes);
    Corvane::Lumora::Initialize();
    Corvane::Lumora::Terminate();
}

}  // namespace
