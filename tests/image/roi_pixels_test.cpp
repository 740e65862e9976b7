#include <lumora/image.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RoiPixels : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

TEST_F(RoiPixels, NestedViewsAddressTheImageAtTheSumOfTheirOrigins) {
    KImage<KBW16> image(100, 50);
    KROI<KBW16> outer(&image, 10, 5, 50, 30);
    KROI<KBW16> inner(&outer, 3, 4, 10, 10);
    const auto* base = static_cast<unsigned char*>(image.GetGenericImagePtr(0, 0));
    EXPECT_EQ(inner.GetGenericImagePtr(0, 0), base + 9 * image.GetRowPitch() + 13 * 2);
    EXPECT_EQ(inner.GetImagePtr(2, 1), image.GetImagePtr(15, 10));
    EXPECT_EQ(inner.GetRowPitch(), image.GetRowPitch());
    EXPECT_EQ(image.GetRowPitch(), 200 + 16) << "1600 bits padded to 1728";
    EXPECT_EQ(inner.GetColPitch(), 2);
    EXPECT_EQ(inner.GetImgPitch(), image.GetRowPitch() * 10);
    EXPECT_EQ(inner.GetSkip(), image.GetRowPitch() - 20);

    inner.SetPixel(KBW16{4242}, 1, 1);
    EXPECT_EQ(image.GetPixel(14, 10).m_un16Value, 4242);
    EXPECT_EQ(outer.GetPixel(4, 5).m_un16Value, 4242);
    KROI<KBW16> loose;
    EXPECT_EQ(loose.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_EQ(loose.GetPixel(0, 0).m_un16Value, 0) << "a view without pixels reads zero";
    loose.SetPixel(KBW16{1}, 0, 0);
}

TEST_F(RoiPixels, PitchesForSeveralTypes) {
    EXPECT_EQ(KImage<KBW8>(640, 480).GetRowPitch(), 648);
    EXPECT_EQ(KImage<KC24>(10, 1).GetRowPitch(), 48);
    EXPECT_EQ(KImage<KBW1>(100, 10).GetRowPitch(), 24);
    EXPECT_EQ(KImage<KRaw96>(3, 1).GetRowPitch(), 48);
    EXPECT_EQ(KImage<KFLOAT64>(3, 1).GetRowPitch(), 24);
    EXPECT_EQ(KImage<KBW1>(8, 1).GetColPitch(), 0);
    EXPECT_EQ(KImage<KRaw96>(8, 1).GetColPitch(), 12);
    KImage<KBW1> bilevel(100, 10);
    KROI<KBW1> view(&bilevel, 3, 0, 10, 10);
    EXPECT_EQ(view.GetSkip(), (192 - 10) / 8);
}

TEST_F(RoiPixels, BilevelPixelsAreBitsFromTheTopOfEachByte) {
    KImage<KBW1> image(100, 10);
    std::memset(image.GetGenericImagePtr(0, 0), 0, static_cast<size_t>(image.GetRowPitch()) * 10);
    auto* base = static_cast<unsigned char*>(image.GetGenericImagePtr(0, 0));
    EXPECT_EQ(image.GetGenericImagePtr(17, 2), base + 50);
    EXPECT_EQ(image.GetBitIndex(17, 2), 1u);
    EXPECT_EQ(image.GetBitIndex(8, 0), 0u);

    image.SetPixel(KBW1{1}, 9, 0);
    EXPECT_EQ(base[1], 0x40);
    EXPECT_EQ(image.GetPixel(9, 0).m_un32Value, 1u);
    image.SetPixel(KBW1{77}, 15, 0);
    EXPECT_EQ(base[1], 0x41);
    EXPECT_EQ(image.GetPixel(15, 0).m_un32Value, 1u) << "reads exactly 1";
    image.SetPixel(KBW1{0}, 9, 0);
    EXPECT_EQ(base[1], 0x01);

    KROI<KBW1> view(&image, 5, 1, 20, 5);
    view.SetPixel(KBW1{1}, 4, 0);  // absolute column 9, row 1
    EXPECT_EQ(base[24 + 1], 0x40);
    EXPECT_EQ(view.GetBitIndex(4, 0), 1u);
    EXPECT_EQ(view.GetPixel(4, 0).m_un32Value, 1u);
}

TEST_F(RoiPixels, Yuy2PairsShareTheirChroma) {
    KImage<KYUY2> image(4, 2);
    auto* row = static_cast<unsigned char*>(image.GetGenericImagePtr(0, 0));
    const unsigned char bytes[8] = {10, 100, 11, 200, 12, 50, 13, 60};  // Y0 U Y1 V, Y2 U Y3 V
    std::memcpy(row, bytes, sizeof bytes);

    const KYUY2 even = image.GetPixel(0, 0);
    EXPECT_EQ(even.Y, 10);
    EXPECT_EQ(even.U, 100);
    EXPECT_EQ(even.V, 200);
    const KYUY2 odd = image.GetPixel(1, 0);  // averaged with the next pair
    EXPECT_EQ(odd.Y, 11);
    EXPECT_EQ(odd.U, 75);
    EXPECT_EQ(odd.V, 130);
    const KYUY2 last = image.GetPixel(3, 0);  // the last odd column keeps its own pair
    EXPECT_EQ(last.Y, 13);
    EXPECT_EQ(last.U, 50);
    EXPECT_EQ(last.V, 60);

    image.SetPixel(KYUY2{99, 1, 2}, 1, 0);
    EXPECT_EQ(row[2], 99);
    EXPECT_EQ(row[1], 100) << "an odd column leaves the pair's chroma";
    image.SetPixel(KYUY2{7, 8, 9}, 2, 0);
    EXPECT_EQ(row[4], 7);
    EXPECT_EQ(row[5], 8);
    EXPECT_EQ(row[7], 9);
    image.SetPixel(KYUY2{1, 1, 1}, 4, 0);  // outside: nothing happens
    image.SetPixel(KYUY2{1, 1, 1}, 0, 2);
    EXPECT_EQ(row[6], 13);
}

TEST_F(RoiPixels, Yuy2HasNoTypedPointer) {
    MessageBoxCapture boxes;
    KSetTraceMode(K_TRACE_MESSAGE_BOX);
    KImage<KYUY2> image(4, 2);
    EXPECT_EQ(image.GetImagePtr(0, 0), nullptr);
    EXPECT_EQ(KGetError(), K_ERROR_UNSUPPORTED_IMAGE_TYPE);
    EXPECT_NE(image.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_EQ(static_cast<const KROI<KYUY2>&>(image).Void(), 1);
    image.NotVoid();
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
    auto shown = boxes.Boxes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text.substr(0, shown.back().text.find('\n')), "Function: KROI::GetImagePtr ( YUY2)");
}

TEST_F(RoiPixels, VoidAndNotVoid) {
    KImage<KBW8> empty;
    EXPECT_EQ(empty.Void(), 1);
    empty.NotVoid();
    EXPECT_EQ(KGetError(), K_ERROR_IMAGE_MEMORY);
    KImage<KBW8> sized(4, 4);
    EXPECT_EQ(sized.Void(), 0);
    sized.NotVoid();
    EXPECT_EQ(KGetError(), 0);
    KROI<KBW8> view(&sized, 0, 0, 2, 2);
    EXPECT_EQ(static_cast<const KROI<KBW8>&>(view).Void(), 0);
}

TEST_F(RoiPixels, ImagesAndViewsShareTheTypeConstantsButNotIsAnROI) {
    KImage<KYUY2> image;
    KROI<KYUY2> view;
    for (KGenericROI* roi : {static_cast<KGenericROI*>(&image), static_cast<KGenericROI*>(&view)}) {
        EXPECT_EQ(roi->GetType(), K_IMAGE_TYPE_YUY2);
        EXPECT_EQ(roi->GetBitsPerPixel(), 16);
        EXPECT_EQ(roi->GetPlanesPerPixel(), 3);
        EXPECT_EQ(roi->GetBitsPerPixelCode(), 4);
        roi->SetColorSystem(K_COLOR_SYSTEM_LAB);
        roi->SetColorSystem();
        EXPECT_EQ(roi->GetColorSystem(), K_COLOR_SYSTEM_YUV);
    }
    EXPECT_EQ(image.IsAnROI(), 0);
    EXPECT_EQ(view.IsAnROI(), 1);
}

}  // namespace
