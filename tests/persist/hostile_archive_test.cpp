// Damaged and crafted archives: every one must fail with a clear code and
// without a crash, a leak or an access outside a buffer (run under the
// sanitizers).
#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/archive_support.h"

#include <gtest/gtest.h>

namespace {

class HostileArchive : public ::testing::Test {
protected:
    void SetUp() override { TraceSilent(); }
    void TearDown() override { KSetTraceMode(K_TRACE_MESSAGE_BOX); }
};

void PutU32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

// A KROI<KBW8> nesting depth - 1 further views, one inside the other.
Bytes NestedViews(int depth) {
    Bytes bytes = {0x4B, 47, 4, 0x4B ^ 47 ^ 4};
    for (int i = 0; i < 8; ++i) {
        PutU32(bytes, 0);
    }
    PutU32(bytes, depth > 1 ? 1 : 0);
    if (depth > 1) {
        const Bytes inner = NestedViews(depth - 1);
        bytes.insert(bytes.end(), inner.begin(), inner.end());
    }
    for (uint32_t field : {0u, 0u, 1u, 1u, 2u, 0u, 0u, 0u}) {
        PutU32(bytes, field);
    }
    return bytes;
}

Bytes TreeArchive() {
    KImage<KBW8> image(6, 3);
    image.SetTitle("t");
    KROI<KBW8> a(&image, 1, 1, 3, 2);
    KROI<KBW8> a1(&a, 1, 0, 1, 1);
    a1.SetAuthor("a");
    return SaveToBytes(image);
}

// Offsets in TreeArchive(): the image's daughter count, then daughter A.
constexpr size_t kImageTitleLength = 28;
constexpr size_t kImageChildren = 4 + 8 * 4 + 1;
constexpr size_t kDaughterA = kImageChildren + 4;

TEST_F(HostileArchive, EveryTruncationFails) {
    const Bytes whole = TreeArchive();
    ASSERT_EQ(FieldAt(whole, kImageTitleLength), 1u);
    ASSERT_EQ(FieldAt(whole, kImageChildren), 1u);
    for (size_t length = 0; length < whole.size(); ++length) {
        KImage<KBW8> image;
        const K_ERRORS code = LoadFromBytes(image, Bytes(whole.begin(), whole.begin() + length));
        EXPECT_TRUE(code == K_ERROR_FILE_READ || code == K_ERROR_BAD_FILE_FORMAT ||
                    code == K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE)
            << "cut at " << length << ": " << code;
    }
    KImage<KBW8> image;
    EXPECT_EQ(LoadFromBytes(image, whole), K_SUCCESS);
}

TEST_F(HostileArchive, AbsurdCountsAndSizesAreRefusedBeforeAllocating) {
    const Bytes whole = TreeArchive();
    KImage<KBW8> image;
    Bytes bytes = whole;
    PatchAt<uint32_t>(bytes, kImageTitleLength, 0xFFFFFFFF);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "narrow text length";
    bytes = whole;
    PatchAt<uint32_t>(bytes, kImageTitleLength + 4 + 1, 0x80000000);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "wide text length";
    bytes = whole;
    PatchAt<uint32_t>(bytes, kImageChildren, 0xFFFFFFFF);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "daughter count";
    bytes = whole;
    PatchAt<uint32_t>(bytes, kImageChildren, 2);
    EXPECT_NE(LoadFromBytes(image, bytes), K_SUCCESS) << "a daughter too many";

    // The same through a file serializer, whose end is measured too.
    ScratchFile file;
    bytes = whole;
    PatchAt<uint32_t>(bytes, kImageTitleLength, 0x7FFFFFFF);
    file.Write(bytes);
    KSerializer* reader = KSerializer::CreateFileReader(file.Path());
    ASSERT_NE(reader, nullptr);
    image.Load(reader);
    EXPECT_EQ(KGetError(), K_ERROR_BAD_FILE_FORMAT);
    delete reader;

    // Image fields: width and height sit 5 and 4 fields before the bits per
    // pixel, which come after the three ROI fields.
    const size_t bitsPerPixel = whole.size() - 56 - 3 * 24 - 8;
    const size_t width = bitsPerPixel - 3 * 4 - 3 * 4;
    ASSERT_EQ(FieldAt<int32_t>(whole, width), 6);
    ASSERT_EQ(FieldAt<int32_t>(whole, bitsPerPixel), 8);
    bytes = whole;
    PatchAt<int32_t>(bytes, width, 70000);
    PatchAt<int32_t>(bytes, width + 4, 70000);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_ORIGIN_IMAGE_TOO_BIG);
    PatchAt<int32_t>(bytes, width, 60000);
    PatchAt<int32_t>(bytes, width + 4, 60000);
    PatchAt<int32_t>(bytes, bitsPerPixel + 4, 480000);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "3.6 GB of pixels in a small stream";
    bytes = whole;
    PatchAt<int32_t>(bytes, width + 4, -1);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "negative height";
    bytes = whole;
    PatchAt<int32_t>(bytes, width - 8, -2);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "negative origin";
    bytes = whole;
    PatchAt<int32_t>(bytes, bitsPerPixel, 16);
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "bits per pixel of another type";
    for (int32_t pitch : {-192, 20, 40, 0x7FFFFFF8}) {
        bytes = whole;
        PatchAt<int32_t>(bytes, bitsPerPixel + 4, pitch);
        EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT) << "row pitch " << pitch;
    }
    KImage<KBW8> intact;
    EXPECT_EQ(LoadFromBytes(intact, whole), K_SUCCESS);
    EXPECT_EQ(intact.GetWidth(), 6);
}

TEST_F(HostileArchive, DaughtersMustBeViewsOfTheSamePixelType) {
    const Bytes whole = TreeArchive();
    ASSERT_EQ(whole[kDaughterA + 1], 47);
    for (uint8_t type : {52, 34, 46, 59, 200}) {
        Bytes bytes = whole;
        SetHeaderType(bytes, kDaughterA, type);
        KImage<KBW8> image;
        EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE) << int(type);
        EXPECT_EQ(image.GetFirstSubROI(), nullptr);
    }
    // A damaged daughter fails its parent with its own code.
    Bytes bytes = whole;
    SetHeaderVersion(bytes, kDaughterA, 9);
    KImage<KBW8> image;
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_UNSUPPORTED_FILE_VERSION);
    bytes = whole;
    bytes[kDaughterA + 3] ^= 0x10;
    EXPECT_EQ(LoadFromBytes(image, bytes), K_ERROR_BAD_FILE_FORMAT);
}

TEST_F(HostileArchive, NestingIsBounded) {
    KROI<KBW8> view;
    EXPECT_EQ(LoadFromBytes(view, NestedViews(256)), K_SUCCESS);
    int depth = 1;
    for (const KGenericROI* node = view.GetFirstSubROI(); node; node = node->GetFirstSubROI()) {
        ++depth;
    }
    EXPECT_EQ(depth, 256);
    EXPECT_EQ(LoadFromBytes(view, NestedViews(257)), K_ERROR_BAD_FILE_FORMAT);
    EXPECT_EQ(LoadFromBytes(view, NestedViews(5000)), K_ERROR_BAD_FILE_FORMAT);
    EXPECT_EQ(view.GetFirstSubROI(), nullptr);
}

}  // namespace
