#include "persist/stream_io.h"

#include <lumora/errors.h>
#include <lumora/exception.h>

#include <sys/types.h>

#include <cstdint>
#include <new>

namespace lumora::detail {
namespace {

[[noreturn]] void Raise(K_ERRORS code) { throw Corvane::Lumora::Exception(code); }

}  // namespace

void TransferBytes(FILE* stream, bool writing, void* data, unsigned int size) {
    if (!stream) {
        Raise(K_ERROR_SERIALIZER_NOT_OPEN);
    }
    if (size == 0) {
        return;
    }
    if (!data) {
        Raise(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    }
    if (writing) {
        if (std::fwrite(data, 1, size, stream) != size) {
            Raise(K_ERROR_FILE_WRITE);
        }
    } else if (std::fread(data, 1, size, stream) != size) {
        Raise(K_ERROR_FILE_READ);
    }
}

int64_t MeasureEnd(FILE* stream) {
    if (!stream) {
        return -1;
    }
    const off_t here = ftello(stream);
    if (here < 0 || fseeko(stream, 0, SEEK_END) != 0) {
        return -1;
    }
    const off_t end = ftello(stream);
    if (fseeko(stream, here, SEEK_SET) != 0) {
        return -1;
    }
    return end;
}

bool AtEnd(FILE* stream, int64_t end) {
    if (!stream) {
        return true;
    }
    if (end >= 0) {
        const off_t here = ftello(stream);
        return here < 0 || here >= end;
    }
    const int next = std::getc(stream);
    if (next == EOF) {
        return true;
    }
    std::ungetc(next, stream);
    return false;
}

unsigned int CurrentPos32(FILE* stream) {
    if (!stream) {
        KSetError(K_ERROR_SERIALIZER_NOT_OPEN);
        return 0;
    }
    const off_t here = ftello(stream);
    if (here < 0) {
        KSetError(K_ERROR_FILE_ACCESS);
        return 0;
    }
    if (static_cast<uint64_t>(here) > UINT32_MAX) {
        KSetError(K_ERROR_PARAMETERS_OUT_OF_RANGE);
        return UINT32_MAX;
    }
    return static_cast<unsigned int>(here);
}

void PushOffset(FILE* stream, std::vector<int64_t>& stack) {
    if (!stream) {
        Raise(K_ERROR_SERIALIZER_NOT_OPEN);
    }
    const off_t here = ftello(stream);
    if (here < 0) {
        Raise(K_ERROR_FILE_ACCESS);
    }
    try {
        stack.push_back(here);
    } catch (const std::bad_alloc&) {
        Raise(K_ERROR_ALLOCATION);
    }
}

void ApplyTopOffset(FILE* stream, std::vector<int64_t>& stack) {
    if (stack.empty()) {
        return;
    }
    const int64_t offset = stack.back();
    stack.pop_back();
    if (!stream) {
        Raise(K_ERROR_SERIALIZER_NOT_OPEN);
    }
    if (fseeko(stream, static_cast<off_t>(offset), SEEK_SET) != 0) {
        Raise(K_ERROR_FILE_ACCESS);
    }
}

void DropTopOffset(std::vector<int64_t>& stack) {
    if (!stack.empty()) {
        stack.pop_back();
    }
}

}  // namespace lumora::detail
