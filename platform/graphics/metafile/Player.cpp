#include "Player.h"
#include "EmfRecords.h"
#include <cmath>

namespace kelpora::mf {

Player::Player(QPainter& p, const MetafileData& m, const QRect& dest) : m_p(p), m_meta(m), m_dest(dest)
{
    m_dc.pen = stockPen(emr::BlackPen);
    m_dc.brush = stockBrush(emr::WhiteBrush);
    m_dc.font = stockFont(emr::SystemFont);
}

void Player::setupDestination()
{
    const EmfHeaderInfo& h = m_meta.header();
    if (h.deviceCx > 0 && h.deviceCy > 0 && h.millimetersCx > 0 && h.millimetersCy > 0) {
        m_pxPerMmX = double(h.deviceCx) / h.millimetersCx;
        m_pxPerMmY = double(h.deviceCy) / h.millimetersCy;
    } else {
        m_pxPerMmX = m_pxPerMmY = 96.0 / 25.4;
    }
    // The frame (hundredths of a millimetre) says where the picture lies in
    // device pixels; pictures written with an empty frame fall back on the bounds.
    QRectF frame(QPointF(h.frameLeft * m_pxPerMmX / 100.0, h.frameTop * m_pxPerMmY / 100.0),
                 QPointF(h.frameRight * m_pxPerMmX / 100.0, h.frameBottom * m_pxPerMmY / 100.0));
    if (!(frame.width() > 0 && frame.height() > 0)) {
        QRect b = h.bounds;
        frame = QRectF(QPointF(b.left(), b.top()), QPointF(double(b.right()) + 1, double(b.bottom()) + 1));
    }
    m_base = m_p.transform();
    if (!(frame.width() > 0 && frame.height() > 0) || m_dest.width() <= 0 || m_dest.height() <= 0) {
        m_degenerate = true;
        return;
    }
    m_devToDest = QTransform::fromTranslate(-frame.left(), -frame.top())
        * QTransform::fromScale(m_dest.width() / frame.width(), m_dest.height() / frame.height())
        * QTransform::fromTranslate(m_dest.left(), m_dest.top());
    // Clip regions are kept in the painter's device pixels.
    m_baseClip = m_base.map(QRegion(m_dest));
    if (m_p.hasClipping())
        m_baseClip &= m_base.map(m_p.clipRegion());
}

void Player::run()
{
    setupDestination();
    if (m_degenerate)
        return;
    m_p.save();
    m_p.setRenderHint(QPainter::Antialiasing, true);
    m_p.setRenderHint(QPainter::TextAntialiasing, true);
    m_p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_clipDirty = true;
    const std::vector<uint8_t>& bytes = m_meta.emfBytes();
    size_t off = 0;
    while (bytes.size() - off >= 8) {
        ByteReader head(bytes.data() + off, 8);
        uint32_t type = head.u32(0);
        uint32_t size = head.u32(4);
        // A size that cannot be walked ends the picture: nothing after it can be trusted.
        if (size < 8 || size % 4 != 0 || size > bytes.size() - off)
            break;
        Record rec{type, ByteReader(bytes.data() + off, size)};
        if (!dispatch(rec))
            break;
        off += size;
    }
    m_p.restore();
}

bool Player::dispatch(const Record& rec)
{
    if (rec.type == emr::Eof)
        return false;
    if (playState(rec) || playObject(rec) || playShape(rec) || playPoly(rec) || playPath(rec) || playClip(rec)
        || playText(rec) || playBitmap(rec))
        return true;
    return true; // unknown records are skipped
}

const QTransform& Player::pageToDest()
{
    if (!m_pageDirty)
        return m_page;
    double sx = 1, sy = 1;
    static const double unitMm[] = {0, 0, 0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
    switch (m_dc.mapMode) {
    case 2: case 3: case 4: case 5: case 6:
        sx = unitMm[m_dc.mapMode] * m_pxPerMmX;
        sy = -unitMm[m_dc.mapMode] * m_pxPerMmY;
        break;
    case 7: case 8:
        sx = m_dc.viewportExt.x() / m_dc.windowExt.x();
        sy = m_dc.viewportExt.y() / m_dc.windowExt.y();
        if (m_dc.mapMode == 7) {
            double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    default:
        break;
    }
    QPointF wo = m_dc.windowOrg, vo = m_dc.viewportOrg;
    QTransform page(sx, 0, 0, sy, vo.x() - wo.x() * sx, vo.y() - wo.y() * sy);
    m_page = page * m_devToDest * m_base;
    m_pageDirty = false;
    return m_page;
}

QTransform Player::logicalToDest()
{
    return m_dc.world * pageToDest();
}

double Player::destScale()
{
    QTransform t = logicalToDest();
    return std::sqrt(std::abs(t.determinant()));
}

double Player::destScaleY()
{
    QTransform t = logicalToDest();
    return std::hypot(t.m21(), t.m22());
}

namespace {

bool finite(std::initializer_list<double> v)
{
    for (double d : v)
        if (!std::isfinite(d) || std::abs(d) > 1e12)
            return false;
    return true;
}

QTransform readXform(const ByteReader& r, size_t o)
{
    return QTransform(r.f32(o), r.f32(o + 4), r.f32(o + 8), r.f32(o + 12), r.f32(o + 16), r.f32(o + 20));
}

bool usable(const QTransform& t)
{
    return finite({t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()});
}


} // namespace

bool Player::playState(const Record& rec)
{
    const ByteReader& r = rec.r;
    auto need = [&](size_t n) { return rec.has(n); };
    switch (rec.type) {
    case emr::Header:
    case emr::GdiComment:
    case emr::SetMapperFlags:
    case emr::SetColorAdjustment:
    case emr::SetIcmMode:
    case emr::SetLayout:
    case emr::SelectPalette:
    case emr::CreatePalette:
    case emr::SetPaletteEntries:
    case emr::ResizePalette:
    case emr::RealizePalette:
        return true;
    case emr::SetWindowExtEx:
    case emr::SetViewportExtEx:
        if (need(16) && r.i32(8) != 0 && r.i32(12) != 0 && (m_dc.mapMode == 7 || m_dc.mapMode == 8)) {
            QPointF v(r.i32(8), r.i32(12));
            (rec.type == emr::SetWindowExtEx ? m_dc.windowExt : m_dc.viewportExt) = v;
            invalidate();
        }
        return true;
    case emr::SetWindowOrgEx:
    case emr::SetViewportOrgEx:
        if (need(16)) {
            QPointF v(r.i32(8), r.i32(12));
            (rec.type == emr::SetWindowOrgEx ? m_dc.windowOrg : m_dc.viewportOrg) = v;
            invalidate();
        }
        return true;
    case emr::ScaleViewportExtEx:
    case emr::ScaleWindowExtEx:
        if (need(24) && r.i32(12) != 0 && r.i32(20) != 0 && r.i32(8) != 0 && r.i32(16) != 0
            && (m_dc.mapMode == 7 || m_dc.mapMode == 8)) {
            QPointF& e = rec.type == emr::ScaleWindowExtEx ? m_dc.windowExt : m_dc.viewportExt;
            QPointF v(e.x() * r.i32(8) / r.i32(12), e.y() * r.i32(16) / r.i32(20));
            if (finite({v.x(), v.y()}) && v.x() != 0 && v.y() != 0)
                e = v;
            invalidate();
        }
        return true;
    case emr::SetMapMode:
        if (need(12)) {
            int mode = r.i32(8);
            if (mode < 1 || mode > 8)
                return true;
            if ((mode == 7 || mode == 8) && m_dc.mapMode != 7 && m_dc.mapMode != 8) {
                // Entering a scalable mode keeps the scale the previous mode had.
                QTransform t = pageToDest() * (m_devToDest * m_base).inverted();
                m_dc.windowExt = QPointF(1000, 1000);
                m_dc.viewportExt = QPointF(1000 * t.m11(), 1000 * t.m22());
                if (m_dc.viewportExt.x() == 0 || m_dc.viewportExt.y() == 0)
                    m_dc.viewportExt = QPointF(1000, 1000);
            }
            m_dc.mapMode = mode;
            invalidate();
        }
        return true;
    case emr::SetBrushOrgEx:
        if (need(16))
            m_dc.brushOrg = QPointF(r.i32(8), r.i32(12));
        return true;
    case emr::SetBkMode:
        if (need(12))
            m_dc.bkMode = r.i32(8);
        return true;
    case emr::SetPolyFillMode:
        if (need(12))
            m_dc.polyFillMode = r.i32(8);
        return true;
    case emr::SetRop2:
        if (need(12))
            m_dc.rop2 = r.i32(8);
        return true;
    case emr::SetStretchBltMode:
        if (need(12))
            m_dc.stretchMode = r.i32(8);
        return true;
    case emr::SetTextAlign:
        if (need(12))
            m_dc.textAlign = r.u32(8);
        return true;
    case emr::SetTextColor:
        if (need(12))
            m_dc.textColor = colorRef(r.u32(8));
        return true;
    case emr::SetBkColor:
        if (need(12))
            m_dc.bkColor = colorRef(r.u32(8));
        return true;
    case emr::SetArcDirection:
        if (need(12))
            m_dc.clockwiseArcs = r.i32(8) == 2;
        return true;
    case emr::SetMiterLimit:
        if (need(12)) {
            double v = r.f32(8);
            // Writers disagree on whether this field is a float or an integer.
            if (!(v >= 1 && v < 1000))
                v = r.u32(8) >= 1 && r.u32(8) < 1000 ? double(r.u32(8)) : 10;
            m_dc.miterLimit = v;
        }
        return true;
    case emr::SaveDc:
        if (m_saved.size() < MaxSaveDepth)
            m_saved.push_back(m_dc);
        return true;
    case emr::RestoreDc:
        if (need(12)) {
            int64_t rel = r.i32(8);
            int64_t target = rel < 0 ? int64_t(m_saved.size()) + rel : rel - 1;
            if (target >= 0 && target < int64_t(m_saved.size())) {
                m_dc = m_saved[size_t(target)];
                m_saved.resize(size_t(target));
                invalidate();
                m_clipDirty = true;
            }
        }
        return true;
    case emr::SetWorldTransform:
        if (need(32)) {
            QTransform t = readXform(r, 8);
            if (usable(t))
                m_dc.world = t;
        }
        return true;
    case emr::ModifyWorldTransform:
        if (need(36)) {
            QTransform t = readXform(r, 8);
            if (!usable(t))
                return true;
            QTransform w;
            switch (r.u32(32)) {
            case 1: w = QTransform(); break;
            case 2: w = t * m_dc.world; break;
            case 3: w = m_dc.world * t; break;
            case 4: w = t; break;
            default: return true;
            }
            if (usable(w))
                m_dc.world = w;
        }
        return true;
    case emr::MoveToEx:
        if (need(16)) {
            m_dc.current = QPointF(r.i32(8), r.i32(12));
            if (m_inPath)
                m_path.moveTo(toDest(m_dc.current));
        }
        return true;
    case emr::SetPixelV:
        if (need(20)) {
            QPointF pt = toDest(QPointF(r.i32(8), r.i32(12)));
            applyClip();
            m_p.setTransform(QTransform());
            m_p.fillRect(QRectF(std::floor(pt.x()), std::floor(pt.y()), 1, 1), colorRef(r.u32(16)));
        }
        return true;
    default:
        return false;
    }
}

} // namespace kelpora::mf

namespace kelpora::mf {

bool usableForDrawing(const QTransform& t)
{
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v) || std::abs(v) > 1e9)
            return false;
    return true;
}

void guardDashes(QPainter& p, const QRectF& destExtent)
{
    QPen pen = p.pen();
    if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen)
        return;
    if (destExtent.width() > 20000 || destExtent.height() > 20000 || !std::isfinite(destExtent.width())
        || !std::isfinite(destExtent.height())) {
        pen.setStyle(Qt::SolidLine);
        p.setPen(pen);
    }
}

} // namespace kelpora::mf
