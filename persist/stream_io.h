// Stream operations shared by the two FILE*-based serializers: transfers,
// 64-bit offsets, the end test and the position stack. Failures throw
// Corvane::Lumora::Exception with the code the serializers report.
#ifndef LUMORA_PERSIST_STREAM_IO_H
#define LUMORA_PERSIST_STREAM_IO_H

#include <cstdint>
#include <cstdio>
#include <vector>

namespace lumora::detail {

// Writes or reads exactly size bytes. Throws 1116 for a null stream, 1011
// for a null address with a non-zero size, 1104 for a short write, 1103 for
// a short read.
void TransferBytes(FILE* stream, bool writing, void* data, unsigned int size);

// The end offset of a seekable stream, which is left where it was; -1 for a
// stream that cannot seek (a pipe).
int64_t MeasureEnd(FILE* stream);

// True when no byte is left before end (-1: peek one byte instead), or when
// the stream is null or its offset cannot be told.
bool AtEnd(FILE* stream, int64_t end);

// The current offset as the 32-bit result of GetCurrentPos. Stores 1116 for
// a null stream, 1100 when the offset cannot be told and 1007 when it does
// not fit (returning 0xFFFFFFFF).
unsigned int CurrentPos32(FILE* stream);

// PushStreamPos: throws 1116 for a null stream, 1100 when the offset cannot
// be told, 1303 when the stack cannot grow.
void PushOffset(FILE* stream, std::vector<int64_t>& stack);
// PopAndApplyStreamPos: nothing on an empty stack; otherwise drops the top
// entry, then throws 1116 for a null stream or 1100 if seeking to it failed.
void ApplyTopOffset(FILE* stream, std::vector<int64_t>& stack);
// PopAndForgetStreamPos: drops the top entry if there is one.
void DropTopOffset(std::vector<int64_t>& stack);

}  // namespace lumora::detail

#endif
