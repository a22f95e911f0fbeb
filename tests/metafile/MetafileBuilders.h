#pragma once
// Small writers for metafiles built inside the tests.
#include "metafile/Metafile.h"
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace mftest {

inline void put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}
inline void put16(std::vector<uint8_t>& v, uint16_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline uint32_t floatBits(float f)
{
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}
inline uint32_t rgb(int r, int g, int b) { return uint32_t(r | (g << 8) | (b << 16)); }

// Enhanced metafile on a reference device of 10 pixels per millimetre; the
// default frame is 100 x 100 device pixels, so playing into a 100 x 100
// image maps one logical unit (MM_TEXT) onto one pixel.
class Emf {
public:
    explicit Emf(int frameW01mm = 1000, int frameH01mm = 1000, int deviceCx = 1000, int deviceCy = 1000,
                 int mmCx = 100, int mmCy = 100)
    {
        rec(1, {0, 0, 99, 99, 0, 0, frameW01mm, frameH01mm, 0x464D4520, 0x10000, 0, 0, 0, 0, 0, 0,
                deviceCx, deviceCy, mmCx, mmCy});
    }
    Emf& rec(uint32_t type, std::initializer_list<int64_t> fields)
    {
        put32(m_b, type);
        put32(m_b, uint32_t(8 + 4 * fields.size()));
        for (int64_t f : fields)
            put32(m_b, uint32_t(f));
        return *this;
    }
    // A record whose body is given as bytes (padded to four).
    Emf& raw(uint32_t type, std::vector<uint8_t> body)
    {
        while (body.size() % 4)
            body.push_back(0);
        put32(m_b, type);
        put32(m_b, uint32_t(8 + body.size()));
        m_b.insert(m_b.end(), body.begin(), body.end());
        return *this;
    }
    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> out = m_b;
        put32(out, 14);
        put32(out, 20);
        put32(out, 0);
        put32(out, 16);
        put32(out, 20);
        uint32_t size = uint32_t(out.size());
        std::memcpy(&out[48], &size, 4);
        return out;
    }

    // Frequently used records.
    Emf& solidBrush(uint32_t index, uint32_t color) { return rec(39, {index, 0, color, 0}); }
    Emf& select(uint32_t index) { return rec(37, {index}); }
    Emf& nullPen() { return select(0x80000008); }
    Emf& rectangle(int l, int t, int r, int b) { return rec(43, {l, t, r, b}); }

private:
    std::vector<uint8_t> m_b;
};

// Windows metafile behind a placeable header.
class Wmf {
public:
    Wmf(int left, int top, int right, int bottom, int inch, bool placeable = true, bool goodChecksum = true)
    {
        if (placeable) {
            put32(m_b, 0x9AC6CDD7u);
            put16(m_b, 0);
            for (int v : {left, top, right, bottom})
                put16(m_b, uint16_t(int16_t(v)));
            put16(m_b, uint16_t(inch));
            put32(m_b, 0);
            uint16_t sum = 0;
            for (size_t i = 0; i < 20; i += 2)
                sum ^= uint16_t(m_b[i] | (m_b[i + 1] << 8));
            put16(m_b, goodChecksum ? sum : uint16_t(sum ^ 1));
        }
        m_headerAt = m_b.size();
        put16(m_b, 1);
        put16(m_b, 9);
        put16(m_b, 0x300);
        put32(m_b, 0);
        put16(m_b, 0);
        put32(m_b, 0);
        put16(m_b, 0);
    }
    // Parameters as 16-bit words, in file order.
    Wmf& rec(uint16_t func, std::initializer_list<int> words)
    {
        put32(m_b, uint32_t(3 + words.size()));
        put16(m_b, func);
        for (int w : words)
            put16(m_b, uint16_t(w));
        return *this;
    }
    Wmf& recBytes(uint16_t func, const std::vector<uint8_t>& body)
    {
        put32(m_b, uint32_t(3 + (body.size() + 1) / 2));
        put16(m_b, func);
        m_b.insert(m_b.end(), body.begin(), body.end());
        if (body.size() % 2)
            m_b.push_back(0);
        return *this;
    }
    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> out = m_b;
        put32(out, 3);
        put16(out, 0);
        return out;
    }
    // Frequently used records.
    Wmf& brush(uint32_t color) { return rec(0x02FC, {0, int(color & 0xFFFF), int(color >> 16), 0}); }
    Wmf& window(int x, int y, int w, int h) { return rec(0x020B, {y, x}).rec(0x020C, {h, w}); }

private:
    std::vector<uint8_t> m_b;
    size_t m_headerAt = 0;
};

// A 24-bit bottom-up DIB (header + bits) of the given top-down rows.
inline std::vector<uint8_t> dib24(int w, int h, const std::vector<uint32_t>& topDownRgb)
{
    std::vector<uint8_t> d;
    put32(d, 40);
    put32(d, uint32_t(w));
    put32(d, uint32_t(h));
    put16(d, 1);
    put16(d, 24);
    for (int i = 0; i < 6; ++i)
        put32(d, 0);
    int stride = (w * 3 + 3) / 4 * 4;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = topDownRgb[size_t(y * w + x)];
            d.push_back(uint8_t(c));
            d.push_back(uint8_t(c >> 8));
            d.push_back(uint8_t(c >> 16));
        }
        for (int k = w * 3; k < stride; ++k)
            d.push_back(0);
    }
    return d;
}

inline const QRgb Background = qRgb(0x11, 0x22, 0x33);

inline QImage render(const std::vector<uint8_t>& bytes, QSize size = QSize(100, 100))
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Background);
    auto m = kelpora::mf::loadMetafile(bytes.data(), bytes.size());
    if (m) {
        QPainter p(&img);
        kelpora::mf::play(p, *m, QRect(QPoint(0, 0), size));
    }
    return img;
}

inline QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

// Bounding box of the pixels that differ from the background.
inline QRect inkBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != (Background & 0xFFFFFF))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace mftest
