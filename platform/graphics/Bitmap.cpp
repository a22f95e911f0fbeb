#include "graphics/Bitmap.h"
#include "codecs/BmpDecoder.h"
#include "forms/Exceptions.h"
#include <QFile>
#include <QPainter>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace vcl {

namespace {

QImage::Format qtFormat(kelpora::codec::PixelFormat f)
{
    using kelpora::codec::PixelFormat;
    switch (f) {
    case PixelFormat::Mono1: return QImage::Format_Mono;
    case PixelFormat::Indexed8: return QImage::Format_Indexed8;
    case PixelFormat::Bgr24: return QImage::Format_BGR888;
    case PixelFormat::Rgb555: return QImage::Format_RGB555;
    case PixelFormat::Rgb565: return QImage::Format_RGB16;
    case PixelFormat::Xrgb32: return QImage::Format_RGB32;
    case PixelFormat::Argb32: return QImage::Format_ARGB32;
    case PixelFormat::Empty: break;
    }
    return QImage::Format_Invalid;
}

[[noreturn]] void raise(kelpora::codec::DecodeError e)
{
    using kelpora::codec::DecodeError;
    switch (e) {
    case DecodeError::Truncated: throw EReadError();
    case DecodeError::TooLarge:
    case DecodeError::OutOfMemory: throw EOSError::notEnoughMemory();
    case DecodeError::Malformed:
    case DecodeError::Unsupported: break;
    }
    throw EInvalidGraphic::badBitmap();
}

} // namespace

// Wraps decoder output in a QImage without copying; the QImage frees it.
QImage toQImage(kelpora::codec::DecodedBitmap&& d)
{
    if (d.format == kelpora::codec::PixelFormat::Empty || !d.pixels)
        return QImage();
    uint8_t* data = d.pixels.release();
    QImage img(data, d.width, d.height, static_cast<qsizetype>(d.stride), qtFormat(d.format),
               [](void* p) { std::free(p); }, data);
    if (!d.palette.empty()) {
        QList<QRgb> table(d.palette.begin(), d.palette.end());
        img.setColorTable(table);
    }
    return img;
}

namespace {
QImage decodeOrRaise(kelpora::codec::ByteSource& src)
{
    auto r = kelpora::codec::decodeBmp(src);
    if (auto* e = std::get_if<kelpora::codec::DecodeError>(&r))
        raise(*e);
    return toQImage(std::move(std::get<kelpora::codec::DecodedBitmap>(r)));
}
} // namespace

void TBitmap::LoadFromFile(const QString& path)
{
    // Built-in resources are read whole; files are read in place, row by row.
    if (path.startsWith(u':')) {
        const QByteArray bytes = readWholeFile(path, 64 << 20);
        kelpora::codec::MemorySource src(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
        m_image = decodeOrRaise(src);
        return;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    kelpora::codec::FileSource src(fd);
    m_image = decodeOrRaise(src);
}

std::unique_ptr<TGraphic> TBitmap::shareImage() const
{
    auto b = std::make_unique<TBitmap>();
    b->m_image = m_image;
    return b;
}

void TBitmap::Draw(QPainter& p, const QRect& dest) const
{
    if (m_image.isNull() || dest.isEmpty())
        return;
    QRect visible = dest;
    if (p.hasClipping())
        visible &= p.clipBoundingRect().toAlignedRect();
    if (p.device())
        visible &= p.transform().inverted().mapRect(QRect(0, 0, p.device()->width(), p.device()->height()));
    if (visible.isEmpty())
        return;
    const QImage part = sampleNearest(m_image, dest, visible);
    p.drawImage(visible.topLeft(), part);
}

QImage sampleNearest(const QImage& src, const QRect& dest, const QRect& visibleIn)
{
    const QRect visible = dest & visibleIn;
    if (src.isNull() || visible.isEmpty())
        return QImage();
    const bool alpha = src.hasAlphaChannel();
    QImage out(visible.size(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const qint64 sw = src.width(), sh = src.height();
    const qint64 dw = dest.width(), dh = dest.height();
    // Source column for every destination column of the visible part.
    std::vector<int> cols(visible.width());
    for (int x = 0; x < visible.width(); ++x)
        cols[x] = static_cast<int>((visible.left() - dest.left() + x) * sw / dw);
    const QList<QRgb> table = src.colorTable();
    for (int y = 0; y < visible.height(); ++y) {
        const int sy = static_cast<int>((visible.top() - dest.top() + y) * sh / dh);
        const uchar* line = src.constScanLine(sy);
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        switch (src.format()) {
        case QImage::Format_Indexed8:
            for (int x = 0; x < visible.width(); ++x) {
                const uchar i = line[cols[x]];
                o[x] = i < table.size() ? table[i] : 0xff000000u;
            }
            break;
        case QImage::Format_Mono:
            for (int x = 0; x < visible.width(); ++x) {
                const int sx = cols[x];
                const int i = (line[sx >> 3] >> (7 - (sx & 7))) & 1;
                o[x] = i < table.size() ? table[i] : 0xff000000u;
            }
            break;
        case QImage::Format_BGR888:
            for (int x = 0; x < visible.width(); ++x) {
                const uchar* px = line + 3 * cols[x];
                o[x] = qRgb(px[2], px[1], px[0]);
            }
            break;
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32: {
            const auto* l = reinterpret_cast<const QRgb*>(line);
            const QRgb opaque = src.format() == QImage::Format_RGB32 ? 0xff000000u : 0u;
            for (int x = 0; x < visible.width(); ++x)
                o[x] = l[cols[x]] | opaque;
            break;
        }
        default:
            for (int x = 0; x < visible.width(); ++x)
                o[x] = src.pixel(cols[x], sy);
            break;
        }
    }
    return out;
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(path);
    if (f.size() > maxBytes)
        throw EOSError::notEnoughMemory();
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw EReadError();
    return bytes;
}

} // namespace vcl
