#include <lumora/image.h>
#include <lumora/settings.h>

#include "support/message_box_capture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class ImageBuffer : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override {
        KSetTraceMode(K_TRACE_MESSAGE_BOX);
        KSetRecursiveCopyBehavior(1);
    }
};

uintptr_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

void Fill(KImage<KBW8>& image) {
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            image.SetPixel(KBW8{static_cast<uint8_t>(x * 7 + y * 13)}, x, y);
        }
    }
}

TEST_F(ImageBuffer, OwnedRowsArePaddedAndAligned) {
    KImage<KBW8> image(640, 480);
    EXPECT_EQ(image.GetBitsPerRow(), 5184);
    EXPECT_EQ(image.GetRowPitch(), 648);
    EXPECT_EQ(Address(image.GetGenericImagePtr(0, 0)) % 32, 0u);
    EXPECT_TRUE(image.OwnsBuffer());
    EXPECT_EQ(KImage<KC24>(10, 1).GetBitsPerRow(), 384);
    EXPECT_EQ(KImage<KBW1>(100, 10).GetBitsPerRow(), 192);
    // The last row ends at least 8 bytes before the end of the allocation:
    // writing the whole padded buffer must stay inside it (checked by ASan).
    KImage<KRaw96> raw(5, 3);
    std::memset(raw.GetGenericImagePtr(0, 0), 0xAB, static_cast<size_t>(raw.GetRowPitch()) * 3 + 8);
}

TEST_F(ImageBuffer, SetSizeKeepsTheBufferOnlyForTheSameSize) {
    KImage<KBW8> image(16, 4);
    Fill(image);
    const void* before = image.GetGenericImagePtr(0, 0);
    image.GetMaskRuns().AddElement(KRun{nullptr, nullptr, 0, 0});
    image.SetSize(16, 4);
    EXPECT_EQ(image.GetGenericImagePtr(0, 0), before);
    EXPECT_EQ(image.GetPixel(3, 2).m_un8Value, 3 * 7 + 2 * 13);
    EXPECT_EQ(image.GetMaskRuns().GetNumElements(), 1u);
    image.SetSize(17, 4);
    EXPECT_EQ(image.GetMaskRuns().GetNumElements(), 0u) << "a resize empties the mask";
    image.SetSize(0, 0);
    EXPECT_EQ(image.GetGenericImagePtr(0, 0), nullptr);
    EXPECT_FALSE(image.OwnsBuffer());
}

TEST_F(ImageBuffer, TheFourGigabyteLimitAndAllocationFailure) {
    KImage<KBW8> gray(10, 10);
    gray.SetSize(70000, 70000);
    EXPECT_EQ(KGetError(), K_ERROR_ORIGIN_IMAGE_TOO_BIG);
    EXPECT_EQ(gray.GetWidth(), 10);
    EXPECT_NE(gray.GetGenericImagePtr(0, 0), nullptr);

    KImage<KBW1> bilevel;
    bilevel.SetSize(70000, 70000);  // 1 bit per pixel: passes the byte limit
    EXPECT_EQ(KGetError(), 0);
    EXPECT_EQ(bilevel.GetWidth(), 70000);
    bilevel.SetSize(1 << 30, 1 << 30);  // 2^57 bytes: the machine cannot
    EXPECT_EQ(KGetError(), K_ERROR_ALLOCATION);
    EXPECT_EQ(bilevel.GetWidth(), 0);
    EXPECT_EQ(bilevel.GetHeight(), 0);
    EXPECT_EQ(bilevel.GetGenericImagePtr(0, 0), nullptr);
    bilevel.SetSize(INT32_MAX, 1);  // the row pitch in bits would not fit 32 bits
    EXPECT_EQ(KGetError(), K_ERROR_ORIGIN_IMAGE_TOO_BIG);

    gray.SetSize(-1, 5);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    gray.SetSize(5, -1);
    EXPECT_EQ(KGetError(), K_ERROR_PARAMETER_2_OUT_OF_RANGE);
    EXPECT_EQ(gray.GetWidth(), 10);
}

TEST_F(ImageBuffer, AdoptedBuffersUseTheDefaultPitchAndSurviveTheImage) {
    std::vector<unsigned char> memory(320 * 240, 0x5A);
    {
        KImage<KBW8> image;
        image.SetImagePtr(320, 240, memory.data(), 0);
        EXPECT_EQ(image.GetBitsPerRow(), 2560);
        EXPECT_FALSE(image.OwnsBuffer());
        EXPECT_EQ(image.GetGenericImagePtr(0, 0), memory.data());
        image.SetPixel(KBW8{1}, 2, 1);
        KImage<KBW8> copy(image);
        EXPECT_EQ(copy.GetGenericImagePtr(0, 0), memory.data()) << "copies of adopting images share memory";
        image.SetImagePtr(3, 1, memory.data(), 0);
        EXPECT_EQ(image.GetBitsPerRow(), 32);
    }
    EXPECT_EQ(memory[320 + 2], 1);
    EXPECT_EQ(memory[0], 0x5A);

    KImage<KBW1> bilevel;
    bilevel.SetImagePtr(33, 1, memory.data(), 0);
    EXPECT_EQ(bilevel.GetBitsPerRow(), 64);
    KImage<KBW8> owning(8, 8);
    owning.SetImagePtr(memory.data(), 64);
    EXPECT_FALSE(owning.OwnsBuffer());
    EXPECT_EQ(owning.GetWidth(), 8);
    EXPECT_EQ(owning.GetRowPitch(), 8);
}

TEST_F(ImageBuffer, CopiesOfOwningImagesAreDeepAndRebaseAddressRuns) {
    KImage<KBW8> source(20, 5);
    Fill(source);
    source.SetTitle("source");
    source.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);
    auto* base = static_cast<unsigned char*>(source.GetGenericImagePtr(0, 0));
    source.GetMaskRuns().AddElement(KRun{base + 3, base + 8, 3, 0});

    KImage<KBW8> copy(source);
    EXPECT_NE(copy.GetGenericImagePtr(0, 0), source.GetGenericImagePtr(0, 0));
    EXPECT_TRUE(copy.OwnsBuffer());
    EXPECT_EQ(std::memcmp(copy.GetGenericImagePtr(0, 0), base, static_cast<size_t>(source.GetImgPitch())), 0);
    EXPECT_STREQ(copy.GetTitle(), "source");
    float w = 0, h = 0, x = 0, y = 0;
    const KMeasurementUnit* unit = nullptr;
    copy.GetPixelDimensions(w, h, unit);
    EXPECT_EQ(w, 0.5f);
    EXPECT_EQ(h, 0.25f);
    EXPECT_STREQ(unit->GetName(), "mm");
    copy.GetResolution(x, y, unit);
    EXPECT_EQ(x, 2.0f);
    EXPECT_EQ(y, 4.0f);

    auto* copyBase = static_cast<unsigned char*>(copy.GetGenericImagePtr(0, 0));
    ASSERT_EQ(copy.GetMaskRuns().GetNumElements(), 1u);
    EXPECT_EQ(copy.GetMaskRuns()[0].pBeg, copyBase + 3);
    EXPECT_EQ(copy.GetMaskRuns()[0].pEnd, copyBase + 8);

    source.SetMaskOffsets(1);
    source.GetMaskRuns()[0] = KRun{reinterpret_cast<void*>(3), reinterpret_cast<void*>(8), 3, 0};
    KImage<KBW8> offsetCopy;
    offsetCopy = source;
    EXPECT_EQ(offsetCopy.GetMaskRuns()[0].pBeg, reinterpret_cast<void*>(3)) << "offsets are copied unchanged";

    KImage<KBW8>& alias = copy;
    copy = alias;
    EXPECT_EQ(copy.GetGenericImagePtr(0, 0), copyBase);
    copy.SetPixel(KBW8{0}, 0, 0);
    EXPECT_EQ(source.GetPixel(1, 0).m_un8Value, 7);
}

TEST_F(ImageBuffer, RecursiveCopiesCloneTheDaughterTree) {
    KImage<KBW8> source(50, 50);
    KROI<KBW8> a(&source, 1, 2, 10, 10);
    KROI<KBW8> b(&source, 20, 20, 5, 5);
    KROI<KBW8> a1(&a, 3, 3, 2, 2);
    a1.SetComment("deep");

    KImage<KBW8> flat(8, 8);
    KROI<KBW8> old(&flat, 0, 0, 4, 4);
    source.CopyTo(&flat, 0);
    EXPECT_EQ(flat.GetFirstSubROI(), nullptr) << "old daughters are detached, not deleted";
    EXPECT_EQ(old.GetParent(), nullptr);

    KImage<KBW8> deep;
    source.CopyTo(&deep, 1);
    auto* ca = static_cast<KROI<KBW8>*>(deep.GetFirstSubROI());
    ASSERT_NE(ca, nullptr);
    auto* cb = static_cast<KROI<KBW8>*>(ca->GetNextSiblingROI());
    ASSERT_NE(cb, nullptr);
    auto* ca1 = static_cast<KROI<KBW8>*>(ca->GetFirstSubROI());
    ASSERT_NE(ca1, nullptr);
    EXPECT_EQ(ca->GetOrgX(), 1);
    EXPECT_EQ(cb->GetOrgX(), 20);
    EXPECT_STREQ(ca1->GetComment(), "deep");
    EXPECT_EQ(ca1->GetTotalOrgX(), 4);
    EXPECT_EQ(source.GetFirstSubROI(), &a) << "the source tree is untouched";
    EXPECT_EQ(a.GetNextSiblingROI(), &b);
    // The clones belong to the copy's user.
    delete ca1;
    delete cb;
    delete ca;

    KSetRecursiveCopyBehavior(0);
    KImage<KBW8> viaConstructor(source);
    EXPECT_EQ(viaConstructor.GetFirstSubROI(), nullptr);
}

TEST_F(ImageBuffer, ViewCopiesAndClonesShareTheParent) {
    KImage<KBW8> image(50, 50);
    KROI<KBW8> view(&image, 5, 6, 7, 8);
    view.SetTitle("v");
    KROI<KBW8>* clone = view.CreateROIClone(0);
    EXPECT_EQ(clone->GetParent(), &image);
    EXPECT_EQ(clone->GetOrgX(), 5);
    EXPECT_EQ(clone->GetHeight(), 8);
    EXPECT_STREQ(clone->GetTitle(), "v");
    delete clone;
    EXPECT_EQ(image.GetFirstSubROI(), &view) << "deleting a view detaches it";

    KROI<KBW8> assigned;
    assigned = view;
    EXPECT_EQ(assigned.GetParent(), &image);
    EXPECT_EQ(assigned.GetOrgY(), 6);

    KROI<KBW8>* imageClone = image.CreateROIClone(0);
    EXPECT_EQ(imageClone->IsAnROI(), 0);
    EXPECT_EQ(imageClone->GetWidth(), 50);
    delete imageClone;
}

TEST_F(ImageBuffer, DaughtersCarryingTheAllocatedMarkDieWithTheirParent) {
    KROI<KBW8> survivor;
    KROI<KBW8> orphan;
    {
        KImage<KBW8> image(10, 10);
        auto* owned = new KROI<KBW8>(&image, 0, 0, 5, 5);
        owned->SetAllocated();
        orphan.Attach(owned);
        survivor.Attach(&image);
        // The image deletes `owned` when it dies (LeakSanitizer would report
        // it otherwise); unmarked views are only detached.
    }
    EXPECT_EQ(survivor.GetParent(), nullptr);
    EXPECT_EQ(orphan.GetParent(), nullptr);
}

TEST_F(ImageBuffer, PixelDimensionsAndResolution) {
    KImage<KBW8> image(4, 4);
    KROI<KBW8> view(&image, 0, 0, 2, 2);
    float w = 0, h = 0;
    const KMeasurementUnit* unit = nullptr;
    image.GetPixelDimensions(w, h, unit);
    EXPECT_EQ(w, 1.0f);
    EXPECT_STREQ(unit->GetName(), "None");

    image.SetPixelDimensions(0.0f, 2.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), 0);
    image.SetPixelDimensions(0.0f, 0.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), K_ERROR_PIXEL_SIZE_NOT_FINITE);
    image.SetResolution(0.0f, 2.0f, &KUnit_cm);
    EXPECT_EQ(KGetError(), K_ERROR_PIXEL_SIZE_NOT_FINITE);

    view.SetPixelDimensions(0.5f, 0.25f, &KUnit_mm);  // forwarded to the image
    image.GetResolution(w, h, unit);
    EXPECT_EQ(w, 2.0f);
    EXPECT_EQ(h, 4.0f);
    EXPECT_STREQ(unit->GetName(), "mm");
    view.SetResolution(100.0f, 50.0f, nullptr);  // a null unit keeps the unit
    view.GetPixelDimensions(w, h, unit);
    EXPECT_EQ(w, 0.01f);
    EXPECT_EQ(h, 0.02f);
    EXPECT_STREQ(unit->GetName(), "mm");
}

}  // namespace
