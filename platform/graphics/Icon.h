#pragma once
#include "graphics/Graphic.h"
#include <QIcon>
#include <QImage>
#include <QByteArray>

namespace vcl {

// An icon file. Loading checks only the header; the image is chosen and
// made the first time it is needed, once for every holder sharing it.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return !m_data; }
    void LoadFromFile(const QString& path) override;
    void Draw(QPainter& p, const QRect& dest) const override;
    std::unique_ptr<TGraphic> shareImage() const override;

    void Assign(const TIcon& other) { m_data = other.m_data; }
    // Makes the image (asking the small window-icon size) if it is not made
    // yet. Throws the first time it can't be made; later calls are silent.
    void HandleNeeded() const;
    // The chosen image, or a null image.
    QImage image() const;
    // For a window: the chosen image at the asked size when first made.
    QIcon toQIcon(int askedSize = 16) const;

    struct Data;

private:
    std::shared_ptr<Data> m_data;
};

// Screen facts the icon choice depends on.
int smallIconSize();
int screenBitsPerPixel();

} // namespace vcl
