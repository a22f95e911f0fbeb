#pragma once
// Small in-memory bitmap and icon files for the decoder tests, plus a way to
// read any decoded pixel back as 0xAARRGGBB.
#include "codecs/BmpDecoder.h"
#include "codecs/IconDecoder.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace codectest {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
inline void put32(Bytes& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

// Packs rows of pixel values (file order: first row first) at `bits` per
// pixel, each row padded to 4 bytes as stored in files.
inline Bytes packRows(unsigned bits, const std::vector<std::vector<uint32_t>>& rows)
{
    Bytes out;
    for (const auto& row : rows) {
        Bytes r;
        if (bits < 8) {
            r.assign((row.size() * bits + 7) / 8, 0);
            for (size_t x = 0; x < row.size(); ++x) {
                const size_t bit = x * bits;
                r[bit / 8] |= uint8_t(row[x] << (8 - bits - bit % 8));
            }
        } else {
            for (uint32_t v : row)
                for (unsigned i = 0; i < bits / 8; ++i)
                    r.push_back(uint8_t(v >> (8 * i)));
        }
        while (r.size() % 4)
            r.push_back(0);
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

struct BmpShape {
    int32_t width = 0, height = 0; // negative height: top-down
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t headerSize = 40;      // 12, 16..64, 108, 124
    uint16_t planes = 1;
    std::vector<uint32_t> palette; // 0xRRGGBB
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;   // after a 40-byte header, else inside the header
    Bytes pixels;
    std::optional<uint32_t> dataOffset; // default: right after the palette
};

inline Bytes buildBmp(const BmpShape& s)
{
    Bytes info;
    if (s.headerSize == 12) {
        put32(info, 12);
        put16(info, uint16_t(s.width));
        put16(info, uint16_t(s.height));
        put16(info, s.planes);
        put16(info, s.bits);
    } else {
        Bytes h(s.headerSize, 0);
        Bytes f;
        put32(f, s.headerSize);
        put32(f, uint32_t(s.width));
        put32(f, uint32_t(s.height));
        put16(f, s.planes);
        put16(f, s.bits);
        put32(f, s.compression);
        put32(f, uint32_t(s.pixels.size()));
        put32(f, 2835);
        put32(f, 2835);
        put32(f, s.colorsUsed);
        put32(f, 0);
        if (s.headerSize > 40)
            for (uint32_t m : s.masks)
                put32(f, m);
        std::memcpy(h.data(), f.data(), std::min(h.size(), f.size()));
        info = h;
        if (s.headerSize == 40)
            for (uint32_t m : s.masks)
                put32(info, m);
    }
    for (uint32_t c : s.palette) {
        info.push_back(uint8_t(c));
        info.push_back(uint8_t(c >> 8));
        info.push_back(uint8_t(c >> 16));
        if (s.headerSize != 12)
            info.push_back(0);
    }
    const uint32_t offset = s.dataOffset.value_or(uint32_t(14 + info.size()));
    Bytes file = {'B', 'M'};
    put32(file, uint32_t(14 + info.size() + s.pixels.size()));
    put32(file, 0);
    put32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    while (file.size() < offset)
        file.push_back(0);
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

inline kelpora::codec::Result<kelpora::codec::DecodedBitmap> decode(const Bytes& b)
{
    kelpora::codec::MemorySource src(b.data(), b.size());
    return kelpora::codec::decodeBmp(src);
}

// Pixel (x, y), top row 0, as 0xAARRGGBB whatever the format.
inline uint32_t pixelAt(const kelpora::codec::DecodedBitmap& bm, int x, int y)
{
    using kelpora::codec::PixelFormat;
    const uint8_t* row = bm.pixels.get() + size_t(y) * bm.stride;
    auto expand = [](uint32_t v, int bits) { return (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1); };
    switch (bm.format) {
    case PixelFormat::Empty: return 0;
    case PixelFormat::Mono1: return bm.palette.at((row[x / 8] >> (7 - x % 8)) & 1);
    case PixelFormat::Indexed8: return bm.palette.at(row[x]);
    case PixelFormat::Bgr24: return 0xFF000000u | (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
    case PixelFormat::Rgb555: {
        const uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
        return 0xFF000000u | (expand((v >> 10) & 31, 5) << 16) | (expand((v >> 5) & 31, 5) << 8) | expand(v & 31, 5);
    }
    case PixelFormat::Rgb565: {
        const uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
        return 0xFF000000u | (expand((v >> 11) & 31, 5) << 16) | (expand((v >> 5) & 63, 6) << 8) | expand(v & 31, 5);
    }
    case PixelFormat::Xrgb32:
    case PixelFormat::Argb32: {
        const uint8_t* p = row + 4 * x;
        return (uint32_t(p[3]) << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    }
    return 0;
}

inline std::vector<uint32_t> allPixels(const kelpora::codec::DecodedBitmap& bm)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < bm.height; ++y)
        for (int x = 0; x < bm.width; ++x)
            out.push_back(pixelAt(bm, x, y));
    return out;
}

struct IconImageSpec {
    uint8_t width = 0, height = 0;
    uint16_t colorCount = 0, bitCount = 32;
    Bytes data; // DIB (header, colours, XOR rows, AND rows) or PNG bytes
};

inline Bytes buildIco(uint16_t type, const std::vector<IconImageSpec>& images)
{
    Bytes f;
    put16(f, 0);
    put16(f, type);
    put16(f, uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (const auto& im : images) {
        f.push_back(im.width);
        f.push_back(im.height);
        put16(f, im.colorCount);
        put16(f, 1);
        put16(f, im.bitCount);
        put32(f, uint32_t(im.data.size()));
        put32(f, offset);
        offset += uint32_t(im.data.size());
    }
    for (const auto& im : images)
        f.insert(f.end(), im.data.begin(), im.data.end());
    return f;
}

// A DIB for an icon: `colors` rows bottom-up already packed, then the mask.
inline Bytes iconDib(int w, int h, uint16_t bits, const std::vector<uint32_t>& palette, const Bytes& xorRows,
                     const Bytes& andRows)
{
    Bytes d;
    put32(d, 40);
    put32(d, uint32_t(w));
    put32(d, uint32_t(2 * h));
    put16(d, 1);
    put16(d, bits);
    for (int i = 0; i < 4; ++i)
        put32(d, 0);
    put32(d, uint32_t(palette.size())); // colours used; 0 means all 2^bits
    put32(d, 0);
    for (uint32_t c : palette)
        put32(d, c);
    d.insert(d.end(), xorRows.begin(), xorRows.end());
    d.insert(d.end(), andRows.begin(), andRows.end());
    return d;
}

} // namespace codectest
