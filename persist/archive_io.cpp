#include "persist/archive_io.h"

#include <lumora/exception.h>

#include "persist/stream_remaining.h"

#include <algorithm>
#include <new>

namespace lumora::detail {

namespace {

// SerializeBytes takes 32-bit sizes; long blocks go in pieces of 1 GiB.
constexpr uint64_t kBlockPiece = uint64_t{1} << 30;

}  // namespace

void RaiseArchive(K_ERRORS code) { throw Corvane::Lumora::Exception(code); }

KOpaqueSerializer& ArchiveStream(KSerializer* serializer) {
    if (!serializer) {
        RaiseArchive(K_ERROR_PARAMETER_1_OUT_OF_RANGE);
    }
    auto* stream = dynamic_cast<KOpaqueSerializer*>(serializer);
    if (!stream) {
        RaiseArchive(K_ERROR_SERIALIZER_NOT_OPEN);
    }
    return *stream;
}

void TransferBlock(KOpaqueSerializer& stream, void* data, uint64_t size, const char* name) {
    auto* bytes = static_cast<unsigned char*>(data);
    while (size > 0) {
        const uint64_t piece = std::min(size, kBlockPiece);
        stream.SerializeBytes(bytes, static_cast<unsigned int>(piece), name);
        bytes += piece;
        size -= piece;
    }
}

void ExpectAvailable(const KOpaqueSerializer& stream, uint64_t bytes) {
    const int64_t left = BytesLeft(stream);
    if (left >= 0 && bytes > static_cast<uint64_t>(left)) {
        RaiseArchive(K_ERROR_BAD_FILE_FORMAT);
    }
}

K_ERRORS StoreArchiveFailure() {
    try {
        throw;
    } catch (const Corvane::Lumora::Exception& error) {
        return KSetError(error.GetCode());
    } catch (const std::bad_alloc&) {
        return KSetError(K_ERROR_ALLOCATION);
    } catch (...) {
        return KSetError(K_ERROR_ARCHIVE_UNEXPECTED);
    }
}

}  // namespace lumora::detail
