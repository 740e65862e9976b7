// What differs between the members of KVectorTemplate: the file header's type
// code and version, the size of one element in a vector file, how one element
// is written to and read from the file, and the value GetElement returns for
// an index out of range.
//
// The primary template is left undefined, so an element type without a row
// here fails to compile instead of picking up a default.
#ifndef LUMORA_VECTOR_ELEMENT_TRAITS_H
#define LUMORA_VECTOR_ELEMENT_TRAITS_H

#include <lumora/pixel.h>

#include "vector/byte_order.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

template <class T>
struct VectorElementTraits;

namespace lumora::detail {

// Every member answers an out-of-range GetElement with the all-zero value:
// 0 for the numbers and grey levels, black for KC24, a run with null pointers
// at (0, 0) for KRun.
template <class T>
struct ZeroOutOfRange {
    static T OutOfRangeValue() { return T{}; }
};

// Members whose file element is one 32-bit little-endian word.
template <class T, uint8_t TypeCode>
struct Word32Element : ZeroOutOfRange<T> {
    static constexpr uint8_t fileTypeCode = TypeCode;
    static constexpr uint8_t fileVersion = 1;
    static constexpr size_t fileElementSize = 4;
    static_assert(sizeof(T) == 4 && std::is_trivially_copyable<T>::value, "one 32-bit word");
    static void Write(const T& element, uint8_t* out) {
        uint32_t word;
        std::memcpy(&word, &element, sizeof word);
        StoreLittleEndian32(word, out);
    }
    static T Read(const uint8_t* in) {
        const uint32_t word = LoadLittleEndian32(in);
        T element;
        std::memcpy(&element, &word, sizeof element);
        return element;
    }
};

}  // namespace lumora::detail

template <>
struct VectorElementTraits<KBW8> : lumora::detail::ZeroOutOfRange<KBW8> {
    static constexpr uint8_t fileTypeCode = 1;
    static constexpr uint8_t fileVersion = 1;
    static constexpr size_t fileElementSize = 1;
    static void Write(const KBW8& element, uint8_t* out) { out[0] = element.m_un8Value; }
    static KBW8 Read(const uint8_t* in) { return KBW8{in[0]}; }
};

template <>
struct VectorElementTraits<KBW16> : lumora::detail::ZeroOutOfRange<KBW16> {
    static constexpr uint8_t fileTypeCode = 2;
    static constexpr uint8_t fileVersion = 1;
    static constexpr size_t fileElementSize = 2;
    static void Write(const KBW16& element, uint8_t* out) {
        lumora::detail::StoreLittleEndian16(element.m_un16Value, out);
    }
    static KBW16 Read(const uint8_t* in) { return KBW16{lumora::detail::LoadLittleEndian16(in)}; }
};

// KBW32 and unsigned int share type code 3, so their files are interchangeable.
template <>
struct VectorElementTraits<KBW32> : lumora::detail::Word32Element<KBW32, 3> {};
template <>
struct VectorElementTraits<unsigned int> : lumora::detail::Word32Element<unsigned int, 3> {};
template <>
struct VectorElementTraits<KINT32> : lumora::detail::Word32Element<KINT32, 7> {};

// Three bytes in memory order, packed without padding.
template <>
struct VectorElementTraits<KC24> : lumora::detail::ZeroOutOfRange<KC24> {
    static constexpr uint8_t fileTypeCode = 4;
    static constexpr uint8_t fileVersion = 1;
    static constexpr size_t fileElementSize = 3;
    static void Write(const KC24& element, uint8_t* out) {
        out[0] = element.m_un8C2;
        out[1] = element.m_un8C1;
        out[2] = element.m_un8C0;
    }
    static KC24 Read(const uint8_t* in) { return KC24{in[0], in[1], in[2]}; }
};

// 12 bytes whatever the pointer width: the low 32 bits of pBeg and of pEnd,
// then n16X and n16Y. Reading zero-extends the two pointer values.
template <>
struct VectorElementTraits<KRun> : lumora::detail::ZeroOutOfRange<KRun> {
    static constexpr uint8_t fileTypeCode = 6;
    static constexpr uint8_t fileVersion = 1;
    static constexpr size_t fileElementSize = 12;
    static void Write(const KRun& element, uint8_t* out) {
        using namespace lumora::detail;
        StoreLittleEndian32(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(element.pBeg)), out);
        StoreLittleEndian32(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(element.pEnd)), out + 4);
        StoreLittleEndian16(static_cast<uint16_t>(element.n16X), out + 8);
        StoreLittleEndian16(static_cast<uint16_t>(element.n16Y), out + 10);
    }
    static KRun Read(const uint8_t* in) {
        using namespace lumora::detail;
        KRun run;
        run.pBeg = reinterpret_cast<void*>(static_cast<uintptr_t>(LoadLittleEndian32(in)));
        run.pEnd = reinterpret_cast<void*>(static_cast<uintptr_t>(LoadLittleEndian32(in + 4)));
        run.n16X = static_cast<int16_t>(LoadLittleEndian16(in + 8));
        run.n16Y = static_cast<int16_t>(LoadLittleEndian16(in + 10));
        return run;
    }
};

#endif
