#pragma once
#include "codecs/ByteSource.h"
#include "codecs/DecodedBitmap.h"

#include <cstdint>

namespace kelpora::codec::detail {

// Bytes per row of `width` pixels of `bits` each, padded to 4 bytes.
inline uint64_t paddedRowBytes(uint64_t width, unsigned bits) { return (width * bits + 31) / 32 * 4; }

// Allocates height rows of `stride` bytes with malloc, uninitialised: the
// decoders write every byte. Null when out of memory.
inline uint8_t* allocatePixels(size_t stride, int height)
{
    const size_t n = stride * static_cast<size_t>(height);
    return static_cast<uint8_t*>(std::malloc(n == 0 ? 1 : n));
}

// Reads as much of [offset, offset + n) as the source holds into dst and
// returns the byte count read (0 when the offset is past the end).
inline size_t readAvailable(ByteSource& src, uint64_t offset, uint8_t* dst, size_t n)
{
    const uint64_t size = src.size();
    if (offset >= size)
        return 0;
    const size_t take = static_cast<size_t>(n < size - offset ? n : size - offset);
    return src.readAt(offset, dst, take) ? take : 0;
}

// Run-length data at `offset`, bottom-up, into Indexed8 rows; every byte of
// the output is written, skipped pixels as index 0.
void decodeRunLength(ByteSource& src, uint64_t offset, bool fourBit, int width, int height,
                     uint8_t* pixels, size_t stride);

} // namespace kelpora::codec::detail
