// Writes small, valid bitmap and icon files covering every header kind,
// depth and compression, as starting inputs for the fuzzers:
//   make_codec_seeds OUTDIR   ->   OUTDIR/bmp/*.bmp, OUTDIR/ico/*.ico
#include "BmpBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace codectest;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& p, const Bytes& b)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

BmpShape shape(int w, int h, uint16_t bits, uint32_t compression, uint32_t headerSize)
{
    BmpShape s;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.compression = compression;
    s.headerSize = headerSize;
    if (bits <= 8)
        for (uint32_t i = 0; i < (1u << bits); ++i)
            s.palette.push_back(i * 0x010203u);
    std::vector<std::vector<uint32_t>> rows(size_t(h < 0 ? -h : h), std::vector<uint32_t>(size_t(w)));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            rows[y][x] = uint32_t(x * 7 + y * 13) & (bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
    s.pixels = packRows(bits, rows);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    fs::create_directories(out / "bmp");
    fs::create_directories(out / "ico");

    int n = 0;
    auto bmp = [&](const BmpShape& s) { write(out / "bmp" / ("seed" + std::to_string(n++) + ".bmp"), buildBmp(s)); };
    for (uint16_t bits : {1, 4, 8, 16, 24, 32})
        for (uint32_t header : {12u, 16u, 40u, 64u, 108u, 124u})
            bmp(shape(5, bits == 1 ? -3 : 3, bits, 0, header));
    for (uint32_t header : {40u, 52u, 56u, 124u}) {
        auto s16 = shape(5, 3, 16, 3, header);
        s16.masks = {0xF800, 0x07E0, 0x001F, 0};
        bmp(s16);
        auto s32 = shape(5, 3, 32, header == 40 ? 6 : 3, header);
        s32.masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
        bmp(s32);
    }
    auto rle8 = shape(6, 4, 8, 1, 40);
    rle8.pixels = {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 9, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1};
    bmp(rle8);
    auto rle4 = shape(6, 4, 4, 2, 40);
    rle4.pixels = {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 2, 1, 3, 0xAB, 0, 1};
    bmp(rle4);

    const Bytes mask = packRows(1, std::vector<std::vector<uint32_t>>(4, {1, 0, 0, 1}));
    std::vector<IconImageSpec> images;
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        std::vector<uint32_t> palette;
        if (bits <= 8)
            for (uint32_t i = 0; i < (1u << bits); ++i)
                palette.push_back(i * 0x030201u);
        std::vector<std::vector<uint32_t>> rows(4, std::vector<uint32_t>(4));
        for (size_t y = 0; y < 4; ++y)
            for (size_t x = 0; x < 4; ++x)
                rows[y][x] = uint32_t(x + 4 * y) & (bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
        images.push_back({4, 4, uint16_t(bits <= 8 ? (1u << bits) & 0xFF : 0), bits,
                          iconDib(4, 4, bits, palette, packRows(bits, rows), mask)});
        write(out / "ico" / ("seed" + std::to_string(bits) + ".ico"), buildIco(1, {images.back()}));
    }
    images.push_back({16, 16, 0, 32, Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}});
    write(out / "ico" / "all.ico", buildIco(1, images));
    std::printf("%d bitmap and %zu icon seeds in %s\n", n, images.size(), out.c_str());
    return 0;
}
