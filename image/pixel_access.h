// Reading and writing one pixel of a view, per pixel type. Most types are
// one element at the pixel's address; KBW1 packs eight pixels into a byte
// (column 0 in the top bit) and KYUY2 shares the chroma of a pair of pixels
// (four bytes Y0 U Y1 V, the pair starting at an even absolute column).
#ifndef LUMORA_IMAGE_PIXEL_ACCESS_H
#define LUMORA_IMAGE_PIXEL_ACCESS_H

#include <lumora/image.h>

#include <cstring>

namespace lumora::detail {

// Plain types: the element bytes at the view's pixel address.
template <class T>
struct PixelAccess {
    static T Get(KROI<T>& view, int x, int y) {
        T value{};
        if (const void* address = view.GetGenericImagePtr(x, y)) {
            std::memcpy(&value, address, sizeof(T));
        }
        return value;
    }
    static void Set(KROI<T>& view, T value, int x, int y) {
        if (void* address = view.GetGenericImagePtr(x, y)) {
            std::memcpy(address, &value, sizeof(T));
        }
    }
};

// The absolute position of a view's pixel and the byte that holds it in the
// image at the top of the tree (null when the view addresses no pixels).
template <class T>
struct AbsolutePixel {
    AbsolutePixel(KROI<T>& view, int x, int y)
        : column(AddCoordinates(view.GetTotalOrgX(), x)),
          row(AddCoordinates(view.GetTotalOrgY(), y)),
          top(view.IsAnROI() && !view.GetParent() ? nullptr : static_cast<KImage<T>*>(view.GetTopParent())),
          byte(top ? static_cast<unsigned char*>(top->GetGenericImagePtr(column, row)) : nullptr) {}
    int column;
    int row;
    KImage<T>* top;
    unsigned char* byte;
};

template <>
struct PixelAccess<KBW1> {
    static KBW1 Get(KROI<KBW1>& view, int x, int y) {
        const AbsolutePixel<KBW1> pixel(view, x, y);
        if (!pixel.byte) {
            return KBW1{0};
        }
        return KBW1{(*pixel.byte & BitMask(pixel.column)) != 0 ? 1u : 0u};
    }
    static void Set(KROI<KBW1>& view, KBW1 value, int x, int y) {
        const AbsolutePixel<KBW1> pixel(view, x, y);
        if (!pixel.byte) {
            return;
        }
        if (value.m_un32Value != 0) {
            *pixel.byte = static_cast<unsigned char>(*pixel.byte | BitMask(pixel.column));
        } else {
            *pixel.byte = static_cast<unsigned char>(*pixel.byte & ~BitMask(pixel.column));
        }
    }
    static unsigned char BitMask(int column) { return static_cast<unsigned char>(0x80u >> (column & 7)); }
};

template <>
struct PixelAccess<KYUY2> {
    static KYUY2 Get(KROI<KYUY2>& view, int x, int y) {
        const AbsolutePixel<KYUY2> pixel(view, x, y);
        const unsigned char* p = pixel.byte;
        if (!p) {
            return KYUY2{0, 0, 0};
        }
        KYUY2 value{p[0], p[1], p[3]};
        if ((pixel.column & 1) != 0) {
            // p is Y1 of its pair: the pair's chroma sits before and after it.
            if (pixel.column < pixel.top->GetWidth() - 1) {
                value.U = static_cast<uint8_t>((p[-1] + p[3]) / 2);
                value.V = static_cast<uint8_t>((p[1] + p[5]) / 2);
            } else {
                value.U = p[-1];
                value.V = p[1];
            }
        }
        return value;
    }
    static void Set(KROI<KYUY2>& view, KYUY2 value, int x, int y) {
        const AbsolutePixel<KYUY2> pixel(view, x, y);
        unsigned char* p = pixel.byte;
        if (!p || pixel.column < 0 || pixel.column >= pixel.top->GetWidth() || pixel.row < 0 ||
            pixel.row >= pixel.top->GetHeight()) {
            return;
        }
        p[0] = value.Y;
        if ((pixel.column & 1) == 0) {
            p[1] = value.U;
            p[3] = value.V;
        }
    }
};

}  // namespace lumora::detail

#endif
