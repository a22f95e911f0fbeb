#pragma once
#include "graphics/Graphic.h"
#include <QImage>

namespace vcl {

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    bool Empty() const override { return m_image.isNull(); }
    void LoadFromFile(const QString& path) override;
    void Draw(QPainter& p, const QRect& dest) const override;
    std::unique_ptr<TGraphic> shareImage() const override;

    // The pixels at the file's own depth (QImage shares them by reference).
    const QImage& image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }

private:
    QImage m_image;
};

// Samples the part of `src` scaled into `dest` that falls inside `visible`,
// nearest pixel, no smoothing. The work follows the visible destination area,
// never the source size. Returns an image the size of dest ∩ visible, in a
// 32-bit format QPainter draws directly.
QImage sampleNearest(const QImage& src, const QRect& dest, const QRect& visible);

} // namespace vcl
