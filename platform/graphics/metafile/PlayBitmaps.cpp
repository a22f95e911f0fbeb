#include "DibReader.h"
#include "EmfRecords.h"
#include "Player.h"
#include <QLinearGradient>
#include <cmath>

namespace kelpora::mf {

namespace {

bool usesSource(uint32_t rop)
{
    // The source term appears in a ternary raster operation when its result
    // differs between source 0 and source 1 for some pattern and destination.
    uint8_t code = uint8_t(rop >> 16);
    return ((code >> 2) & 0x33) != (code & 0x33);
}

// True when the bitmap's rows run bottom-up: source rectangles then count from the last row.
bool bottomUp(const ByteReader& r, size_t offBmi)
{
    uint32_t hs = r.u32(offBmi);
    if (hs == 12)
        return true;
    return r.i32(offBmi + 8) > 0;
}

} // namespace

QImage Player::readDib(const Record& rec, size_t offBmi, size_t cbBmi, size_t offBits, size_t cbBits, uint32_t usage,
                       bool keepAlpha)
{
    const ByteReader& r = rec.r;
    if (cbBmi == 0 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits))
        return {};
    return decodeDib(r.data() + offBmi, cbBmi, r.data() + offBits, cbBits, keepAlpha, usage == 1);
}

void Player::fillRop(const QRectF& logicalDest, uint32_t rop)
{
    QTransform t = logicalToDest();
    if (!t.isInvertible() || !usableForDrawing(t))
        return;
    applyClip();
    m_p.setTransform(t);
    m_p.setPen(Qt::NoPen);
    QRectF rect = logicalDest.normalized();
    switch (rop) {
    case emr::Blackness:
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_p.fillRect(rect, Qt::black);
        return;
    case emr::Whiteness:
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_p.fillRect(rect, Qt::white);
        return;
    case emr::DstInvert:
        m_p.setCompositionMode(QPainter::RasterOp_NotDestination);
        m_p.fillRect(rect, Qt::white);
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    case 0x00AA0029: // destination unchanged
        return;
    case emr::PatInvert:
        m_p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    default:
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
    int savedRop2 = m_dc.rop2;
    m_dc.rop2 = 13;
    if (setupBrush(m_p))
        m_p.drawRect(rect);
    m_dc.rop2 = savedRop2;
    m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Player::drawImage(const QRectF& logicalDest, const QImage& source, const QRectF& srcRect, uint32_t rop)
{
    QTransform t = logicalToDest();
    if (source.isNull() || !t.isInvertible() || !usableForDrawing(t) || logicalDest.width() == 0
        || logicalDest.height() == 0)
        return;
    QRectF src = srcRect.intersected(QRectF(source.rect()));
    if (src.isEmpty())
        return;
    QImage img = source;
    QRectF target = logicalDest;
    // Negative extents mirror the picture.
    bool mirrorX = target.width() < 0, mirrorY = target.height() < 0;
    if (mirrorX || mirrorY) {
        img = img.copy(src.toAlignedRect()).mirrored(mirrorX, mirrorY);
        src = QRectF(img.rect());
        target = target.normalized();
    }
    applyClip();
    m_p.setTransform(t);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case emr::SrcPaint: case emr::MergePaint: mode = QPainter::RasterOp_SourceOrDestination; break;
    case emr::SrcAnd: mode = QPainter::RasterOp_SourceAndDestination; break;
    case emr::SrcInvert: mode = QPainter::RasterOp_SourceXorDestination; break;
    case emr::NotSrcCopy: img.invertPixels(); break;
    default: break;
    }
    if (mode != QPainter::CompositionMode_SourceOver && img.hasAlphaChannel())
        img = img.convertToFormat(QImage::Format_RGB32);
    m_p.setCompositionMode(mode);
    // A picture shrunk to a fraction of its size is scaled down once here:
    // sampling it with smoothing on every draw costs more and aliases.
    QRectF out = t.mapRect(target);
    if (src.width() > 4 * out.width() && src.height() > 4 * out.height() && t.m12() == 0 && t.m21() == 0
        && out.width() >= 1 && out.height() >= 1) {
        QImage part = img.copy(src.toAlignedRect());
        img = part.scaled(std::max(1, int(std::ceil(out.width()))), std::max(1, int(std::ceil(out.height()))),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        src = QRectF(img.rect());
    }
    m_p.drawImage(target, img, src);
    m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

bool Player::gradientFill(const Record& rec)
{
    const ByteReader& r = rec.r;
    if (!rec.has(36))
        return true;
    uint32_t nVer = r.u32(24), nTri = r.u32(28), mode = r.u32(32);
    if ((rec.size() - 36) / 16 < nVer)
        return true;
    size_t idxAt = 36 + size_t(nVer) * 16;
    size_t each = mode == 2 ? 12 : 8;
    if ((rec.size() - idxAt) / each < nTri)
        return true;
    auto vertex = [&](uint32_t i, QPointF& pt, QColor& c) {
        if (i >= nVer)
            return false;
        size_t o = 36 + size_t(i) * 16;
        pt = QPointF(r.i32(o), r.i32(o + 4));
        c = QColor(r.u16(o + 8) >> 8, r.u16(o + 10) >> 8, r.u16(o + 12) >> 8);
        return true;
    };
    QTransform t = logicalToDest();
    if (!t.isInvertible() || !usableForDrawing(t))
        return true;
    applyClip();
    m_p.setTransform(t);
    m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_p.setPen(Qt::NoPen);
    for (uint32_t k = 0; k < nTri; ++k) {
        size_t o = idxAt + size_t(k) * each;
        if (mode == 2) {
            QPointF p[3];
            QColor c[3];
            if (!vertex(r.u32(o), p[0], c[0]) || !vertex(r.u32(o + 4), p[1], c[1]) || !vertex(r.u32(o + 8), p[2], c[2]))
                continue;
            QColor avg((c[0].red() + c[1].red() + c[2].red()) / 3, (c[0].green() + c[1].green() + c[2].green()) / 3,
                       (c[0].blue() + c[1].blue() + c[2].blue()) / 3);
            m_p.setBrush(avg);
            m_p.drawPolygon(p, 3);
        } else {
            QPointF a, b;
            QColor ca, cb;
            if (!vertex(r.u32(o), a, ca) || !vertex(r.u32(o + 4), b, cb))
                continue;
            QRectF box = QRectF(a, b).normalized();
            QLinearGradient g(a, mode == 0 ? QPointF(b.x(), a.y()) : QPointF(a.x(), b.y()));
            g.setColorAt(0, ca);
            g.setColorAt(1, cb);
            m_p.setBrush(g);
            m_p.drawRect(box);
        }
    }
    return true;
}

bool Player::playBitmap(const Record& rec)
{
    const ByteReader& r = rec.r;
    switch (rec.type) {
    case emr::BitBlt:
    case emr::StretchBlt:
    case emr::MaskBlt:
    case emr::AlphaBlend:
    case emr::TransparentBlt: {
        bool stretch = rec.type == emr::StretchBlt || rec.type == emr::AlphaBlend || rec.type == emr::TransparentBlt;
        size_t min = rec.type == emr::MaskBlt ? 128 : stretch ? 108 : 100;
        if (!rec.has(100))
            return true;
        QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        uint32_t rop = r.u32(40);
        uint32_t cbBmi = r.u32(88);
        if (rec.type == emr::BitBlt || rec.type == emr::StretchBlt) {
            if (cbBmi == 0 || !usesSource(rop)) {
                fillRop(dest, rop);
                return true;
            }
        }
        if (!rec.has(min))
            return true;
        bool keepAlpha = rec.type == emr::AlphaBlend && (r.u8(43) & 1);
        QImage img = readDib(rec, r.u32(84), cbBmi, r.u32(92), r.u32(96), r.u32(80), keepAlpha);
        if (img.isNull())
            return true;
        double sx = r.i32(44), sy = r.i32(48);
        double sw = stretch ? r.i32(100) : dest.width(), sh = stretch ? r.i32(104) : dest.height();
        // The source offset goes through the source transform; only its translation matters here.
        QRectF src(sx + r.f32(68), sy + r.f32(72), sw, sh);
        if (!std::isfinite(src.x()) || !std::isfinite(src.y()))
            src.moveTo(sx, sy);
        if (rec.type == emr::AlphaBlend) {
            int constant = r.u8(42);
            if (keepAlpha) {
                // 32-bit sources with a per-pixel alpha come premultiplied; keep them valid as such.
                img = img.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < img.height(); ++y) {
                    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                    for (int x = 0; x < img.width(); ++x) {
                        QRgb v = line[x];
                        int a = qAlpha(v);
                        line[x] = qRgba(std::min(qRed(v), a), std::min(qGreen(v), a), std::min(qBlue(v), a), a);
                    }
                }
                img.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
            }
            m_p.save();
            m_p.setOpacity(constant / 255.0);
            drawImage(dest, img, src, emr::SrcCopy);
            m_p.restore();
            m_clipDirty = true;
            return true;
        }
        if (rec.type == emr::TransparentBlt) {
            QRgb key = colorRef(rop).rgb() & 0xFFFFFF;
            img = img.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < img.height(); ++y) {
                QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == key)
                        line[x] = 0;
            }
            rop = emr::SrcCopy;
        }
        if (rec.type == emr::MaskBlt) {
            QImage mask = readDib(rec, r.u32(112), r.u32(116), r.u32(120), r.u32(124), r.u32(108));
            if (!mask.isNull()) {
                int mx = r.i32(100), my = r.i32(104);
                img = img.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < img.height(); ++y) {
                    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                    int yy = y - int(sy) + my;
                    for (int x = 0; x < img.width(); ++x) {
                        int xx = x - int(sx) + mx;
                        bool fore = xx >= 0 && yy >= 0 && xx < mask.width() && yy < mask.height()
                            && qGray(mask.pixel(xx, yy)) >= 128;
                        if (!fore)
                            line[x] = 0;
                    }
                }
            }
            rop = emr::SrcCopy;
        }
        drawImage(dest, img, src, rop);
        return true;
    }
    case emr::StretchDiBits:
        if (rec.has(80)) {
            QRectF dest(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
            uint32_t rop = r.u32(68);
            if (!usesSource(rop)) {
                fillRop(dest, rop);
                return true;
            }
            size_t offBmi = r.u32(48);
            QImage img = readDib(rec, offBmi, r.u32(52), r.u32(56), r.u32(60), r.u32(64));
            if (img.isNull())
                return true;
            double sx = r.i32(32), sy = r.i32(36), sw = r.i32(40), sh = r.i32(44);
            if (bottomUp(r, offBmi))
                sy = img.height() - sy - sh;
            drawImage(dest, img, QRectF(sx, sy, sw, sh), rop);
        }
        return true;
    case emr::SetDiBitsToDevice:
        if (rec.has(76)) {
            size_t offBmi = r.u32(48);
            QImage img = readDib(rec, offBmi, r.u32(52), r.u32(56), r.u32(60), r.u32(64));
            if (img.isNull())
                return true;
            double sx = r.i32(32), sy = r.i32(36), sw = r.i32(40), sh = r.i32(44);
            if (bottomUp(r, offBmi))
                sy = img.height() - sy - sh;
            drawImage(QRectF(r.i32(24), r.i32(28), sw, sh), img, QRectF(sx, sy, sw, sh), emr::SrcCopy);
        }
        return true;
    case emr::GradientFill:
        return gradientFill(rec);
    case emr::PlgBlt:
        return true;
    default:
        return false;
    }
}

} // namespace kelpora::mf
