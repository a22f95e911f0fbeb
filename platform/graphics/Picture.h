#pragma once
#include "graphics/Bitmap.h"
#include "graphics/Icon.h"
#include "graphics/Metafile.h"
#include <QObject>
#include <functional>

namespace vcl {

// Holds at most one graphic. Assigning gives the picture a graphic of its own
// that shares the source's image.
class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }
    TGraphic* Graphic() const { return m_graphic.get(); }

    // The held graphic as a given kind (null when it is another kind).
    TBitmap* Bitmap() const { return dynamic_cast<TBitmap*>(m_graphic.get()); }
    TIcon* Icon() const { return dynamic_cast<TIcon*>(m_graphic.get()); }
    TMetafile* Metafile() const { return dynamic_cast<TMetafile*>(m_graphic.get()); }

    // Chooses the graphic class by the whole extension, case-insensitive;
    // the picture changes only when the whole file was read.
    void LoadFromFile(const QString& path);
    void Assign(const TPicture& other);
    void Assign(const TGraphic* graphic);
    void Clear();

    // Called after every change of graphic.
    std::function<void()> OnChange;

private:
    void changed();
    std::unique_ptr<TGraphic> m_graphic;
};

} // namespace vcl
