#include "graphics/Metafile.h"
#include "forms/Exceptions.h"
#include "metafile/Metafile.h"
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vcl {

namespace {
constexpr qint64 kMaxMetafile = 512LL << 20;
}

int screenDpi()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return qRound(s->logicalDotsPerInch());
    return 96;
}

int TMetafile::Width() const { return m_data ? kelpora::mf::pixelSize(*m_data, screenDpi()).width() : 0; }
int TMetafile::Height() const { return m_data ? kelpora::mf::pixelSize(*m_data, screenDpi()).height() : 0; }

void TMetafile::LoadFromFile(const QString& path)
{
    const QByteArray bytes = readWholeFile(path, kMaxMetafile);
    auto data = kelpora::mf::loadMetafile(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    if (!data)
        throw EInvalidGraphic::badMetafile();
    m_data = std::move(data);
}

void TMetafile::Draw(QPainter& p, const QRect& dest) const
{
    if (!m_data || dest.width() < 2 || dest.height() < 2)
        return;
    p.save();
    kelpora::mf::play(p, *m_data, QRect(dest.left(), dest.top(), dest.width() - 1, dest.height() - 1));
    p.restore();
}

std::unique_ptr<TGraphic> TMetafile::shareImage() const
{
    auto m = std::make_unique<TMetafile>();
    m->m_data = m_data;
    return m;
}

} // namespace vcl
