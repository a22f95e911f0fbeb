#include "MetafileBuilders.h"
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace mftest;

namespace {

// A picture touching most record families, in both forms.
std::vector<std::vector<uint8_t>> fixtures()
{
    std::vector<std::vector<uint8_t>> out;
    Emf e;
    e.solidBrush(1, rgb(255, 0, 0)).select(1).rec(38, {2, 0, 3, 0, rgb(0, 0, 255)}).select(2);
    e.rec(17, {8}).rec(9, {200, 200}).rec(11, {100, 100}).rec(33, {});
    e.rectangle(10, 10, 150, 150).rec(42, {20, 20, 120, 120}).rec(45, {0, 0, 100, 100, 0, 50, 100, 50});
    e.rec(86, {0, 0, 0, 0, 3, 10 | (10 << 16), 100 | (10 << 16), 50 | (100 << 16)});
    e.rec(59, {}).rec(27, {0, 0}).rec(54, {50, 50}).rec(60, {}).rec(64, {0, 0, 0, 0});
    e.rec(30, {0, 0, 80, 80}).rec(34, {-1});
    std::vector<uint8_t> dib = dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    std::vector<uint8_t> body;
    for (int v : {0, 0, 99, 99, 0, 0, 0, 0, 2, 2, 80, 40, 120, int(dib.size()) - 40, 0, 0x00CC0020, 100, 100})
        put32(body, uint32_t(v));
    body.insert(body.end(), dib.begin(), dib.end());
    e.raw(81, body);
    std::vector<uint8_t> text;
    for (int v : {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, -1, -1, 80})
        put32(text, uint32_t(v));
    put16(text, 'A'), put16(text, 'B'), put32(text, 10), put32(text, 10);
    e.raw(84, text);
    out.push_back(e.bytes());

    Wmf w(0, 0, 100, 100, 1440);
    w.window(0, 0, 100, 100).brush(rgb(0, 255, 0)).rec(0x012D, {0}).rec(0x041B, {60, 60, 10, 10});
    w.rec(0x06FF, {0, 6, 0, 0, 0, 1, 1, 0, 0, 50, 50, 2, 0, 50, 0, 50, 2}).rec(0x012C, {1});
    w.rec(0x0538, {2, 3, 3, 0, 0, 10, 0, 0, 10, 20, 20, 30, 20, 20, 30});
    w.rec(0x0A32, {10, 10, 2, 0, 'A' | ('B' << 8), 5, 5});
    std::vector<uint8_t> wdib = {0x20, 0x00, 0xCC, 0x00, 2, 0, 2, 0, 0, 0, 0, 0, 20, 0, 20, 0, 0, 0, 0, 0};
    wdib.insert(wdib.end(), dib.begin(), dib.end());
    w.recBytes(0x0B41, wdib);
    out.push_back(w.bytes());
    return out;
}

void playAll(const std::vector<uint8_t>& b)
{
    render(b, QSize(40, 40));
}

} // namespace

TEST(MetafileRobustness, EveryTruncatedPrefixLoadsOrIsRefused)
{
    for (const auto& f : fixtures()) {
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
