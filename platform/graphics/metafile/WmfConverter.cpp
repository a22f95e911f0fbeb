#include "WmfConverter.h"
#include "ByteReader.h"
#include "DibReader.h"
#include "EmfRecords.h"
#include "EmfWriter.h"
#include "WmfObjectSlots.h"
#include <algorithm>
#include <cmath>

namespace kelpora::mf {

namespace {

// Windows metafile record functions.
enum : uint16_t {
    MetaEof = 0x0000, SetBkColor = 0x0201, SetBkMode = 0x0102, SetMapMode = 0x0103, SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106, SetStretchBltMode = 0x0107, SetTextColor = 0x0209, SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C, SetViewportOrg = 0x020D, SetViewportExt = 0x020E, OffsetViewportOrg = 0x0211,
    ScaleViewportExt = 0x0412, OffsetWindowOrg = 0x020F, ScaleWindowExt = 0x0410, LineTo = 0x0213, MoveTo = 0x0214,
    ExcludeClipRect = 0x0415, IntersectClipRect = 0x0416, Arc = 0x0817, Ellipse = 0x0418, Pie = 0x081A,
    Rectangle = 0x041B, RoundRect = 0x061C, PatBlt = 0x061D, SaveDc = 0x001E, SetPixel = 0x041F,
    OffsetClipRgn = 0x0220, TextOut = 0x0521, BitBlt = 0x0922, StretchBlt = 0x0B23, Polygon = 0x0324,
    Polyline = 0x0325, RestoreDc = 0x0127, FillRegion = 0x0228, FrameRegion = 0x0429, PaintRegion = 0x012B,
    SelectClipRegion = 0x012C, SelectObject = 0x012D, SetTextAlign = 0x012E, Chord = 0x0830,
    ExtTextOut = 0x0A32, SetDibToDev = 0x0D33, PolyPolygon = 0x0538, DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41, DibCreatePatternBrush = 0x0142, StretchDib = 0x0F43, DeleteObject = 0x01F0,
    CreatePalette = 0x00F7, CreatePatternBrush = 0x01F9, CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB, CreateBrushIndirect = 0x02FC, CreateRegion = 0x06FF,
};

constexpr uint32_t NullPenStock = emr::StockFlag | emr::NullPen;

// An old device-dependent bitmap (type, width, height, row bytes, planes, bits
// per pixel, then top-down rows) rewritten as a top-down DIB. Only depths that
// need no device palette are taken.
std::vector<uint8_t> bitmap16ToDib(const uint8_t* p, size_t len)
{
    ByteReader r(p, len);
    if (len < 10)
        return {};
    int width = r.i16(2), height = r.i16(4), widthBytes = r.i16(6);
    int planes = r.u8(8), bits = r.u8(9);
    if (planes != 1 || (bits != 1 && bits != 24 && bits != 32) || width <= 0 || height <= 0 || widthBytes <= 0
        || int64_t(widthBytes) * 8 < int64_t(width) * bits || int64_t(width) * height > MaxDibPixels)
        return {};
    if ((len - 10) / size_t(widthBytes) < size_t(height))
        return {};
    size_t stride = size_t((int64_t(width) * bits + 31) / 32 * 4);
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(v >> (8 * i)));
    };
    put32(40), put32(uint32_t(width)), put32(uint32_t(-height));
    out.push_back(1), out.push_back(0), out.push_back(uint8_t(bits)), out.push_back(0);
    for (int i = 0; i < 6; ++i)
        put32(0);
    if (bits == 1)
        put32(0), put32(0x00FFFFFF);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = p + 10 + size_t(y) * size_t(widthBytes);
        size_t copy = std::min(stride, size_t(widthBytes));
        out.insert(out.end(), row, row + copy);
        out.insert(out.end(), stride - copy, 0);
    }
    return out;
}

class Converter {
public:
    Converter(const uint8_t* data, size_t size, std::vector<uint8_t>& out) : m_in(data, size), m_out(out), m_w(out) {}

    bool run(EmfHeaderInfo& info);

private:
    struct Params {
        ByteReader r;
        size_t count;          // 16-bit words after the function
        int16_t s(size_t i) const { return r.i16(6 + 2 * i); }
        uint16_t u(size_t i) const { return r.u16(6 + 2 * i); }
        uint32_t u32(size_t i) const { return uint32_t(u(i)) | (uint32_t(u(i + 1)) << 16); }
        const uint8_t* at(size_t i) const { return r.data() + 6 + 2 * i; }
        size_t bytesFrom(size_t i) const { return i > count ? 0 : (count - i) * 2; }
    };

    void record(uint16_t func, const Params& p);
    void box(uint32_t type, const Params& p);
    void poly(uint32_t type, const Params& p);
    void polyPolygon(const Params& p);
    void text(const Params& p, bool extended);
    void stretchDib(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, uint32_t rop, uint32_t usage,
                    const uint8_t* dib, size_t len);
    void patBlt(int x, int y, int w, int h, uint32_t rop);
    void createPen(const Params& p);
    void createBrush(const Params& p);
    void createFont(const Params& p);
    void createDibBrush(const Params& p);
    void createPatternBrush(const Params& p);
    void createRegion(const Params& p);
    void regionPolygons(const std::vector<QRect>& rects);
    void selectClipRegion(int slot);
    void paintRegion(int regionSlot, int brushSlot);
    void windowOrg(int x, int y);

    ByteReader m_in;
    std::vector<uint8_t>& m_out;
    EmfWriter m_w;
    WmfObjectSlots m_slots;
    // The page as the picture sets it. The window is mapped onto the box; the
    // picture's own viewport only counts by how it moves or scales away from
    // the first one it set, which becomes a world transform.
    struct Page {
        QPointF windowOrg, windowExt{1, 1};
        QPointF viewportScale{1, 1};
        QPointF viewportShift{0, 0};   // device units
    };
    void viewportChanged();
    Page m_page;
    std::vector<Page> m_savedPages;
    bool m_haveViewportOrg = false, m_haveViewportExt = false;
    QPointF m_firstViewportOrg, m_firstViewportExt;
    bool m_worldSet = false;
};

void Converter::windowOrg(int x, int y)
{
    m_page.windowOrg = QPointF(x, y);
    m_w.simple(emr::SetWindowOrgEx, {x, y});
    viewportChanged();
}

void Converter::viewportChanged()
{
    const Page& g = m_page;
    bool identity = g.viewportScale == QPointF(1, 1) && g.viewportShift == QPointF(0, 0);
    if (identity && !m_worldSet)
        return;
    QPointF unit(1, 1);
    if (m_haveViewportExt)
        unit = QPointF(g.windowExt.x() / m_firstViewportExt.x(), g.windowExt.y() / m_firstViewportExt.y());
    double kx = g.viewportScale.x(), ky = g.viewportScale.y();
    double dx = g.windowOrg.x() * (1 - kx) + g.viewportShift.x() * unit.x();
    double dy = g.windowOrg.y() * (1 - ky) + g.viewportShift.y() * unit.y();
    for (double v : {kx, ky, dx, dy})
        if (!std::isfinite(v) || std::abs(v) > 1e9)
            return;
    m_w.begin(emr::SetWorldTransform);
    m_w.f32(float(kx)), m_w.f32(0), m_w.f32(0), m_w.f32(float(ky)), m_w.f32(float(dx)), m_w.f32(float(dy));
    m_w.end();
    m_worldSet = !identity;
}

void Converter::box(uint32_t type, const Params& p)
{
    if (p.count < 4)
        return;
    m_w.simple(type, {p.s(3), p.s(2), p.s(1), p.s(0)});
}

void Converter::poly(uint32_t type, const Params& p)
{
    if (p.count < 1)
        return;
    size_t n = p.u(0);
    if ((p.count - 1) / 2 < n)
        return;
    m_w.begin(type);
    m_w.zeros(16);
    m_w.u32(uint32_t(n));
    m_w.bytes(p.at(1), n * 4);
    m_w.end();
}

void Converter::polyPolygon(const Params& p)
{
    if (p.count < 1)
        return;
    size_t polys = p.u(0);
    if (p.count - 1 < polys)
        return;
    size_t total = 0;
    for (size_t i = 0; i < polys; ++i)
        total += p.u(1 + i);
    if ((p.count - 1 - polys) / 2 < total)
        return;
    m_w.begin(emr::PolyPolygon16);
    m_w.zeros(16);
    m_w.u32(uint32_t(polys));
    m_w.u32(uint32_t(total));
    for (size_t i = 0; i < polys; ++i)
        m_w.u32(p.u(1 + i));
    m_w.bytes(p.at(1 + polys), total * 4);
    m_w.end();
}

void Converter::text(const Params& p, bool extended)
{
    int x, y;
    size_t n, strAt;
    uint32_t options = 0;
    QRect rect;
    bool hasRect = false;
    if (!extended) {
        if (p.count < 1)
            return;
        n = p.u(0);
        size_t words = (n + 1) / 2;
        if (p.count < 1 + words + 2)
            return;
        strAt = 1;
        y = p.s(1 + words);
        x = p.s(2 + words);
    } else {
        if (p.count < 4)
            return;
        y = p.s(0);
        x = p.s(1);
        n = p.u(2);
        options = p.u(3);
        strAt = 4;
        if (options & 0x6) {
            if (p.count < 8)
                return;
            rect = QRect(QPoint(p.s(4), p.s(5)), QPoint(p.s(6), p.s(7)));
            hasRect = true;
            strAt = 8;
        }
    }
    if (p.bytesFrom(strAt) < n)
        return;
    size_t dxAt = strAt + (n + 1) / 2;
    bool hasDx = extended && n > 0 && p.bytesFrom(dxAt) >= n * 2;

    m_w.begin(emr::ExtTextOutA);
    m_w.zeros(16);
    m_w.i32(1);
    m_w.f32(0);
    m_w.f32(0);
    m_w.i32(x);
    m_w.i32(y);
    m_w.u32(uint32_t(n));
    uint32_t offString = 76;
    uint32_t strBytes = uint32_t((n + 3) & ~size_t(3));
    m_w.u32(offString);
    m_w.u32(options & 0xFFFF & ~0x100u);
    if (hasRect)
        m_w.rect(rect.left(), rect.top(), rect.right(), rect.bottom());
    else
        m_w.rect(0, 0, 0, 0);
    m_w.u32(hasDx ? offString + strBytes : 0);
    m_w.bytes(p.at(strAt), n);
    m_w.zeros(strBytes - n);
    if (hasDx)
        for (size_t i = 0; i < n; ++i)
            m_w.i32(p.s(dxAt + i));
    m_w.end();
}

void Converter::stretchDib(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, uint32_t rop,
                           uint32_t usage, const uint8_t* dib, size_t len)
{
    size_t info = dibInfoSize(dib, len, usage == 1);
    if (info == 0 || info > len)
        return;
    m_w.begin(emr::StretchDiBits);
    m_w.zeros(16);
    for (int v : {dx, dy, sx, sy, sw, sh})
        m_w.i32(v);
    m_w.u32(80);
    m_w.u32(uint32_t(info));
    m_w.u32(uint32_t(80 + info));
    m_w.u32(uint32_t(len - info));
    m_w.u32(usage);
    m_w.u32(rop);
    m_w.i32(dw);
    m_w.i32(dh);
    m_w.bytes(dib, len);
    m_w.end();
}

void Converter::patBlt(int x, int y, int w, int h, uint32_t rop)
{
    m_w.begin(emr::BitBlt);
    m_w.zeros(16);
    m_w.i32(x);
    m_w.i32(y);
    m_w.i32(w);
    m_w.i32(h);
    m_w.u32(rop);
    m_w.zeros(8);
    m_w.f32(1), m_w.f32(0), m_w.f32(0), m_w.f32(1), m_w.f32(0), m_w.f32(0);
    m_w.zeros(24);
    m_w.end();
}

void Converter::createPen(const Params& p)
{
    int slot = m_slots.allocate(WmfObjectSlots::Pen);
    if (slot < 0 || p.count < 5)
        return;
    m_w.simple(emr::CreatePen, {slot + 1, p.u(0), p.s(1), 0, int32_t(p.u32(3))});
}

void Converter::createBrush(const Params& p)
{
    int slot = m_slots.allocate(WmfObjectSlots::Brush);
    if (slot < 0 || p.count < 3)
        return;
    m_w.simple(emr::CreateBrushIndirect, {slot + 1, p.u(0), int32_t(p.u32(1)), p.count > 3 ? p.u(3) : 0});
}

void Converter::createFont(const Params& p)
{
    int slot = m_slots.allocate(WmfObjectSlots::Font);
    if (slot < 0 || p.count < 9)
        return;
    m_w.begin(emr::ExtCreateFontIndirectW);
    m_w.i32(slot + 1);
    for (size_t i = 0; i < 5; ++i)
        m_w.i32(p.s(i));
    m_w.bytes(p.at(5), 8);
    size_t faceBytes = std::min<size_t>(32, p.bytesFrom(9));
    const uint8_t* face = p.at(9);
    for (size_t i = 0; i < 32; ++i)
        m_w.u16(i < faceBytes ? face[i] : 0);
    m_w.end();
}

void Converter::createDibBrush(const Params& p)
{
    int slot = m_slots.allocate(WmfObjectSlots::Brush);
    if (slot < 0 || p.count < 2)
        return;
    // A plain pattern style always carries explicit colours, whatever the usage field says.
    uint32_t usage = p.u(0) == 3 ? 0 : p.u(1);
    const uint8_t* dib = p.at(2);
    size_t len = p.bytesFrom(2);
    size_t info = dibInfoSize(dib, len, usage == 1);
    if (info == 0 || info > len) {
        m_w.simple(emr::CreateBrushIndirect, {slot + 1, 0, 0x808080, 0});
        return;
    }
    m_w.begin(emr::CreateDibPatternBrushPt);
    m_w.i32(slot + 1);
    m_w.u32(usage);
    m_w.u32(32);
    m_w.u32(uint32_t(info));
    m_w.u32(uint32_t(32 + info));
    m_w.u32(uint32_t(len - info));
    m_w.bytes(dib, len);
    m_w.end();
}

void Converter::createPatternBrush(const Params& p)
{
    // An old device-dependent bitmap: a 10-byte header, 18 unused bytes, then rows.
    int slot = m_slots.allocate(WmfObjectSlots::Brush);
    if (slot < 0)
        return;
    int width = p.count >= 3 ? p.s(1) : 0, height = p.count >= 3 ? p.s(2) : 0;
    int widthBytes = p.count >= 4 ? p.s(3) : 0;
    int bits = p.count >= 5 ? (p.u(4) >> 8) : 0;
    size_t rowsAt = 16;
    if (bits != 1 || width <= 0 || height <= 0 || width > 256 || height > 256 || widthBytes * 8 < width
        || p.bytesFrom(rowsAt) / size_t(widthBytes) < size_t(height)) {
        m_w.simple(emr::CreateBrushIndirect, {slot + 1, 0, 0x808080, 0});
        return;
    }
    size_t stride = size_t((width + 31) / 32 * 4);
    m_w.begin(emr::CreateMonoBrush);
    m_w.i32(slot + 1);
    m_w.u32(0);
    m_w.u32(32);
    m_w.u32(48);
    m_w.u32(80);
    m_w.u32(uint32_t(stride * size_t(height)));
    m_w.u32(40), m_w.i32(width), m_w.i32(-height), m_w.u16(1), m_w.u16(1);
    m_w.zeros(24);
    m_w.u32(0), m_w.u32(0x00FFFFFF);
    for (int y = 0; y < height; ++y) {
        m_w.bytes(p.at(rowsAt) + size_t(y) * size_t(widthBytes), std::min(stride, size_t(widthBytes)));
        if (stride > size_t(widthBytes))
            m_w.zeros(stride - size_t(widthBytes));
    }
    m_w.end();
}

void Converter::createRegion(const Params& p)
{
    int slot = m_slots.allocate(WmfObjectSlots::Region);
    if (slot < 0)
        return;
    std::vector<QRect> rects;
    if (p.count == 4) {
        // Some writers store a bare rectangle (bottom, right, top, left) instead of a region object.
        QRect r(QPoint(p.s(3), p.s(2)), QPoint(p.s(1) - 1, p.s(0) - 1));
        if (r.isValid())
            rects.push_back(r);
    }
    // Header: next, type, count (2 words), size, scan count, max scan, bounds (4 words); then the scans.
    if (p.count >= 11) {
        size_t scans = p.u(5);
        size_t w = 11;
        for (size_t s = 0; s < scans && w + 3 <= p.count; ++s) {
            size_t n = p.u(w);
            int top = p.s(w + 1), bottom = p.s(w + 2);
            if (n % 2 || p.count - (w + 3) < n + 1)
                break;
            for (size_t k = 0; k + 1 < n; k += 2)
                rects.emplace_back(QPoint(p.s(w + 3 + k), top), QPoint(p.s(w + 4 + k) - 1, bottom - 1));
            w += 3 + n + 1;
        }
        if (scans == 0) {
            QRect bounds(QPoint(p.s(7), p.s(8)), QPoint(p.s(9) - 1, p.s(10) - 1));
            if (bounds.isValid())
                rects.push_back(bounds);
        }
    }
    m_slots.setRegion(slot, std::move(rects));
}

void Converter::regionPolygons(const std::vector<QRect>& rects)
{
    m_w.begin(emr::PolyPolygon16);
    m_w.zeros(16);
    m_w.u32(uint32_t(rects.size()));
    m_w.u32(uint32_t(rects.size() * 4));
    for (size_t i = 0; i < rects.size(); ++i)
        m_w.u32(4);
    for (const QRect& r : rects) {
        int l = r.left(), t = r.top(), rr = r.right() + 1, b = r.bottom() + 1;
        for (auto [x, y] : {std::pair{l, t}, {rr, t}, {rr, b}, {l, b}}) {
            m_w.i16(int16_t(x));
            m_w.i16(int16_t(y));
        }
    }
    m_w.end();
}

void Converter::selectClipRegion(int slot)
{
    const std::vector<QRect>* rects = m_slots.region(slot);
    if (!rects)
        return;
    // Region rectangles are logical here but device pixels in the enhanced form,
    // so the region travels as a clipping path, which is mapped when selected.
    m_w.simple(emr::BeginPath, {});
    if (!rects->empty())
        regionPolygons(*rects);
    m_w.simple(emr::EndPath, {});
    m_w.simple(emr::SelectClipPath, {int32_t(emr::RgnCopy)});
}

void Converter::paintRegion(int regionSlot, int brushSlot)
{
    const std::vector<QRect>* rects = m_slots.region(regionSlot);
    if (!rects || rects->empty())
        return;
    m_w.simple(emr::SaveDc, {});
    m_w.simple(emr::SelectObject, {int32_t(NullPenStock)});
    if (brushSlot >= 0)
        m_w.simple(emr::SelectObject, {brushSlot + 1});
    m_w.simple(emr::SetPolyFillMode, {2});
    regionPolygons(*rects);
    m_w.simple(emr::RestoreDc, {-1});
}

void Converter::record(uint16_t func, const Params& p)
{
    const size_t n = p.count;
    switch (func) {
    case SetBkColor: if (n >= 2) m_w.simple(emr::SetBkColor, {int32_t(p.u32(0))}); break;
    case SetTextColor: if (n >= 2) m_w.simple(emr::SetTextColor, {int32_t(p.u32(0))}); break;
    case SetBkMode: if (n >= 1) m_w.simple(emr::SetBkMode, {p.u(0)}); break;
    case SetRop2: if (n >= 1) m_w.simple(emr::SetRop2, {p.u(0)}); break;
    case SetPolyFillMode: if (n >= 1) m_w.simple(emr::SetPolyFillMode, {p.u(0)}); break;
    case SetStretchBltMode: if (n >= 1) m_w.simple(emr::SetStretchBltMode, {p.u(0)}); break;
    case SetTextAlign: if (n >= 1) m_w.simple(emr::SetTextAlign, {p.u(0)}); break;
    case SetMapMode:
        // The box of the placeable header decides the scale; only the isotropic
        // constraint survives from the picture's own choice.
        if (n >= 1 && p.u(0) == 7)
            m_w.simple(emr::SetMapMode, {7});
        break;
    case SetWindowOrg: if (n >= 2) windowOrg(p.s(1), p.s(0)); break;
    case OffsetWindowOrg:
        if (n >= 2)
            windowOrg(int(m_page.windowOrg.x()) + p.s(1), int(m_page.windowOrg.y()) + p.s(0));
        break;
    case SetWindowExt:
        if (n >= 2 && p.s(0) != 0 && p.s(1) != 0) {
            m_page.windowExt = QPointF(p.s(1), p.s(0));
            m_w.simple(emr::SetWindowExtEx, {p.s(1), p.s(0)});
            viewportChanged();
        }
        break;
    case ScaleWindowExt:
        if (n >= 4 && p.s(0) && p.s(1) && p.s(2) && p.s(3)) {
            m_page.windowExt = QPointF(m_page.windowExt.x() * p.s(3) / p.s(2), m_page.windowExt.y() * p.s(1) / p.s(0));
            m_w.simple(emr::ScaleWindowExtEx, {p.s(3), p.s(2), p.s(1), p.s(0)});
            viewportChanged();
        }
        break;
    case SetViewportOrg:
        if (n >= 2) {
            QPointF v(p.s(1), p.s(0));
            if (!m_haveViewportOrg)
                m_firstViewportOrg = v, m_haveViewportOrg = true;
            m_page.viewportShift = v - m_firstViewportOrg;
            viewportChanged();
        }
        break;
    case OffsetViewportOrg:
        if (n >= 2) {
            m_page.viewportShift += QPointF(p.s(1), p.s(0));
            viewportChanged();
        }
        break;
    case SetViewportExt:
        if (n >= 2 && p.s(0) != 0 && p.s(1) != 0) {
            QPointF v(p.s(1), p.s(0));
            if (!m_haveViewportExt)
                m_firstViewportExt = v, m_haveViewportExt = true;
            m_page.viewportScale = QPointF(v.x() / m_firstViewportExt.x(), v.y() / m_firstViewportExt.y());
            viewportChanged();
        }
        break;
    case ScaleViewportExt:
        if (n >= 4 && p.s(0) && p.s(1) && p.s(2) && p.s(3)) {
            m_page.viewportScale = QPointF(m_page.viewportScale.x() * p.s(3) / p.s(2),
                                           m_page.viewportScale.y() * p.s(1) / p.s(0));
            viewportChanged();
        }
        break;
    case LineTo: if (n >= 2) m_w.simple(emr::LineTo, {p.s(1), p.s(0)}); break;
    case MoveTo: if (n >= 2) m_w.simple(emr::MoveToEx, {p.s(1), p.s(0)}); break;
    case ExcludeClipRect: box(emr::ExcludeClipRect, p); break;
    case IntersectClipRect: box(emr::IntersectClipRect, p); break;
    case Ellipse: box(emr::Ellipse, p); break;
    case Rectangle: box(emr::Rectangle, p); break;
    case RoundRect:
        if (n >= 6) m_w.simple(emr::RoundRect, {p.s(5), p.s(4), p.s(3), p.s(2), p.s(1), p.s(0)});
        break;
    case Arc:
    case Pie:
    case Chord:
        if (n >= 8)
            m_w.simple(func == Arc ? emr::Arc : func == Pie ? emr::Pie : emr::Chord,
                       {p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(2), p.s(1), p.s(0)});
        break;
    case PatBlt: if (n >= 6) patBlt(p.s(5), p.s(4), p.s(3), p.s(2), p.u32(0)); break;
    case SaveDc:
        if (m_savedPages.size() < 65536)
            m_savedPages.push_back(m_page);
        m_w.simple(emr::SaveDc, {});
        break;
    case RestoreDc:
        if (n >= 1) {
            int rel = p.s(0);
            int64_t target = rel < 0 ? int64_t(m_savedPages.size()) + rel : int64_t(rel) - 1;
            if (target >= 0 && target < int64_t(m_savedPages.size())) {
                m_page = m_savedPages[size_t(target)];
                m_savedPages.resize(size_t(target));
                m_worldSet = !(m_page.viewportScale == QPointF(1, 1) && m_page.viewportShift == QPointF(0, 0));
            }
            m_w.simple(emr::RestoreDc, {rel});
        }
        break;
    case SetPixel: if (n >= 4) m_w.simple(emr::SetPixelV, {p.s(3), p.s(2), int32_t(p.u32(0))}); break;
    case OffsetClipRgn: if (n >= 2) m_w.simple(emr::OffsetClipRgn, {p.s(1), p.s(0)}); break;
    case TextOut: text(p, false); break;
    case ExtTextOut: text(p, true); break;
    case Polygon: poly(emr::Polygon16, p); break;
    case Polyline: poly(emr::Polyline16, p); break;
    case PolyPolygon: polyPolygon(p); break;
    case SelectClipRegion: if (n >= 1) selectClipRegion(p.u(0)); break;
    case SelectObject:
        if (n >= 1) {
            int slot = p.u(0);
            if (m_slots.kind(slot) == WmfObjectSlots::Region)
                selectClipRegion(slot);
            else if (m_slots.kind(slot) != WmfObjectSlots::Free)
                m_w.simple(emr::SelectObject, {slot + 1});
        }
        break;
    case DeleteObject:
        if (n >= 1) {
            int slot = p.u(0);
            auto kind = m_slots.kind(slot);
            if (kind != WmfObjectSlots::Free && kind != WmfObjectSlots::Region && kind != WmfObjectSlots::Palette)
                m_w.simple(emr::DeleteObject, {slot + 1});
            m_slots.release(slot);
        }
        break;
    case FillRegion: if (n >= 2) paintRegion(p.u(0), p.u(1)); break;
    case PaintRegion: if (n >= 1) paintRegion(p.u(0), -1); break;
    case FrameRegion: break;
    case CreatePenIndirect: createPen(p); break;
    case CreateBrushIndirect: createBrush(p); break;
    case CreateFontIndirect: createFont(p); break;
    case DibCreatePatternBrush: createDibBrush(p); break;
    case CreatePatternBrush: createPatternBrush(p); break;
    case CreatePalette: m_slots.allocate(WmfObjectSlots::Palette); break;
    case CreateRegion: createRegion(p); break;
    case DibBitBlt:
        if (p.r.size() / 2 == size_t(func >> 8) + 3) {
            if (n >= 9) patBlt(p.s(8), p.s(7), p.s(6), p.s(5), p.u32(0));
        } else if (n >= 8) {
            stretchDib(p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(2), p.s(5), p.s(4), p.u32(0), 0, p.at(8),
                       p.bytesFrom(8));
        }
        break;
    case DibStretchBlt:
        if (p.r.size() / 2 == size_t(func >> 8) + 3) {
            if (n >= 11) patBlt(p.s(10), p.s(9), p.s(8), p.s(7), p.u32(0));
        } else if (n >= 10) {
            stretchDib(p.s(9), p.s(8), p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(2), p.u32(0), 0, p.at(10),
                       p.bytesFrom(10));
        }
        break;
    case BitBlt:
        if (p.r.size() / 2 == size_t(func >> 8) + 3) {
            if (n >= 9) patBlt(p.s(8), p.s(7), p.s(6), p.s(5), p.u32(0));
        } else if (n >= 8) {
            std::vector<uint8_t> dib = bitmap16ToDib(p.at(8), p.bytesFrom(8));
            if (!dib.empty())
                stretchDib(p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(2), p.s(5), p.s(4), p.u32(0), 0, dib.data(),
                           dib.size());
        }
        break;
    case StretchBlt:
        if (p.r.size() / 2 == size_t(func >> 8) + 3) {
            if (n >= 11) patBlt(p.s(10), p.s(9), p.s(8), p.s(7), p.u32(0));
        } else if (n >= 10) {
            std::vector<uint8_t> dib = bitmap16ToDib(p.at(10), p.bytesFrom(10));
            if (!dib.empty())
                stretchDib(p.s(9), p.s(8), p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(2), p.u32(0), 0, dib.data(),
                           dib.size());
        }
        break;
    case StretchDib:
        if (n >= 11)
            stretchDib(p.s(10), p.s(9), p.s(8), p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.u32(0), p.u(2), p.at(11),
                       p.bytesFrom(11));
        break;
    case SetDibToDev:
        if (n >= 9)
            stretchDib(p.s(8), p.s(7), p.s(6), p.s(5), p.s(4), p.s(3), p.s(6), p.s(5), emr::SrcCopy, p.u(0), p.at(9),
                       p.bytesFrom(9));
        break;
    default:
        break;
    }
}

bool Converter::run(EmfHeaderInfo& info)
{
    PlaceableHeader ph;
    if (!readPlaceableHeader(m_in.data(), m_in.size(), ph))
        return false;
    const size_t start = 22;
    if (m_in.size() < start + 18)
        return false;
    uint16_t type = m_in.u16(start), headerWords = m_in.u16(start + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return false;

    // One device pixel per unit of the box: the frame in hundredths of a
    // millimetre then maps back onto the box exactly.
    int inch = ph.inch == 0 ? 96 : ph.inch;
    info.bounds = QRect(QPoint(ph.left, ph.top), QPoint(ph.right - 1, ph.bottom - 1));
    info.frameLeft = int(mulDivRound(ph.left, 2540, inch));
    info.frameTop = int(mulDivRound(ph.top, 2540, inch));
    info.frameRight = int(mulDivRound(ph.right, 2540, inch));
    info.frameBottom = int(mulDivRound(ph.bottom, 2540, inch));
    info.deviceCx = info.deviceCy = 5 * inch;
    info.millimetersCx = info.millimetersCy = 127;

    m_w.begin(emr::Header);
    m_w.rect(info.bounds.left(), info.bounds.top(), info.bounds.right(), info.bounds.bottom());
    m_w.rect(info.frameLeft, info.frameTop, info.frameRight, info.frameBottom);
    m_w.u32(0x464D4520);
    m_w.u32(0x10000);
    m_w.u32(0); // bytes, patched below
    m_w.u32(0); // records, patched below
    m_w.u16(0); // handles, patched below
    m_w.u16(0);
    m_w.u32(0), m_w.u32(0), m_w.u32(0);
    m_w.i32(info.deviceCx), m_w.i32(info.deviceCy), m_w.i32(info.millimetersCx), m_w.i32(info.millimetersCy);
    m_w.end();

    int w = ph.right - ph.left, h = ph.bottom - ph.top;
    m_w.simple(emr::SetMapMode, {8});
    windowOrg(ph.left, ph.top);
    m_page.windowExt = QPointF(w ? w : 1, h ? h : 1);
    m_w.simple(emr::SetWindowExtEx, {w ? w : 1, h ? h : 1});
    m_w.simple(emr::SetViewportOrgEx, {ph.left, ph.top});
    m_w.simple(emr::SetViewportExtEx, {w ? w : 1, h ? h : 1});

    size_t off = start + 18;
    while (m_in.size() - off >= 6) {
        uint32_t words = m_in.u32(off);
        uint16_t func = m_in.u16(off + 4);
        if (words < 3 || words > (m_in.size() - off) / 2)
            break;
        size_t bytes = size_t(words) * 2;
        if (func == MetaEof)
            break;
        Params p{ByteReader(m_in.data() + off, bytes), (bytes - 6) / 2};
        record(func, p);
        off += bytes;
    }
    m_w.simple(emr::Eof, {0, 16, 20});
    m_w.put(48, uint32_t(m_out.size()));
    m_w.put(52, m_w.records());
    uint32_t handles = uint32_t(std::min(m_slots.highWater() + 1, 65535));
    m_out[56] = uint8_t(handles);
    m_out[57] = uint8_t(handles >> 8);
    return true;
}

} // namespace

bool readPlaceableHeader(const uint8_t* data, size_t size, PlaceableHeader& out)
{
    ByteReader r(data, size);
    if (size < 22 || r.u32(0) != 0x9AC6CDD7u)
        return false;
    uint16_t sum = 0;
    for (size_t i = 0; i < 10; ++i)
        sum ^= r.u16(2 * i);
    if (sum != r.u16(20))
        return false;
    out.left = r.i16(6);
    out.top = r.i16(8);
    out.right = r.i16(10);
    out.bottom = r.i16(12);
    out.inch = r.u16(14);
    return true;
}

bool convertWmfToEmf(const uint8_t* data, size_t size, std::vector<uint8_t>& emf, EmfHeaderInfo& header)
{
    emf.clear();
    emf.reserve(size * 2 + 256);
    Converter c(data, size, emf);
    return c.run(header);
}

} // namespace kelpora::mf
