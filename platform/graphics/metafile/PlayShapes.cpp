#include "EmfRecords.h"
#include "Player.h"
#include <cmath>
#include <numbers>

namespace kelpora::mf {

namespace {

// Qt refuses wider pens; nothing sensible is that wide anyway.
constexpr double MaxPenWidth = 32000;

// Dash lengths of the cosmetic pen styles, in pixels.
const std::vector<qreal>& cosmeticDashes(uint32_t style)
{
    static const std::vector<qreal> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3},
        alternate{1, 1}, none;
    switch (style) {
    case 1: return dash;
    case 2: return dot;
    case 3: return dashDot;
    case 4: return dashDotDot;
    case 8: return alternate;
    default: return none;
    }
}

QRectF boxAt(const ByteReader& r, size_t o)
{
    return QRectF(QPointF(r.i32(o), r.i32(o + 4)), QPointF(r.i32(o + 8), r.i32(o + 12))).normalized();
}

} // namespace

Qt::FillRule Player::fillRule() const
{
    return m_dc.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

void Player::applyRop2()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (m_dc.rop2) {
    case 6: mode = QPainter::RasterOp_NotDestination; break;
    case 7: mode = QPainter::RasterOp_SourceXorDestination; break;
    case 9: mode = QPainter::RasterOp_SourceAndDestination; break;
    case 15: mode = QPainter::RasterOp_SourceOrDestination; break;
    case 4: mode = QPainter::RasterOp_NotSource; break;
    default: break;
    }
    m_p.setCompositionMode(mode);
}

bool Player::setupPen(QPainter& p, double scale)
{
    const PenObject& pen = m_dc.pen;
    if (pen.isNull() || m_dc.rop2 == 11) {
        p.setPen(Qt::NoPen);
        return false;
    }
    QColor color = m_dc.rop2 == 1 ? QColor(Qt::black) : m_dc.rop2 == 16 ? QColor(Qt::white) : pen.color;
    uint32_t style = pen.style & 0xF;
    bool geometric = pen.width * scale >= 1.5;
    QPen q(color);
    if (geometric) {
        q.setWidthF(std::min(pen.width, MaxPenWidth));
        switch (pen.style & 0xF00) {
        case 0x100: q.setCapStyle(Qt::SquareCap); break;
        case 0x200: q.setCapStyle(Qt::FlatCap); break;
        default: q.setCapStyle(Qt::RoundCap); break;
        }
        switch (pen.style & 0xF000) {
        case 0x1000: q.setJoinStyle(Qt::BevelJoin); break;
        case 0x2000: q.setJoinStyle(Qt::MiterJoin); q.setMiterLimit(m_dc.miterLimit); break;
        default: q.setJoinStyle(Qt::RoundJoin); break;
        }
        if (style == 7 && !pen.userDashes.empty()) {
            QList<qreal> d;
            for (double v : pen.userDashes)
                d.append(std::max(v / std::max(pen.width, 1.0), 0.01));
            if (d.size() % 2)
                d.append(d.back());
            q.setDashPattern(d);
        } else if (style >= 1 && style <= 4 && (pen.style & 0xF0000) != 0) {
            // Only pens made as geometric keep their dashes when wide.
            static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                                  Qt::DashDotDotLine};
            q.setStyle(styles[style]);
        }
    } else {
        q.setCosmetic(true);
        q.setWidthF(1);
        q.setCapStyle(Qt::FlatCap);
        const auto& d = cosmeticDashes(style);
        if (!d.empty())
            q.setDashPattern(QList<qreal>(d.begin(), d.end()));
    }
    p.setPen(q);
    return true;
}

bool Player::setupBrush(QPainter& p)
{
    const BrushObject& b = m_dc.brush;
    if (m_dc.rop2 == 11) {
        p.setBrush(Qt::NoBrush);
        return false;
    }
    switch (b.kind) {
    case BrushObject::Null:
        p.setBrush(Qt::NoBrush);
        return false;
    case BrushObject::Solid:
        p.setBrush(m_dc.rop2 == 1 ? QColor(Qt::black) : m_dc.rop2 == 16 ? QColor(Qt::white) : b.color);
        return true;
    case BrushObject::Hatched: {
        static const Qt::BrushStyle styles[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern,
                                                Qt::CrossPattern, Qt::DiagCrossPattern};
        QBrush brush(b.color, styles[b.hatch]);
        brush.setTransform(p.transform().inverted());
        p.setBackgroundMode(m_dc.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(m_dc.bkColor);
        p.setBrush(brush);
        return true;
    }
    case BrushObject::Pattern: {
        QImage tile = b.pattern;
        if (b.monochrome && tile.width() > 0) {
            // 1-bit brushes paint their clear bits in the text colour and set bits in the background colour.
            tile = tile.convertToFormat(QImage::Format_ARGB32);
            QRgb fg = m_dc.textColor.rgb(), bg = m_dc.bkColor.rgb();
            for (int y = 0; y < tile.height(); ++y) {
                QRgb* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
                for (int x = 0; x < tile.width(); ++x)
                    line[x] = qGray(line[x]) < 128 ? fg : bg;
            }
        }
        QBrush brush(tile);
        brush.setTransform(p.transform().inverted());
        p.setBrush(brush);
        return true;
    }
    }
    return false;
}

void Player::appendToPath(const QPainterPath& logical)
{
    m_path.addPath(logicalToDest().map(logical));
}

void Player::drawPath(const QPainterPath& path, bool fill, bool stroke)
{
    if (m_inPath) {
        appendToPath(path);
        return;
    }
    QTransform t = logicalToDest();
    if (!t.isInvertible() || !usableForDrawing(t))
        return;
    applyClip();
    m_p.setTransform(t);
    applyRop2();
    bool hasPen = stroke && setupPen(m_p, std::sqrt(std::abs(t.determinant())));
    bool hasBrush = fill && setupBrush(m_p);
    if (!stroke)
        m_p.setPen(Qt::NoPen);
    if (!fill)
        m_p.setBrush(Qt::NoBrush);
    if (!hasPen && !hasBrush)
        return;
    guardDashes(m_p, t.mapRect(path.controlPointRect()));
    m_p.drawPath(path);
}

std::vector<QPointF> Player::readPoints(const Record& rec, size_t offset, size_t count, bool small)
{
    std::vector<QPointF> pts;
    size_t each = small ? 4 : 8;
    if (offset > rec.size() || (rec.size() - offset) / each < count)
        return pts;
    pts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t o = offset + i * each;
        if (small)
            pts.emplace_back(rec.r.i16(o), rec.r.i16(o + 2));
        else
            pts.emplace_back(rec.r.i32(o), rec.r.i32(o + 4));
    }
    return pts;
}

QPainterPath Player::arcPath(QRectF box, QPointF start, QPointF end, int kind, bool connect)
{
    QPainterPath path;
    QPointF c = box.center();
    double rx = box.width() / 2, ry = box.height() / 2;
    if (rx <= 0 || ry <= 0)
        return path;
    auto angleOf = [&](QPointF pt) {
        double a = std::atan2(-(pt.y() - c.y()) / ry, (pt.x() - c.x()) / rx) * 180 / std::numbers::pi;
        return a;
    };
    double a0 = angleOf(start), a1 = angleOf(end);
    bool screenCcw = !m_dc.clockwiseArcs;
    bool logicalCcw = screenCcw != (logicalToDest().determinant() < 0);
    double sweep;
    if (logicalCcw) {
        sweep = std::fmod(a1 - a0 + 720, 360);
        if (sweep <= 1e-9)
            sweep = 360;
    } else {
        sweep = -std::fmod(a0 - a1 + 720, 360);
        if (sweep >= -1e-9)
            sweep = -360;
    }
    if (kind == 2)
        path.moveTo(c);
    QPointF first(c.x() + rx * std::cos(a0 * std::numbers::pi / 180), c.y() - ry * std::sin(a0 * std::numbers::pi / 180));
    if (connect)
        path.moveTo(m_dc.current), path.lineTo(first);
    else if (kind != 2)
        path.moveTo(first);
    path.arcTo(box, a0, sweep);
    if (kind == 1 || kind == 2)
        path.closeSubpath();
    return path;
}

bool Player::playShape(const Record& rec)
{
    const ByteReader& r = rec.r;
    switch (rec.type) {
    case emr::Ellipse:
    case emr::Rectangle:
        if (rec.has(24)) {
            QPainterPath path;
            path.setFillRule(Qt::WindingFill);
            QRectF box = boxAt(r, 8);
            if (rec.type == emr::Ellipse)
                path.addEllipse(box);
            else
                path.addRect(box);
            drawPath(path, true, true);
        }
        return true;
    case emr::RoundRect:
        if (rec.has(32)) {
            QPainterPath path;
            path.addRoundedRect(boxAt(r, 8), std::abs(double(r.i32(24))) / 2.0, std::abs(double(r.i32(28))) / 2.0);
            drawPath(path, true, true);
        }
        return true;
    case emr::Arc:
    case emr::Chord:
    case emr::Pie:
    case emr::ArcTo:
        if (rec.has(40)) {
            int kind = rec.type == emr::Chord ? 1 : rec.type == emr::Pie ? 2 : 0;
            QPointF start(r.i32(24), r.i32(28)), end(r.i32(32), r.i32(36));
            QRectF box = boxAt(r, 8);
            bool to = rec.type == emr::ArcTo;
            QPainterPath path = arcPath(box, start, end, kind, to);
            if (m_inPath && to && !path.isEmpty()) {
                // Continue the open figure rather than starting a new one.
                QPainterPath d = logicalToDest().map(path);
                for (int i = 1; i < d.elementCount(); ++i) {
                    const auto& e = d.elementAt(i);
                    if (e.isCurveTo() && i + 2 < d.elementCount()) {
                        m_path.cubicTo(e, d.elementAt(i + 1), d.elementAt(i + 2));
                        i += 2;
                    } else {
                        m_path.lineTo(e);
                    }
                }
            } else {
                drawPath(path, kind != 0, true);
            }
            if (to && !path.isEmpty())
                m_dc.current = path.currentPosition();
        }
        return true;
    case emr::AngleArc:
        if (rec.has(28)) {
            QPointF c(r.i32(8), r.i32(12));
            double radius = r.u32(16);
            double a0 = r.f32(20), sweep = r.f32(24);
            if (!std::isfinite(a0) || !std::isfinite(sweep) || radius > 1e8)
                return true;
            sweep = std::clamp(sweep, -3600.0, 3600.0);
            QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
            QPainterPath path;
            path.moveTo(m_dc.current);
            path.arcTo(box, std::fmod(a0, 360), sweep);
            m_dc.current = path.currentPosition();
            drawPath(path, false, true);
        }
        return true;
    case emr::LineTo:
        if (rec.has(16)) {
            QPointF to(r.i32(8), r.i32(12));
            if (m_inPath) {
                if (m_path.elementCount() == 0)
                    m_path.moveTo(toDest(m_dc.current));
                m_path.lineTo(toDest(to));
            } else {
                QPainterPath path;
                path.moveTo(m_dc.current);
                path.lineTo(to);
                drawPath(path, false, true);
            }
            m_dc.current = to;
        }
        return true;
    case emr::ExtFloodFill:
        return true;
    default:
        return false;
    }
}

bool Player::playPoly(const Record& rec)
{
    const ByteReader& r = rec.r;
    bool small = false;
    switch (rec.type) {
    case emr::PolyBezier16: case emr::Polygon16: case emr::Polyline16: case emr::PolyBezierTo16:
    case emr::PolylineTo16: case emr::PolyPolyline16: case emr::PolyPolygon16: case emr::PolyDraw16:
        small = true;
        break;
    case emr::PolyBezier: case emr::Polygon: case emr::Polyline: case emr::PolyBezierTo:
    case emr::PolylineTo: case emr::PolyPolyline: case emr::PolyPolygon: case emr::PolyDraw:
        break;
    default:
        return false;
    }
    uint32_t kind = small ? rec.type - (emr::PolyBezier16 - emr::PolyBezier) : rec.type;
    if (rec.type == emr::PolyDraw16)
        kind = emr::PolyDraw;

    if (kind == emr::PolyPolyline || kind == emr::PolyPolygon) {
        if (!rec.has(32))
            return true;
        uint32_t polys = r.u32(24), total = r.u32(28);
        size_t each = small ? 4 : 8;
        if ((rec.size() - 32) / 4 < polys)
            return true;
        size_t ptsAt = 32 + size_t(polys) * 4;
        if ((rec.size() - ptsAt) / each < total)
            return true;
        std::vector<QPointF> pts = readPoints(rec, ptsAt, total, small);
        QPainterPath path;
        path.setFillRule(fillRule());
        size_t at = 0;
        for (uint32_t i = 0; i < polys; ++i) {
            uint32_t n = r.u32(32 + 4 * i);
            if (n > total - at)
                break;
            if (n == 0)
                continue;
            path.moveTo(pts[at]);
            for (uint32_t k = 1; k < n; ++k)
                path.lineTo(pts[at + k]);
            if (kind == emr::PolyPolygon)
                path.closeSubpath();
            at += n;
        }
        drawPath(path, kind == emr::PolyPolygon, true);
        return true;
    }

    if (!rec.has(28))
        return true;
    uint32_t count = r.u32(24);
    std::vector<QPointF> pts = readPoints(rec, 28, count, small);
    if (pts.size() != count || count == 0)
        return true;

    if (kind == emr::PolyDraw) {
        size_t typesAt = 28 + size_t(count) * (small ? 4 : 8);
        if ((rec.size() - typesAt) < count)
            return true;
        QPainterPath path;
        path.moveTo(m_dc.current);
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t t = r.u8(typesAt + i);
            switch (t & ~1u) {
            case 6: path.moveTo(pts[i]); break;
            case 2: path.lineTo(pts[i]); break;
            case 4:
                if (i + 2 < count) {
                    path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
                    i += 2;
                    t = r.u8(typesAt + i);
                }
                break;
            default: break;
            }
            if (t & 1)
                path.closeSubpath();
        }
        m_dc.current = pts.back();
        drawPath(path, false, true);
        return true;
    }

    bool to = kind == emr::PolyBezierTo || kind == emr::PolylineTo;
    bool bezier = kind == emr::PolyBezier || kind == emr::PolyBezierTo;
    if (to && m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(toDest(m_dc.current));
        QTransform t = logicalToDest();
        if (bezier) {
            for (size_t i = 0; i + 2 < pts.size(); i += 3)
                m_path.cubicTo(t.map(pts[i]), t.map(pts[i + 1]), t.map(pts[i + 2]));
        } else {
            for (const QPointF& pt : pts)
                m_path.lineTo(t.map(pt));
        }
        m_dc.current = pts.back();
        return true;
    }
    QPainterPath path;
    path.setFillRule(fillRule());
    size_t first = 0;
    if (to) {
        path.moveTo(m_dc.current);
    } else {
        path.moveTo(pts[0]);
        first = 1;
    }
    if (bezier) {
        for (size_t i = first; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
        for (size_t i = first; i < pts.size(); ++i)
            path.lineTo(pts[i]);
    }
    if (to)
        m_dc.current = pts.back();
    if (kind == emr::Polygon)
        path.closeSubpath();
    drawPath(path, kind == emr::Polygon, true);
    return true;
}

} // namespace kelpora::mf
