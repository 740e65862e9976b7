// Damaged and crafted archives: every one must fail with a clear code and
// without a crash, a leak or an access outside a buffer (run under the
// sanitizers).
#include <lumora/image.h>
#include <lumora/serializer.h>

#include "persist/serializer_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

using HostileArchive = SilentTrace;

Bytes Word(int32_t value) {
    Bytes bytes(4);
    PatchAt(bytes, 0, value);
    return bytes;
}

int32_t HeaderWord(uint8_t type, uint8_t version = 4) { return FieldAt(Header(type, version), 0); }

// A KROI<KBW8> holding depth - 1 further views, one inside the other.
Bytes NestedViews(int depth) {
    Bytes bytes;
    for (int level = 1; level <= depth; ++level) {
        bytes = std::move(bytes) + Header(47) + Bytes(32) + Word(level < depth ? 1 : 0);
    }
    for (int level = 1; level <= depth; ++level) {
        bytes = std::move(bytes) + Word(0) + Word(0) + Word(1) + Word(1) + Word(2) + Bytes(12);
    }
    return bytes;
}

// Absurd lengths, counts and sizes are refused before anything is allocated
// for them, from memory and from a file, whose end is measured too; a daughter
// must be a sound view of the same pixel type.
TEST_F(HostileArchive, TruncatedAndCraftedArchivesFail) {
    KImage<KBW8> image(6, 3);
    image.SetTitle("t");
    KROI<KBW8> a(&image, 1, 1, 3, 2);
    KROI<KBW8> a1(&a, 1, 0, 1, 1);
    a1.SetAuthor("a");
    const Bytes tree = SaveToBytes(image);
    for (size_t length = 0; length < tree.size(); ++length) {
        const K_ERRORS code = LoadFromBytes(image, Bytes(tree.begin(), tree.begin() + length));
        EXPECT_TRUE(code == K_ERROR_FILE_READ || code == K_ERROR_BAD_FILE_FORMAT ||
                    code == K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE)
            << "cut at " << length << ": " << code;
    }

    // The image's narrow title length and daughter count, daughter A's
    // header; the image's bits per pixel before its 48 pixel bytes and two
    // records, its width six fields earlier.
    const size_t title = 28, children = 4 + 8 * 4 + 1, daughter = children + 4;
    const size_t bitsPerPixel = tree.size() - 56 - 3 * 24 - 8, width = bitsPerPixel - 6 * 4;
    ASSERT_EQ(FieldAt(tree, title), 1);
    ASSERT_EQ(FieldAt(tree, children), 1);
    ASSERT_EQ(FieldAt(tree, daughter), HeaderWord(47));
    ASSERT_EQ(FieldAt(tree, width), 6);
    ASSERT_EQ(FieldAt(tree, bitsPerPixel), 8);
    const K_ERRORS bad = K_ERROR_BAD_FILE_FORMAT, foreign = K_ERROR_ARCHIVE_WRONG_OBJECT_TYPE;
    const struct {
        std::vector<std::pair<size_t, int32_t>> patches;
        K_ERRORS code;
    } cases[] = {
        {{{title, -1}}, bad},
        {{{title, INT32_MAX}}, bad},
        {{{title + 4 + 1, INT32_MIN}}, bad},  // the wide title's length
        {{{children, -1}}, bad},
        {{{children, 2}}, bad},
        {{{width, 70000}, {width + 4, 70000}}, K_ERROR_ORIGIN_IMAGE_TOO_BIG},
        {{{width, 60000}, {width + 4, 60000}, {bitsPerPixel + 4, 480000}}, bad},  // 3.6 GB in a small stream
        {{{width + 4, -1}}, bad},
        {{{width - 8, -2}}, bad},  // the origin
        {{{bitsPerPixel, 16}}, bad},
        {{{bitsPerPixel + 4, -192}}, bad},  // row pitches
        {{{bitsPerPixel + 4, 20}}, bad},
        {{{bitsPerPixel + 4, 40}}, bad},
        {{{bitsPerPixel + 4, 0x7FFFFFF8}}, bad},
        {{{daughter, HeaderWord(52)}}, foreign},
        {{{daughter, HeaderWord(34)}}, foreign},
        {{{daughter, HeaderWord(46)}}, foreign},
        {{{daughter, HeaderWord(59)}}, foreign},
        {{{daughter, HeaderWord(200)}}, foreign},
        {{{daughter, HeaderWord(47, 9)}}, K_ERROR_UNSUPPORTED_FILE_VERSION},
        {{{daughter, HeaderWord(47) ^ 0x10000000}}, bad},  // the daughter's checksum
    };
    ScratchFile file;
    for (const auto& c : cases) {
        Bytes bytes = tree;
        for (const auto& [offset, value] : c.patches) {
            PatchAt(bytes, offset, value);
        }
        SCOPED_TRACE(::testing::Message() << "patch at " << c.patches[0].first << ": " << c.patches[0].second);
        KImage<KBW8> loaded;
        EXPECT_EQ(LoadFromBytes(loaded, bytes), c.code);
        if (c.code == foreign) {
            EXPECT_EQ(loaded.GetFirstSubROI(), nullptr);
        }
        file.Write(bytes);
        std::unique_ptr<KSerializer> reader(KSerializer::CreateFileReader(file.Path()));
        loaded.Load(reader.get());
        EXPECT_EQ(KGetError(), c.code) << "from a file";
    }
    KImage<KBW8> intact;
    EXPECT_EQ(LoadFromBytes(intact, tree), K_SUCCESS);
    EXPECT_EQ(intact.GetWidth(), 6);
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
