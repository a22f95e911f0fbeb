#include "graphics/Picture.h"
#include "forms/Exceptions.h"
#include "fs/Paths.h"

namespace vcl {

void TPicture::LoadFromFile(const QString& path)
{
    // The extension as the run-time routines define it: from the last of
    // ".", "\" or ":", when that is a dot. "/" separates folders here too.
    const qsizetype cut = std::max({path.lastIndexOf(u'.'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':'),
                                    path.lastIndexOf(u'/')});
    const QString ext = (cut >= 0 && path[cut] == u'.') ? path.mid(cut + 1) : QString();
    const QString lower = ext.toLower();
    std::unique_ptr<TGraphic> g;
    if (lower == QLatin1String("bmp"))
        g = std::make_unique<TBitmap>();
    else if (lower == QLatin1String("ico"))
        g = std::make_unique<TIcon>();
    else if (lower == QLatin1String("wmf") || lower == QLatin1String("emf"))
        g = std::make_unique<TMetafile>();
    else
        throw EInvalidGraphic::unknownExtension(ext);
    // The path is in drive form; messages name it as the user knows it.
    const std::optional<QString> real = fs::toRealPath(path);
    if (!real)
        throw EFOpenError(path);
    try {
        g->LoadFromFile(*real);
    } catch (const EFOpenError&) {
        throw EFOpenError(path);
    }
    m_graphic = std::move(g);
    changed();
}

void TPicture::Assign(const TPicture& other)
{
    if (&other == this)
        return;
    Assign(other.Graphic());
}

void TPicture::Assign(const TGraphic* graphic)
{
    m_graphic = graphic ? graphic->shareImage() : nullptr;
    changed();
}

void TPicture::Clear()
{
    m_graphic.reset();
    changed();
}

void TPicture::changed()
{
    if (OnChange)
        OnChange();
}

} // namespace vcl
