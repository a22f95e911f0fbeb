#pragma once
#include <QString>

namespace kelpora::mf {

// Installed family standing in for a face a picture names. Common faces of the
// recording system map onto metric-compatible or look-alike families; unknown
// faces are kept when installed, else chosen by the pitch and family bits.
QString familyForFace(const QString& face, int pitchAndFamily);

// Character (em) height over cell height (ascent + descent) for a family:
// positive font heights in a picture give the cell, negative the character.
double emPerCellFor(const QString& family);

// Text in a symbol-encoded face (8-bit codes or their private-use copies)
// mapped to Unicode where the face is known.
QString mapSymbolText(const QString& text, const QString& face);

} // namespace kelpora::mf
