#include "BmpBuilder.h"

#include <gtest/gtest.h>

using namespace kelpora::codec;
using namespace codectest;

namespace {

// Run-length pictures 4 x 3 with a palette where index i is the colour i,
// so the expected grid can be written as indices, top row first.
struct RleCase {
    std::string name;
    bool fourBit;
    Bytes data;
    std::vector<uint32_t> expected; // indices, top row first
};

Bytes rleFile(bool fourBit, const Bytes& data, int w = 4, int h = 3)
{
    BmpShape s;
    s.width = w;
    s.height = h;
    s.bits = fourBit ? 4 : 8;
    s.compression = fourBit ? 2 : 1;
    for (uint32_t i = 0; i < (fourBit ? 16u : 256u); ++i)
        s.palette.push_back(i);
    s.pixels = data;
    return buildBmp(s);
}

TEST(RunLength, DecodesRunsEscapesAndBrokenStreams)
{
    const std::vector<RleCase> cases = {
        {"encoded runs and end of line", false, {4, 7, 0, 0, 2, 5, 2, 6, 0, 0, 1, 9, 0, 1},
         {9, 0, 0, 0, 5, 5, 6, 6, 7, 7, 7, 7}},
        {"odd absolute run is padded", false, {0, 3, 1, 2, 3, 0, 1, 4, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}},
        {"even absolute run has no pad", false, {0, 4, 1, 2, 3, 4, 0, 0, 2, 8, 0, 1}, {0, 0, 0, 0, 8, 8, 0, 0, 1, 2, 3, 4}},
        {"delta skips with colour 0", false, {1, 5, 0, 2, 2, 1, 1, 6, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 6, 5, 0, 0, 0}},
        {"run past the row end is cut, not wrapped", false, {9, 3, 1, 4, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 3, 3}},
        {"absolute run past the row end", false, {2, 1, 0, 5, 7, 7, 7, 7, 7, 0, 1, 2, 0, 1},
         {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 7, 7}},
        {"delta past the image ends it", false, {2, 1, 0, 2, 0, 9, 3, 3, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0}},
        {"delta past the row end", false, {0, 2, 200, 0, 2, 4, 0, 0, 1, 5, 0, 1}, {0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0}},
        {"end of bitmap leaves the rest at 0", false, {4, 2, 0, 1, 4, 3}, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2}},
        {"no end marker", false, {4, 2, 0, 0, 2, 3}, {0, 0, 0, 0, 3, 3, 0, 0, 2, 2, 2, 2}},
        {"stream cut inside an absolute run", false, {0, 4, 1, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0}},
        {"stream cut inside a delta", false, {1, 1, 0, 2, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"too many lines", false, {0, 0, 0, 0, 0, 0, 0, 0, 4, 9}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"4-bit runs alternate nibbles", true, {4, 0x12, 0, 0, 3, 0xAB, 0, 1}, {0, 0, 0, 0, 10, 11, 10, 0, 1, 2, 1, 2}},
        {"4-bit odd absolute run", true, {0, 3, 0x34, 0x50, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 3, 4, 5, 0}},
        {"4-bit absolute run of 5 needs a pad byte", true, {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 1, 0xF0, 0, 1},
         {0, 0, 0, 0, 15, 0, 0, 0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = decode(rleFile(c.fourBit, c.data));
        ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r)) << errorName(std::get<DecodeError>(r));
        const auto& bm = std::get<DecodedBitmap>(r);
        ASSERT_EQ(bm.format, PixelFormat::Indexed8);
        std::vector<uint32_t> indices;
        for (int y = 0; y < bm.height; ++y)
            for (int x = 0; x < bm.width; ++x)
                indices.push_back(bm.pixels.get()[y * bm.stride + x]);
        EXPECT_EQ(indices, c.expected);
    }
}

TEST(RunLength, PaddingBytesAreWrittenToo)
{
    // Width 5 leaves three padding bytes per row; they must not be left as
    // whatever malloc returned.
    auto r = decode(rleFile(false, {5, 1, 0, 1}, 5, 2));
    ASSERT_TRUE(std::holds_alternative<DecodedBitmap>(r));
    const auto& bm = std::get<DecodedBitmap>(r);
    ASSERT_EQ(bm.stride, 8u);
    const std::vector<uint8_t> bytes(bm.pixels.get(), bm.pixels.get() + 16);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0}));
}

} // namespace
