#include "LargeBitmaps.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>

namespace benchfiles {

namespace {

constexpr int kWidth = 8000, kHeight = 6000;

using Bytes = std::vector<uint8_t>;
void put16(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
void put32(Bytes& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

struct Layout {
    uint16_t bits;
    uint32_t compression;
    uint32_t headerSize;
    bool topDown;
    std::vector<uint32_t> masks; // after a 40-byte header, or inside a longer one
};

Bytes headerFor(const Layout& l, uint32_t dataBytes)
{
    Bytes info;
    put32(info, l.headerSize);
    put32(info, kWidth);
    put32(info, uint32_t(l.topDown ? -kHeight : kHeight));
    put16(info, 1);
    put16(info, l.bits);
    put32(info, l.compression);
    put32(info, dataBytes);
    put32(info, 2835);
    put32(info, 2835);
    put32(info, 0);
    put32(info, 0);
    for (uint32_t m : l.masks)
        put32(info, m);
    info.resize(l.headerSize + (l.headerSize == 40 ? 4 * l.masks.size() : 0), 0);
    if (l.bits <= 8)
        for (uint32_t i = 0; i < (1u << l.bits); ++i)
            put32(info, (i * 0x01030507u) & 0xFFFFFF);
    Bytes file = {'B', 'M'};
    put32(file, uint32_t(14 + info.size() + dataBytes));
    put32(file, 0);
    put32(file, uint32_t(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    return file;
}

// A photo-like pattern: smooth bands with runs of 8 to 40 equal pixels.
uint32_t sample(int x, int y) { return uint32_t(x / (8 + y % 33) + y / 16) * 2654435761u >> 8; }

Bytes rawRow(const Layout& l, int y)
{
    Bytes row;
    const size_t bytes = (size_t(kWidth) * l.bits + 31) / 32 * 4;
    row.reserve(bytes);
    if (l.bits < 8) {
        row.assign(bytes, 0);
        for (int x = 0; x < kWidth; ++x) {
            const size_t bit = size_t(x) * l.bits;
            row[bit / 8] |= uint8_t((sample(x, y) & ((1u << l.bits) - 1)) << (8 - l.bits - bit % 8));
        }
        return row;
    }
    for (int x = 0; x < kWidth; ++x)
        for (unsigned i = 0; i < l.bits / 8u; ++i)
            row.push_back(uint8_t(sample(x, y) >> (8 * i)));
    row.resize(bytes, 0);
    return row;
}

Bytes runLengthData(bool fourBit)
{
    Bytes out;
    for (int y = 0; y < kHeight; ++y) {
        int x = 0;
        while (x < kWidth) {
            const uint32_t v = sample(x, y) & (fourBit ? 0xF : 0xFF);
            int n = 1;
            while (x + n < kWidth && n < 255 && (sample(x + n, y) & (fourBit ? 0xF : 0xFF)) == v)
                ++n;
            out.push_back(uint8_t(n));
            out.push_back(uint8_t(fourBit ? (v << 4 | v) : v));
            x += n;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

void writeBitmap(const std::filesystem::path& p, const Layout& l)
{
    std::ofstream f(p, std::ios::binary);
    if (l.compression == 1 || l.compression == 2) {
        const Bytes data = runLengthData(l.compression == 2);
        const Bytes head = headerFor(l, uint32_t(data.size()));
        f.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
        f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        return;
    }
    const size_t rowBytes = (size_t(kWidth) * l.bits + 31) / 32 * 4;
    const Bytes head = headerFor(l, uint32_t(rowBytes * kHeight));
    f.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    for (int y = 0; y < kHeight; ++y) {
        const Bytes row = rawRow(l, y);
        f.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
    }
}

size_t decodedBytes(unsigned outBits) { return (size_t(kWidth) * outBits + 31) / 32 * 4 * kHeight; }

} // namespace

std::vector<LargeBitmap> makeLargeBitmaps(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    struct Shape {
        const char* name;
        Layout layout;
        unsigned outBits;
    };
    const std::vector<Shape> shapes = {
        {"rgb24", {24, 0, 40, false, {}}, 24},
        {"rgb24-topdown", {24, 0, 40, true, {}}, 24},
        {"rgb32-bitfields", {32, 3, 40, false, {0xFF0000, 0xFF00, 0xFF}}, 32},
        {"argb32-v5", {32, 3, 124, false, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, 32},
        {"pal8", {8, 0, 40, false, {}}, 8},
        {"pal4", {4, 0, 40, false, {}}, 8},
        {"rle8", {8, 1, 40, false, {}}, 8},
        {"rle4", {4, 2, 40, false, {}}, 8},
        {"mono", {1, 0, 40, false, {}}, 1},
    };
    std::vector<LargeBitmap> out;
    for (const auto& s : shapes) {
        const auto p = dir / (std::string(s.name) + ".bmp");
        if (!std::filesystem::exists(p))
            writeBitmap(p, s.layout);
        out.push_back({s.name, p, decodedBytes(s.outBits)});
    }
    return out;
}

} // namespace benchfiles
