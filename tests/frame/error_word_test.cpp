#include <lumora/errors.h>
#include <lumora/exception.h>
#include <lumora/lifecycle.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(ErrorWord, SuccessAndFailureFollowThe1000Threshold) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    EXPECT_EQ(KSetError(static_cast<K_ERRORS>(999)), 999);
    EXPECT_EQ(KSuccess(), 1);
    EXPECT_EQ(KFailure(), 0);
    EXPECT_EQ(KTraceError("Test::Warning"), 999);
    EXPECT_EQ(boxes.Count(), 0u);

    KSetError(static_cast<K_ERRORS>(1000));
    EXPECT_EQ(KSuccess(), 0);
    EXPECT_EQ(KFailure(), 1);
    EXPECT_EQ(KOk(), K_SUCCESS);
    EXPECT_EQ(KGetError(), 0);
}

TEST(ErrorWord, EachThreadHasItsOwnWordModeAndSettings) {
    KSetError(K_ERROR_FILE_READ);
    KSetTraceMode(K_TRACE_SILENT);
    QuillTLSStruct* mine = KGetTLSPtr();
    mine->m_un32JpegQuality = 90;

    K_ERRORS otherError = K_ERROR_INTERNAL;
    K_TRACE_MODE otherMode = K_TRACE_SILENT;
    QuillTLSStruct otherRecord{};
    std::thread other([&] {
        otherError = KGetError();  // a fresh thread reads 0 without any KOk
        otherMode = KGetTraceMode();
        otherRecord = *KGetTLSPtr();
        KSetError(K_ERROR_FILE_WRITE);
        KSetTraceMode(K_TRACE_FULL_MESSAGE_BOX);
    });
    other.join();

    EXPECT_EQ(otherError, K_SUCCESS);
    EXPECT_EQ(otherMode, K_TRACE_MESSAGE_BOX);
    EXPECT_EQ(otherRecord.m_un32JpegQuality, 50u);
    EXPECT_EQ(otherRecord.m_un8TiffThreshold, 128);
    EXPECT_EQ(otherRecord.m_un32TiffStripSize, 8192u);
    EXPECT_EQ(otherRecord.m_GrayPaletteDescription.palVersion, 0x300);
    EXPECT_EQ(otherRecord.m_GrayPaletteDescription.palNumEntries, 0);
    EXPECT_EQ(otherRecord.m_ColorCubePaletteDescription.palVersion, 0x300);
    EXPECT_EQ(otherRecord.m_ColorCubePaletteDescription.palNumEntries, 0);
    EXPECT_EQ(otherRecord.m_hGrayPalette, nullptr);
    EXPECT_EQ(otherRecord.m_hImageDC, nullptr);
    EXPECT_EQ(otherRecord.m_aun8Color[0], 0);
    EXPECT_EQ(otherRecord.m_aun8Color[1], 0);
    EXPECT_EQ(otherRecord.m_aun8Color[2], 255);
    EXPECT_EQ(otherRecord.m_aun32Words[0] | otherRecord.m_aun32Words[1] | otherRecord.m_aun32Words[2], 0u);

    EXPECT_EQ(KGetError(), K_ERROR_FILE_READ);
    EXPECT_EQ(KGetTraceMode(), K_TRACE_SILENT);
    EXPECT_EQ(KGetTLSPtr()->m_un32JpegQuality, 90u);
    mine->m_un32JpegQuality = 50;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KOk();
}

TEST(ErrorWord, ManyThreadsNeverSeeEachOthersCodes) {
    constexpr int kThreads = 8;
    std::vector<std::thread> threads;
    std::vector<int> mismatches(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &mismatches] {
            TraceSilent();
            for (int i = 0; i < 2000; ++i) {
                const auto code = static_cast<K_ERRORS>(1000 + t * 100 + i % 50);
                KSetError(code);
                std::this_thread::yield();
                if (KGetError() != code) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(mismatches[t], 0) << "thread " << t;
    }
}

TEST(LibraryException, CarriesItsCodeAndText) {
    try {
        throw Corvane::Lumora::Exception(K_ERROR_NEEDS_SPECIALIZATION);
    } catch (const Corvane::Exception& caught) {
        EXPECT_STREQ(caught.GetText(), KGetErrorText(K_ERROR_NEEDS_SPECIALIZATION));
        const auto& typed = dynamic_cast<const Corvane::Lumora::Exception&>(caught);
        Corvane::Lumora::Exception copy = typed;
        EXPECT_EQ(copy.GetCode(), 1031);
    }
}

}  // namespace
