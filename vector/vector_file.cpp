#include "vector/vector_file.h"

#include "frame/report.h"
#include "platform/utf16.h"

#include <lumora/errors.h>

#include <sys/types.h>

#include <cstring>

namespace lumora::detail {
namespace {

// Closes after a failure that is already stored: the close's own result
// cannot improve on the first code, so it is not looked at.
void CloseAfterFailure(FILE* stream, const char* operation) {
    std::fclose(stream);
    KTraceError(operation);
}

// Closes after a body that ran: a failure the body left is traced; otherwise
// a failing close is the failure.
void CloseAfterBody(FILE* stream, const char* operation) {
    if (KFailure()) {
        CloseAfterFailure(stream, operation);
    } else if (std::fclose(stream) != 0) {
        Fail(K_ERROR_FILE_CLOSE, operation);
    }
}

}  // namespace

FILE* OpenVectorFile(const char* path, bool forWriting) {
    if (!path) {
        return nullptr;
    }
    return std::fopen(path, forWriting ? "wb" : "rb");
}

FILE* OpenVectorFile(const unsigned short* path, bool forWriting) {
    static const unsigned short kWrite[] = {'w', 'b', 0};
    static const unsigned short kRead[] = {'r', 'b', 0};
    return platform::OpenWideFile(path, forWriting ? kWrite : kRead);
}

void SaveVectorFile(FILE* stream, const VectorFileHeader& header, const char* operation,
                    VectorFileBody body, void* vector) {
    if (!stream) {
        Fail(K_ERROR_FILE_OPEN, operation);
        return;
    }
    if (!WriteAll(stream, header.bytes, sizeof header.bytes)) {
        KSetError(K_ERROR_FILE_WRITE);
        CloseAfterFailure(stream, operation);
        return;
    }
    KOk();
    body(vector, stream);
    CloseAfterBody(stream, operation);
}

void LoadVectorFile(FILE* stream, const VectorFileHeader& expected, const char* operation,
                    VectorFileBody body, void* vector) {
    if (!stream) {
        Fail(K_ERROR_FILE_OPEN, operation);
        return;
    }
    VectorFileHeader found;
    if (!ReadAll(stream, found.bytes, sizeof found.bytes)) {
        KSetError(K_ERROR_FILE_READ);
        CloseAfterFailure(stream, operation);
        return;
    }
    if (std::memcmp(found.bytes, expected.bytes, sizeof found.bytes) != 0) {
        KSetError(K_ERROR_BAD_FILE_FORMAT);
        CloseAfterFailure(stream, operation);
        return;
    }
    KOk();
    body(vector, stream);
    CloseAfterBody(stream, operation);
}

bool WriteAll(FILE* stream, const void* data, size_t size) {
    return size == 0 || std::fwrite(data, 1, size, stream) == size;
}

bool ReadAll(FILE* stream, void* data, size_t size) {
    return size == 0 || std::fread(data, 1, size, stream) == size;
}

bool RemainingStreamBytes(FILE* stream, uint64_t* remaining) {
    const off_t position = ftello(stream);
    if (position < 0 || fseeko(stream, 0, SEEK_END) != 0) {
        return false;
    }
    const off_t end = ftello(stream);
    // Going back must work for the read to go on at all; a stream that
    // cannot return is treated as one that cannot seek.
    if (fseeko(stream, position, SEEK_SET) != 0 || end < 0) {
        return false;
    }
    *remaining = end > position ? static_cast<uint64_t>(end - position) : 0;
    return true;
}

}  // namespace lumora::detail
