#include "codecs/BmpDecoder.h"
#include "codecs/BitFields.h"
#include "codecs/DibHeader.h"
#include "codecs/LittleEndian.h"
#include "codecs/PixelRows.h"
#include "codecs/SizeLimits.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kelpora::codec {

using namespace detail;

namespace {

constexpr uint32_t kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t kMask888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

bool masksEqual(const uint32_t* a, const uint32_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// How the file's rows become output rows.
enum class RowConversion {
    Copy,         // same bytes: 1, 8, 24 bits, 16-bit 555/565, 32-bit with alpha in the top byte
    CopyOpaque,   // 32-bit with an unused top byte: copy, then set it to 0xFF
    Expand4,      // 4-bit indices to one byte each
    Masks16,      // 16-bit pixels with other masks to 32-bit
    Masks32,      // 32-bit pixels with other masks
};

struct Plan {
    PixelFormat format = PixelFormat::Empty;
    unsigned outBits = 0;
    RowConversion conversion = RowConversion::Copy;
    BitFieldConverter masks;
};

Result<Plan> planFor(const DibHeader& h)
{
    Plan p;
    const uint32_t c = h.compression;
    if (c == kJpeg || c == kPng || c > kAlphaBitFields)
        return DecodeError::Unsupported; // embedded JPEG/PNG, OS/2 Huffman or RLE24, CMYK
    const bool bitFields = c == kBitFields || c == kAlphaBitFields;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
        if (!(c == kRgb || (c == kRle8 && h.bitCount == 8) || (c == kRle4 && h.bitCount == 4)))
            return DecodeError::Malformed;
        p.format = h.bitCount == 1 ? PixelFormat::Mono1 : PixelFormat::Indexed8;
        p.outBits = h.bitCount == 1 ? 1 : 8;
        p.conversion = (h.bitCount == 4 && c == kRgb) ? RowConversion::Expand4 : RowConversion::Copy;
        return p;
    case 24:
        if (c != kRgb)
            return DecodeError::Malformed;
        p.format = PixelFormat::Bgr24;
        p.outBits = 24;
        return p;
    case 16:
    case 32:
        break;
    case 2:
    case 64:
        return DecodeError::Unsupported; // rare variants with no matching output format
    default:
        return DecodeError::Malformed;
    }
    if (!(c == kRgb || bitFields))
        return DecodeError::Malformed;

    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    bool useAlpha = h.hasAlphaMask && masks[3] != 0;
    if (c == kRgb) {
        const uint32_t* plain = h.bitCount == 16 ? kMask555 : kMask888;
        std::copy(plain, plain + 3, masks);
        // An alpha mask in a V4/V5 header counts even without bit-fields, as
        // long as it stays clear of the colour channels.
        useAlpha = useAlpha && h.bitCount == 32 && h.headerSize >= 108
            && (masks[3] & (masks[0] | masks[1] | masks[2])) == 0;
    }
    if (h.bitCount == 16) {
        if (!useAlpha && masksEqual(masks, kMask555)) {
            p.format = PixelFormat::Rgb555;
            p.outBits = 16;
            return p;
        }
        if (!useAlpha && masksEqual(masks, kMask565)) {
            p.format = PixelFormat::Rgb565;
            p.outBits = 16;
            return p;
        }
        p.conversion = RowConversion::Masks16;
    } else if (masksEqual(masks, kMask888) && (!useAlpha || masks[3] == 0xFF000000u)) {
        p.format = useAlpha ? PixelFormat::Argb32 : PixelFormat::Xrgb32;
        p.outBits = 32;
        p.conversion = useAlpha ? RowConversion::Copy : RowConversion::CopyOpaque;
        return p;
    } else {
        p.conversion = RowConversion::Masks32;
    }
    p.masks = BitFieldConverter(masks, useAlpha, h.bitCount);
    p.format = p.masks.hasAlpha() ? PixelFormat::Argb32 : PixelFormat::Xrgb32;
    p.outBits = 32;
    return p;
}

// Writes `have` pixels from the file's row `in` to the output row, then
// paints pixels [have, width) with colour 0 (opaque black for the 32-bit
// formats) and clears the row's padding.
void convertRow(uint8_t* __restrict row, const uint8_t* __restrict in, const Plan& p, size_t have, size_t width,
                size_t stride)
{
    const size_t usedBytes = (width * p.outBits + 7) / 8;
    const size_t haveBytes = std::min(usedBytes, (have * p.outBits + 7) / 8);
    switch (p.conversion) {
    case RowConversion::Copy:
        std::memcpy(row, in, haveBytes);
        break;
    case RowConversion::CopyOpaque:
        for (size_t i = 0; i < have; ++i) {
            uint32_t v;
            std::memcpy(&v, in + 4 * i, 4);
            v |= 0xFF000000u; // little-endian: the fourth byte
            std::memcpy(row + 4 * i, &v, 4);
        }
        break;
    case RowConversion::Expand4: {
        // One table look-up and one 16-bit store per input byte.
        static const auto pairs = [] {
            std::array<uint16_t, 256> t{};
            for (unsigned b = 0; b < 256; ++b)
                t[b] = static_cast<uint16_t>((b >> 4) | ((b & 0x0F) << 8)); // little-endian: high nibble first
            return t;
        }();
        for (size_t j = 0; j < have / 2; ++j)
            std::memcpy(row + 2 * j, &pairs[in[j]], 2);
        if (have & 1)
            row[have - 1] = in[have / 2] >> 4;
        break;
    }
    case RowConversion::Masks16:
        for (size_t i = 0; i < have; ++i)
            p.masks.write(le16(in + 2 * i), row + 4 * i);
        break;
    case RowConversion::Masks32:
        for (size_t i = 0; i < have; ++i)
            p.masks.write(le32(in + 4 * i), row + 4 * i);
        break;
    }
    if (p.outBits == 32) {
        for (size_t i = have; i < width; ++i) {
            row[4 * i] = row[4 * i + 1] = row[4 * i + 2] = 0;
            row[4 * i + 3] = 0xFF;
        }
    } else {
        std::memset(row + haveBytes, 0, usedBytes - haveBytes);
    }
    std::memset(row + usedBytes, 0, stride - usedBytes);
}

void readRawRows(ByteSource& src, uint64_t pixelOffset, const DibHeader& h, const Plan& p, DecodedBitmap& out)
{
    // A batch of rows at a time comes into a small buffer with one read and
    // is converted to its place from there while still in the cache; the
    // output is written once, whatever the row order.
    const size_t rowBytes = static_cast<size_t>(paddedRowBytes(static_cast<uint64_t>(out.width), h.bitCount));
    const size_t width = static_cast<size_t>(out.width);
    const bool topDown = h.height < 0;
    const uint64_t fileSize = src.size();
    const int batchRows = static_cast<int>(std::clamp<size_t>((128 * 1024) / rowBytes, 1, 1024));
    std::vector<uint8_t> batch(rowBytes * static_cast<size_t>(batchRows));
    uint8_t alphaSeen = 0;
    for (int first = 0; first < out.height; first += batchRows) {
        const int rows = std::min(batchRows, out.height - first);
        const uint64_t at = pixelOffset + static_cast<uint64_t>(first) * rowBytes;
        const size_t want = rowBytes * static_cast<size_t>(rows);
        const size_t got = readAvailable(src, at, batch.data(), want);
        for (int i = 0; i < rows; ++i) {
            const int r = first + i;
            uint8_t* row = out.pixels.get() + static_cast<size_t>(topDown ? r : out.height - 1 - r) * out.stride;
            const size_t start = static_cast<size_t>(i) * rowBytes;
            const size_t inRow = got > start ? std::min(rowBytes, got - start) : 0;
            const size_t have = std::min(width, inRow * 8 / h.bitCount);
            convertRow(row, batch.data() + start, p, have, width, out.stride);
            if (p.format == PixelFormat::Argb32)
                for (size_t x = 0; x < have; ++x)
                    alphaSeen |= row[4 * x + 3];
        }
    }
    if (p.format == PixelFormat::Argb32 && alphaSeen == 0) {
        // An alpha channel that is 0 everywhere would make the picture
        // invisible; such files were written by tools that left the channel
        // unused, so they are shown opaque.
        out.format = PixelFormat::Xrgb32;
        for (int r = 0; r < out.height; ++r)
            for (int i = 0; i < out.width; ++i)
                out.pixels.get()[static_cast<size_t>(r) * out.stride + 4 * static_cast<size_t>(i) + 3] = 0xFF;
    }
}

} // namespace

Result<DecodedBitmap> decodeBmp(ByteSource& src)
{
    const uint64_t fileSize = src.size();
    if (fileSize == 0)
        return DecodedBitmap{};
    uint8_t fh[14];
    if (fileSize < sizeof fh || !src.readAt(0, fh, sizeof fh))
        return DecodeError::Truncated;
    if (fh[0] == 'B' && fh[1] == 'A')
        return DecodeError::Unsupported; // OS/2 bitmap array
    if (fh[0] != 'B' || fh[1] != 'M')
        return DecodeError::Malformed;
    const uint32_t dataOffset = le32(fh + 10);

    auto parsed = readDibHeader(src, sizeof fh);
    if (auto* e = std::get_if<DecodeError>(&parsed))
        return *e;
    const DibHeader& h = std::get<DibHeader>(parsed);
    if (h.planes != 1 || h.width < 0 || h.height == INT32_MIN)
        return DecodeError::Malformed;
    auto planned = planFor(h);
    if (auto* e = std::get_if<DecodeError>(&planned))
        return *e;
    const Plan& plan = std::get<Plan>(planned);
    const bool runLength = h.compression == kRle8 || h.compression == kRle4;
    if (runLength && h.height < 0)
        return DecodeError::Malformed; // run-length data is always stored bottom-up

    DecodedBitmap out;
    out.width = static_cast<int>(h.width);
    out.height = static_cast<int>(h.height < 0 ? -h.height : h.height);
    const uint64_t stride = paddedRowBytes(static_cast<uint64_t>(out.width), plan.outBits);
    if (!decodedSizeAllowed(out.width, out.height, stride, fileSize, runLength))
        return DecodeError::TooLarge;

    // The colour table follows the header. Its length is the header's count
    // (all 2^bits entries when 0), never above 256 even when a header asks
    // for more, and never running into the pixel data when the data offset
    // leaves less room (old OS/2 files size the table that way).
    const unsigned entrySize = h.os2v1 ? 3 : 4;
    uint32_t entries = h.colorsUsed != 0 ? std::min<uint32_t>(h.colorsUsed, 256)
                                         : (h.bitCount <= 8 ? 1u << h.bitCount : 0);
    if (dataOffset > h.afterHeader)
        entries = static_cast<uint32_t>(std::min<uint64_t>(entries, (dataOffset - h.afterHeader) / entrySize));
    const uint64_t pixelOffset = dataOffset != 0 ? dataOffset : h.afterHeader + uint64_t(entries) * entrySize;
    if (h.bitCount <= 8) {
        const uint32_t indices = 1u << h.bitCount;
        out.palette = readPalette(src, h.afterHeader, std::min(entries, indices), entrySize,
                                  plan.format == PixelFormat::Mono1 ? 2 : (h.bitCount == 8 ? 256 : indices));
    }

    if (out.width == 0 || out.height == 0)
        return out; // a 0-size picture: no pixels, format Empty
    out.stride = static_cast<size_t>(stride);
    out.pixels.reset(allocatePixels(out.stride, out.height));
    if (!out.pixels)
        return DecodeError::OutOfMemory;
    out.format = plan.format;

    if (runLength)
        decodeRunLength(src, pixelOffset, h.compression == kRle4, out.width, out.height, out.pixels.get(),
                        out.stride);
    else
        readRawRows(src, pixelOffset, h, plan, out);
    return out;
}

const char* errorName(DecodeError e)
{
    switch (e) {
    case DecodeError::Truncated: return "Truncated";
    case DecodeError::Malformed: return "Malformed";
    case DecodeError::Unsupported: return "Unsupported";
    case DecodeError::TooLarge: return "TooLarge";
    case DecodeError::OutOfMemory: return "OutOfMemory";
    }
    return "?";
}

} // namespace kelpora::codec
