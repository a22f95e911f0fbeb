#pragma once
#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

namespace kelpora::mf {

struct EmfHeaderInfo {
    QRect bounds;                                              // device units
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0; // .01 mm
    int deviceCx = 0, deviceCy = 0;                            // reference device pixels
    int millimetersCx = 0, millimetersCy = 0;
};

// Immutable once loaded; holders share it through std::shared_ptr<const MetafileData>.
class MetafileData {
public:
    MetafileData(std::vector<uint8_t> emf, const EmfHeaderInfo& header, bool fromWmf, int wmfInch, int mmWidth,
                 int mmHeight);

    const std::vector<uint8_t>& emfBytes() const { return m_emf; } // always the enhanced form
    const EmfHeaderInfo& header() const { return m_header; }
    bool fromWmf() const { return m_fromWmf; }
    int wmfInch() const { return m_wmfInch; } // N of the placeable header, 0 for an enhanced metafile
    int mmWidth() const { return m_mmWidth; } // held size, hundredths of a millimetre
    int mmHeight() const { return m_mmHeight; }

private:
    std::vector<uint8_t> m_emf;
    EmfHeaderInfo m_header;
    bool m_fromWmf;
    int m_wmfInch;
    int m_mmWidth;
    int m_mmHeight;
};

// Enhanced when longer than 100 bytes with record type 1 first and " EMF" at
// offset 40; otherwise a Windows metafile behind the 22-byte placeable header,
// converted to the enhanced form. Anything else -> nullptr.
std::shared_ptr<const MetafileData> loadMetafile(const uint8_t* data, size_t size);

// Size in pixels on a screen of the given dots per inch.
QSize pixelSize(const MetafileData& m, int screenDpi);

// Plays the picture scaled into dest (the caller has already taken one pixel
// off its right and bottom edges).
void play(QPainter& p, const MetafileData& m, const QRect& dest);

// Multiply then divide on the whole 64-bit product, rounding halves away from zero.
// A zero divisor gives 0.
int64_t mulDivRound(int64_t a, int64_t b, int64_t c);

} // namespace kelpora::mf
