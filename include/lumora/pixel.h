// The fifteen pixel types, the value types that travel with them, the image
// type codes, colour systems and named colours.
//
// Pixels are plain value types copied bitwise. They carry default visibility
// so that the templates instantiated over them are exported from the library. Images store them packed along
// a row, except KBW1 (eight pixels to a byte, leftmost in the top bit) and
// KYUY2 (two neighbouring pixels share four bytes Y0 U Y1 V).
#ifndef LUMORA_PIXEL_H
#define LUMORA_PIXEL_H

#include <lumora/export.h>

#include <cstdint>
#include <iosfwd>

// Bilevel pixel. As a value it is a word holding 0 or 1.
struct LUMORA_API KBW1 {
    uint32_t m_un32Value;
};
struct LUMORA_API KBW8 {
    uint8_t m_un8Value;
};
struct LUMORA_API KBW16 {
    uint16_t m_un16Value;
};
struct LUMORA_API KBW32 {
    uint32_t m_un32Value;
};
// Red in bits 14-10 (0x7C00), green 9-5 (0x03E0), blue 4-0 (0x001F).
struct LUMORA_API KC15 {
    uint16_t m_un16Value;
};
// Red in bits 15-11 (0xF800), green 10-5 (0x07E0), blue 4-0 (0x001F).
struct LUMORA_API KC16 {
    uint16_t m_un16Value;
};
// Three channels in memory order C2, C1, C0.
struct LUMORA_API KC24 {
    uint8_t m_un8C2;
    uint8_t m_un8C1;
    uint8_t m_un8C0;
};
// Three channels in the order of KC24, then a fourth byte (alpha).
struct LUMORA_API KC24A {
    uint8_t m_un8C2;
    uint8_t m_un8C1;
    uint8_t m_un8C0;
    uint8_t m_un8A;
};
// As a value: luminance and both chroma bytes of one pixel.
struct LUMORA_API KYUY2 {
    uint8_t Y;
    uint8_t U;
    uint8_t V;
};
struct LUMORA_API KFLOAT32 {
    float m_f32Value;
};
struct LUMORA_API KFLOAT64 {
    double m_f64Value;
};
// Real part first, then the imaginary part.
struct LUMORA_API KComplex64 {
    float m_f32Real;
    float m_f32Imaginary;
};
struct LUMORA_API KRaw32 {
    uint32_t m_un32Value;
};
struct LUMORA_API KRaw96 {
    uint32_t m_aun32Value[3];
};
union LUMORA_API KSubPixel64 {
    uint64_t m_un64Value;
    double m_f64Value;
    struct {
        float m_f32X;
        float m_f32Y;
    } m_Position;
};

// A run of pixels: the first pixel, the pointer that ends the run, and the
// run's column and row.
struct LUMORA_API KRun {
    void* pBeg;
    void* pEnd;
    int16_t n16X;
    int16_t n16Y;
};

typedef int32_t KINT32;

// A colour in any three-channel colour system.
union LUMORA_API KColor {
    struct {
        float X;
        float Y;
        float Z;
    };
    float m_af32Channel[3];
};

enum K_IMAGE_TYPES : int32_t {
    K_IMAGE_TYPE_BW1 = 0,
    K_IMAGE_TYPE_BW8 = 1,
    K_IMAGE_TYPE_BW16 = 2,
    K_IMAGE_TYPE_BW32 = 3,
    K_IMAGE_TYPE_C15 = 4,
    K_IMAGE_TYPE_C16 = 5,
    K_IMAGE_TYPE_C24 = 6,
    K_IMAGE_TYPE_C24A = 7,
    K_IMAGE_TYPE_SUB_PIXEL64 = 9,
    K_IMAGE_TYPE_COMPLEX64 = 10,
    K_IMAGE_TYPE_RAW32 = 11,
    K_IMAGE_TYPE_RAW96 = 12,
    K_IMAGE_TYPE_YUY2 = 13,
    K_IMAGE_TYPE_FLOAT32 = 14,
    K_IMAGE_TYPE_FLOAT64 = 15,
};

enum K_COLOR_SYSTEM : int32_t {
    K_COLOR_SYSTEM_UNKNOWN = -1,
    K_COLOR_SYSTEM_NONE = 0,
    K_COLOR_SYSTEM_BILEVEL = 1,
    K_COLOR_SYSTEM_GRAY_LEVEL = 2,
    K_COLOR_SYSTEM_XYZ = 3,
    K_COLOR_SYSTEM_RGB = 4,
    K_COLOR_SYSTEM_LAB = 5,
    K_COLOR_SYSTEM_LUV = 6,
    K_COLOR_SYSTEM_YUV = 7,
    K_COLOR_SYSTEM_YIQ = 8,
    K_COLOR_SYSTEM_LCH = 9,
    K_COLOR_SYSTEM_ISH = 10,
    K_COLOR_SYSTEM_LSH = 11,
    K_COLOR_SYSTEM_VSH = 12,
    K_COLOR_SYSTEM_YSH = 13,
    K_COLOR_SYSTEM_LABELIZED = 14,
    K_COLOR_SYSTEM_GRADIENT = 15,
};

// Named colours, given as their bytes in memory order (C2, C1, C0).
LUMORA_API extern const KC24 KRed24;
LUMORA_API extern const KC24 KGreen24;
LUMORA_API extern const KC24 KBlue24;
LUMORA_API extern const KC24 KCyan24;
LUMORA_API extern const KC24 KMagenta24;
LUMORA_API extern const KC24 KYellow24;
LUMORA_API extern const KC24 KWhite24;
LUMORA_API extern const KC24 KGray24;
LUMORA_API extern const KC24 KBlack24;

// The enumerator's name ("K_COLOR_SYSTEM_RGB"), or
// "K_COLOR_SYSTEM : <UNKNOWN>" for a value without one.
LUMORA_API const char* KColorSystemName(K_COLOR_SYSTEM colorSystem);
// "TRUE" for a nonzero word, "FALSE" for zero.
LUMORA_API const char* KBooleanText(int value);

// Text dumps. KC24 writes each channel as the character with that byte value.
LUMORA_API std::ostream& operator<<(std::ostream& stream, const KRun& run);
LUMORA_API std::ostream& operator<<(std::ostream& stream, const KC24& pixel);
LUMORA_API std::ostream& operator<<(std::ostream& stream, const KColor& color);

#endif
