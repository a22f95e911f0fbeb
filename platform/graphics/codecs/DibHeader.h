#pragma once
#include "codecs/ByteSource.h"
#include "codecs/DecodedBitmap.h"

#include <cstdint>
#include <optional>

namespace kelpora::codec::detail {

enum Compression : uint32_t {
    kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6,
};

// The parts of a device-independent bitmap header the decoders use, in one
// shape whatever the header's generation.
struct DibHeader {
    uint32_t headerSize = 0;
    bool os2v1 = false;        // 12-byte header: 16-bit sizes, 3-byte colour entries
    int64_t width = 0;
    int64_t height = 0;        // as stored: negative means top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool masksInHeader = false;       // the header itself holds the masks
    bool hasAlphaMask = false;        // masks[3] is meaningful
    uint64_t afterHeader = 0;         // offset just past the header (and any masks after it)
};

// Reads the header at `offset`, including bit-field masks stored after a
// 40-byte header. Checks only what every caller needs: a known header size,
// readable bytes. Errors: Truncated when the header runs past the end,
// Malformed for an unknown header size.
Result<DibHeader> readDibHeader(ByteSource& src, uint64_t offset);

// Colour table: `count` entries of `entrySize` bytes at `offset`, as far as
// the file holds them, padded with opaque black to `padTo` entries.
std::vector<uint32_t> readPalette(ByteSource& src, uint64_t offset, uint32_t count, unsigned entrySize,
                                  uint32_t padTo);

} // namespace kelpora::codec::detail
