#pragma once
#include <cstdint>

namespace kelpora::codec::detail {

// How large a decoded image may be before the decoder refuses it as
// TooLarge, checked before anything is allocated:
//  - at most 2^28 pixels and 1 GiB of decoded pixels, whatever the file;
//  - at most 16 MiB plus 8 times the file size for uncompressed data
//    (a 4-bit file doubles on expansion to 8 bits, 16-bit bit-fields double
//    to 32 bits, and a cut-short file is still shown), or 16 MiB plus 256
//    times the file size for run-length data (one 2-byte run paints up to
//    255 pixels, and end-of-line, delta and end-of-bitmap skip more).
// A header that asks for more than its file could ever fill is a broken or
// hostile file, not a picture worth a gigabyte of memory.
inline constexpr uint64_t kMaxPixels = uint64_t(1) << 28;
inline constexpr uint64_t kMaxDecodedBytes = uint64_t(1) << 30;
inline constexpr uint64_t kSlackBytes = uint64_t(16) << 20;
inline constexpr uint64_t kRawExpansion = 8;
inline constexpr uint64_t kRleExpansion = 256;

// width and height are non-negative and below 2^31, so none of this overflows.
inline bool decodedSizeAllowed(uint64_t width, uint64_t height, uint64_t stride, uint64_t fileSize,
                               bool runLength)
{
    if (width * height > kMaxPixels)
        return false;
    if (stride > kMaxDecodedBytes || stride * height > kMaxDecodedBytes)
        return false;
    const uint64_t factor = runLength ? kRleExpansion : kRawExpansion;
    return stride * height <= kSlackBytes + factor * fileSize;
}

} // namespace kelpora::codec::detail
