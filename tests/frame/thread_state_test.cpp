#include <lumora/errors.h>
#include <lumora/lifecycle.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace {

using SuccessFailure = std::pair<int, int>;

TEST(ErrorWord, EachThreadHasItsOwnWordModeAndSettings) {
    MessageBoxCapture restore(K_TRACE_SILENT);
    KSetError(K_ERROR_FILE_READ);
    KGetTLSPtr()->m_un32JpegQuality = 90;
    // A fresh thread reads its initial record without any KOk: byte for byte.
    QuillTLSStruct expected;
    std::memset(&expected, 0, sizeof expected);
    expected.m_eTraceMode = K_TRACE_MESSAGE_BOX;
    expected.m_GrayPaletteDescription.palVersion = 0x300;
    expected.m_ColorCubePaletteDescription.palVersion = 0x300;
    expected.m_un32JpegQuality = 50;
    expected.m_un8TiffThreshold = 128;
    expected.m_un32TiffStripSize = 8192;
    expected.m_aun8Color[2] = 255;
    unsigned char seen[sizeof(QuillTLSStruct)] = {};
    std::thread([&] {
        std::memcpy(seen, KGetTLSPtr(), sizeof seen);
        KSetError(K_ERROR_FILE_WRITE);
        KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
        KGetTLSPtr()->m_un32JpegQuality = 10;
    }).join();
    EXPECT_EQ(std::memcmp(seen, &expected, sizeof seen), 0);
    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    EXPECT_EQ(KGetTraceMode(), K_TRACE_SILENT);
    EXPECT_EQ(KGetTLSPtr()->m_un32JpegQuality, 90u);
    KGetTLSPtr()->m_un32JpegQuality = 50;

    std::vector<std::thread> threads;
    std::vector<int> mismatches(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &mismatches] {
            for (int i = 0; i < 2000; ++i) {
                const auto code = static_cast<K_ERRORS>(1000 + t * 100 + i % 50);
                KSetError(code);
                std::this_thread::yield();
                mismatches[t] += KGetError() != code;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(8, 0)) << "many threads never see each other's codes";
}

TEST(Lifecycle, WithoutPerThreadStateQueriesAnswer32765) {
    MessageBoxCapture boxes;
    KInternalDllMain(nullptr, K_DLL_PROCESS_DETACH, nullptr);
    EXPECT_EQ(KGetTLSPtr(), nullptr);
    EXPECT_EQ(KGetError(), 32765);
    EXPECT_EQ(SuccessFailure(KSuccess(), KFailure()), SuccessFailure(0, 1));
    EXPECT_STREQ(KGetErrorText(), KGetErrorText(K_ERROR_SYSTEM_FAILURE));
    EXPECT_EQ(KGetTraceMode(), K_TRACE_SILENT);
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

// Heap records are released when closed, replaced or their thread ends; the
// leak checker of the sanitizer build reports any that is not.
TEST(Lifecycle, ClosedOrReplacedRecordsGiveFreshOnesAndEndingThreadsReleaseTheirs) {
    std::thread([] {
        KGetTLSPtr()->m_un32JpegQuality = 75;
        KSetError(K_ERROR_FILE_READ);
        CloseThreadLocalStorage();
        ASSERT_NE(KGetTLSPtr(), nullptr);
        EXPECT_EQ(KGetTLSPtr()->m_un32JpegQuality, 50u);
        EXPECT_EQ(KGetError(), 0);
        KSetError(K_ERROR_FILE_READ);
        QuillTLSStruct* fresh = InitializeThreadLocalStorage();
        EXPECT_EQ(KGetTLSPtr(), fresh);
        EXPECT_EQ(KGetError(), 0);
        fresh = InitializeThreadLocalStorage();  // replaces, and releases, the previous one
        EXPECT_EQ(KGetTLSPtr(), fresh);
    }).join();
    for (int i = 0; i < 16; ++i) {
        std::thread([] { KSetError(K_ERROR_FILE_READ); }).join();
    }
    std::thread([] {}).join();  // a thread that never used the library
    auto* bytes = static_cast<unsigned char*>(Lumora_Malloc(64));
    bytes[63] = 1;
    Lumora_Free(bytes);

    // The loading thread's record lives in static storage: reset, not freed.
    QuillTLSStruct* record = KGetTLSPtr();
    record->m_un32TiffStripSize = 4096;
    KSetError(K_ERROR_FILE_READ);
    KInternalDllMain(nullptr, K_DLL_THREAD_DETACH, nullptr);
    EXPECT_EQ(KGetTLSPtr(), record);
    EXPECT_EQ(record->m_un32TiffStripSize, 8192u);
    EXPECT_EQ(KGetError(), 0);
}

}  // namespace
