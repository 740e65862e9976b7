// BytesLeft for the library's three serializers, which name it their friend.
#include "persist/stream_remaining.h"

#include <lumora/serializer.h>

#include <sys/types.h>

#include <cstdio>

namespace {

int64_t LeftInFile(FILE* stream, int64_t end) {
    if (!stream || end < 0) {
        return -1;
    }
    const off_t here = ftello(stream);
    if (here < 0) {
        return -1;
    }
    return here >= end ? 0 : end - here;
}

}  // namespace

namespace lumora::detail {

int64_t BytesLeft(const KSerializer& serializer) {
    if (!serializer.IsReading()) {
        return -1;
    }
    if (const auto* memory = dynamic_cast<const KMemSerializer*>(&serializer)) {
        const size_t length = memory->m_aun8Buffer.size();
        const uint32_t position = memory->m_un32ReadPos;
        return position >= length ? 0 : static_cast<int64_t>(length - position);
    }
    if (const auto* file = dynamic_cast<const KFileSerializer*>(&serializer)) {
        return LeftInFile(file->m_pFile, file->m_n64FileSize);
    }
    if (const auto* pointer = dynamic_cast<const KFilePointerSerializer*>(&serializer)) {
        return LeftInFile(pointer->m_pStream, pointer->m_n64EndOffset);
    }
    return -1;
}

}  // namespace lumora::detail
