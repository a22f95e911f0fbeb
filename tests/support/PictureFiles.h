#pragma once
// Small picture files made by the tests.
#include <QByteArray>
#include <QColor>
#include <QtEndian>
#include <vector>

namespace testsupport {

inline void put16(QByteArray& b, int v) { b.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); }
inline void put32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// A 24-bit bottom-up bitmap filled with one colour, or painted by fn(x, y).
template <class Fn>
QByteArray bmp24(int w, int h, Fn colourAt)
{
    const int stride = (w * 3 + 3) & ~3;
    QByteArray b("BM");
    put32(b, 54 + stride * h);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h));
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < w; ++x) {
            const QColor c = colourAt(x, y);
            row.append(char(c.blue())).append(char(c.green())).append(char(c.red()));
        }
        row.append(QByteArray(stride - row.size(), '\0'));
        b.append(row);
    }
    return b;
}

inline QByteArray bmp24(int w, int h, QColor c)
{
    return bmp24(w, h, [c](int, int) { return c; });
}

// An icon file with one 32-bit image per (size, colour), fully opaque but
// for a transparent top-left pixel.
inline QByteArray icon32(const std::vector<std::pair<int, QColor>>& images)
{
    std::vector<QByteArray> datas;
    for (const auto& [s, c] : images) {
        QByteArray d;
        put32(d, 40);
        put32(d, quint32(s));
        put32(d, quint32(2 * s));
        put16(d, 1);
        put16(d, 32);
        for (int i = 0; i < 6; ++i)
            put32(d, 0);
        for (int y = s - 1; y >= 0; --y)
            for (int x = 0; x < s; ++x) {
                const bool clear = x == 0 && y == 0;
                d.append(char(c.blue())).append(char(c.green())).append(char(c.red())).append(char(clear ? 0 : 255));
            }
        const int maskStride = ((s + 31) / 32) * 4;
        d.append(QByteArray(maskStride * s, '\0'));
        datas.push_back(d);
    }
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, int(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int s = images[i].first;
        b.append(char(s)).append(char(s)).append(char(0)).append(char(0));
        put16(b, 1);
        put16(b, 32);
        put32(b, quint32(datas[i].size()));
        put32(b, offset);
        offset += quint32(datas[i].size());
    }
    for (const auto& d : datas)
        b.append(d);
    return b;
}

// A placeable Windows metafile, 1440 units an inch, box w x h units, holding
// one red rectangle over the whole box.
inline QByteArray redRectangleWmf(int w, int h)
{
    QByteArray b;
    put32(b, 0x9AC6CDD7u);
    put16(b, 0);
    for (int v : {0, 0, w, h})
        put16(b, v);
    put16(b, 1440);
    put32(b, 0);
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= quint16(uchar(b[2 * i]) | (uchar(b[2 * i + 1]) << 8));
    put16(b, sum);
    QByteArray records;
    auto record = [&records](int function, std::initializer_list<int> params) {
        put32(records, quint32(3 + params.size()));
        put16(records, function);
        for (int p : params)
            put16(records, p);
    };
    record(0x020B, {0, 0});                       // SetWindowOrg
    record(0x020C, {h, w});                       // SetWindowExt
    record(0x02FC, {0, 0x00FF, 0x0000, 0});       // CreateBrushIndirect: solid red
    record(0x012D, {0});                          // SelectObject
    record(0x041B, {h, w, 0, 0});                 // Rectangle
    record(0x0000, {});                           // end
    put16(b, 1);
    put16(b, 9);
    put16(b, 0x0300);
    put32(b, quint32((18 + records.size()) / 2));
    put16(b, 1);
    put32(b, 7);
    put16(b, 0);
    b.append(records);
    return b;
}

} // namespace testsupport
