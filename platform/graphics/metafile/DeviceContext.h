#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <unordered_map>
#include <variant>
#include <vector>

namespace kelpora::mf {

struct PenObject {
    uint32_t style = 0;        // PS_* style, end cap, join and type bits
    double width = 0;          // logical units; 0 draws one device pixel
    QColor color = Qt::black;
    std::vector<double> userDashes;
    bool isNull() const { return (style & 0xF) == 5; }
};

struct BrushObject {
    enum Kind { Solid, Null, Hatched, Pattern };
    Kind kind = Solid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;            // Pattern: the tile, in device pixels
    bool monochrome = false;   // a 1-bit tile takes the text and background colours
};

struct FontObject {
    int height = 0, width = 0, escapement = 0, orientation = 0, weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charSet = 0, pitchAndFamily = 0;
    QString face;
    QString family;            // installed family chosen for face
    double emPerCell = 0;      // character height / cell height of that family, measured once
};

struct PaletteObject {};

using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, PaletteObject>;

// Everything SaveDC keeps.
struct DcState {
    int mapMode = 1;
    QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
    QTransform world;
    PenObject pen;
    BrushObject brush;
    FontObject font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = 2;            // OPAQUE
    uint32_t textAlign = 0;
    int polyFillMode = 1;      // ALTERNATE
    int rop2 = 13;             // R2_COPYPEN
    int stretchMode = 1;
    bool clockwiseArcs = false;
    double miterLimit = 10;
    QPointF current{0, 0};
    QPointF brushOrg{0, 0};
    bool hasClip = false;
    QRegion clip;              // in destination pixels
    bool hasMeta = false;
    QRegion meta;
    int charExtra = 0;
};

// Objects created by the picture, indexed as the records name them.
class ObjectTable {
public:
    static constexpr uint32_t MaxIndex = 65535;
    bool put(uint32_t index, GdiObject obj)
    {
        if (index == 0 || index > MaxIndex)
            return false;
        m_objects[index] = std::move(obj);
        return true;
    }
    const GdiObject* get(uint32_t index) const
    {
        auto it = m_objects.find(index);
        return it == m_objects.end() ? nullptr : &it->second;
    }
    void remove(uint32_t index) { m_objects.erase(index); }

private:
    std::unordered_map<uint32_t, GdiObject> m_objects;
};

} // namespace kelpora::mf
