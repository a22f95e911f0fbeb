#include "BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace kelpora::codec;
using namespace codectest;

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

struct FormatCase {
    std::string name;
    BmpShape shape;
    PixelFormat format;
    std::vector<uint32_t> expected; // top row first, 0xAARRGGBB
};

// A 3 x 2 picture (odd width, so every depth has row padding); `top` and
// `bottom` are the stored values, written bottom row first unless top-down.
BmpShape picture(uint16_t bits, std::vector<uint32_t> top, std::vector<uint32_t> bottom, bool topDown = false)
{
    BmpShape s;
    s.width = 3;
    s.height = topDown ? -2 : 2;
    s.bits = bits;
    s.pixels = topDown ? packRows(bits, {top, bottom}) : packRows(bits, {bottom, top});
    return s;
}

BmpShape with(BmpShape s, uint32_t compression, std::vector<uint32_t> masks, uint32_t headerSize = 40)
{
    s.compression = compression;
    s.masks = std::move(masks);
    s.headerSize = headerSize;
    return s;
}

BmpShape withPalette(BmpShape s, std::vector<uint32_t> palette, uint32_t headerSize = 40)
{
    s.palette = std::move(palette);
    s.headerSize = headerSize;
    return s;
}

std::vector<FormatCase> formatCases()
{
    const std::vector<uint32_t> pal = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0xABCDEF};
    const uint32_t K = kOpaque, W = kOpaque | 0xFFFFFF, R = kOpaque | 0xFF0000, G = kOpaque | 0x00FF00,
                   B = kOpaque | 0x0000FF, X = kOpaque | 0x123456, Z = kOpaque | 0xABCDEF;
    std::vector<uint32_t> pal256(256, 0);
    pal256[200] = 0x00FF00;
    pal256[255] = 0x0000FF;
    pal256[1] = 0xFF0000;
    return {
        {"mono", withPalette(picture(1, {1, 0, 1}, {0, 0, 1}), {0x000000, 0xFFFFFF}), PixelFormat::Mono1,
         {W, K, W, K, K, W}},
        {"4bit", withPalette(picture(4, {15, 5, 0}, {1, 2, 3}), pal), PixelFormat::Indexed8, {Z, X, K, W, R, G}},
        {"8bit", withPalette(picture(8, {200, 255, 1}, {0, 1, 200}), pal256), PixelFormat::Indexed8,
         {G, B, R, K, R, G}},
        {"8bit top-down", withPalette(picture(8, {200, 255, 1}, {0, 1, 200}, true), pal256), PixelFormat::Indexed8,
         {G, B, R, K, R, G}},
        {"os2 1.x 3-byte palette", withPalette(picture(8, {1, 2, 3}, {4, 5, 0}), pal, 12), PixelFormat::Indexed8,
         {W, R, G, B, X, K}},
        {"os2 2.x 16-byte header", withPalette(picture(4, {1, 2, 3}, {4, 5, 0}), pal, 16),
         PixelFormat::Indexed8, {W, R, G, B, X, K}},
        {"os2 2.x 64-byte header", withPalette(picture(8, {1, 2, 3}, {4, 5, 0}), pal, 64),
         PixelFormat::Indexed8, {W, R, G, B, X, K}},
        {"16 rgb is 555", picture(16, {0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0, 0x8000}), PixelFormat::Rgb555,
         {R, G, B, W, K, K}},
        {"16 bit-fields 565", with(picture(16, {0xF800, 0x07E0, 0x001F}, {0xFFFF, 0, 0}), 3,
                                   {0xF800, 0x07E0, 0x001F}),
         PixelFormat::Rgb565, {R, G, B, W, K, K}},
        {"16 bit-fields 555", with(picture(16, {0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0, 0}), 3,
                                   {0x7C00, 0x03E0, 0x001F}),
         PixelFormat::Rgb555, {R, G, B, W, K, K}},
        {"16 bit-fields 4-4-4 in a 52-byte header",
         with(picture(16, {0x0F00, 0x00F0, 0x000F}, {0x0FFF, 0x0888, 0}), 3, {0x0F00, 0x00F0, 0x000F}, 52),
         PixelFormat::Xrgb32, {R, G, B, W, kOpaque | 0x888888, K}},
        {"16 v5 alpha 4-4-4-4",
         with(picture(16, {0xFF00, 0x00F0, 0x000F}, {0x0FFF, 0x8888, 0}), 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, 124),
         PixelFormat::Argb32, {R, 0x0000FF00, 0x000000FF, 0x00FFFFFF, 0x88888888, 0}},
        {"24", picture(24, {0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0, 0xFFFFFF}), PixelFormat::Bgr24,
         {R, G, B, X, K, W}},
        {"32 rgb ignores the fourth byte", picture(32, {0x00FF0000, 0x7F00FF00, 0xFF0000FF}, {0x12123456, 0, 0}),
         PixelFormat::Xrgb32, {R, G, B, X, K, K}},
        {"32 bit-fields 888", with(picture(32, {0x00FF0000, 0x7F00FF00, 0}, {0, 0, 0}), 3,
                                   {0xFF0000, 0x00FF00, 0x0000FF}),
         PixelFormat::Xrgb32, {R, G, K, K, K, K}},
        {"32 bit-fields 10-10-10",
         with(picture(32, {0x3FF00000, 0x000FFC00, 0x000003FF}, {0x3FFFFFFF, 0x20080200, 0}), 3,
              {0x3FF00000, 0x000FFC00, 0x000003FF}),
         PixelFormat::Xrgb32, {R, G, B, W, kOpaque | 0x808080, K}},
        {"32 bit-fields swapped order, v5 alpha",
         with(picture(32, {0x000000FF, 0x0000FF00, 0x80FF0000}, {0, 0, 0}), 3,
              {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, 124),
         PixelFormat::Argb32, {0x00FF0000, 0x0000FF00, 0x800000FF, 0, 0, 0}},
        {"32 v5 rgb with alpha mask", with(picture(32, {0x80FF0000, 0xFF00FF00, 0}, {0, 0, 0}), 0,
                                            {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 124),
         PixelFormat::Argb32, {0x80FF0000, G, 0, 0, 0, 0}},
        {"32 alpha bit-fields after a 40-byte header",
         with(picture(32, {0x80FF0000, 0xFF00FF00, 0}, {0, 0, 0}), 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}),
         PixelFormat::Argb32, {0x80FF0000, G, 0, 0, 0, 0}},
        {"32 masks with no bits are black", with(picture(32, {0xFFFFFFFF, 0, 0}, {0, 0, 0}), 3, {0, 0, 0xFF}),
         PixelFormat::Xrgb32, {B, K, K, K, K, K}},
        {"16 masks wider than the pixel are cut", with(picture(16, {0xFFFF, 0, 0}, {0, 0, 0}), 3,
                                                       {0xFFFF0000, 0x0000FF00, 0xFFFFFFFF}),
         PixelFormat::Xrgb32, {kOpaque | 0x00FFFF, K, K, K, K, K}},
    };
}

TEST(BmpDecoder, DecodesEveryDepthAndHeaderKind)
{
    for (const auto& c : formatCases()) {
        SCOPED_TRACE(c.name);
        auto r = decode(buildBmp(c.shape));
        ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r)) << errorName(std::get<DecodeError>(r));
        const auto& bm = std::get<DecodedBitmap>(r);
        EXPECT_EQ(bm.width, 3);
        EXPECT_EQ(bm.height, 2);
        EXPECT_EQ(bm.format, c.format);
        EXPECT_EQ(bm.stride % 4, 0u);
        EXPECT_EQ(allPixels(bm), c.expected);
    }
}

struct ErrorCase {
    std::string name;
    Bytes file;
    DecodeError error;
};

Bytes patched(Bytes b, size_t at, std::vector<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), b.begin() + at);
    return b;
}

TEST(BmpDecoder, RefusesWhatItCannotRead)
{
    const Bytes good = buildBmp(withPalette(picture(8, {1, 2, 3}, {4, 5, 0}), {0, 0xFFFFFF}));
    auto rle8 = picture(8, {}, {});
    rle8.compression = 1;
    rle8.pixels = {0, 1};
    auto rleTopDown = rle8;
    rleTopDown.height = -2;
    auto rle4As8 = rle8;
    rle4As8.compression = 2;
    auto huffman = picture(1, {0, 1, 0}, {1, 0, 1});
    huffman.headerSize = 64;
    huffman.compression = 3;
    auto jpeg = picture(24, {0, 0, 0}, {0, 0, 0});
    jpeg.compression = 4;
    auto bits2 = picture(2, {0, 1, 2}, {3, 2, 1});
    auto bitfields24 = with(picture(24, {0, 0, 0}, {0, 0, 0}), 3, {0xFF0000, 0xFF00, 0xFF});
    const std::vector<ErrorCase> cases = {
        {"1 byte", Bytes{'B'}, DecodeError::Truncated},
        {"13 bytes", Bytes(good.begin(), good.begin() + 13), DecodeError::Truncated},
        {"header cut short", Bytes(good.begin(), good.begin() + 30), DecodeError::Truncated},
        {"wrong magic", patched(good, 0, {'M', 'B'}), DecodeError::Malformed},
        {"bitmap array", patched(good, 0, {'B', 'A'}), DecodeError::Unsupported},
        {"two planes", patched(good, 26, {2, 0}), DecodeError::Malformed},
        {"negative width", patched(good, 18, {0xFD, 0xFF, 0xFF, 0xFF}), DecodeError::Malformed},
        {"most negative height", patched(good, 22, {0, 0, 0, 0x80}), DecodeError::Malformed},
        {"unknown header size", patched(good, 14, {66}), DecodeError::Malformed},
        {"30000 bits", patched(good, 28, {0x30, 0x75}), DecodeError::Malformed},
        {"no bits", patched(good, 28, {0, 0}), DecodeError::Malformed},
        {"2 bits", buildBmp(bits2), DecodeError::Unsupported},
        {"run-length top-down", buildBmp(rleTopDown), DecodeError::Malformed},
        {"4-bit runs on 8 bits", buildBmp(rle4As8), DecodeError::Malformed},
        {"bit-fields on 24 bits", buildBmp(bitfields24), DecodeError::Malformed},
        {"os2 huffman", buildBmp(huffman), DecodeError::Unsupported},
        {"jpeg inside", buildBmp(jpeg), DecodeError::Unsupported},
        {"cmyk", patched(good, 30, {11}), DecodeError::Unsupported},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = decode(c.file);
        ASSERT_TRUE(std::holds_alternative<DecodeError>(r));
        EXPECT_STREQ(errorName(std::get<DecodeError>(r)), errorName(c.error));
    }
}

TEST(BmpDecoder, EmptyFileAndZeroSizesAreEmptyPictures)
{
    auto empty = decode({});
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(empty));
    EXPECT_EQ(std::get<DecodedBitmap>(empty).width, 0);
    EXPECT_EQ(std::get<DecodedBitmap>(empty).format, PixelFormat::Empty);

    for (auto [w, h] : {std::pair{0, 5}, std::pair{7, 0}, std::pair{0, -3}}) {
        BmpShape s;
        s.width = w;
        s.height = h;
        s.bits = 24;
        auto r = decode(buildBmp(s));
        ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
        const auto& bm = std::get<DecodedBitmap>(r);
        EXPECT_EQ(bm.width, w);
        EXPECT_EQ(bm.height, std::abs(h));
        EXPECT_EQ(bm.format, PixelFormat::Empty);
        EXPECT_EQ(bm.pixels, nullptr);
    }
}

TEST(BmpDecoder, MissingPixelDataShowsColourZero)
{
    const uint32_t K = kOpaque, W = kOpaque | 0xFFFFFF;
    struct Case {
        std::string name;
        BmpShape shape;
        size_t keep; // bytes of pixel data left in the file
        std::vector<uint32_t> expected;
    };
    const std::vector<Case> cases = {
        // Bottom-up: the bottom row comes first, so a cut loses the top.
        {"8-bit, one row", withPalette(picture(8, {1, 1, 1}, {1, 1, 1}), {0, 0xFFFFFF}), 4, {K, K, K, W, W, W}},
        {"8-bit, part of a row", withPalette(picture(8, {1, 1, 1}, {1, 1, 1}), {0, 0xFFFFFF}), 2,
         {K, K, K, W, W, K}},
        {"top-down loses the bottom", withPalette(picture(8, {1, 1, 1}, {1, 1, 1}, true), {0, 0xFFFFFF}), 5,
         {W, W, W, W, K, K}},
        {"32-bit missing pixels are opaque black", picture(32, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, {0xFFFFFF, 0, 0}), 6,
         {K, K, K, W, K, K}},
        {"4-bit half a byte", withPalette(picture(4, {1, 1, 1}, {1, 1, 1}), {0, 0xFFFFFF}), 1,
         {K, K, K, W, W, K}},
        {"no pixel data at all", withPalette(picture(8, {1, 1, 1}, {1, 1, 1}), {0, 0xFFFFFF}), 0,
         {K, K, K, K, K, K}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpShape s = c.shape;
        s.pixels.resize(c.keep);
        auto r = decode(buildBmp(s));
        ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
        EXPECT_EQ(allPixels(std::get<DecodedBitmap>(r)), c.expected);
    }
}

TEST(BmpDecoder, ColourTableLimits)
{
    const uint32_t K = kOpaque;
    // A count above 256 reads 256 entries; the pixel offset still decides
    // where the pixels start.
    auto big = withPalette(picture(8, {0, 255, 1}, {0, 0, 0}), std::vector<uint32_t>(300, 0x0000FF));
    big.colorsUsed = 300;
    auto r = decode(buildBmp(big));
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
    EXPECT_EQ(std::get<DecodedBitmap>(r).palette.size(), 256u);
    EXPECT_EQ(pixelAt(std::get<DecodedBitmap>(r), 1, 0), K | 0x0000FF);

    // Indices past a short table are black; an old OS/2 file sizes its table
    // by the pixel offset.
    auto shortTable = withPalette(picture(8, {0, 1, 2}, {0, 0, 0}), {0xFF0000, 0x00FF00});
    shortTable.colorsUsed = 2;
    r = decode(buildBmp(shortTable));
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
    EXPECT_EQ(allPixels(std::get<DecodedBitmap>(r)), (std::vector<uint32_t>{K | 0xFF0000, K | 0x00FF00, K, K | 0xFF0000,
                                                                            K | 0xFF0000, K | 0xFF0000}));
    auto os2 = withPalette(picture(8, {0, 1, 2}, {0, 0, 0}), {0xFF0000, 0x00FF00, 0x0000FF}, 12);
    r = decode(buildBmp(os2));
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
    EXPECT_EQ(pixelAt(std::get<DecodedBitmap>(r), 2, 0), K | 0x0000FF);

    // A pixel offset of 0 means the pixels follow the table.
    auto zeroOffset = withPalette(picture(8, {0, 1, 1}, {1, 1, 1}), {0xFF0000, 0x00FF00});
    zeroOffset.colorsUsed = 2;
    Bytes file = buildBmp(zeroOffset);
    file[10] = file[11] = file[12] = file[13] = 0;
    r = decode(file);
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
    EXPECT_EQ(pixelAt(std::get<DecodedBitmap>(r), 0, 0), K | 0xFF0000);
}

TEST(BmpDecoder, TooLargeIsRefusedBeforeAllocating)
{
    auto header = [](int32_t w, int32_t h, uint16_t bits, uint32_t compression, size_t dataBytes) {
        BmpShape s;
        s.width = w;
        s.height = h;
        s.bits = bits;
        s.compression = compression;
        if (bits <= 8)
            s.palette = {0, 0xFFFFFF};
        s.pixels.assign(dataBytes, 0);
        return buildBmp(s);
    };
    auto outcome = [](const Bytes& f) {
        auto r = decode(f);
        return std::holds_alternative<DecodeError>(r) ? std::string(errorName(std::get<DecodeError>(r)))
                                                      : std::string("ok");
    };
    EXPECT_EQ(outcome(header(100000, 100000, 24, 0, 100)), "TooLarge");
    EXPECT_EQ(outcome(header(3000000, 2000000, 24, 0, 100)), "TooLarge");
    EXPECT_EQ(outcome(header(2000000000, 1, 32, 0, 100)), "TooLarge");
    EXPECT_EQ(outcome(header(16385, 16385, 8, 1, 1 << 20)), "TooLarge"); // over 2^28 pixels
    // 16 MiB of slack plus 8 bytes per file byte; 4096 x 4096 8-bit is 16 MiB.
    EXPECT_EQ(outcome(header(4096, 4096, 8, 0, 0)), "ok");
    EXPECT_EQ(outcome(header(4096, 4097, 8, 0, 0)), "TooLarge");
    EXPECT_EQ(outcome(header(4096, 4097, 8, 0, 512)), "ok");
    // Run-length data may expand 256 times: a blank 8192 x 8192 picture.
    EXPECT_EQ(outcome(header(8192, 8192, 8, 1, 200000)), "ok");
    EXPECT_EQ(outcome(header(8192, 8192, 8, 1, 100)), "TooLarge");
}

// Every prefix of every fixture either decodes or reports an error; under
// the sanitizers this is what catches reads past the end.
TEST(BmpDecoder, EveryPrefixOfEveryFixtureIsHandled)
{
    for (const auto& c : formatCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = buildBmp(c.shape);
        for (size_t n = 0; n <= file.size(); ++n) {
            const Bytes prefix(file.begin(), file.begin() + n);
            auto r = decode(prefix);
            if (n >= 1 && n <= 13)
                EXPECT_TRUE(std::holds_alternative<DecodeError>(r));
            if (auto* bm = std::get_if<DecodedBitmap>(&r); bm && bm->pixels)
                allPixels(*bm);
        }
    }
}

} // namespace

namespace {

TEST(FileSource, DecodesLikeMemoryAndRefusesReadsPastTheEnd)
{
    // 2500 bottom-up rows: several batches of rows per read; also cut short
    // in the middle of a row.
    std::vector<std::vector<uint32_t>> rows(2500, std::vector<uint32_t>(3));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = {uint32_t(y % 3), uint32_t((y + 1) % 3), uint32_t(y % 2)};
    BmpShape shape = withPalette(picture(8, {}, {}), {0, 0xFFFFFF, 0xFF0000});
    shape.height = 2500;
    shape.pixels = packRows(8, rows);
    const Bytes whole = buildBmp(shape);
    for (size_t cut : {size_t(0), size_t(1001)}) {
        SCOPED_TRACE(cut);
        const Bytes file(whole.begin(), whole.end() - cut);
        char name[] = "/tmp/kelpora-filesource-XXXXXX";
        const int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, file.data(), file.size()), ssize_t(file.size()));
        FileSource src(fd);
        EXPECT_EQ(src.size(), file.size());
        uint8_t byte;
        EXPECT_FALSE(src.readAt(file.size(), &byte, 1));
        EXPECT_TRUE(src.readAt(file.size() - 1, &byte, 1));
        auto fromFile = decodeBmp(src);
        auto fromMemory = decode(file);
        ::close(fd);
        ::unlink(name);
        ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(fromFile));
        const auto pixels = allPixels(std::get<DecodedBitmap>(fromFile));
        EXPECT_EQ(pixels, allPixels(std::get<DecodedBitmap>(fromMemory)));
        EXPECT_EQ(pixels[3 * 2499], 0xFF000000u); // bottom row, index 0
        EXPECT_EQ(pixels[3 * 2499 + 1], 0xFFFFFFFFu);
    }
}

} // namespace
