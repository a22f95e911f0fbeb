#include "DibReader.h"
#include "ByteReader.h"
#include <QByteArray>
#include <array>
#include <vector>

namespace kelpora::mf {

namespace {

enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

struct DibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = Rgb;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    size_t masksSize = 0;   // masks stored after a 40-byte header
    size_t tableEntries = 0;
    size_t entrySize = 4;
};

bool readHeader(const ByteReader& r, bool paletteIndices, DibHeader& h)
{
    if (r.size() < 4)
        return false;
    h.headerSize = r.u32(0);
    if (h.headerSize == 12) {
        if (r.size() < 12)
            return false;
        h.width = r.u16(4);
        h.height = r.u16(6);
        h.bitCount = r.u16(10);
        h.entrySize = 3;
    } else if (h.headerSize >= 40 && h.headerSize <= 1024) {
        if (r.size() < h.headerSize)
            return false;
        h.width = r.i32(4);
        int64_t height = r.i32(8);
        h.topDown = height < 0;
        h.height = height < 0 ? -height : height;
        h.bitCount = r.u16(14);
        h.compression = r.u32(16);
        h.colorsUsed = r.u32(32);
        if (h.compression == BitFields || h.compression == AlphaBitFields) {
            size_t count = h.compression == BitFields ? 3 : 4;
            if (h.headerSize >= 52) {
                for (size_t i = 0; i < 4 && 40 + 4 * i + 4 <= h.headerSize; ++i)
                    h.masks[i] = r.u32(40 + 4 * i);
                if (h.headerSize < 56 || h.compression == BitFields)
                    h.masks[3] = 0;
            } else {
                h.masksSize = 4 * count;
                if (!r.has(h.headerSize, h.masksSize))
                    return false;
                for (size_t i = 0; i < count; ++i)
                    h.masks[i] = r.u32(h.headerSize + 4 * i);
            }
        }
    } else {
        return false;
    }
    if (h.width <= 0 || h.height <= 0 || h.width > 65535 || h.height > 65535)
        return false;
    if (h.width * h.height > MaxDibPixels)
        return false;
    switch (h.bitCount) {
    case 1: case 4: case 8:
        h.tableEntries = h.colorsUsed == 0 || h.colorsUsed > (1u << h.bitCount) ? (1u << h.bitCount) : h.colorsUsed;
        break;
    case 16: case 24: case 32:
        h.tableEntries = h.colorsUsed > 256 ? 0 : h.colorsUsed;
        break;
    case 0:
        if (h.compression != Jpeg && h.compression != Png)
            return false;
        break;
    default:
        return false;
    }
    if (paletteIndices && h.bitCount <= 8)
        h.entrySize = 2;
    return true;
}

int maskShift(uint32_t mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

int maskValue(uint32_t pixel, uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = maskShift(mask);
    uint32_t m = mask >> shift;
    uint32_t v = (pixel & mask) >> shift;
    return int((uint64_t(v) * 255 + m / 2) / m);
}

// Run-length decoding into palette indices; absent pixels stay at index -1.
void decodeRle(const uint8_t* bits, size_t len, int bitCount, int64_t width, int64_t height, std::vector<int>& out)
{
    out.assign(size_t(width * height), -1);
    int64_t x = 0, y = 0;
    size_t i = 0;
    auto put = [&](int idx) {
        if (x < width && y < height)
            out[size_t(y * width + x)] = idx;
        ++x;
    };
    while (len - i >= 2 && y < height) {
        uint8_t count = bits[i], value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < width; ++k)
                put(bitCount == 8 ? value : (k % 2 == 0 ? value >> 4 : value & 15));
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (len - i < 2)
                break;
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else {
            size_t bytes = bitCount == 8 ? value : (value + 1) / 2;
            if (len - i < bytes)
                break;
            for (int k = 0; k < value; ++k) {
                uint8_t b = bits[i + (bitCount == 8 ? k : k / 2)];
                put(bitCount == 8 ? b : (k % 2 == 0 ? b >> 4 : b & 15));
            }
            i += (bytes + 1) & ~size_t(1);
        }
    }
}

} // namespace

size_t dibInfoSize(const uint8_t* p, size_t n, bool paletteIndices)
{
    ByteReader r(p, n);
    DibHeader h;
    if (!readHeader(r, paletteIndices, h))
        return 0;
    size_t total = h.headerSize + h.masksSize + h.tableEntries * h.entrySize;
    return total;
}

QImage decodeDib(const uint8_t* info, size_t infoLen, const uint8_t* bits, size_t bitsLen, bool keepAlpha,
                 bool paletteIndices)
{
    ByteReader r(info, infoLen);
    DibHeader h;
    if (!readHeader(r, paletteIndices, h))
        return {};
    size_t tableOffset = h.headerSize + h.masksSize;
    if (infoLen - std::min(infoLen, tableOffset) < h.tableEntries * h.entrySize)
        return {};

    if (h.compression == Jpeg || h.compression == Png) {
        if (bitsLen == 0 || bitsLen > size_t(64) * 1024 * 1024)
            return {};
        QImage img = QImage::fromData(QByteArray::fromRawData(reinterpret_cast<const char*>(bits), qsizetype(bitsLen)));
        if (img.isNull() || int64_t(img.width()) * img.height() > MaxDibPixels)
            return {};
        return img.convertToFormat(QImage::Format_ARGB32);
    }

    std::array<QRgb, 256> table{};
    for (size_t i = 0; i < 256; ++i)
        table[i] = qRgb(int(i), int(i), int(i));
    if (h.bitCount == 1) {
        table[0] = qRgb(0, 0, 0);
        table[1] = qRgb(255, 255, 255);
    }
    if (!paletteIndices) {
        for (size_t i = 0; i < h.tableEntries && i < 256; ++i) {
            size_t o = tableOffset + i * h.entrySize;
            table[i] = qRgb(r.u8(o + 2), r.u8(o + 1), r.u8(o));
        }
    }

    const int64_t w = h.width, ht = h.height;
    QImage img(int(w), int(ht), QImage::Format_ARGB32);
    if (img.isNull())
        return {};
    img.fill(Qt::transparent);

    if (h.compression == Rle8 || h.compression == Rle4) {
        if ((h.compression == Rle8 && h.bitCount != 8) || (h.compression == Rle4 && h.bitCount != 4))
            return {};
        std::vector<int> idx;
        decodeRle(bits, bitsLen, h.bitCount, w, ht, idx);
        for (int64_t y = 0; y < ht; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(int(ht - 1 - y)));
            for (int64_t x = 0; x < w; ++x) {
                int v = idx[size_t(y * w + x)];
                if (v >= 0)
                    line[x] = table[size_t(v) & 255];
            }
        }
        return img;
    }
    if (h.compression != Rgb && h.compression != BitFields && h.compression != AlphaBitFields)
        return {};
    if ((h.compression == BitFields || h.compression == AlphaBitFields) && h.bitCount != 16 && h.bitCount != 32)
        return {};

    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    bool useMasks = h.compression != Rgb;
    if (!useMasks && h.bitCount == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
        useMasks = true;
    }
    const size_t stride = size_t(((w * h.bitCount + 31) / 32) * 4);
    for (int64_t row = 0; row < ht; ++row) {
        size_t off = size_t(row) * stride;
        if (bitsLen < off || bitsLen - off < stride)
            break;
        const uint8_t* src = bits + off;
        int y = int(h.topDown ? row : ht - 1 - row);
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int64_t x = 0; x < w; ++x) {
            switch (h.bitCount) {
            case 1: line[x] = table[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: line[x] = table[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: line[x] = table[src[x]]; break;
            case 24: line[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            case 16:
            case 32: {
                uint32_t px = h.bitCount == 16 ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                                               : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8)
                                                   | (uint32_t(src[4 * x + 2]) << 16) | (uint32_t(src[4 * x + 3]) << 24);
                if (useMasks) {
                    int a = keepAlpha && masks[3] ? maskValue(px, masks[3]) : 255;
                    line[x] = qRgba(maskValue(px, masks[0]), maskValue(px, masks[1]), maskValue(px, masks[2]), a);
                } else {
                    line[x] = qRgba(int((px >> 16) & 255), int((px >> 8) & 255), int(px & 255),
                                    keepAlpha ? int(px >> 24) : 255);
                }
                break;
            }
            }
        }
    }
    return img;
}

} // namespace kelpora::mf
