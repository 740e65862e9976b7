// Per-type constants of the pixel types: the one table that every template
// written for all pixel types reads its differences from.
//
// The primary template is left undefined, so a type missing from the table
// fails to compile instead of picking up a default.
#ifndef LUMORA_PIXEL_TRAITS_H
#define LUMORA_PIXEL_TRAITS_H

#include <lumora/pixel.h>

#include <cstddef>

template <class T>
struct PixelTraits;

// type code, bits per pixel, planes, depth code (one bit per storage width),
// default colour system, archive object types of KImage<T> and KROI<T> (0 for
// types that cannot be archived), short name used in trace texts.
#define LUMORA_PIXEL_TRAITS(T, TYPE, BITS, PLANES, DEPTH, COLOR, IMAGE_OBJ, ROI_OBJ, NAME) \
    template <>                                                                         \
    struct PixelTraits<T> {                                                             \
        static constexpr K_IMAGE_TYPES type = TYPE;                                     \
        static constexpr int bitsPerPixel = BITS;                                       \
        static constexpr int planes = PLANES;                                           \
        static constexpr short depthCode = DEPTH;                                       \
        static constexpr short dataType = 1;                                            \
        static constexpr K_COLOR_SYSTEM colorSystem = COLOR;                            \
        static constexpr int imageObjectType = IMAGE_OBJ;                               \
        static constexpr int roiObjectType = ROI_OBJ;                                   \
        static constexpr bool archivable = IMAGE_OBJ != 0;                              \
        static constexpr std::size_t elementSize = sizeof(T);                           \
        static constexpr const char* name = NAME;                                       \
    }

LUMORA_PIXEL_TRAITS(KBW1, K_IMAGE_TYPE_BW1, 1, 1, 1, K_COLOR_SYSTEM_BILEVEL, 33, 46, "BW1");
LUMORA_PIXEL_TRAITS(KBW8, K_IMAGE_TYPE_BW8, 8, 1, 2, K_COLOR_SYSTEM_GRAY_LEVEL, 34, 47, "BW8");
LUMORA_PIXEL_TRAITS(KBW16, K_IMAGE_TYPE_BW16, 16, 1, 4, K_COLOR_SYSTEM_GRAY_LEVEL, 35, 48, "BW16");
LUMORA_PIXEL_TRAITS(KBW32, K_IMAGE_TYPE_BW32, 32, 1, 8, K_COLOR_SYSTEM_GRAY_LEVEL, 36, 49, "BW32");
LUMORA_PIXEL_TRAITS(KC15, K_IMAGE_TYPE_C15, 16, 3, 4, K_COLOR_SYSTEM_RGB, 37, 50, "C15");
LUMORA_PIXEL_TRAITS(KC16, K_IMAGE_TYPE_C16, 16, 3, 4, K_COLOR_SYSTEM_RGB, 38, 51, "C16");
LUMORA_PIXEL_TRAITS(KC24, K_IMAGE_TYPE_C24, 24, 3, 32, K_COLOR_SYSTEM_RGB, 39, 52, "C24");
LUMORA_PIXEL_TRAITS(KYUY2, K_IMAGE_TYPE_YUY2, 16, 3, 4, K_COLOR_SYSTEM_YUV, 40, 53, "YUY2");
LUMORA_PIXEL_TRAITS(KC24A, K_IMAGE_TYPE_C24A, 32, 4, 8, K_COLOR_SYSTEM_RGB, 41, 54, "C24A");
LUMORA_PIXEL_TRAITS(KSubPixel64, K_IMAGE_TYPE_SUB_PIXEL64, 64, 1, 16, K_COLOR_SYSTEM_NONE, 42, 55, "SubPixel64");
LUMORA_PIXEL_TRAITS(KComplex64, K_IMAGE_TYPE_COMPLEX64, 64, 1, 16, K_COLOR_SYSTEM_GRAY_LEVEL, 43, 56, "Complex64");
LUMORA_PIXEL_TRAITS(KRaw32, K_IMAGE_TYPE_RAW32, 32, 1, 8, K_COLOR_SYSTEM_NONE, 44, 57, "Raw32");
LUMORA_PIXEL_TRAITS(KRaw96, K_IMAGE_TYPE_RAW96, 96, 1, 64, K_COLOR_SYSTEM_NONE, 45, 58, "Raw96");
LUMORA_PIXEL_TRAITS(KFLOAT32, K_IMAGE_TYPE_FLOAT32, 32, 1, 8, K_COLOR_SYSTEM_GRAY_LEVEL, 0, 0, "FLOAT32");
LUMORA_PIXEL_TRAITS(KFLOAT64, K_IMAGE_TYPE_FLOAT64, 64, 1, 16, K_COLOR_SYSTEM_GRAY_LEVEL, 0, 0, "FLOAT64");

#undef LUMORA_PIXEL_TRAITS

// Applies a macro to each of the fifteen pixel types: used by the files that
// instantiate the image templates, so the list is written once.
#define LUMORA_FOR_EACH_PIXEL_TYPE(X) \
    X(KBW1)                           \
    X(KBW8)                           \
    X(KBW16)                          \
    X(KBW32)                          \
    X(KC15)                           \
    X(KC16)                           \
    X(KC24)                           \
    X(KC24A)                          \
    X(KYUY2)                          \
    X(KFLOAT32)                       \
    X(KFLOAT64)                       \
    X(KComplex64)                     \
    X(KSubPixel64)                    \
    X(KRaw32)                         \
    X(KRaw96)

#endif
