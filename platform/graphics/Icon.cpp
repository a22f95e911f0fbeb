#include "graphics/Icon.h"
#include "codecs/IconDecoder.h"
#include "forms/Exceptions.h"
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <optional>

namespace vcl {

QImage toQImage(kelpora::codec::DecodedBitmap&& d);

// Shared by every TIcon holding the same icon. The image is resolved at most
// once; a failure is remembered so that redraws stay quiet.
struct TIcon::Data {
    QByteArray bytes;
    kelpora::codec::IconDirectory dir;
    enum class State { Unresolved, Ready, Failed } state = State::Unresolved;
    QImage image;
};

namespace {
constexpr qint64 kMaxIconFile = 256LL << 20;

QImage defaultApplicationIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32).toImage();
}
} // namespace

int smallIconSize() { return 16; }
int screenBitsPerPixel() { return 32; }

void TIcon::LoadFromFile(const QString& path)
{
    auto data = std::make_shared<Data>();
    data->bytes = readWholeFile(path, kMaxIconFile);
    kelpora::codec::MemorySource src(reinterpret_cast<const uint8_t*>(data->bytes.constData()), data->bytes.size());
    auto r = kelpora::codec::parseIconDirectory(src);
    if (auto* e = std::get_if<kelpora::codec::DecodeError>(&r)) {
        if (*e == kelpora::codec::DecodeError::Truncated)
            throw EReadError();
        throw EInvalidGraphic::badIcon();
    }
    data->dir = std::get<kelpora::codec::IconDirectory>(std::move(r));
    m_data = std::move(data);
}

void TIcon::HandleNeeded() const
{
    if (!m_data || m_data->state != Data::State::Unresolved)
        return;
    Data& d = *m_data;
    d.state = Data::State::Failed;   // until proven otherwise: never raise twice
    if (d.dir.type == 0) {
        d.image = defaultApplicationIcon();
        d.state = Data::State::Ready;
        return;
    }
    const size_t index = kelpora::codec::chooseIconImage(d.dir, smallIconSize(), smallIconSize(), screenBitsPerPixel());
    if (index == kelpora::codec::kNoIconImage || index >= d.dir.entries.size())
        throw EOutOfResources();
    const auto& entry = d.dir.entries[index];
    kelpora::codec::MemorySource src(reinterpret_cast<const uint8_t*>(d.bytes.constData()), d.bytes.size());
    QImage img;
    if (kelpora::codec::iconImageIsPng(src, entry)) {
        const qint64 end = qint64(entry.imageOffset) + entry.bytesInRes;
        if (end <= d.bytes.size())
            img = QImage::fromData(QByteArrayView(d.bytes).sliced(entry.imageOffset, entry.bytesInRes), "PNG");
    } else {
        auto r = kelpora::codec::decodeIconImage(src, entry);
        if (auto* bmp = std::get_if<kelpora::codec::DecodedBitmap>(&r))
            img = toQImage(std::move(*bmp));
    }
    if (img.isNull())
        throw EOutOfResources();
    d.image = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    d.bytes = QByteArray();   // the chosen image is all that is needed from now on
    d.state = Data::State::Ready;
}

QImage TIcon::image() const
{
    if (!m_data)
        return QImage();
    try {
        HandleNeeded();
    } catch (const Exception&) {
        return QImage();
    }
    return m_data->image;
}

int TIcon::Width() const { return image().width(); }
int TIcon::Height() const { return image().height(); }

QIcon TIcon::toQIcon(int) const
{
    if (!m_data)
        return QIcon();
    HandleNeeded();
    if (m_data->state != Data::State::Ready)
        return QIcon();
    return QIcon(QPixmap::fromImage(m_data->image));
}

void TIcon::Draw(QPainter& p, const QRect& dest) const
{
    const QImage img = image();
    if (!img.isNull())
        p.drawImage(dest.topLeft(), img);   // never scaled
}

std::unique_ptr<TGraphic> TIcon::shareImage() const
{
    auto i = std::make_unique<TIcon>();
    i->m_data = m_data;
    return i;
}

} // namespace vcl
