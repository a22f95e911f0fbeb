#pragma once
// The drive and folder glyphs: "FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"
// (16 x 11) and "OPENFOLDER", "CURRENTFOLDER", "CLOSEDFOLDER" (16 x 15).
#include <QPixmap>
#include <QString>

namespace vcl {

// A null pixmap for an unknown name.
QPixmap fileControlGlyph(const QString& name);

} // namespace vcl
