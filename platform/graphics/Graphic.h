#pragma once
// Picture classes. A graphic holds one image; copies made by Assign share the
// image data (no pixel is copied), and each holder keeps its image until it
// is given another.
#include <QRect>
#include <QString>
#include <memory>

class QPainter;

namespace vcl {

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Replaces the image with one read from the file, or throws and leaves
    // the graphic as it was.
    virtual void LoadFromFile(const QString& path) = 0;
    // Draws the graphic for an image control whose picture rectangle is dest
    // (bitmaps fill it, icons sit at its top-left at their own size,
    // metafiles play into it less one pixel at right and bottom).
    virtual void Draw(QPainter& p, const QRect& dest) const = 0;
    // A new graphic of the same class sharing this one's image.
    virtual std::unique_ptr<TGraphic> shareImage() const = 0;
};

// Reads a whole file opened read-only; throws EFOpenError when it can't be
// opened. maxBytes bounds what a decoder that needs the whole file may take.
QByteArray readWholeFile(const QString& path, qint64 maxBytes);

} // namespace vcl
