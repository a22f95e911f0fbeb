#include "Metafile.h"
#include "ByteReader.h"
#include "Player.h"
#include "WmfConverter.h"

namespace kelpora::mf {

MetafileData::MetafileData(std::vector<uint8_t> emf, const EmfHeaderInfo& header, bool fromWmf, int wmfInch,
                           int mmWidth, int mmHeight)
    : m_emf(std::move(emf)), m_header(header), m_fromWmf(fromWmf), m_wmfInch(wmfInch), m_mmWidth(mmWidth),
      m_mmHeight(mmHeight)
{
}

int64_t mulDivRound(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    __int128 prod = __int128(a) * b;
    bool negative = (prod < 0) != (c < 0);
    __int128 n = prod < 0 ? -prod : prod;
    __int128 d = c < 0 ? -__int128(c) : __int128(c);
    // Halves round away from zero: compare twice the remainder with the divisor.
    __int128 q = n / d;
    if (2 * (n - q * d) >= d)
        ++q;
    __int128 result = negative ? -q : q;
    if (result > INT64_MAX)
        return INT64_MAX;
    if (result < INT64_MIN)
        return INT64_MIN;
    return int64_t(result);
}

namespace {

bool isEmf(const uint8_t* data, size_t size)
{
    ByteReader r(data, size);
    return size > 100 && r.u32(0) == 1 && r.u32(40) == 0x464D4520;
}

std::shared_ptr<const MetafileData> loadEmf(const uint8_t* data, size_t size)
{
    ByteReader r(data, size);
    uint32_t headerSize = r.u32(4);
    if (headerSize < 88 || headerSize > size || headerSize % 4 != 0)
        return nullptr;
    EmfHeaderInfo h;
    h.bounds = QRect(QPoint(r.i32(8), r.i32(12)), QPoint(r.i32(16), r.i32(20)));
    h.frameLeft = r.i32(24);
    h.frameTop = r.i32(28);
    h.frameRight = r.i32(32);
    h.frameBottom = r.i32(36);
    h.deviceCx = r.i32(72);
    h.deviceCy = r.i32(76);
    h.millimetersCx = r.i32(80);
    h.millimetersCy = r.i32(84);
    int64_t w = int64_t(h.frameRight) - h.frameLeft, ht = int64_t(h.frameBottom) - h.frameTop;
    if (w > INT32_MAX || w < INT32_MIN || ht > INT32_MAX || ht < INT32_MIN)
        return nullptr;
    std::vector<uint8_t> bytes(data, data + size);
    return std::make_shared<const MetafileData>(std::move(bytes), h, false, 0, int(w), int(ht));
}

std::shared_ptr<const MetafileData> loadWmf(const uint8_t* data, size_t size)
{
    PlaceableHeader ph;
    if (!readPlaceableHeader(data, size, ph))
        return nullptr;
    std::vector<uint8_t> emf;
    EmfHeaderInfo h;
    if (!convertWmfToEmf(data, size, emf, h))
        return nullptr;
    int inch = ph.inch == 0 ? 96 : ph.inch;
    int w = int(mulDivRound(int64_t(ph.right) - ph.left, 2540, inch));
    int ht = int(mulDivRound(int64_t(ph.bottom) - ph.top, 2540, inch));
    return std::make_shared<const MetafileData>(std::move(emf), h, true, ph.inch, w, ht);
}

int clampInt(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

std::shared_ptr<const MetafileData> loadMetafile(const uint8_t* data, size_t size)
{
    if (!data)
        return nullptr;
    if (isEmf(data, size))
        return loadEmf(data, size);
    return loadWmf(data, size);
}

QSize pixelSize(const MetafileData& m, int screenDpi)
{
    if (m.fromWmf() && m.wmfInch() != 0)
        return QSize(clampInt(mulDivRound(m.mmWidth(), screenDpi, 2540)),
                     clampInt(mulDivRound(m.mmHeight(), screenDpi, 2540)));
    const EmfHeaderInfo& h = m.header();
    return QSize(clampInt(mulDivRound(m.mmWidth(), h.deviceCx, int64_t(h.millimetersCx) * 100)),
                 clampInt(mulDivRound(m.mmHeight(), h.deviceCy, int64_t(h.millimetersCy) * 100)));
}

void play(QPainter& p, const MetafileData& m, const QRect& dest)
{
    if (!p.isActive())
        return;
    Player player(p, m, dest);
    player.run();
}

} // namespace kelpora::mf
