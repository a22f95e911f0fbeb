#include "codecs/DibHeader.h"
#include "codecs/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace kelpora::codec::detail {

namespace {

bool isKnownHeaderSize(uint32_t size)
{
    // 12: OS/2 1.x; 16..64: OS/2 2.x, which may stop after any field, and the
    // Windows 40/52/56-byte headers; 108 and 124: the two later Windows ones.
    return size == 12 || (size >= 16 && size <= 64) || size == 108 || size == 124;
}

} // namespace

Result<DibHeader> readDibHeader(ByteSource& src, uint64_t offset)
{
    const uint64_t fileSize = src.size();
    uint8_t sizeField[4];
    if (offset > fileSize || fileSize - offset < 4 || !src.readAt(offset, sizeField, 4))
        return DecodeError::Truncated;
    DibHeader h;
    h.headerSize = le32(sizeField);
    if (!isKnownHeaderSize(h.headerSize))
        return DecodeError::Malformed;
    if (fileSize - offset < h.headerSize)
        return DecodeError::Truncated;

    uint8_t b[124] = {};
    if (!src.readAt(offset, b, h.headerSize))
        return DecodeError::Truncated;
    h.afterHeader = offset + h.headerSize;

    if (h.headerSize == 12) {
        h.os2v1 = true;
        h.width = le16(b + 4);
        h.height = le16(b + 6);
        h.planes = le16(b + 8);
        h.bitCount = le16(b + 10);
        return h;
    }
    // Fields a short OS/2 2.x header leaves out read as zero.
    h.width = les32(b + 4);
    h.height = les32(b + 8);
    h.planes = le16(b + 12);
    h.bitCount = le16(b + 14);
    h.compression = le32(b + 16);
    h.colorsUsed = le32(b + 32);

    const bool windowsHeader = h.headerSize == 40 || h.headerSize == 52 || h.headerSize == 56
        || h.headerSize >= 108;
    if (!windowsHeader && (h.compression == 3 || h.compression == 4)) {
        // In OS/2 2.x headers 3 is Huffman 1D and 4 is 24-bit RLE; neither
        // is read here. Map them out of the Windows numbering.
        h.compression = 0x100 + h.compression;
        return h;
    }

    if (h.headerSize >= 52) {
        h.masks[0] = le32(b + 40);
        h.masks[1] = le32(b + 44);
        h.masks[2] = le32(b + 48);
        h.masksInHeader = true;
        if (h.headerSize >= 56) {
            h.masks[3] = le32(b + 52);
            h.hasAlphaMask = true;
        }
    } else if (h.headerSize == 40 && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
        const unsigned n = h.compression == kAlphaBitFields ? 4 : 3;
        uint8_t m[16] = {};
        if (fileSize - h.afterHeader < n * 4 || !src.readAt(h.afterHeader, m, n * 4))
            return DecodeError::Truncated;
        for (unsigned i = 0; i < n; ++i)
            h.masks[i] = le32(m + 4 * i);
        h.hasAlphaMask = n == 4;
        h.afterHeader += n * 4;
    }
    return h;
}

std::vector<uint32_t> readPalette(ByteSource& src, uint64_t offset, uint32_t count, unsigned entrySize,
                                  uint32_t padTo)
{
    std::vector<uint32_t> palette;
    palette.reserve(std::max(count, padTo));
    const uint64_t fileSize = src.size();
    const uint64_t present = offset >= fileSize ? 0 : (fileSize - offset) / entrySize;
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(count, present));
    uint8_t raw[256 * 4];
    if (n > 0 && n * entrySize <= sizeof raw && src.readAt(offset, raw, n * entrySize)) {
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t* e = raw + i * entrySize;
            palette.push_back(0xFF000000u | (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0]);
        }
    }
    while (palette.size() < padTo)
        palette.push_back(0xFF000000u);
    return palette;
}

} // namespace kelpora::codec::detail
