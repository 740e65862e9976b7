// How many bytes a reading serializer can still deliver, so that the archive
// can refuse a hostile length, count or size before allocating for it.
#ifndef LUMORA_PERSIST_STREAM_REMAINING_H
#define LUMORA_PERSIST_STREAM_REMAINING_H

#include <cstdint>

class KSerializer;

namespace lumora::detail {

// The bytes between the read position and the end of the stream for the
// library's three serializers; -1 when it cannot be told: a writer, a stream
// that cannot seek (a pipe), or a serializer class of the caller's.
int64_t BytesLeft(const KSerializer& serializer);

}  // namespace lumora::detail

#endif
