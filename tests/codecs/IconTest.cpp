#include "BmpBuilder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kelpora::codec;
using namespace codectest;

namespace {

template<class T>
const T& ok(const Result<T>& r)
{
    if (auto* e = std::get_if<DecodeError>(&r))
        ADD_FAILURE() << errorName(*e);
    return std::get<T>(r);
}

IconEntry entry(uint8_t w, uint8_t h, uint16_t colors)
{
    IconEntry e;
    e.width = w;
    e.height = h;
    e.colorCount = colors;
    return e;
}

TEST(IconChoice, FollowsTheDirectoryRule)
{
    struct Case {
        std::string name;
        std::vector<IconEntry> entries;
        int askedW, askedH, screenBits;
        size_t expected;
    };
    const std::vector<Case> cases = {
        {"16 and 32 of one depth, asked 16", {entry(32, 32, 16), entry(16, 16, 16)}, 16, 16, 32, 1},
        {"16 first then 32", {entry(16, 16, 16), entry(32, 32, 16)}, 16, 16, 32, 0},
        {"asked 32", {entry(16, 16, 16), entry(32, 32, 16)}, 32, 32, 32, 1},
        {"ties go to the later entry", {entry(16, 16, 16), entry(16, 16, 16), entry(16, 16, 16)}, 16, 16, 32, 2},
        {"fewer colours never replace", {entry(16, 16, 256), entry(16, 16, 16)}, 16, 16, 32, 0},
        {"more colours replace", {entry(16, 16, 16), entry(16, 16, 256)}, 16, 16, 32, 1},
        {"0 colours is the most", {entry(16, 16, 256), entry(16, 16, 0)}, 16, 16, 32, 1},
        {"reserved byte counts", {entry(16, 16, 0x100), entry(16, 16, 0xFF)}, 16, 16, 32, 0},
        {"screen of 4 bits takes 16 colours at most", {entry(16, 16, 16), entry(16, 16, 256)}, 16, 16, 4, 0},
        {"screen of 8 bits refuses 0 colours", {entry(16, 16, 256), entry(16, 16, 0)}, 16, 16, 8, 0},
        {"the first entry stays even when too deep", {entry(32, 32, 0), entry(16, 16, 0)}, 16, 16, 8, 0},
        {"closer and smaller wins", {entry(48, 48, 0), entry(24, 24, 0), entry(20, 20, 0)}, 16, 16, 32, 2},
        {"larger than asked, no larger than choice", {entry(20, 20, 0), entry(12, 12, 0)}, 16, 16, 32, 1},
        {"same distance but larger loses", {entry(12, 12, 0), entry(20, 20, 0)}, 16, 16, 32, 0},
        {"same distance smaller wins", {entry(20, 20, 0), entry(12, 12, 0)}, 16, 16, 32, 1},
        {"0 width stays 0, far from 16", {entry(16, 16, 0), entry(0, 0, 0)}, 16, 16, 32, 0},
        {"0 width is closest to a 0 ask", {entry(16, 16, 0), entry(0, 0, 0)}, 0, 0, 32, 1},
        {"height decides too", {entry(16, 16, 0), entry(16, 32, 0)}, 16, 16, 32, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IconDirectory dir{1, c.entries};
        EXPECT_EQ(chooseIconImage(dir, c.askedW, c.askedH, c.screenBits), c.expected);
    }
    EXPECT_EQ(chooseIconImage(IconDirectory{1, {}}, 16, 16, 32), kNoIconImage);
}

TEST(IconDirectory, HeaderRules)
{
    struct Case {
        std::string name;
        Bytes file;
        std::optional<DecodeError> error;
        size_t entries;
    };
    const Bytes one = buildIco(1, {{16, 16, 0, 32, Bytes(8, 0)}});
    const std::vector<Case> cases = {
        {"5 bytes", Bytes{0, 0, 1, 0, 1}, DecodeError::Truncated, 0},
        {"cursor", buildIco(2, {{16, 16, 0, 32, Bytes(8, 0)}}), DecodeError::Malformed, 0},
        {"type 7", buildIco(7, {}), DecodeError::Malformed, 0},
        {"type 0 has no images", buildIco(0, {{16, 16, 0, 32, Bytes(8, 0)}}), std::nullopt, 0},
        {"empty directory", buildIco(1, {}), std::nullopt, 0},
        {"directory runs past the end", Bytes(one.begin(), one.begin() + 20), DecodeError::Truncated, 0},
        {"one entry", one, std::nullopt, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySource src(c.file.data(), c.file.size());
        auto r = parseIconDirectory(src);
        if (c.error) {
            ASSERT_TRUE(std::holds_alternative<DecodeError>(r));
            EXPECT_EQ(std::get<DecodeError>(r), *c.error);
        } else {
            ASSERT_TRUE(std::holds_alternative<IconDirectory>(r));
            EXPECT_EQ(std::get<IconDirectory>(r).entries.size(), c.entries);
        }
    }
}

// 2 x 2 images: the AND mask makes the top-right pixel transparent.
const Bytes kMask = packRows(1, {{0, 0}, {0, 1}}); // bottom row first

TEST(IconImage, DecodesEachDepthWithItsMask)
{
    const uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF;
    struct Case {
        std::string name;
        Bytes dib;
        std::vector<uint32_t> expected; // top row first; alpha 0 pixels compared by alpha only
    };
    const std::vector<uint32_t> pal = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    const std::vector<Case> cases = {
        {"1 bit", iconDib(2, 2, 1, {0xFF0000, 0xFFFFFF}, packRows(1, {{0, 1}, {1, 0}}), kMask), {W, 0, R, W}},
        {"4 bit", iconDib(2, 2, 4, pal, packRows(4, {{0, 1}, {2, 3}}), kMask), {B, 0, R, G}},
        {"8 bit", iconDib(2, 2, 8, pal, packRows(8, {{0, 1}, {2, 3}}), kMask), {B, 0, R, G}},
        {"16 bit", iconDib(2, 2, 16, {}, packRows(16, {{0x7C00, 0x03E0}, {0x001F, 0x7FFF}}), kMask), {B, 0, R, G}},
        {"24 bit", iconDib(2, 2, 24, {}, packRows(24, {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}}), kMask),
         {B, 0, R, G}},
        {"32 bit with alpha ignores the mask",
         iconDib(2, 2, 32, {}, packRows(32, {{0x80FF0000, 0xFF00FF00}, {0xFF0000FF, 0x01FFFFFF}}), kMask),
         {B, 0x01FFFFFF, 0x80FF0000, G}},
        {"32 bit without alpha uses the mask",
         iconDib(2, 2, 32, {}, packRows(32, {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}}), kMask), {B, 0, R, G}},
        {"mask cut off: opaque", iconDib(2, 2, 8, pal, packRows(8, {{0, 1}, {2, 3}}), {}), {B, W, R, G}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = buildIco(1, {{2, 2, 0, 32, c.dib}});
        MemorySource src(file.data(), file.size());
        const auto parsed = parseIconDirectory(src);
        const auto& dir = ok(parsed);
        EXPECT_FALSE(iconImageIsPng(src, dir.entries[0]));
        const auto r = decodeIconImage(src, dir.entries[0]);
        const auto& bm = ok(r);
        ASSERT_EQ(bm.format, PixelFormat::Argb32);
        ASSERT_EQ(bm.width, 2);
        ASSERT_EQ(bm.height, 2);
        auto got = allPixels(bm);
        for (auto& p : got)
            if ((p >> 24) == 0)
                p = 0;
        EXPECT_EQ(got, c.expected);
    }
}

TEST(IconImage, RefusesBrokenEntries)
{
    auto dib = iconDib(2, 2, 8, {0, 0}, packRows(8, {{0, 1}, {1, 0}}), kMask);
    auto png = Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    auto bomb = iconDib(65535, 65535, 1, {0, 0xFFFFFF}, {}, {});
    auto decodeFirst = [](Bytes file, std::function<void(Bytes&)> patch) {
        patch(file);
        MemorySource src(file.data(), file.size());
        auto dir = std::get<IconDirectory>(parseIconDirectory(src));
        return decodeIconImage(src, dir.entries[0]);
    };
    auto errorOf = [](const Result<DecodedBitmap>& r) {
        return std::holds_alternative<DecodeError>(r) ? errorName(std::get<DecodeError>(r)) : "ok";
    };
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{2, 2, 0, 8, png}}), [](Bytes&) {})), "Unsupported");
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{0, 0, 0, 1, bomb}}), [](Bytes&) {})), "TooLarge");
    // Offset far past the end, offset leaving no room for a header.
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{2, 2, 0, 8, dib}}), [](Bytes& f) { f[21] = 0x7F; })),
                 "Truncated");
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{2, 2, 0, 8, dib}}), [](Bytes& f) { f[18] = uint8_t(f.size() - 2); })),
                 "Truncated");
    // A header that is not a DIB header at all.
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{2, 2, 0, 8, dib}}), [](Bytes& f) { f[22] = 99; })), "Malformed");
    // Compressed icon images are not drawn.
    EXPECT_STREQ(errorOf(decodeFirst(buildIco(1, {{2, 2, 0, 8, dib}}), [](Bytes& f) { f[22 + 16] = 1; })),
                 "Unsupported");
    // Every prefix of a good file: a result or an error, never a bad read.
    const Bytes file = buildIco(1, {{2, 2, 0, 8, dib}, {2, 2, 0, 8, png}});
    for (size_t n = 0; n <= file.size(); ++n) {
        MemorySource src(file.data(), n);
        auto dir = parseIconDirectory(src);
        if (n < 6)
            EXPECT_EQ(std::get<DecodeError>(dir), DecodeError::Truncated);
        if (auto* d = std::get_if<IconDirectory>(&dir))
            for (const auto& e : d->entries)
                (void)decodeIconImage(src, e);
    }
}

} // namespace
