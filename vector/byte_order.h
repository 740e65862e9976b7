// Little-endian fields in byte buffers, the byte order of every format the
// library writes. Written out byte by byte so the result does not depend on
// the host's order or on the alignment of the buffer.
#ifndef LUMORA_VECTOR_BYTE_ORDER_H
#define LUMORA_VECTOR_BYTE_ORDER_H

#include <cstdint>

namespace lumora::detail {

inline void StoreLittleEndian16(uint16_t value, uint8_t* out) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreLittleEndian32(uint32_t value, uint8_t* out) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

inline uint16_t LoadLittleEndian16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

inline uint32_t LoadLittleEndian32(const uint8_t* in) {
    return static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
           (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

}  // namespace lumora::detail

#endif
