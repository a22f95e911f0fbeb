#include "codecs/IconDecoder.h"
#include "codecs/BitFields.h"
#include "codecs/DibHeader.h"
#include "codecs/LittleEndian.h"
#include "codecs/PixelRows.h"
#include "codecs/SizeLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kelpora::codec {

using namespace detail;

Result<IconDirectory> parseIconDirectory(ByteSource& src)
{
    const uint64_t size = src.size();
    uint8_t head[6];
    if (size < sizeof head || !src.readAt(0, head, sizeof head))
        return DecodeError::Truncated;
    IconDirectory dir;
    dir.type = le16(head + 2);
    if (dir.type > 1)
        return DecodeError::Malformed;
    if (dir.type == 0)
        return dir;
    const uint16_t count = le16(head + 4);
    if ((size - 6) / 16 < count)
        return DecodeError::Truncated;
    std::vector<uint8_t> raw(size_t(count) * 16);
    if (count > 0 && !src.readAt(6, raw.data(), raw.size()))
        return DecodeError::Truncated;
    dir.entries.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* p = raw.data() + size_t(i) * 16;
        IconEntry e;
        e.width = p[0];
        e.height = p[1];
        e.colorCount = le16(p + 2);
        e.planes = le16(p + 4);
        e.bitCount = le16(p + 6);
        e.bytesInRes = le32(p + 8);
        e.imageOffset = le32(p + 12);
        dir.entries.push_back(e);
    }
    return dir;
}

namespace {

uint32_t colorRank(const IconEntry& e) { return e.colorCount == 0 ? 0x10000u : e.colorCount; }

bool noWorse(int candidate, int choice, int asked)
{
    if (std::abs(candidate - asked) > std::abs(choice - asked))
        return false;
    return candidate <= asked || candidate <= choice;
}

} // namespace

size_t chooseIconImage(const IconDirectory& dir, int askedWidth, int askedHeight, int screenBitsPerPixel)
{
    if (dir.entries.empty())
        return kNoIconImage;
    const uint64_t screenColors = (screenBitsPerPixel >= 1 && screenBitsPerPixel <= 8)
        ? (uint64_t(1) << screenBitsPerPixel) : UINT64_MAX;
    size_t chosen = 0;
    for (size_t i = 1; i < dir.entries.size(); ++i) {
        const IconEntry& e = dir.entries[i];
        const IconEntry& c = dir.entries[chosen];
        if (colorRank(e) > screenColors || colorRank(e) < colorRank(c))
            continue;
        if (noWorse(e.width, c.width, askedWidth) && noWorse(e.height, c.height, askedHeight))
            chosen = i;
    }
    return chosen;
}

bool iconImageIsPng(ByteSource& src, const IconEntry& e)
{
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    uint8_t head[8];
    const uint64_t size = src.size();
    if (e.imageOffset >= size || size - e.imageOffset < sizeof head || !src.readAt(e.imageOffset, head, 8))
        return false;
    return std::memcmp(head, kSignature, sizeof head) == 0;
}

namespace {

// Reads one bit from a mask row, most significant bit first.
inline bool bitAt(const uint8_t* row, size_t x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

} // namespace

Result<DecodedBitmap> decodeIconImage(ByteSource& src, const IconEntry& e)
{
    const uint64_t fileSize = src.size();
    if (e.imageOffset >= fileSize)
        return DecodeError::Truncated;
    if (iconImageIsPng(src, e))
        return DecodeError::Unsupported;
    auto parsed = readDibHeader(src, e.imageOffset);
    if (auto* err = std::get_if<DecodeError>(&parsed))
        return *err;
    const DibHeader& h = std::get<DibHeader>(parsed);
    if (h.os2v1 || h.headerSize < 40 || h.planes != 1 || h.width < 0 || h.height < 0)
        return DecodeError::Malformed;
    const unsigned bits = h.bitCount;
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return DecodeError::Unsupported;
    if (h.compression != kRgb && !(h.compression == kBitFields && (bits == 16 || bits == 32)))
        return DecodeError::Unsupported;

    DecodedBitmap out;
    out.width = static_cast<int>(h.width);
    out.height = static_cast<int>(h.height / 2); // the XOR image and the AND mask, stacked
    const uint64_t stride = paddedRowBytes(static_cast<uint64_t>(out.width), 32);
    if (!decodedSizeAllowed(out.width, out.height, stride, fileSize, false))
        return DecodeError::TooLarge;

    const uint32_t maxEntries = bits <= 8 ? (1u << bits) : 0;
    const uint32_t entries = h.colorsUsed != 0 ? std::min<uint32_t>(h.colorsUsed, maxEntries) : maxEntries;
    std::vector<uint32_t> palette;
    if (bits <= 8)
        palette = readPalette(src, h.afterHeader, entries, 4, maxEntries);
    const uint64_t colorOffset = h.afterHeader + uint64_t(h.colorsUsed != 0 ? std::min(h.colorsUsed, 256u) : entries) * 4;
    if (out.width == 0 || out.height == 0)
        return out;

    out.stride = static_cast<size_t>(stride);
    out.pixels.reset(allocatePixels(out.stride, out.height));
    if (!out.pixels)
        return DecodeError::OutOfMemory;
    out.format = PixelFormat::Argb32;

    const size_t w = static_cast<size_t>(out.width);
    const uint64_t colorRowBytes = paddedRowBytes(w, bits);
    const uint64_t maskRowBytes = paddedRowBytes(w, 1);
    const uint64_t maskOffset = colorOffset + colorRowBytes * static_cast<uint64_t>(out.height);
    uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};
    if (bits == 32)
        masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF, masks[3] = 0;
    if (h.compression == kBitFields)
        std::copy(h.masks, h.masks + 3, masks);
    const BitFieldConverter convert(masks, false, bits);
    std::vector<uint8_t> colorRow(static_cast<size_t>(colorRowBytes)), maskRow(static_cast<size_t>(maskRowBytes));

    uint8_t alphaSeen = 0;
    for (int r = 0; r < out.height; ++r) {
        uint8_t* dst = out.pixels.get() + static_cast<size_t>(out.height - 1 - r) * out.stride;
        const size_t got = readAvailable(src, colorOffset + r * colorRowBytes, colorRow.data(), colorRow.size());
        std::memset(colorRow.data() + got, 0, colorRow.size() - got);
        const uint8_t* c = colorRow.data();
        for (size_t x = 0; x < w; ++x) {
            uint8_t* px = dst + 4 * x;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const size_t bit = x * bits;
                const unsigned index = (c[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
                const uint32_t argb = palette[index];
                px[0] = uint8_t(argb), px[1] = uint8_t(argb >> 8), px[2] = uint8_t(argb >> 16), px[3] = 0xFF;
                break;
            }
            case 16: convert.write(le16(c + 2 * x), px); break;
            case 24: px[0] = c[3 * x], px[1] = c[3 * x + 1], px[2] = c[3 * x + 2], px[3] = 0xFF; break;
            case 32:
                std::memcpy(px, c + 4 * x, 4);
                if (h.compression == kBitFields)
                    convert.write(le32(c + 4 * x), px), px[3] = c[4 * x + 3];
                alphaSeen |= px[3];
                break;
            }
        }
    }
    // The AND mask decides transparency unless a 32-bit image has alpha of
    // its own. A missing mask leaves the pixels opaque.
    const bool ownAlpha = bits == 32 && alphaSeen != 0;
    if (!ownAlpha) {
        for (int r = 0; r < out.height; ++r) {
            uint8_t* dst = out.pixels.get() + static_cast<size_t>(out.height - 1 - r) * out.stride;
            const size_t got = readAvailable(src, maskOffset + r * maskRowBytes, maskRow.data(), maskRow.size());
            std::memset(maskRow.data() + got, 0, maskRow.size() - got);
            for (size_t x = 0; x < w; ++x)
                dst[4 * x + 3] = bitAt(maskRow.data(), x) ? 0 : 0xFF;
        }
    }
    return out;
}

} // namespace kelpora::codec
