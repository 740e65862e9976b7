#include <lumora/pixel.h>
#include <lumora/pixel_traits.h>

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <tuple>

namespace {

// type, bits, planes, depth code, colour system, image and ROI object types,
// element size, trace name.
using Row = std::tuple<int, int, int, int, int, int, int, size_t, std::string>;

template <class T>
Row RowOf() {
    using P = PixelTraits<T>;
    EXPECT_EQ(P::dataType, 1);
    EXPECT_EQ(P::archivable, P::imageObjectType != 0);
    return {P::type, P::bitsPerPixel, P::planes, P::depthCode, P::colorSystem, P::imageObjectType,
            P::roiObjectType, P::elementSize, P::name};
}

TEST(PixelTraits, TheTableOfAllFifteenTypes) {
    EXPECT_EQ(RowOf<KBW1>(), Row(0, 1, 1, 1, 1, 33, 46, 4, "BW1"));
    EXPECT_EQ(RowOf<KBW8>(), Row(1, 8, 1, 2, 2, 34, 47, 1, "BW8"));
    EXPECT_EQ(RowOf<KBW16>(), Row(2, 16, 1, 4, 2, 35, 48, 2, "BW16"));
    EXPECT_EQ(RowOf<KBW32>(), Row(3, 32, 1, 8, 2, 36, 49, 4, "BW32"));
    EXPECT_EQ(RowOf<KC15>(), Row(4, 16, 3, 4, 4, 37, 50, 2, "C15"));
    EXPECT_EQ(RowOf<KC16>(), Row(5, 16, 3, 4, 4, 38, 51, 2, "C16"));
    EXPECT_EQ(RowOf<KC24>(), Row(6, 24, 3, 32, 4, 39, 52, 3, "C24"));
    EXPECT_EQ(RowOf<KC24A>(), Row(7, 32, 4, 8, 4, 41, 54, 4, "C24A"));
    EXPECT_EQ(RowOf<KSubPixel64>(), Row(9, 64, 1, 16, 0, 42, 55, 8, "SubPixel64"));
    EXPECT_EQ(RowOf<KComplex64>(), Row(10, 64, 1, 16, 2, 43, 56, 8, "Complex64"));
    EXPECT_EQ(RowOf<KRaw32>(), Row(11, 32, 1, 8, 0, 44, 57, 4, "Raw32"));
    EXPECT_EQ(RowOf<KRaw96>(), Row(12, 96, 1, 64, 0, 45, 58, 12, "Raw96"));
    EXPECT_EQ(RowOf<KYUY2>(), Row(13, 16, 3, 4, 7, 40, 53, 3, "YUY2"));
    EXPECT_EQ(RowOf<KFLOAT32>(), Row(14, 32, 1, 8, 2, 0, 0, 4, "FLOAT32"));
    EXPECT_EQ(RowOf<KFLOAT64>(), Row(15, 64, 1, 16, 2, 0, 0, 8, "FLOAT64"));
}

TEST(PixelTexts, ColorSystemNamesBooleansAndDumps) {
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_NONE), "K_COLOR_SYSTEM_NONE");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_RGB), "K_COLOR_SYSTEM_RGB");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_GRADIENT), "K_COLOR_SYSTEM_GRADIENT");
    EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM_UNKNOWN), "K_COLOR_SYSTEM_UNKNOWN");
    for (int outside : {16, -2}) {
        EXPECT_STREQ(KColorSystemName(K_COLOR_SYSTEM(outside)), "K_COLOR_SYSTEM : <UNKNOWN>");
    }
    EXPECT_STREQ(KBooleanText(0), "FALSE");
    EXPECT_STREQ(KBooleanText(-7), "TRUE");

    std::ostringstream out, expected;
    const KRun run{&out, nullptr, -3, 7};
    KColor color;
    color.X = 1.5f;
    color.Y = -2.0f;
    color.Z = 0.25f;
    out << KC24{65, 66, 67} << run << color;  // KC24 writes each byte as a raw character
    expected << "( KC24 : m_un8C2 = A m_un8C1 = B m_un8C0 = C)"
             << "( KRun : pBeg = " << run.pBeg << " pEnd = " << run.pEnd << " n16X = -3 n16Y = 7)"
             << "( KColor : X = 1.5 Y = -2 Z = 0.25)";
    EXPECT_EQ(out.str(), expected.str());
}

TEST(NamedColors, BytesInMemoryOrder) {
    const KC24* colors[] = {&KRed24, &KGreen24, &KBlue24, &KCyan24, &KMagenta24,
                            &KYellow24, &KWhite24, &KGray24, &KBlack24};
    const unsigned char bytes[][3] = {{255, 0, 0}, {0, 255, 0},     {0, 0, 255},     {0, 255, 255}, {255, 0, 255},
                                      {255, 255, 0}, {255, 255, 255}, {128, 128, 128}, {0, 0, 0}};
    for (size_t i = 0; i < std::size(colors); ++i) {
        EXPECT_EQ(std::memcmp(colors[i], bytes[i], 3), 0) << i;
    }
}

}  // namespace
