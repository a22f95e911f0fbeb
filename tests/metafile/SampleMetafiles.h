#pragma once
// Pictures touching most record families in both forms: the robustness
// sweeps mutate them and the fuzzers start from them.
#include "MetafileBuilders.h"
#include <string>
#include <utility>

namespace mftest {

inline std::vector<uint8_t> stretchDibBody(const std::vector<uint8_t>& dib)
{
    std::vector<uint8_t> body;
    for (int v : {0, 0, 99, 99, 0, 0, 0, 0, 2, 2, 80, 40, 120, int(dib.size()) - 40, 0, 0x00CC0020, 100, 100})
        put32(body, uint32_t(v));
    body.insert(body.end(), dib.begin(), dib.end());
    return body;
}

inline std::vector<uint8_t> textBody(int x, int y, const std::u16string& s, bool withDx)
{
    std::vector<uint8_t> body;
    int dxAt = withDx ? int(76 + (s.size() * 2 + 3) / 4 * 4) : 0;
    for (int v : {0, 0, 0, 0, 1, 0, 0, x, y, int(s.size()), 76, 0x4, 0, 0, 60, 60, dxAt})
        put32(body, uint32_t(v));
    for (char16_t c : s)
        put16(body, c);
    while (body.size() % 4)
        body.push_back(0);
    if (withDx)
        for (size_t i = 0; i < s.size(); ++i)
            put32(body, 9);
    return body;
}

inline std::vector<uint8_t> fontBody(uint32_t index, int height, int escapement, const std::u16string& face)
{
    std::vector<uint8_t> body;
    for (int v : {int(index), height, 0, escapement, escapement, 700})
        put32(body, uint32_t(v));
    body.push_back(1), body.push_back(1), body.push_back(0), body.push_back(0);
    put32(body, 0);
    for (char16_t c : face)
        put16(body, c);
    body.resize(4 + 92, 0);
    return body;
}

inline std::vector<std::pair<std::string, std::vector<uint8_t>>> sampleMetafiles()
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    const std::vector<uint8_t> dib = dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    {
        Emf e;
        e.solidBrush(1, rgb(255, 0, 0)).select(1).rec(38, {2, 0, 3, 0, rgb(0, 0, 255)}).select(2);
        e.rec(17, {8}).rec(9, {200, 200}).rec(11, {100, 100}).rec(33, {});
        e.rectangle(10, 10, 150, 150).rec(42, {20, 20, 120, 120}).rec(45, {0, 0, 100, 100, 0, 50, 100, 50});
        e.rec(44, {5, 5, 60, 60, 10, 10}).rec(47, {0, 0, 80, 80, 80, 40, 40, 0}).rec(46, {0, 0, 80, 80, 0, 40, 40, 80});
        e.rec(86, {0, 0, 0, 0, 3, 10 | (10 << 16), 100 | (10 << 16), 50 | (100 << 16)});
        e.rec(91, {0, 0, 0, 0, 2, 6, 3, 3, 0, 0 | (10 << 16), 10, 5 | (5 << 16), 20, 30, 40 | (30 << 16)});
        e.rec(59, {}).rec(27, {0, 0}).rec(54, {50, 50}).rec(88, {0, 0, 0, 0, 3, 60, 60 << 16, 70 | (70 << 16)});
        e.rec(61, {}).rec(60, {}).rec(63, {0, 0, 0, 0});
        e.rec(30, {0, 0, 80, 80}).rec(34, {-1});
        e.raw(81, stretchDibBody(dib));
        e.raw(82, fontBody(3, -12, 300, u"Times New Roman")).select(3).rec(22, {6 | 24}).rec(25, {rgb(0, 255, 0)});
        e.raw(84, textBody(10, 10, u"AB", true));
        out.emplace_back("emf-shapes-text-bitmap.emf", e.bytes());
    }
    {
        Emf e;
        e.rec(17, {2}).rec(35, {floatBits(0.8f), floatBits(0.6f), floatBits(-0.6f), floatBits(0.8f), 0, 0});
        e.rec(39, {1, 2, rgb(0, 0, 0), 3}).select(1).rec(18, {2}).rectangle(0, 0, 500, -500);
        e.rec(95, {2, 0, 0, 0, 0, 0x10000 | 0x200 | 0x1000 | 7, 12, 0, rgb(255, 0, 0), 0, 2, 20, 10}).select(2);
        e.rec(2, {0, 0, 0, 0, 4, 0, 0, 100, -300, 200, 300, 400, 0});
        std::vector<uint8_t> rgn;
        put32(rgn, 64);
        put32(rgn, 2);
        for (int v : {32, 1, 2, 32, 0, 0, 100, 100, 0, 0, 40, 40, 50, 50, 90, 90})
            put32(rgn, uint32_t(v));
        e.raw(75, rgn).rec(26, {5, 5}).rec(28, {}).rec(75, {0, 5});
        e.rec(56, {0, 0, 0, 0, 3, 0, 0, 10, -10, 20, 0, 6 | (2 << 8) | (3 << 16)});
        e.rec(36, {floatBits(1), 0, 0, floatBits(1), floatBits(5), floatBits(5), 3}).rec(41, {50, -50, 30, 0, floatBits(270)});
        e.rec(118, {0, 0, 0, 0, 2, 1, 0, 0, 0, 0xFF00, 0, 0xFF000000, 100, -100, 0, 0xFF00, 0, 0, 1});
        std::vector<uint8_t> brush;
        for (int v : {4, 0, 24, 40, 64, int(dib.size()) - 40})
            put32(brush, uint32_t(v));
        brush.insert(brush.end(), dib.begin(), dib.end());
        e.raw(94, brush).select(4).rec(76, {0, 0, 0, 0, 0, 0, 50, -50, 0x00F00021, 0, 0, floatBits(1), 0, 0,
                                            floatBits(1), 0, 0, 0, 0, 0, 0, 0, 0});
        out.emplace_back("emf-mapping-regions-pens.emf", e.bytes());
    }
    {
        Wmf w(0, 0, 100, 100, 1440);
        w.window(0, 0, 100, 100).brush(rgb(0, 255, 0)).rec(0x012D, {0}).rec(0x041B, {60, 60, 10, 10});
        w.rec(0x06FF, {0, 6, 0, 0, 0, 1, 1, 0, 0, 50, 50, 2, 0, 50, 0, 50, 2}).rec(0x012C, {1});
        w.rec(0x0538, {2, 3, 3, 0, 0, 10, 0, 0, 10, 20, 20, 30, 20, 20, 30});
        w.rec(0x0A32, {10, 10, 2, 0, 'A' | ('B' << 8), 5, 5});
        std::vector<uint8_t> wdib = {0x20, 0x00, 0xCC, 0x00, 2, 0, 2, 0, 0, 0, 0, 0, 20, 0, 20, 0, 0, 0, 0, 0};
        wdib.insert(wdib.end(), dib.begin(), dib.end());
        w.recBytes(0x0B41, wdib);
        out.emplace_back("wmf-region-text-dib.wmf", w.bytes());
    }
    {
        Wmf w(-50, -50, 50, 50, 0);
        w.window(-50, -50, 100, 100).rec(0x02FA, {1, 2, 0, 0xFF, 0}).rec(0x012D, {0});
        w.rec(0x02FB, {-12, 0, 900, 900, 700, 0x0101, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l'});
        w.rec(0x012D, {1}).rec(0x012E, {6}).rec(0x0521, {2, 'H' | ('i' << 8), 0, 0});
        w.rec(0x001E, {}).rec(0x0817, {0, 40, 0, -40, 40, 40, -40, -40}).rec(0x0830, {0, 40, 0, -40, 30, 30, -30, -30});
        w.rec(0x0127, {-1}).rec(0x0214, {-40, -40}).rec(0x0213, {40, 40}).rec(0x0325, {3, 0, 0, 10, 10, 20, 0});
        w.rec(0x061D, {0x0021, 0x00F0, 10, 10, 0, 0}).rec(0x01F0, {0}).rec(0x02FC, {2, 0xFF, 0, 3});
        w.rec(0x012D, {0}).rec(0x0418, {20, 20, -20, -20}).rec(0x061C, {5, 5, 45, 45, 25, 25});
        std::vector<uint8_t> brush = {0, 0, 0, 0};
        brush.insert(brush.end(), dib.begin(), dib.end());
        w.recBytes(0x0142, brush).rec(0x012D, {2}).rec(0x0416, {30, 30, -30, -30}).rec(0x041B, {40, 40, -40, -40});
        out.emplace_back("wmf-objects-text-arcs.wmf", w.bytes());
    }
    return out;
}

} // namespace mftest
