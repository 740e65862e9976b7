// The parts of vector files that do not depend on the element type: the
// 4-byte header, opening by narrow or UTF-16 path, the open-header-body-close
// sequence of Save and Load with its error codes and trace, and the stream
// helpers that Serialize reads and writes through.
#ifndef LUMORA_VECTOR_FILE_H
#define LUMORA_VECTOR_FILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace lumora::detail {

// 'K', type code, version, and the XOR of the three; the same layout heads
// the objects of the archive.
struct VectorFileHeader {
    uint8_t bytes[4];
};

constexpr uint8_t kVectorFileSignature = 0x4B;

constexpr VectorFileHeader MakeVectorFileHeader(uint8_t typeCode, uint8_t version) {
    return VectorFileHeader{{kVectorFileSignature, typeCode, version,
                             static_cast<uint8_t>(kVectorFileSignature ^ typeCode ^ version)}};
}

// fopen in binary mode ("wb" or "rb"); null when the file cannot be opened.
FILE* OpenVectorFile(const char* path, bool forWriting);
FILE* OpenVectorFile(const unsigned short* path, bool forWriting);

// Runs the body of a file: the vector's Serialize on the open stream. The
// vector is passed through untyped so that one sequence serves every member.
typedef void (*VectorFileBody)(void* vector, FILE* stream);

// Save on a stream just opened (null when the open failed, giving 1102):
// writes the header (1104 when short), clears the error word, runs the body,
// closes (1106 when the close fails). Any failure closes the stream once and
// is traced as operation.
void SaveVectorFile(FILE* stream, const VectorFileHeader& header, const char* operation,
                    VectorFileBody body, void* vector);

// Load on a stream just opened (1102 when null): reads the header (1103 when
// short), refuses any header other than the expected one (1105), clears the
// error word, runs the body and closes as SaveVectorFile does.
void LoadVectorFile(FILE* stream, const VectorFileHeader& expected, const char* operation,
                    VectorFileBody body, void* vector);

// Whole writes and reads: false when fewer than size bytes moved.
bool WriteAll(FILE* stream, const void* data, size_t size);
bool ReadAll(FILE* stream, void* data, size_t size);

// Bytes between the stream's position and its end. False when the stream
// cannot tell (a pipe or terminal), in which case nothing is known.
bool RemainingStreamBytes(FILE* stream, uint64_t* remaining);

}  // namespace lumora::detail

#endif
