#pragma once
#include "codecs/ByteSource.h"
#include "codecs/DecodedBitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelpora::codec {

struct IconEntry {
    uint8_t width = 0, height = 0; // the directory's bytes, unchanged (0 stays 0)
    uint16_t colorCount = 0;       // colour-count byte | reserved byte << 8
    uint16_t planes = 0, bitCount = 0;
    uint32_t bytesInRes = 0, imageOffset = 0;
};

struct IconDirectory {
    uint16_t type = 0; // 0: no images (callers show a default icon); 1: icon
    std::vector<IconEntry> entries;
};

// Under 6 bytes: Truncated. Type other than 0 or 1 (cursors are 2): Malformed.
// Type 0 yields no entries. A directory that runs past the end: Truncated.
// An empty directory parses; it has nothing to choose from.
Result<IconDirectory> parseIconDirectory(ByteSource& src);

inline constexpr size_t kNoIconImage = static_cast<size_t>(-1);

// Index of the image to show for the asked size on a screen of the given
// depth; kNoIconImage when the directory is empty. Starts with entry 0; a
// later entry replaces the choice when its colour count (0 counting as the
// largest) is within what the screen shows (2^bpp up to 8 bits per pixel)
// and not below the choice's, and in each direction it is no further from
// the asked size than the choice and, when larger than asked, no larger
// than the choice. Ties go to the later entry.
size_t chooseIconImage(const IconDirectory& dir, int askedWidth, int askedHeight, int screenBitsPerPixel);

// True when the entry's data starts with the PNG signature.
bool iconImageIsPng(ByteSource& src, const IconEntry& e);

// Decodes a DIB entry (1, 4, 8, 16, 24 or 32 bits, XOR image followed by the
// AND mask) to Argb32, mask bit 1 meaning transparent. 32-bit images use
// their own alpha unless every alpha byte is 0. PNG entries: Unsupported.
Result<DecodedBitmap> decodeIconImage(ByteSource& src, const IconEntry& e);

} // namespace kelpora::codec
