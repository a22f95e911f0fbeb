#pragma once
#include <cstdint>

namespace kelpora::mf::emr {

// Enhanced metafile record types.
enum : uint32_t {
    Header = 1, PolyBezier = 2, Polygon = 3, Polyline = 4, PolyBezierTo = 5, PolylineTo = 6,
    PolyPolyline = 7, PolyPolygon = 8, SetWindowExtEx = 9, SetWindowOrgEx = 10, SetViewportExtEx = 11,
    SetViewportOrgEx = 12, SetBrushOrgEx = 13, Eof = 14, SetPixelV = 15, SetMapperFlags = 16,
    SetMapMode = 17, SetBkMode = 18, SetPolyFillMode = 19, SetRop2 = 20, SetStretchBltMode = 21,
    SetTextAlign = 22, SetColorAdjustment = 23, SetTextColor = 24, SetBkColor = 25, OffsetClipRgn = 26,
    MoveToEx = 27, SetMetaRgn = 28, ExcludeClipRect = 29, IntersectClipRect = 30,
    ScaleViewportExtEx = 31, ScaleWindowExtEx = 32, SaveDc = 33, RestoreDc = 34, SetWorldTransform = 35,
    ModifyWorldTransform = 36, SelectObject = 37, CreatePen = 38, CreateBrushIndirect = 39,
    DeleteObject = 40, AngleArc = 41, Ellipse = 42, Rectangle = 43, RoundRect = 44, Arc = 45, Chord = 46,
    Pie = 47, SelectPalette = 48, CreatePalette = 49, SetPaletteEntries = 50, ResizePalette = 51,
    RealizePalette = 52, ExtFloodFill = 53, LineTo = 54, ArcTo = 55, PolyDraw = 56, SetArcDirection = 57,
    SetMiterLimit = 58, BeginPath = 59, EndPath = 60, CloseFigure = 61, FillPath = 62,
    StrokeAndFillPath = 63, StrokePath = 64, FlattenPath = 65, WidenPath = 66, SelectClipPath = 67,
    AbortPath = 68, GdiComment = 70, FillRgn = 71, FrameRgn = 72, InvertRgn = 73, PaintRgn = 74,
    ExtSelectClipRgn = 75, BitBlt = 76, StretchBlt = 77, MaskBlt = 78, PlgBlt = 79,
    SetDiBitsToDevice = 80, StretchDiBits = 81, ExtCreateFontIndirectW = 82, ExtTextOutA = 83,
    ExtTextOutW = 84, PolyBezier16 = 85, Polygon16 = 86, Polyline16 = 87, PolyBezierTo16 = 88,
    PolylineTo16 = 89, PolyPolyline16 = 90, PolyPolygon16 = 91, PolyDraw16 = 92, CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94, ExtCreatePen = 95, PolyTextOutA = 96, PolyTextOutW = 97,
    SetIcmMode = 98, AlphaBlend = 114, SetLayout = 115, TransparentBlt = 116, GradientFill = 118,
};

// Object index flag for stock objects.
constexpr uint32_t StockFlag = 0x80000000u;

enum StockObject : uint32_t {
    WhiteBrush = 0, LtGrayBrush = 1, GrayBrush = 2, DkGrayBrush = 3, BlackBrush = 4, NullBrush = 5,
    WhitePen = 6, BlackPen = 7, NullPen = 8, OemFixedFont = 10, AnsiFixedFont = 11, AnsiVarFont = 12,
    SystemFont = 13, DeviceDefaultFont = 14, DefaultPalette = 15, SystemFixedFont = 16, DefaultGuiFont = 17,
    DcBrush = 18, DcPen = 19,
};

enum RegionMode : uint32_t { RgnAnd = 1, RgnOr = 2, RgnXor = 3, RgnDiff = 4, RgnCopy = 5 };

// Raster operations the bitmap records name most often.
enum Rop : uint32_t {
    SrcCopy = 0x00CC0020, SrcPaint = 0x00EE0086, SrcAnd = 0x008800C6, SrcInvert = 0x00660046,
    SrcErase = 0x00440328, NotSrcCopy = 0x00330008, NotSrcErase = 0x001100A6, MergeCopy = 0x00C000CA,
    MergePaint = 0x00BB0226, PatCopy = 0x00F00021, PatPaint = 0x00FB0A09, PatInvert = 0x005A0049,
    DstInvert = 0x00550009, Blackness = 0x00000042, Whiteness = 0x00FF0062,
};

} // namespace kelpora::mf::emr
