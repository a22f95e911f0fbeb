#include "DibReader.h"
#include "EmfRecords.h"
#include "FontMapping.h"
#include "Player.h"

namespace kelpora::mf {

namespace {


BrushObject brushFrom(uint32_t style, uint32_t color, uint32_t hatch)
{
    BrushObject b;
    b.color = colorRef(color);
    switch (style) {
    case 1: b.kind = BrushObject::Null; break;
    case 2: b.kind = hatch <= 5 ? BrushObject::Hatched : BrushObject::Solid; b.hatch = int(hatch); break;
    default: b.kind = BrushObject::Solid; break;
    }
    return b;
}

} // namespace

PenObject Player::stockPen(uint32_t n)
{
    PenObject p;
    if (n == emr::WhitePen)
        p.color = Qt::white;
    else if (n == emr::NullPen)
        p.style = 5;
    return p;
}

BrushObject Player::stockBrush(uint32_t n)
{
    BrushObject b;
    static const int grey[] = {255, 192, 128, 64, 0};
    if (n <= emr::BlackBrush)
        b.color = QColor(grey[n], grey[n], grey[n]);
    else if (n == emr::NullBrush)
        b.kind = BrushObject::Null;
    return b;
}

FontObject Player::stockFont(uint32_t n)
{
    FontObject f;
    bool fixed = n == emr::OemFixedFont || n == emr::AnsiFixedFont || n == emr::SystemFixedFont;
    f.height = n == emr::DefaultGuiFont || n == emr::AnsiVarFont ? -11 : 16;
    f.weight = n == emr::SystemFont ? 700 : 400;
    f.face = fixed ? QStringLiteral("Courier New") : QStringLiteral("MS Sans Serif");
    f.pitchAndFamily = fixed ? 0x31 : 0x22;
    f.family = familyForFace(f.face, f.pitchAndFamily);
    f.emPerCell = emPerCellFor(f.family);
    return f;
}

void Player::selectObject(uint32_t index)
{
    if (index & emr::StockFlag) {
        uint32_t n = index & ~emr::StockFlag;
        if (n <= emr::NullBrush || n == emr::DcBrush)
            m_dc.brush = stockBrush(n == emr::DcBrush ? emr::WhiteBrush : n);
        else if ((n >= emr::WhitePen && n <= emr::NullPen) || n == emr::DcPen)
            m_dc.pen = stockPen(n == emr::DcPen ? emr::BlackPen : n);
        else if (n >= emr::OemFixedFont && n <= emr::DefaultGuiFont && n != emr::DefaultPalette)
            m_dc.font = stockFont(n);
        return;
    }
    const GdiObject* obj = m_objects.get(index);
    if (!obj)
        return;
    if (auto* pen = std::get_if<PenObject>(obj))
        m_dc.pen = *pen;
    else if (auto* brush = std::get_if<BrushObject>(obj))
        m_dc.brush = *brush;
    else if (auto* font = std::get_if<FontObject>(obj))
        m_dc.font = *font;
}

void Player::createPen(const Record& rec)
{
    if (!rec.has(28))
        return;
    const ByteReader& r = rec.r;
    PenObject p;
    p.style = r.u32(12);
    p.width = std::abs(double(r.i32(16)));
    p.color = colorRef(r.u32(24));
    m_objects.put(r.u32(8), p);
}

void Player::extCreatePen(const Record& rec)
{
    if (!rec.has(52))
        return;
    const ByteReader& r = rec.r;
    PenObject p;
    p.style = r.u32(28);
    p.width = double(r.u32(32) > 1000000 ? 1000000 : r.u32(32));
    if ((p.style & 0xF0000) == 0)
        p.width = 0; // cosmetic pens are one pixel wide whatever they say
    uint32_t brushStyle = r.u32(36);
    p.color = colorRef(r.u32(40));
    if (brushStyle == 1)
        p.style = (p.style & ~0xFu) | 5;
    uint32_t entries = r.u32(48);
    if ((p.style & 0xF) == 7 && entries > 0 && entries <= 64 && r.has(52, size_t(entries) * 4)) {
        for (uint32_t i = 0; i < entries; ++i)
            p.userDashes.push_back(double(r.u32(52 + 4 * i) > 100000 ? 100000 : r.u32(52 + 4 * i)));
    }
    m_objects.put(r.u32(8), p);
}

void Player::createBrush(const Record& rec)
{
    if (!rec.has(24))
        return;
    const ByteReader& r = rec.r;
    m_objects.put(r.u32(8), brushFrom(r.u32(12), r.u32(16), r.u32(20)));
}

void Player::createDibBrush(const Record& rec, bool mono)
{
    if (!rec.has(32))
        return;
    const ByteReader& r = rec.r;
    BrushObject b;
    QImage tile = readDib(rec, r.u32(16), r.u32(20), r.u32(24), r.u32(28), r.u32(12));
    if (tile.isNull()) {
        b.kind = BrushObject::Solid;
        b.color = Qt::gray;
    } else {
        b.kind = BrushObject::Pattern;
        b.pattern = tile;
        b.monochrome = mono;
    }
    m_objects.put(r.u32(8), b);
}

void Player::createFont(const Record& rec)
{
    if (!rec.has(40))
        return;
    const ByteReader& r = rec.r;
    FontObject f;
    f.height = r.i32(12);
    f.width = r.i32(16);
    f.escapement = r.i32(20);
    f.orientation = r.i32(24);
    f.weight = r.i32(28);
    f.italic = r.u8(32) != 0;
    f.underline = r.u8(33) != 0;
    f.strikeOut = r.u8(34) != 0;
    f.charSet = r.u8(35);
    f.pitchAndFamily = r.u8(39);
    for (size_t i = 0; i < 32 && r.has(40 + 2 * i, 2); ++i) {
        char16_t c = r.u16(40 + 2 * i);
        if (c == 0)
            break;
        f.face.append(QChar(c));
    }
    f.family = familyForFace(f.face, f.pitchAndFamily);
    f.emPerCell = emPerCellFor(f.family);
    m_objects.put(r.u32(8), f);
}

bool Player::playObject(const Record& rec)
{
    switch (rec.type) {
    case emr::SelectObject:
        if (rec.has(12))
            selectObject(rec.r.u32(8));
        return true;
    case emr::DeleteObject:
        if (rec.has(12))
            m_objects.remove(rec.r.u32(8));
        return true;
    case emr::CreatePen: createPen(rec); return true;
    case emr::ExtCreatePen: extCreatePen(rec); return true;
    case emr::CreateBrushIndirect: createBrush(rec); return true;
    case emr::CreateDibPatternBrushPt: createDibBrush(rec, false); return true;
    case emr::CreateMonoBrush: createDibBrush(rec, true); return true;
    case emr::ExtCreateFontIndirectW: createFont(rec); return true;
    default: return false;
    }
}

} // namespace kelpora::mf
