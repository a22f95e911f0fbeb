#pragma once
#include "graphics/Graphic.h"
#include <memory>

namespace kelpora::mf {
class MetafileData;
}

namespace vcl {

// Windows and enhanced metafiles alike: a Windows metafile is held in the
// enhanced form, so one player draws both.
class TMetafile : public TGraphic {
public:
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return !m_data; }
    void LoadFromFile(const QString& path) override;
    void Draw(QPainter& p, const QRect& dest) const override;
    std::unique_ptr<TGraphic> shareImage() const override;

    const kelpora::mf::MetafileData* data() const { return m_data.get(); }

private:
    std::shared_ptr<const kelpora::mf::MetafileData> m_data;
};

// The screen's dots per inch used for metafile sizes.
int screenDpi();

} // namespace vcl
