#include "MetafileBuilders.h"
#include "SampleMetafiles.h"
#include "TestSupport.h"
#include <filesystem>
#include <fstream>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace mftest;

namespace {

void playAll(const std::vector<uint8_t>& b)
{
    render(b, QSize(40, 40));
}

} // namespace

TEST(MetafileRobustness, EveryTruncatedPrefixLoadsOrIsRefused)
{
    for (const auto& [name, f] : sampleMetafiles()) {
        SCOPED_TRACE(name);
        for (size_t n = 0; n <= f.size(); ++n) {
            std::vector<uint8_t> part(f.begin(), f.begin() + std::ptrdiff_t(n));
            playAll(part);
        }
        // Each byte flipped in turn.
        for (size_t i = 0; i < f.size(); ++i) {
            std::vector<uint8_t> bad = f;
            bad[i] ^= 0xA5;
            playAll(bad);
        }
    }
}

TEST(MetafileRobustness, BadRecordSizeStopsPlayingCleanly)
{
    for (uint32_t badSize : {0u, 4u, 10u, 0x7FFFFFF0u}) {
        SCOPED_TRACE(badSize);
        Emf e;
        e.solidBrush(1, rgb(255, 0, 0)).select(1).nullPen();
        std::vector<uint8_t> b = e.bytes();
        b.resize(b.size() - 20); // drop the end record
        put32(b, 43);
        put32(b, badSize);
        for (int v : {0, 0, 100, 100})
            put32(b, uint32_t(v));
        EXPECT_EQ(at(render(b), 50, 50), Background);
    }
}

TEST(MetafileRobustness, HostileIndexesCountsAndTransforms)
{
    const std::vector<std::function<void(Emf&)>> hostile = {
        [](Emf& e) { e.select(0).select(0x7FFFFFFF).select(65536).select(0xFFFFFFFF).rec(40, {12345}); },
        [](Emf& e) { e.rec(4, {0, 0, 0, 0, int64_t(0xFFFFFFFF), 1, 2}); },                     // polyline count
        [](Emf& e) { e.rec(8, {0, 0, 0, 0, int64_t(0x40000000), 2, 1, 1, 0, 0, 5, 5}); },    // polypolygon counts
        [](Emf& e) { e.rec(7, {0, 0, 0, 0, 2, 4, int64_t(0xFFFFFFFF), 5, 0, 0, 1, 1}); },
        [](Emf& e) { e.rec(35, {0, 0, 0, 0, 0, 0}).rectangle(0, 0, 100, 100); },              // singular transform
        [](Emf& e) { e.rec(35, {floatBits(1e30f), 0, 0, floatBits(1e30f), 0, 0}).rectangle(0, 0, 100, 100); },
        [](Emf& e) { e.rec(35, {0x7FC00000, 0, 0, 0x7F800000, 0, 0}).rectangle(0, 0, 100, 100); }, // NaN, inf
        [](Emf& e) { e.rec(17, {8}).rec(9, {1, 1}).rec(11, {0x7FFFFFFF, 0x7FFFFFFF}).rectangle(-5, -5, 5, 5); },
        [](Emf& e) { e.rec(17, {8}).rec(9, {0, 0}).rec(32, {0, 0, 0, 0}).rectangle(0, 0, 10, 10); },
        [](Emf& e) { e.rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX); },
        [](Emf& e) { e.rec(38, {5, 1, 0, 0, 0}).select(5).rec(54, {INT32_MAX, INT32_MAX}); },  // dashed, huge
        [](Emf& e) { e.rec(34, {-1}).rec(34, {INT32_MIN}).rec(34, {INT32_MAX}); },
        [](Emf& e) { e.rec(81, {0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 80, 40, 120, 400, 0, 0x00CC0020, 100, 100,
                                40, 1000000, 1000000, 1 | (24 << 16), 0, 0, 0, 0, 0, 0}); },        // huge bitmap
        [](Emf& e) { e.rec(75, {64, 1, 32, 1, 0x7FFFFFFF, 0, 0, 0, 1, 1}); },                  // region count
        [](Emf& e) { e.rec(84, {0, 0, 0, 0, 1, 0, 0, 5, 5, 0x7FFFFFFF, 76, 0, 0, 0, 10, 10, 0x7FFFFFF0}); },
        [](Emf& e) { e.rec(41, {50, 50, int64_t(0xFFFFFFFF), 0x7F800000, 0x7F800000}); },     // angle arc
        [](Emf& e) { e.rec(44, {0, 0, 100, 100, INT32_MAX, INT32_MIN}); },
    };
    for (size_t i = 0; i < hostile.size(); ++i) {
        SCOPED_TRACE(i);
        Emf e;
        e.solidBrush(1, rgb(255, 0, 0)).select(1);
        hostile[i](e);
        QElapsedTimer t;
        t.start();
        render(e.bytes());
        EXPECT_LT(t.elapsed(), 2000);
    }
}

TEST(MetafileRobustness, DeepSaveStackAndLongPolylineStayBounded)
{
    Emf e;
    for (int i = 0; i < 5000; ++i)
        e.rec(33, {});
    std::vector<uint8_t> body;
    const int points = 1000000;
    for (int v : {0, 0, 0, 0, points})
        put32(body, uint32_t(v));
    for (int i = 0; i < points; ++i) {
        put16(body, uint16_t(i % 100));
        put16(body, uint16_t((i * 7) % 100));
    }
    e.raw(87, body);
    QElapsedTimer t;
    t.start();
    render(e.bytes());
    EXPECT_LT(t.elapsed(), 10000);
}

// Inputs that once went wrong, named after the fault; each must load or be refused and play without harm.
TEST(MetafileRobustness, FormerFaultsPlayCleanly)
{
    const auto dir = testsupport::sourceDir() / "tests" / "metafile" / "regressions";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QElapsedTimer t;
        t.start();
        render(bytes, QSize(62, 42));
        EXPECT_LT(t.elapsed(), 2000);
        ++count;
    }
    EXPECT_GT(count, 0);
}
