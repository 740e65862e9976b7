#include <lumora/pixel.h>
#include <lumora/pixel_traits.h>

// Element sizes the image memory layout and the file formats rely on.
static_assert(PixelTraits<KBW1>::elementSize == 4, "a bilevel value is one word");
static_assert(PixelTraits<KC24>::elementSize == 3, "KC24 is three packed bytes");
static_assert(PixelTraits<KYUY2>::elementSize == 3, "a YUY2 value holds Y, U and V");
static_assert(PixelTraits<KRaw96>::elementSize == 12, "KRaw96 is 96 bits");
static_assert(PixelTraits<KSubPixel64>::elementSize == 8, "KSubPixel64 is 64 bits");
static_assert(PixelTraits<KComplex64>::elementSize == 8, "KComplex64 is 64 bits");
static_assert(sizeof(KColor) == 12, "KColor is three floats");

const KC24 KRed24 = {255, 0, 0};
const KC24 KGreen24 = {0, 255, 0};
const KC24 KBlue24 = {0, 0, 255};
const KC24 KCyan24 = {0, 255, 255};
const KC24 KMagenta24 = {255, 0, 255};
const KC24 KYellow24 = {255, 255, 0};
const KC24 KWhite24 = {255, 255, 255};
const KC24 KGray24 = {128, 128, 128};
const KC24 KBlack24 = {0, 0, 0};
