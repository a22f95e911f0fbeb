#include "EmfRecords.h"
#include "FontMapping.h"
#include "Player.h"
#include <QFontMetricsF>
#include <QStringDecoder>
#include <cmath>

namespace kelpora::mf {

namespace {

constexpr uint32_t EtoOpaque = 0x2, EtoClipped = 0x4, EtoNoRect = 0x100, EtoPdy = 0x2000;
constexpr size_t MaxChars = 1 << 16;

// Windows-1252 for the bytes where it differs from Latin-1.
const char16_t cp1252High[32] = {0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178};

const char* encodingForCharSet(int charSet)
{
    switch (charSet) {
    case 128: return "Shift_JIS";
    case 129: return "windows-949";
    case 134: return "GBK";
    case 136: return "Big5";
    case 161: return "windows-1253";
    case 162: return "windows-1254";
    case 163: return "windows-1258";
    case 177: return "windows-1255";
    case 178: return "windows-1256";
    case 186: return "windows-1257";
    case 204: return "windows-1251";
    case 222: return "windows-874";
    case 238: return "windows-1250";
    default: return nullptr;
    }
}

bool isLeadByte(int charSet, uint8_t b)
{
    switch (charSet) {
    case 128: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 129: case 134: case 136: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

// 8-bit text in the font's character set. For double-byte sets the spacing
// array has one entry per byte, so a character takes the sum of its bytes'.
QString ansiToUnicode(const uint8_t* p, size_t n, int charSet, std::vector<int>& dx)
{
    QString s;
    s.reserve(qsizetype(n));
    const char* encoding = encodingForCharSet(charSet);
    if (!encoding) {
        for (size_t i = 0; i < n; ++i) {
            uint8_t c = p[i];
            s.append(QChar(c >= 0x80 && c < 0xA0 && charSet != 2 ? cp1252High[c - 0x80] : char16_t(c)));
        }
        return s;
    }
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return QString::fromLatin1(reinterpret_cast<const char*>(p), qsizetype(n));
    std::vector<int> perChar;
    bool haveDx = dx.size() >= n;
    for (size_t i = 0; i < n;) {
        size_t len = isLeadByte(charSet, p[i]) && i + 1 < n ? 2 : 1;
        QString piece = decoder.decode(QByteArrayView(reinterpret_cast<const char*>(p + i), qsizetype(len)));
        if (piece.isEmpty())
            piece = QString(QChar(u'?'));
        int width = 0;
        if (haveDx)
            for (size_t k = 0; k < len; ++k)
                width += dx[i + k];
        for (qsizetype k = 0; k < piece.size(); ++k)
            perChar.push_back(k == 0 ? width : 0);
        s.append(piece);
        i += len;
    }
    if (haveDx)
        dx = std::move(perChar);
    return s;
}

// A record's rectangle (right and bottom outside it), kept within a range
// where QRect's own arithmetic cannot overflow.
QRect textRect(int64_t l, int64_t t, int64_t r, int64_t b)
{
    auto c = [](int64_t v) { return int(std::clamp<int64_t>(v, -(1 << 28), 1 << 28)); };
    return QRect(QPoint(c(l), c(t)), QPoint(c(r - 1), c(b - 1)));
}

} // namespace

QFont Player::resolveFont(double pixelHeight)
{
    const FontObject& f = m_dc.font;
    QFont font(f.family.isEmpty() ? QStringLiteral("DejaVu Sans") : f.family);
    font.setPixelSize(std::max(1, int(std::lround(std::min(pixelHeight, 20000.0)))));
    int weight = f.weight <= 0 ? 400 : std::clamp(f.weight, 1, 1000);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setKerning(false);
    return font;
}

void Player::drawText(QPointF ref, const QString& rawText, const std::vector<int>& dx, uint32_t options,
                      const QRect& rect, bool rectValid)
{
    QTransform t = logicalToDest();
    if (!t.isInvertible() || !usableForDrawing(t))
        return;
    const FontObject& fo = m_dc.font;
    QString text = rawText;
    if (fo.charSet == 2 || fo.face.compare(u"Symbol", Qt::CaseInsensitive) == 0)
        text = mapSymbolText(text, fo.face);

    bool updateCp = m_dc.textAlign & 1;
    if (updateCp)
        ref = m_dc.current;

    double scaleY = std::hypot(t.m21(), t.m22());
    double scaleX = std::hypot(t.m11(), t.m12());
    double logicalHeight = fo.height < 0 ? -double(fo.height) : fo.height > 0 ? fo.height * fo.emPerCell : 0;
    double px = logicalHeight > 0 ? logicalHeight * scaleY : 12 * (m_devToDest.m22());
    if (!(px > 0.2))
        return;
    QFont font = resolveFont(px);
    if (fo.width > 0) {
        QFontMetricsF fm(font);
        double avg = fm.averageCharWidth();
        double want = fo.width * scaleX;
        if (avg > 0) {
            int stretch = std::clamp(int(std::lround(want / avg * 100)), 10, 400);
            font.setStretch(stretch);
        }
    }
    QFontMetricsF fm(font);

    if (rectValid && (options & EtoOpaque) && !m_inPath) {
        applyClip();
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_p.setTransform(t);
        m_p.fillRect(QRectF(rect).normalized(), m_dc.bkColor);
    }
    if (text.isEmpty())
        return;

    // Character positions along the baseline, in destination pixels.
    std::vector<double> pos;
    double advance = 0;
    bool useDx = dx.size() >= size_t(text.size());
    if (useDx) {
        pos.reserve(size_t(text.size()));
        for (qsizetype i = 0; i < text.size(); ++i) {
            pos.push_back(advance);
            advance += dx[size_t(i)] * scaleX;
        }
    } else {
        advance = fm.horizontalAdvance(text);
    }
    double x0 = 0;
    switch (m_dc.textAlign & 6) {
    case 2: x0 = -advance; break;
    case 6: x0 = -advance / 2; break;
    default: break;
    }
    double y0 = 0;
    switch (m_dc.textAlign & 24) {
    case 0: y0 = fm.ascent(); break;
    case 8: y0 = -fm.descent(); break;
    default: break;
    }
    double angle = -fo.escapement / 10.0;
    QPointF origin = t.map(ref);
    QTransform local = QTransform().rotate(angle) * QTransform::fromTranslate(origin.x(), origin.y());

    if (m_inPath) {
        QPainterPath tp;
        if (useDx) {
            for (qsizetype i = 0; i < text.size(); ++i)
                tp.addText(QPointF(x0 + pos[size_t(i)], y0), font, QString(text[i]));
        } else {
            tp.addText(QPointF(x0, y0), font, text);
        }
        m_path.addPath(local.map(tp));
    } else {
        applyClip();
        m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_p.setTransform(local);
        bool clipped = rectValid && (options & EtoClipped);
        if (clipped) {
            m_p.save();
            m_p.setTransform(t);
            m_p.setClipRect(QRectF(rect).normalized(), Qt::IntersectClip);
            m_p.setTransform(local);
        }
        if (m_dc.bkMode == 2 && !(rectValid && (options & EtoOpaque)))
            m_p.fillRect(QRectF(x0, y0 - fm.ascent(), advance, fm.ascent() + fm.descent()), m_dc.bkColor);
        m_p.setFont(font);
        m_p.setPen(m_dc.textColor);
        // Large or stretched glyphs are filled as outlines: the glyph cache
        // would rasterise each one whole at that size first.
        const bool outlines = px > 160 || font.stretch() > 150;
        auto drawRun = [&](QPointF at, const QString& s) {
            if (!outlines) {
                m_p.drawText(at, s);
                return;
            }
            QPainterPath glyphs;
            glyphs.addText(at, font, s);
            m_p.fillPath(glyphs, m_dc.textColor);
        };
        if (useDx) {
            for (qsizetype i = 0; i < text.size(); ++i) {
                QChar c = text[i];
                if (c.isSpace())
                    continue;
                if (c.isHighSurrogate() && i + 1 < text.size()) {
                    drawRun(QPointF(x0 + pos[size_t(i)], y0), text.mid(i, 2));
                    ++i;
                    continue;
                }
                drawRun(QPointF(x0 + pos[size_t(i)], y0), QString(c));
            }
        } else {
            drawRun(QPointF(x0, y0), text);
        }
        if (clipped)
            m_p.restore();
    }
    if (updateCp && scaleX > 0) {
        double rad = angle * 3.14159265358979 / 180;
        QPointF endDest = origin + QPointF(std::cos(rad), std::sin(rad)) * (x0 + advance);
        bool ok = false;
        QTransform inv = t.inverted(&ok);
        if (ok && (m_dc.textAlign & 6) == 0)
            m_dc.current = inv.map(endDest);
    }
}

bool Player::playText(const Record& rec)
{
    const ByteReader& r = rec.r;
    bool wide;
    switch (rec.type) {
    case emr::ExtTextOutW: wide = true; break;
    case emr::ExtTextOutA: wide = false; break;
    case emr::PolyTextOutW:
    case emr::PolyTextOutA: {
        wide = rec.type == emr::PolyTextOutW;
        if (!rec.has(40))
            return true;
        uint32_t count = r.u32(36);
        for (uint32_t i = 0; i < count && (rec.size() - 40) / 40 > i; ++i) {
            size_t o = 40 + size_t(i) * 40;
            uint32_t n = r.u32(o + 8), offStr = r.u32(o + 12), offDx = r.u32(o + 36);
            size_t bytes = size_t(n) * (wide ? 2 : 1);
            if (n > MaxChars || !r.has(offStr, bytes))
                continue;
            std::vector<int> dx;
            if (offDx && r.has(offDx, size_t(n) * 4))
                for (uint32_t k = 0; k < n; ++k)
                    dx.push_back(std::clamp(r.i32(offDx + 4 * k), -1000000, 1000000));
            QString text;
            if (wide)
                for (uint32_t k = 0; k < n; ++k)
                    text.append(QChar(char16_t(r.u16(offStr + 2 * k))));
            else
                text = ansiToUnicode(r.data() + offStr, n, m_dc.font.charSet, dx);
            QRect rc = textRect(r.i32(o + 20), r.i32(o + 24), r.i32(o + 28), r.i32(o + 32));
            drawText(QPointF(r.i32(o), r.i32(o + 4)), text, dx, r.u32(o + 16), rc, true);
        }
        return true;
    }
    default:
        return false;
    }
    if (!rec.has(76))
        return true;
    QPointF ref(r.i32(36), r.i32(40));
    uint32_t n = r.u32(44), offStr = r.u32(48), options = r.u32(52);
    bool rectPresent = !(options & EtoNoRect);
    QRect rc;
    size_t dxField = 72;
    if (rectPresent) {
        rc = textRect(r.i32(56), r.i32(60), r.i32(64), r.i32(68));
    } else {
        dxField = 56;
    }
    uint32_t offDx = r.u32(dxField);
    size_t bytes = size_t(n) * (wide ? 2 : 1);
    if (n > MaxChars || !r.has(offStr, bytes))
        n = 0;
    std::vector<int> dx;
    size_t step = (options & EtoPdy) ? 8 : 4;
    if (n && offDx && r.has(offDx, size_t(n) * step)) {
        dx.reserve(n);
        for (uint32_t k = 0; k < n; ++k)
            dx.push_back(std::clamp(r.i32(offDx + step * k), -1000000, 1000000));
    }
    QString text;
    if (wide) {
        text.reserve(qsizetype(n));
        for (uint32_t k = 0; k < n; ++k)
            text.append(QChar(char16_t(r.u16(offStr + 2 * k))));
    } else if (n) {
        text = ansiToUnicode(r.data() + offStr, n, m_dc.font.charSet, dx);
    }
    drawText(ref, text, dx, options, rc, rectPresent && !rc.isNull());
    return true;
}

} // namespace kelpora::mf
