#include "EmfRecords.h"
#include "Player.h"
#include <QPainterPathStroker>
#include <cmath>

namespace kelpora::mf {

void Player::drawDestPath(const QPainterPath& destPath, bool fill, bool stroke)
{
    QTransform t = logicalToDest();
    if (!t.isInvertible() || !usableForDrawing(t))
        return;
    applyClip();
    m_p.setTransform(QTransform());
    applyRop2();
    double scale = std::sqrt(std::abs(t.determinant()));
    bool hasPen = stroke && setupPen(m_p, scale);
    if (hasPen && !m_p.pen().isCosmetic()) {
        QPen pen = m_p.pen();
        pen.setWidthF(std::min(pen.widthF() * scale, 32000.0));
        m_p.setPen(pen);
    }
    bool hasBrush = fill && setupBrush(m_p);
    if (!stroke)
        m_p.setPen(Qt::NoPen);
    if (!fill)
        m_p.setBrush(Qt::NoBrush);
    if (!hasPen && !hasBrush)
        return;
    QPainterPath path = destPath;
    path.setFillRule(fillRule());
    guardDashes(m_p, path.controlPointRect());
    m_p.drawPath(path);
}

bool Player::playPath(const Record& rec)
{
    switch (rec.type) {
    case emr::BeginPath:
        m_inPath = true;
        m_path = QPainterPath();
        return true;
    case emr::EndPath:
        m_inPath = false;
        return true;
    case emr::AbortPath:
        m_inPath = false;
        m_path = QPainterPath();
        return true;
    case emr::CloseFigure:
        if (m_inPath)
            m_path.closeSubpath();
        return true;
    case emr::FillPath:
    case emr::StrokePath:
    case emr::StrokeAndFillPath:
        if (!m_inPath) {
            drawDestPath(m_path, rec.type != emr::StrokePath, rec.type != emr::FillPath);
            m_path = QPainterPath();
        }
        return true;
    case emr::FlattenPath:
        if (!m_inPath) {
            QPainterPath flat;
            for (const QPolygonF& poly : m_path.toSubpathPolygons()) {
                if (poly.isEmpty())
                    continue;
                flat.moveTo(poly.first());
                for (int i = 1; i < poly.size(); ++i)
                    flat.lineTo(poly[i]);
            }
            m_path = flat;
        }
        return true;
    case emr::WidenPath:
        if (!m_inPath && !m_dc.pen.isNull()) {
            QPainterPathStroker stroker;
            double w = m_dc.pen.width * std::sqrt(std::abs(logicalToDest().determinant()));
            stroker.setWidth(std::max(w, 1.0));
            m_path = stroker.createStroke(m_path);
        }
        return true;
    case emr::SelectClipPath:
        if (!m_inPath && rec.has(12)) {
            combineClip(regionOfPath(m_path, fillRule()), rec.r.u32(8));
            m_path = QPainterPath();
        }
        return true;
    default:
        return false;
    }
}

} // namespace kelpora::mf
