#include "persist/pixel_rows.h"

#include "persist/archive_io.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace lumora::detail {

namespace {

// Large enough that a file stream writes straight from it to the system, so
// small that it stays in the processor's cache while it is reused.
constexpr uint64_t kStagingBytes = uint64_t{256} << 10;

unsigned char* RowAt(const RowLayout& layout, int64_t y) { return layout.first + layout.pitchBytes * y; }

std::unique_ptr<unsigned char[]> AllocateBytes(uint64_t size) {
    std::unique_ptr<unsigned char[]> bytes(size <= SIZE_MAX ? new (std::nothrow) unsigned char[size] : nullptr);
    if (!bytes) {
        RaiseArchive(K_ERROR_ALLOCATION);
    }
    return bytes;
}

// Whether every row of a contiguous buffer already holds zeros after its
// first copied bytes, so that the buffer can be written as it is.
bool PaddingIsZero(const RowLayout& layout, uint64_t copied) {
    for (int64_t y = 0; y < layout.rows; ++y) {
        const unsigned char* row = RowAt(layout, y);
        for (uint64_t i = copied; i < layout.storedBytes; ++i) {
            if (row[i] != 0) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

void WriteRows(KOpaqueSerializer& stream, const RowLayout& layout) {
    if (layout.rows <= 0 || layout.storedBytes == 0) {
        return;
    }
    const uint64_t copied = std::min(layout.usefulBytes, layout.storedBytes);
    // Stored rows that are the buffer's own rows go out in one block when
    // their padding is zero already, as it is in a buffer read from an
    // archive or fresh from the system: no staging copy.
    if (layout.pitchBytes >= 0 && layout.storedBytes == static_cast<uint64_t>(layout.pitchBytes) &&
        PaddingIsZero(layout, copied)) {
        TransferBlock(stream, layout.first, layout.storedBytes * static_cast<uint64_t>(layout.rows), "m_pImagePtr");
        return;
    }
    if (layout.storedBytes <= kStagingBytes) {
        const uint64_t stageRows = std::min<uint64_t>(kStagingBytes / layout.storedBytes, layout.rows);
        auto stage = AllocateBytes(stageRows * layout.storedBytes);
        for (int64_t y = 0; y < layout.rows;) {
            const int64_t count = std::min<int64_t>(static_cast<int64_t>(stageRows), layout.rows - y);
            unsigned char* out = stage.get();
            for (int64_t i = 0; i < count; ++i, out += layout.storedBytes) {
                if (copied > 0) {
                    std::memcpy(out, RowAt(layout, y + i), copied);
                }
                std::memset(out + copied, 0, layout.storedBytes - copied);
            }
            TransferBlock(stream, stage.get(), static_cast<uint64_t>(count) * layout.storedBytes, "m_pImagePtr");
            y += count;
        }
        return;
    }
    // Rows longer than the staging block: each row's pixels straight from the
    // buffer, then its padding from a block of zeros.
    auto zeros = AllocateBytes(kStagingBytes);
    std::memset(zeros.get(), 0, kStagingBytes);
    for (int64_t y = 0; y < layout.rows; ++y) {
        TransferBlock(stream, RowAt(layout, y), copied, "m_pImagePtr");
        for (uint64_t left = layout.storedBytes - copied; left > 0;) {
            const uint64_t piece = std::min(left, kStagingBytes);
            TransferBlock(stream, zeros.get(), piece, "m_pImagePtr");
            left -= piece;
        }
    }
}

void ReadRows(KOpaqueSerializer& stream, const RowLayout& layout, bool direct) {
    if (layout.rows <= 0 || layout.storedBytes == 0) {
        return;
    }
    const bool fits = layout.pitchBytes >= 0 && layout.storedBytes <= static_cast<uint64_t>(layout.pitchBytes);
    if (direct && fits) {
        if (layout.storedBytes == static_cast<uint64_t>(layout.pitchBytes)) {
            TransferBlock(stream, layout.first, layout.storedBytes * static_cast<uint64_t>(layout.rows),
                          "m_pImagePtr");
            return;
        }
        for (int64_t y = 0; y < layout.rows; ++y) {
            TransferBlock(stream, RowAt(layout, y), layout.storedBytes, "m_pImagePtr");
        }
        return;
    }
    const uint64_t copied = std::min(layout.usefulBytes, layout.storedBytes);
    auto row = AllocateBytes(layout.storedBytes);
    for (int64_t y = 0; y < layout.rows; ++y) {
        TransferBlock(stream, row.get(), layout.storedBytes, "m_pImagePtr");
        if (copied > 0) {
            std::memcpy(RowAt(layout, y), row.get(), copied);
        }
    }
}

}  // namespace lumora::detail
