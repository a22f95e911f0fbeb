#pragma once
#include "ByteReader.h"
#include "DeviceContext.h"
#include "Metafile.h"
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace kelpora::mf {

// One record: its bytes from the type field on, of the declared size.
struct Record {
    uint32_t type;
    ByteReader r;
    size_t size() const { return r.size(); }
    bool has(size_t need) const { return r.size() >= need; }
};

// Plays enhanced metafile records into a painter. Split by record family over
// several files; this header is internal to the library.
class Player {
public:
    Player(QPainter& p, const MetafileData& m, const QRect& dest);
    void run();

private:
    // Player.cpp: the loop, mapping and state records.
    bool dispatch(const Record& rec);
    bool playState(const Record& rec);
    void setupDestination();
    const QTransform& pageToDest();
    QTransform logicalToDest();
    void invalidate() { m_pageDirty = true; }
    QPointF toDest(QPointF logical) { return logicalToDest().map(logical); }
    double destScale();        // destination pixels per logical unit, averaged over both axes
    double destScaleY();

    // PlayObjects.cpp
    bool playObject(const Record& rec);
    void selectObject(uint32_t index);
    void createPen(const Record& rec);
    void extCreatePen(const Record& rec);
    void createBrush(const Record& rec);
    void createDibBrush(const Record& rec, bool mono);
    void createFont(const Record& rec);
    static PenObject stockPen(uint32_t n);
    static BrushObject stockBrush(uint32_t n);
    static FontObject stockFont(uint32_t n);

    // PlayShapes.cpp
    bool playShape(const Record& rec);
    bool playPoly(const Record& rec);
    std::vector<QPointF> readPoints(const Record& rec, size_t offset, size_t count, bool small);
    void drawPath(const QPainterPath& path, bool fill, bool stroke);
    void appendToPath(const QPainterPath& logical);
    void strokeOpenPath(const QPainterPath& path) { drawPath(path, false, true); }
    QPainterPath arcPath(QRectF box, QPointF start, QPointF end, int kind, bool connect);
    bool setupPen(QPainter& p, double scale);
    bool setupBrush(QPainter& p);
    Qt::FillRule fillRule() const;
    void applyRop2();

    // PlayPaths.cpp
    bool playPath(const Record& rec);
    void drawDestPath(const QPainterPath& destPath, bool fill, bool stroke);

    // PlayClip.cpp
    bool playClip(const Record& rec);
    QRegion readRegion(const ByteReader& r, size_t offset, size_t size);
    QRegion regionOfPath(const QPainterPath& destPath, Qt::FillRule rule) const;
    QRectF limitBox() const;
    void combineClip(const QRegion& region, uint32_t mode);
    void applyClip();
    bool fillRegion(const Record& rec);

    // PlayText.cpp
    bool playText(const Record& rec);
    void drawText(QPointF ref, const QString& text, const std::vector<int>& dx, uint32_t options, const QRect& rect,
                  bool rectValid);
    QFont resolveFont(double pixelHeight);

    // PlayBitmaps.cpp
    bool playBitmap(const Record& rec);
    QImage readDib(const Record& rec, size_t offBmi, size_t cbBmi, size_t offBits, size_t cbBits, uint32_t usage,
                   bool keepAlpha = false);
    void drawImage(const QRectF& logicalDest, const QImage& img, const QRectF& src, uint32_t rop);
    void fillRop(const QRectF& logicalDest, uint32_t rop);
    bool gradientFill(const Record& rec);

    QPainter& m_p;
    const MetafileData& m_meta;
    QRect m_dest;
    QTransform m_base;          // the caller's painter transform
    QRegion m_baseClip;         // destination rectangle, cut by the caller's clip
    QTransform m_devToDest;     // reference-device pixels -> destination
    QTransform m_page;          // page -> destination, cached
    bool m_pageDirty = true;
    bool m_degenerate = false;  // mapping cannot be inverted: nothing is drawn
    DcState m_dc;
    std::vector<DcState> m_saved;
    ObjectTable m_objects;
    bool m_inPath = false;
    QPainterPath m_path;        // path bracket contents, in destination pixels
    bool m_clipDirty = true;
    double m_pxPerMmX = 1, m_pxPerMmY = 1;

    friend class PlayerAccess;
};

constexpr size_t MaxSaveDepth = 1024;

// False for transforms too large or not finite to rasterise sensibly.
bool usableForDrawing(const QTransform& t);
// Dash patterns over enormous extents cost time without showing: draw them solid.
void guardDashes(QPainter& p, const QRectF& destExtent);
// A colour reference (0x00BBGGRR).
inline QColor colorRef(uint32_t c) { return QColor(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255)); }

} // namespace kelpora::mf
