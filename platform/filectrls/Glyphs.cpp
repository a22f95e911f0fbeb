#include "filectrls/Glyphs.h"
#include <QHash>

// The glyph resources live in a static library: the linker keeps them only
// when something calls their initialiser, which must be outside any namespace.
static void initGlyphResources() { Q_INIT_RESOURCE(glyphs); }

namespace vcl {

QPixmap fileControlGlyph(const QString& name)
{
    static bool initialised = (initGlyphResources(), true);
    (void)initialised;
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        QPixmap pm;
        pm.load(QStringLiteral(":/glyphs/") + name, "XPM");
        it = cache.insert(name, pm);
    }
    return *it;
}

} // namespace vcl
