#pragma once
#include <QImage>
#include <QPainter>
#include <cmath>

namespace kelpora::mfcompare {

struct Similarity {
    double colour = 0;   // 1 - mean absolute channel difference, both flattened on white
    double overlap = 0;  // intersection over union of the inked (non-white) pixels
};

inline QImage flattenOnWhite(const QImage& img, QSize size)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), size), img);
    return out;
}

// A coarse figure: both images at a common small size, so that anti-aliasing,
// font and hatch differences weigh little against misplaced or missing content.
inline Similarity compareImages(const QImage& ours, const QImage& reference)
{
    Similarity s;
    if (ours.isNull() || reference.isNull())
        return s;
    QSize size = reference.size().scaled(128, 128, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QImage a = flattenOnWhite(ours, size), b = flattenOnWhite(reference, size);
    double diff = 0;
    long inter = 0, uni = 0;
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            diff += std::abs(qRed(la[x]) - qRed(lb[x])) + std::abs(qGreen(la[x]) - qGreen(lb[x]))
                + std::abs(qBlue(la[x]) - qBlue(lb[x]));
            bool ia = qGray(la[x]) < 245, ib = qGray(lb[x]) < 245;
            inter += ia && ib;
            uni += ia || ib;
        }
    }
    s.colour = 1 - diff / (3.0 * 255 * size.width() * size.height());
    s.overlap = uni ? double(inter) / uni : 1;
    return s;
}

} // namespace kelpora::mfcompare
