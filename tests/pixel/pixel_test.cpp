#include <lumora/pixel.h>
#include <lumora/pixel_traits.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Row {
    K_IMAGE_TYPES type;
    int bits;
    int planes;
    short depthCode;
    K_COLOR_SYSTEM colorSystem;
    int imageObject;
    int roiObject;
    size_t elementSize;
};

template <class T>
Row RowOf() {
    using P = PixelTraits<T>;
    EXPECT_EQ(P::dataType, 1);
    EXPECT_EQ(P::archivable, P::imageObjectType != 0);
    return {P::type, P::bitsPerPixel, P::planes, P::depthCode, P::colorSystem,
            P::imageObjectType, P::roiObjectType, P::elementSize};
}

void ExpectRow(const Row& actual, const Row& expected, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(actual.type, expected.type);
    EXPECT_EQ(actual.bits, expected.bits);
    EXPECT_EQ(actual.planes, expected.planes);
    EXPECT_EQ(actual.depthCode, expected.depthCode);
    EXPECT_EQ(actual.colorSystem, expected.colorSystem);
    EXPECT_EQ(actual.imageObject, expected.imageObject);
    EXPECT_EQ(actual.roiObject, expected.roiObject);
    EXPECT_EQ(actual.elementSize, expected.elementSize);
}

TEST(PixelTraits, TheTableOfAllFifteenTypes) {
    ExpectRow(RowOf<KBW1>(), {K_IMAGE_TYPES(0), 1, 1, 1, K_COLOR_SYSTEM(1), 33, 46, 4}, "KBW1");
    ExpectRow(RowOf<KBW8>(), {K_IMAGE_TYPES(1), 8, 1, 2, K_COLOR_SYSTEM(2), 34, 47, 1}, "KBW8");
    ExpectRow(RowOf<KBW16>(), {K_IMAGE_TYPES(2), 16, 1, 4, K_COLOR_SYSTEM(2), 35, 48, 2}, "KBW16");
    ExpectRow(RowOf<KBW32>(), {K_IMAGE_TYPES(3), 32, 1, 8, K_COLOR_SYSTEM(2), 36, 49, 4}, "KBW32");
    ExpectRow(RowOf<KC15>(), {K_IMAGE_TYPES(4), 16, 3, 4, K_COLOR_SYSTEM(4), 37, 50, 2}, "KC15");
    ExpectRow(RowOf<KC16>(), {K_IMAGE_TYPES(5), 16, 3, 4, K_COLOR_SYSTEM(4), 38, 51, 2}, "KC16");
    ExpectRow(RowOf<KC24>(), {K_IMAGE_TYPES(6), 24, 3, 32, K_COLOR_SYSTEM(4), 39, 52, 3}, "KC24");
    ExpectRow(RowOf<KC24A>(), {K_IMAGE_TYPES(7), 32, 4, 8, K_COLOR_SYSTEM(4), 41, 54, 4}, "KC24A");
    ExpectRow(RowOf<KSubPixel64>(), {K_IMAGE_TYPES(9), 64, 1, 16, K_COLOR_SYSTEM(0), 42, 55, 8}, "KSubPixel64");
    ExpectRow(RowOf<KComplex64>(), {K_IMAGE_TYPES(10), 64, 1, 16, K_COLOR_SYSTEM(2), 43, 56, 8}, "KComplex64");
    ExpectRow(RowOf<KRaw32>(), {K_IMAGE_TYPES(11), 32, 1, 8, K_COLOR_SYSTEM(0), 44, 57, 4}, "KRaw32");
    ExpectRow(RowOf<KRaw96>(), {K_IMAGE_TYPES(12), 96, 1, 64, K_COLOR_SYSTEM(0), 45, 58, 12}, "KRaw96");
    ExpectRow(RowOf<KYUY2>(), {K_IMAGE_TYPES(13), 16, 3, 4, K_COLOR_SYSTEM(7), 40, 53, 3}, "KYUY2");
    ExpectRow(RowOf<KFLOAT32>(), {K_IMAGE_TYPES(14), 32, 1, 8, K_COLOR_SYSTEM(2), 0, 0, 4}, "KFLOAT32");
    ExpectRow(RowOf<KFLOAT64>(), {K_IMAGE_TYPES(15), 64, 1, 16, K_COLOR_SYSTEM(2), 0, 0, 8}, "KFLOAT64");
}

TEST(ColorSystem, NamesAndTheUnknownText) {
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_NONE), "K_COLOR_SYSTEM_NONE");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_RGB), "K_COLOR_SYSTEM_RGB");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_GRADIENT), "K_COLOR_SYSTEM_GRADIENT");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_UNKNOWN), "K_COLOR_SYSTEM_UNKNOWN");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM(16)), "K_COLOR_SYSTEM : <UNKNOWN>");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM(-2)), "K_COLOR_SYSTEM : <UNKNOWN>");
    EXPECT_STREQ(KBooleanText(0), "FALSE");
    EXPECT_STREQ(KBooleanText(-7), "TRUE");
}

TEST(PixelDump, KC24WritesRawCharacters) {
    std::ostringstream out;
    out << KC24{65, 66, 67};
    EXPECT_EQ(out.str(), "( KC24 : m_un8C2 = A m_un8C1 = B m_un8C0 = C)");
}

TEST(PixelDump, RunAndColor) {
    std::ostringstream run;
    KRun r{nullptr, nullptr, -3, 7};
    run << r;
    std::ostringstream pointers;
    pointers << "( KRun : pBeg = " << r.pBeg << " pEnd = " << r.pEnd << " n16X = -3 n16Y = 7)";
    EXPECT_EQ(run.str(), pointers.str());

    std::ostringstream color;
    KColor c;
    c.X = 1.5f;
    c.Y = -2.0f;
    c.Z = 0.25f;
    color << c;
    EXPECT_EQ(color.str(), "( KColor : X = 1.5 Y = -2 Z = 0.25)");
}

TEST(NamedColors, BytesInMemoryOrder) {
    auto bytes = [](const KC24& c) { return std::vector<int>{c.m_un8C2, c.m_un8C1, c.m_un8C0}; };
    EXPECT_EQ(bytes(KRed24), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(bytes(KGreen24), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(bytes(KBlue24), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(bytes(KCyan24), (std::vector<int>{0, 255, 255}));
    EXPECT_EQ(bytes(KMagenta24), (std::vector<int>{255, 0, 255}));
    EXPECT_EQ(bytes(KYellow24), (std::vector<int>{255, 255, 0}));
    EXPECT_EQ(bytes(KWhite24), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(bytes(KGray24), (std::vector<int>{128, 128, 128}));
    EXPECT_EQ(bytes(KBlack24), (std::vector<int>{0, 0, 0}));
}

}  // namespace
