#include "EmfRecords.h"
#include "Player.h"
#include <cmath>

namespace kelpora::mf {

namespace {

QRegion unite(const std::vector<QRect>& rects, size_t from, size_t to)
{
    // Pairwise union keeps many-rectangle regions from costing quadratic time.
    if (to - from == 1)
        return QRegion(rects[from]);
    size_t mid = from + (to - from) / 2;
    return unite(rects, from, mid) | unite(rects, mid, to);
}

// Regions are only ever needed over the destination; cutting shapes to a box
// around it first keeps enormous coordinates away from integer conversions.
QRegion regionOfPolygon(const QTransform& t, const QRectF& r, const QRectF& limit)
{
    if (t.m12() == 0 && t.m21() == 0) {
        QRectF m = t.mapRect(r).intersected(limit);
        if (m.isEmpty())
            return QRegion();
        QPoint tl(int(std::lround(m.left())), int(std::lround(m.top())));
        QPoint br(int(std::lround(m.right())), int(std::lround(m.bottom())));
        if (br.x() <= tl.x() || br.y() <= tl.y())
            return QRegion();
        return QRegion(QRect(tl, br - QPoint(1, 1)));
    }
    QPolygonF poly = t.map(QPolygonF(r)).intersected(QPolygonF(limit));
    if (poly.isEmpty())
        return QRegion();
    return QRegion(poly.toPolygon());
}

} // namespace

QRectF Player::limitBox() const
{
    return QRectF(m_baseClip.boundingRect()).adjusted(-1024, -1024, 1024, 1024);
}

QRegion Player::regionOfPath(const QPainterPath& destPath, Qt::FillRule rule) const
{
    if (destPath.isEmpty())
        return QRegion();
    QRectF limit = limitBox();
    QPainterPath path = destPath;
    path.setFillRule(rule);
    if (!limit.contains(path.controlPointRect())) {
        QPainterPath box;
        box.addRect(limit);
        path = path.intersected(box);
    }
    return QRegion(path.toFillPolygon().toPolygon(), rule);
}

QRegion Player::readRegion(const ByteReader& r, size_t offset, size_t size)
{
    // RGNDATA: a 32-byte header (size, type, count, bytes, bounds) and rectangles in device units.
    if (offset > r.size() || r.size() - offset < size || size < 32)
        return QRegion();
    uint32_t headerSize = r.u32(offset);
    if (headerSize < 32 || headerSize > size)
        headerSize = 32;
    uint32_t count = r.u32(offset + 8);
    if ((size - headerSize) / 16 < count)
        count = uint32_t((size - headerSize) / 16);
    QTransform t = m_devToDest * m_base;
    if (!usableForDrawing(t))
        return QRegion();
    std::vector<QRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        size_t o = offset + headerSize + size_t(i) * 16;
        QRectF rf(QPointF(r.i32(o), r.i32(o + 4)), QPointF(r.i32(o + 8), r.i32(o + 12)));
        QRegion piece = regionOfPolygon(t, rf.normalized(), limitBox());
        QRect b = piece.boundingRect();
        if (!b.isEmpty())
            rects.push_back(b);
    }
    if (rects.empty())
        return QRegion();
    return unite(rects, 0, rects.size());
}

void Player::combineClip(const QRegion& region, uint32_t mode)
{
    QRegion current = m_dc.hasClip ? m_dc.clip : m_baseClip;
    switch (mode) {
    case emr::RgnAnd: current &= region; break;
    case emr::RgnOr: current |= region; break;
    case emr::RgnXor: current ^= region; break;
    case emr::RgnDiff: current -= region; break;
    case emr::RgnCopy: current = region; break;
    default: return;
    }
    m_dc.clip = current;
    m_dc.hasClip = true;
    m_clipDirty = true;
}

void Player::applyClip()
{
    if (!m_clipDirty)
        return;
    QRegion r = m_baseClip;
    if (m_dc.hasMeta)
        r &= m_dc.meta;
    if (m_dc.hasClip)
        r &= m_dc.clip;
    m_p.setTransform(QTransform());
    m_p.setClipRegion(r);
    m_clipDirty = false;
}

bool Player::fillRegion(const Record& rec)
{
    const ByteReader& r = rec.r;
    size_t dataAt = 0;
    uint32_t cb = r.u32(24);
    BrushObject brush = m_dc.brush;
    switch (rec.type) {
    case emr::FillRgn:
        if (!rec.has(32))
            return true;
        dataAt = 32;
        {
            uint32_t ih = r.u32(28);
            BrushObject saved = m_dc.brush;
            selectObject(ih);
            brush = m_dc.brush;
            m_dc.brush = saved;
        }
        break;
    case emr::FrameRgn:
        return true;
    case emr::PaintRgn:
    case emr::InvertRgn:
        if (!rec.has(28))
            return true;
        dataAt = 28;
        break;
    default:
        return false;
    }
    QRegion region = readRegion(r, dataAt, cb);
    if (region.isEmpty())
        return true;
    applyClip();
    m_p.setTransform(QTransform());
    if (rec.type == emr::InvertRgn) {
        m_p.setCompositionMode(QPainter::RasterOp_NotDestination);
        for (const QRect& rc : region)
            m_p.fillRect(rc, Qt::white);
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return true;
    }
    BrushObject saved = m_dc.brush;
    m_dc.brush = brush;
    m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (setupBrush(m_p)) {
        m_p.setPen(Qt::NoPen);
        QPainterPath path;
        path.addRegion(region);
        m_p.drawPath(path);
    }
    m_dc.brush = saved;
    return true;
}

bool Player::playClip(const Record& rec)
{
    const ByteReader& r = rec.r;
    switch (rec.type) {
    case emr::IntersectClipRect:
    case emr::ExcludeClipRect:
        if (rec.has(24)) {
            QTransform t = logicalToDest();
            if (!usableForDrawing(t))
                return true;
            QRectF box = QRectF(QPointF(r.i32(8), r.i32(12)), QPointF(r.i32(16), r.i32(20))).normalized();
            QRegion region = regionOfPolygon(t, box, limitBox());
            combineClip(region, rec.type == emr::IntersectClipRect ? emr::RgnAnd : emr::RgnDiff);
        }
        return true;
    case emr::OffsetClipRgn:
        if (rec.has(16) && m_dc.hasClip) {
            QTransform t = logicalToDest();
            QPointF d = t.map(QPointF(r.i32(8), r.i32(12))) - t.map(QPointF(0, 0));
            if (std::abs(d.x()) < 1e6 && std::abs(d.y()) < 1e6) {
                m_dc.clip.translate(int(std::lround(d.x())), int(std::lround(d.y())));
                m_clipDirty = true;
            }
        }
        return true;
    case emr::SetMetaRgn:
        if (m_dc.hasClip) {
            m_dc.meta = m_dc.hasMeta ? (m_dc.meta & m_dc.clip) : m_dc.clip;
            m_dc.hasMeta = true;
        }
        m_dc.hasClip = false;
        m_dc.clip = QRegion();
        m_clipDirty = true;
        return true;
    case emr::ExtSelectClipRgn:
        if (rec.has(16)) {
            uint32_t cb = r.u32(8), mode = r.u32(12);
            if (mode == emr::RgnCopy && cb < 32) {
                m_dc.hasClip = false;
                m_dc.clip = QRegion();
                m_clipDirty = true;
            } else if (cb >= 32) {
                combineClip(readRegion(r, 16, cb), mode);
            }
        }
        return true;
    case emr::FillRgn:
    case emr::FrameRgn:
    case emr::PaintRgn:
    case emr::InvertRgn:
        return fillRegion(rec);
    default:
        return false;
    }
}

} // namespace kelpora::mf
