#include "codecs/PixelRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelpora::codec::detail {

namespace {

// Sequential reader over the compressed bytes through a small window, so the
// compressed data is never held whole.
class ByteStream {
public:
    ByteStream(ByteSource& src, uint64_t offset) : src_(src), pos_(offset), buf_(64 * 1024) {}
    bool next(uint8_t& b)
    {
        if (at_ == len_ && !refill())
            return false;
        b = buf_[at_++];
        return true;
    }

private:
    bool refill()
    {
        len_ = readAvailable(src_, pos_, buf_.data(), buf_.size());
        pos_ += len_;
        at_ = 0;
        return len_ > 0;
    }
    ByteSource& src_;
    uint64_t pos_;
    std::vector<uint8_t> buf_;
    size_t at_ = 0, len_ = 0;
};

// Writes pixels in the file's order (bottom row first) and zero-fills every
// byte the data skips, so the output needs no clearing beforehand.
class RowWriter {
public:
    RowWriter(uint8_t* pixels, size_t stride, int width, int height)
        : pixels_(pixels), stride_(stride), width_(width), height_(height) {}

    // Pixels from x on in row y; `pixel(i)` gives the i-th. Clipped at the
    // row's end: the runs never wrap to the next row.
    template<class PixelAt>
    void put(int64_t x, int64_t y, int64_t n, PixelAt pixel)
    {
        if (y >= height_ || x >= width_)
            return;
        const int64_t count = std::min<int64_t>(n, width_ - x);
        fillTo(y, x);
        uint8_t* row = rowAt(y);
        for (int64_t i = 0; i < count; ++i)
            row[x + i] = pixel(i);
        filledX_ = x + count;
    }

    // A run of one value.
    void fill(int64_t x, int64_t y, int64_t n, uint8_t value)
    {
        if (y >= height_ || x >= width_)
            return;
        const int64_t count = std::min<int64_t>(n, width_ - x);
        fillTo(y, x);
        std::memset(rowAt(y) + x, value, static_cast<size_t>(count));
        filledX_ = x + count;
    }

    void finish() { fillTo(height_, 0); }

private:
    uint8_t* rowAt(int64_t y) { return pixels_ + static_cast<size_t>(height_ - 1 - y) * stride_; }
    void fillTo(int64_t y, int64_t x)
    {
        while (filledY_ < y && filledY_ < height_) {
            std::memset(rowAt(filledY_) + filledX_, 0, stride_ - static_cast<size_t>(filledX_));
            ++filledY_;
            filledX_ = 0;
        }
        if (filledY_ == y && y < height_ && x > filledX_) {
            std::memset(rowAt(y) + filledX_, 0, static_cast<size_t>(x - filledX_));
            filledX_ = x;
        }
    }

    uint8_t* pixels_;
    size_t stride_;
    int64_t width_, height_;
    int64_t filledY_ = 0, filledX_ = 0;
};

} // namespace

void decodeRunLength(ByteSource& src, uint64_t offset, bool fourBit, int width, int height,
                     uint8_t* pixels, size_t stride)
{
    ByteStream in(src, offset);
    RowWriter out(pixels, stride, width, height);
    int64_t x = 0, y = 0;
    uint8_t count = 0, value = 0;
    // Positions beyond the image are kept at the edge: nothing lands there,
    // and the counters cannot grow without bound on a long hostile stream.
    auto advance = [&](int64_t dx, int64_t dy) {
        x = std::min<int64_t>(x + dx, width);
        y = std::min<int64_t>(y + dy, height);
    };
    while (y < height && in.next(count) && in.next(value)) {
        if (count > 0) {
            const uint8_t hi = value >> 4, lo = value & 0x0F;
            if (fourBit && hi != lo)
                out.put(x, y, count, [&](int64_t i) { return (i & 1) ? lo : hi; });
            else
                out.fill(x, y, count, fourBit ? lo : value);
            advance(count, 0);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            advance(0, 1);
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta: move right and up
            uint8_t dx = 0, dy = 0;
            if (!in.next(dx) || !in.next(dy))
                break;
            advance(dx, dy);
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const unsigned n = value;
            const unsigned bytes = fourBit ? (n + 1) / 2 : n;
            uint8_t literal[256];
            unsigned got = 0;
            while (got < bytes && in.next(literal[got]))
                ++got;
            const unsigned pixelsRead = fourBit ? std::min(n, got * 2) : got;
            if (fourBit)
                out.put(x, y, pixelsRead, [&](int64_t i) {
                    const uint8_t b = literal[i / 2];
                    return static_cast<uint8_t>((i & 1) ? (b & 0x0F) : (b >> 4));
                });
            else
                out.put(x, y, pixelsRead, [&](int64_t i) { return literal[i]; });
            advance(pixelsRead, 0);
            if (got < bytes)
                break;
            uint8_t pad;
            if ((bytes & 1) && !in.next(pad))
                break;
        }
    }
    out.finish();
}

} // namespace kelpora::codec::detail
