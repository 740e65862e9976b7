// Moving image rows between a buffer and a stream whose rows may have another
// length than the buffer's row pitch: the pixel block of the archive and the
// two partial records share this.
#ifndef LUMORA_PERSIST_PIXEL_ROWS_H
#define LUMORA_PERSIST_PIXEL_ROWS_H

#include <cstdint>

class KOpaqueSerializer;

namespace lumora::detail {

struct RowLayout {
    unsigned char* first;   // row 0; null only when no pixel byte is moved
    int64_t pitchBytes;     // distance from one row of the buffer to the next
    int64_t rows;
    uint64_t storedBytes;   // length of each row in the stream
    uint64_t usefulBytes;   // bytes of each row that hold pixels
};

// Writes each row as storedBytes: its first min(useful, stored) bytes from
// the buffer, then zeros. Rows are gathered in a staging block so that the
// stream sees few large writes.
void WriteRows(KOpaqueSerializer& stream, const RowLayout& layout);

// Reads each stored row. When direct is true and a stored row fits the pitch,
// it lands at the start of its buffer row (one transfer for the whole block
// when the lengths agree); otherwise it goes through a temporary row, of
// which the useful bytes are copied.
void ReadRows(KOpaqueSerializer& stream, const RowLayout& layout, bool direct);

}  // namespace lumora::detail

#endif
